#pragma once
// What an archive entry says of a chart, worked out from the chart alone:
// the listed fields, the event summary, the sort key of its date and the
// lower-cased text the word search looks in.

#include "ArchiveRecord.h"
#include "TJednoMereni.h"

#include <string>
#include <string_view>

namespace lumidrax {

// The entry of a chart as it is recorded now: every field but Id, Hash,
// IsBaseline and Verdict. The events are found with the default
// EventParams; EventCount counts them all (the launch too), as the Event
// Table lists them.
ArchiveEntry EntryFromChart(const TJednoMereni& chart, ArchiveOrigin origin, const std::string& detail,
                            const ArchiveTags& tags, const std::string& recordedAt);

// "YYYY-MM-DD hh:mm:ss" of the chart's own date ("DD.MM.YYYY hh:mm:ss",
// the time may be missing), else of its automatic file name
// (".../YY-MM-DD/hhmmss....ndt"), else empty.
std::string MeasuredSortKey(const std::string& datumCas, const std::string& path);

// The words the search looks in (description, file name, cable, site,
// job), lower-cased, one per line.
std::string SearchTextOf(const ArchiveEntry& entry);

// Lower case of UTF-8 text (every script, not only ASCII).
std::string LowerText(std::string_view text);

// Now as the archive writes it: "YYYY-MM-DDThh:mm:ssZ" (UTC).
std::string UtcNowText();

} // namespace lumidrax
