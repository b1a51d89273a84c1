#pragma once
// The program-wide catalogue of error messages, keyed by negative result
// codes.

#include <string>

namespace lumidrax {

enum ResultCode : int {
    kErrFileMissing = -1,
    kErrCannotOpen = -2,
    kErrAlreadyLoaded = -3,
    kErrNoiseOnLine = -4,
    kErrByteCount = -5,
    kErrChecksum = -6,
    kErrTooManyCharts = -7,
    kErrCreateDirectory = -8,
    kErrOpenPort = -9,
    kErrSomeAlreadyLoaded = -10,
    kErrNotBatch = -11,
    kErrFrameLength = -12,
    kErrSamePorts = -13,
};

// The message of a code with the text inserted, without "Error: " and ".".
std::string CatalogueMessage(int code, const std::string& text);

// The whole text of the error box: "Error: " + message + ".".
std::string ErrorText(int code, const std::string& text);

// Caption of the error box.
inline constexpr const char* kErrorCaption = "Error";

inline constexpr const char* kMaxChartsText = "You have opened maximum amount of charts.";
inline constexpr const char* kInvalidNumberText = "Error: invalid number.";

} // namespace lumidrax
