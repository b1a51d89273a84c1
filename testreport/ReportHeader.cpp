#include "ReportHeader.h"

#include "DCTexts.h"

namespace lumidrax {

namespace {

char Lower(char c)
{
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

bool SameKey(std::string_view a, std::string_view b)
{
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (Lower(a[i]) != Lower(b[i]))
            return false;
    return true;
}

} // namespace

const std::array<ReportHeaderField, kReportHeaderFields>& ReportHeaderFields()
{
    static const std::array<ReportHeaderField, kReportHeaderFields> fields = {{
        {"job", "Job", &ReportHeader::Job},
        {"customer", "Customer", &ReportHeader::Customer},
        {"site", "Site", &ReportHeader::Site},
        {"cable", "Cable", &ReportHeader::Cable},
        {"operator", "Operator", &ReportHeader::Operator},
        {"date", "Date", &ReportHeader::Date},
        {"model", "Instrument", &ReportHeader::Model},
        {"serial", "Serial number", &ReportHeader::Serial},
    }};
    return fields;
}

bool SetReportHeaderField(ReportHeader& header, std::string_view key, const std::string& value)
{
    for (const ReportHeaderField& f : ReportHeaderFields())
        if (SameKey(f.Key, key)) {
            header.*(f.Member) = value;
            return true;
        }
    return false;
}

bool SetReportHeaderAssignment(ReportHeader& header, std::string_view assignment, std::string& error)
{
    const std::size_t eq = assignment.find('=');
    if (eq == std::string_view::npos) {
        error = "no '=' in \"" + std::string(assignment) + "\" (KEY=VALUE)";
        return false;
    }
    const std::string_view key = assignment.substr(0, eq);
    if (!SetReportHeaderField(header, key, std::string(assignment.substr(eq + 1)))) {
        std::string keys;
        for (const ReportHeaderField& f : ReportHeaderFields())
            keys += (keys.empty() ? "" : ", ") + std::string(f.Key);
        error = "unknown header field \"" + std::string(key) + "\" (one of " + keys + ")";
        return false;
    }
    return true;
}

ReportHeader CompleteReportHeader(ReportHeader header, const TJednoMereni& chart)
{
    if (header.Date.empty() && chart.DatumCas != kNoDCValue)
        header.Date = chart.DatumCas;
    if (header.Model.empty())
        header.Model = chart.VerzeVKR;
    if (header.Serial.empty() && chart.SerialNumber > 0)
        header.Serial = std::to_string(chart.SerialNumber);
    return header;
}

} // namespace lumidrax
