#pragma once
// One entry of the chart archive as searched and listed (plain values, no
// samples), and a chart on its way in.

#include "TJednoMereni.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace lumidrax {

using ArchiveId = std::int64_t;

// Where a chart came from: "port", "file", "saved", "command", "import".
enum class ArchiveOrigin { Port, File, Saved, Command, Import };

std::string_view OriginName(ArchiveOrigin origin);
std::optional<ArchiveOrigin> OriginFromName(std::string_view name);

struct ArchiveTags {
    std::string Cable, Site, Job, Operator;
    bool operator==(const ArchiveTags&) const = default;
};

struct ArchiveEntry {
    ArchiveId Id = 0;
    std::string Hash;  // hex SHA-256 of the chart's content
    std::string Model; // VerzeVKR ("VKR104", ...; may be empty for old files)
    int SerialNumber = 0;
    std::string MeasuredAt;   // DatumCas as the chart has it
    std::string MeasuredSort; // ISO "YYYY-MM-DD hh:mm:ss" for sorting/filtering, empty when unknown
    std::string Description;
    std::string FilePath; // last known file of this chart on the machine that recorded it, may be empty
    std::string FileName; // its base name
    int SeriesFirst = 0, SeriesLast = 0;
    int Interval = 0;
    long double Velocity = 0;
    int Impedance = 0;
    int Noise = 0;
    int Filter = 0;
    int FilterPost = 0;
    int SampleCount = 0;
    long double RangeMetres = 0; // XEnd - XStart
    std::string DCVoltageText, DCResistanceText;
    int DCVoltage = 0, DCResistance = 0;
    int EventCount = 0;
    bool EndFound = false;
    long double EndDistance = 0;
    std::string EndKind; // "open"/"short"/""
    ArchiveTags Tags;
    ArchiveOrigin Origin = ArchiveOrigin::File;
    std::string OriginDetail; // port device, file path, command name
    std::string RecordedAt;   // ISO UTC time of the first recording
    bool IsBaseline = false;  // baseline of its cable
    std::string Verdict;      // "", "PASS", "FAIL", "INCOMPLETE" (set later by the test report)
};

// A chart to record, with where it came from and the user's tags.
struct ArchiveItem {
    TJednoMereni chart;
    ArchiveOrigin origin = ArchiveOrigin::File;
    std::string detail;
    ArchiveTags tags;
};

} // namespace lumidrax
