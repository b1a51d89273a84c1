#pragma once
// The header of a test report: who measured what, where and with which
// instrument. A plain value: the report dialog and `lumidrax-tool report
// --header KEY=VALUE` fill it, and so can a chart archive entry. No Qt.

#include "TJednoMereni.h"

#include <array>
#include <string>
#include <string_view>

namespace lumidrax {

struct ReportHeader {
    std::string Job, Customer, Site, Cable, Operator, Date, Model, Serial;
    bool operator==(const ReportHeader&) const = default;
};

// The fields in the order the report shows them: key ("job", "customer",
// "site", "cable", "operator", "date", "model", "serial") and label ("Job",
// ..., "Instrument", "Serial number").
struct ReportHeaderField {
    std::string_view Key;
    std::string_view Label;
    std::string ReportHeader::*Member;
};
inline constexpr std::size_t kReportHeaderFields = 8;
const std::array<ReportHeaderField, kReportHeaderFields>& ReportHeaderFields();

// Sets the field named `key` (case does not matter); false when no field has
// that name.
bool SetReportHeaderField(ReportHeader& header, std::string_view key, const std::string& value);

// Splits "KEY=VALUE" and sets the field; false with the reason in `error`
// ("no '=' in ...", "unknown header field ...").
bool SetReportHeaderAssignment(ReportHeader& header, std::string_view assignment, std::string& error);

// The header as the report prints it for `chart`: an empty date, model or
// serial number takes the chart's own (DatumCas unless "---", VerzeVKR,
// SerialNumber when above 0); what is typed is kept.
ReportHeader CompleteReportHeader(ReportHeader header, const TJednoMereni& chart);

} // namespace lumidrax
