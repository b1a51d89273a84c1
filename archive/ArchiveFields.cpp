#include "ArchiveFields.h"

#include "EventDetection.h"
#include "NamedValue.h"

#include <QDateTime>
#include <QRegularExpression>
#include <QString>

#include <filesystem>

namespace lumidrax {

namespace {

bool ValidDateTime(int y, int mo, int d, int h, int mi, int s)
{
    return QDate(y, mo, d).isValid() && QTime(h, mi, s).isValid();
}

std::string SortText(int y, int mo, int d, int h, int mi, int s)
{
    return QString::asprintf("%04d-%02d-%02d %02d:%02d:%02d", y, mo, d, h, mi, s).toStdString();
}

constexpr NamedValue<ArchiveOrigin> kOriginNames[] = {
    {ArchiveOrigin::Port, "port"},       {ArchiveOrigin::File, "file"},     {ArchiveOrigin::Saved, "saved"},
    {ArchiveOrigin::Command, "command"}, {ArchiveOrigin::Import, "import"},
};

} // namespace

std::string MeasuredSortKey(const std::string& datumCas, const std::string& path)
{
    static thread_local const QRegularExpression own(
        R"(^\s*(\d{1,2})\.(\d{1,2})\.(\d{4})(?:\s+(\d{1,2}):(\d{2})(?::(\d{2}))?)?\s*$)");
    const QRegularExpressionMatch m = own.match(QString::fromStdString(datumCas));
    if (m.hasMatch()) {
        const int d = m.captured(1).toInt(), mo = m.captured(2).toInt(), y = m.captured(3).toInt();
        const int h = m.captured(4).toInt(), mi = m.captured(5).toInt(), s = m.captured(6).toInt();
        if (ValidDateTime(y, mo, d, h, mi, s))
            return SortText(y, mo, d, h, mi, s);
    }
    // The automatic names of received charts: a folder per day, the time in
    // the file name.
    static thread_local const QRegularExpression named(
        R"((?:^|/)(\d{2})-(\d{2})-(\d{2})/(\d{2})(\d{2})(\d{2})[^/]*$)");
    const QRegularExpressionMatch n = named.match(QString::fromStdString(path));
    if (n.hasMatch()) {
        const int y = 2000 + n.captured(1).toInt(), mo = n.captured(2).toInt(), d = n.captured(3).toInt();
        const int h = n.captured(4).toInt(), mi = n.captured(5).toInt(), s = n.captured(6).toInt();
        if (ValidDateTime(y, mo, d, h, mi, s))
            return SortText(y, mo, d, h, mi, s);
    }
    return {};
}

std::string LowerText(std::string_view text)
{
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())).toLower().toStdString();
}

std::string SearchTextOf(const ArchiveEntry& e)
{
    return LowerText(e.Description + "\n" + e.FileName + "\n" + e.Tags.Cable + "\n" + e.Tags.Site + "\n" +
                     e.Tags.Job);
}

std::string UtcNowText()
{
    return QDateTime::currentDateTimeUtc().toString("yyyy-MM-ddTHH:mm:ssZ").toStdString();
}

ArchiveEntry EntryFromChart(const TJednoMereni& c, ArchiveOrigin origin, const std::string& detail,
                            const ArchiveTags& tags, const std::string& recordedAt)
{
    ArchiveEntry e;
    e.Model = c.VerzeVKR;
    e.SerialNumber = c.SerialNumber;
    e.MeasuredAt = c.DatumCas;
    const std::string named = !c.FileName.empty() ? c.FileName : c.AutoFileName;
    e.MeasuredSort = MeasuredSortKey(c.DatumCas, named);
    e.Description = c.Description;
    e.FilePath = c.FileName;
    e.FileName = std::filesystem::path(c.FileName).filename().string();
    e.SeriesFirst = c.SeriePrvni;
    e.SeriesLast = c.SeriePosledni;
    e.Interval = c.Interval;
    e.Velocity = c.Velocity;
    e.Impedance = c.Impedance;
    e.Noise = c.Noise;
    e.Filter = c.Filter;
    e.FilterPost = c.FilterPost;
    e.SampleCount = c.SampleCount;
    e.RangeMetres = c.XEnd - c.XStart;
    e.DCVoltageText = c.DCVoltageStr;
    e.DCResistanceText = c.DCResistStr;
    e.DCVoltage = c.DCVoltage;
    e.DCResistance = c.DCResistance;
    const std::vector<ChartEvent> events = DetectEvents(c);
    e.EventCount = static_cast<int>(events.size());
    if (const int end = EndEventIndex(events); end >= 0) {
        const ChartEvent& ev = events[static_cast<std::size_t>(end)];
        e.EndFound = true;
        e.EndDistance = ev.Distance;
        e.EndKind = ev.Kind == EventKind::EndShort ? "short" : "open";
    }
    e.Tags = tags;
    e.Origin = origin;
    e.OriginDetail = detail.empty() && origin != ArchiveOrigin::Port ? c.FileName : detail;
    e.RecordedAt = recordedAt;
    return e;
}

std::string_view OriginName(ArchiveOrigin origin)
{
    return NameOf(kOriginNames, origin, "file");
}

std::optional<ArchiveOrigin> OriginFromName(std::string_view name)
{
    ArchiveOrigin origin{};
    if (!ValueNamed(kOriginNames, name, origin))
        return std::nullopt;
    return origin;
}

} // namespace lumidrax
