#include "MessageCatalogue.h"

namespace lumidrax {

std::string CatalogueMessage(int code, const std::string& text)
{
    switch (code) {
    case kErrFileMissing:
        return "file " + text + " does not exists";
    case kErrCannotOpen:
        return "could not open file " + text;
    case kErrAlreadyLoaded:
        return "chart " + text + " already loaded";
    case kErrNoiseOnLine:
        return "noise on line";
    case kErrByteCount:
    case kErrChecksum:
        return "data read error";
    case kErrTooManyCharts:
        return "too many charts opened";
    case kErrCreateDirectory:
        return "unable to create directory " + text;
    case kErrOpenPort:
        return "unable to open port " + text;
    case kErrSomeAlreadyLoaded:
        return "some of selected charts are already loaded";
    case kErrNotBatch:
        return "Selected charts were not measured in batch mode";
    case kErrFrameLength:
        return "Incorrect byte count (chart was not transfered)";
    case kErrSamePorts:
        return "Port numbers for BT communication can not be the same";
    default:
        return "internal error no. " + std::to_string(code);
    }
}

std::string ErrorText(int code, const std::string& text)
{
    return "Error: " + CatalogueMessage(code, text) + ".";
}

} // namespace lumidrax
