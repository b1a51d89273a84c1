#include "AutoName.h"

#include <cstdio>

namespace lumidrax {

namespace {

std::string TwoDigits(int v)
{
    char buf[16];
    std::snprintf(buf, sizeof buf, "%02d", v);
    return buf;
}

// A date or time part as the name carries it: one character gets a
// leading zero, longer parts stay as they are.
std::string PadPart(const std::string& part)
{
    return part.size() == 1 ? "0" + part : part;
}

// Splits at the first and the second occurrence of `sep` into three parts
// (missing parts are empty).
void SplitThree(const std::string& text, char sep, std::string& a, std::string& b, std::string& c)
{
    const std::size_t p1 = text.find(sep);
    if (p1 == std::string::npos) {
        a = text;
        b.clear();
        c.clear();
        return;
    }
    a = text.substr(0, p1);
    const std::size_t p2 = text.find(sep, p1 + 1);
    if (p2 == std::string::npos) {
        b = text.substr(p1 + 1);
        c.clear();
        return;
    }
    b = text.substr(p1 + 1, p2 - p1 - 1);
    c = text.substr(p2 + 1);
}

} // namespace

std::string FolderWithSeparator(const std::string& saveRoot)
{
    if (saveRoot.empty() || saveRoot.back() == '/')
        return saveRoot;
    return saveRoot + "/";
}

std::string MakeAutoName(const std::string& saveRoot, int chartNumber, const LocalDateTime& when)
{
    std::string number;
    if (chartNumber >= 1 && chartNumber <= 9)
        number = "0" + std::to_string(chartNumber);
    else if (chartNumber != 0)
        number = std::to_string(chartNumber);
    const std::string year = std::to_string(when.Year);
    const std::string yy = year.size() >= 4 ? year.substr(2, 2) : TwoDigits(when.Year % 100);
    return FolderWithSeparator(saveRoot) + yy + "-" + TwoDigits(when.Month) + "-" + TwoDigits(when.Day) +
           "/" + TwoDigits(when.Hour) + TwoDigits(when.Minute) + TwoDigits(when.Second) + number + ".ndt";
}

std::string SeriesLetter(int chartNumber, int seriePrvni)
{
    if (seriePrvni == 0)
        return {};
    const int code = 97 + chartNumber - seriePrvni;
    if (code < 33 || code > 126 || code == '/' || code == '\\')
        return "_";
    return std::string(1, static_cast<char>(code));
}

std::string MakeAutoNameVKR104(const std::string& saveRoot, const std::string& datumCas, int chartNumber,
                               const std::string& seriesLetter)
{
    const std::size_t blank = datumCas.find(' ');
    const std::string date = datumCas.substr(0, blank);
    const std::string time = blank == std::string::npos ? std::string() : datumCas.substr(blank + 1);
    std::string day, month, year, hour, minute, second;
    SplitThree(date, '.', day, month, year);
    SplitThree(time, ':', hour, minute, second);
    day = PadPart(day);
    month = PadPart(month);
    hour = PadPart(hour);
    minute = PadPart(minute);
    second = PadPart(second);
    year = year.size() > 2 ? year.substr(2, 2) : PadPart(year);
    std::string number = "000" + std::to_string(chartNumber);
    number = number.substr(number.size() - 3);
    return FolderWithSeparator(saveRoot) + year + "-" + month + "-" + day + "/" + hour + minute + second +
           "_" + number + seriesLetter + ".ndt";
}

std::string ReportName(const std::string& chartName)
{
    if (chartName.size() < 3)
        return chartName;
    return chartName.substr(0, chartName.size() - 3) + "txt";
}

} // namespace lumidrax
