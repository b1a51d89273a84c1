#pragma once
// Automatic file names of received charts and reports: a folder per day
// (YY-MM-DD) below the save root, and a file name from the time.

#include "LocalDateTime.h"

#include <string>

namespace lumidrax {

// The save root as a folder path ending in "/" (unchanged when empty).
std::string FolderWithSeparator(const std::string& saveRoot);

// Name of a chart (or, with "ndt" replaced, a report) of the older models:
// saveRoot + YY-MM-DD + "/" + hhmmss + number part + ".ndt", where the
// number part is empty for 0, "0" + n for 1..9 and n from 10 on. Date and
// time come from `when`.
std::string MakeAutoName(const std::string& saveRoot, int chartNumber, const LocalDateTime& when);

// Series letter of a VKR104 chart: empty when the chart is not part of a
// series (seriePrvni 0), otherwise "a" for the series' first chart, "b" for
// the next, and so on. A code that is not a printable character, or that
// would be a folder separator, becomes "_" so that the name stays one file
// in the day's folder.
std::string SeriesLetter(int chartNumber, int seriePrvni);

// Name of a VKR104 chart from its own date and time text ("DD.MM.YYYY
// hh:mm:ss"): saveRoot + YY-MM-DD + "/" + hhmmss + "_" + the last three
// digits of the chart number + series letter + ".ndt".
std::string MakeAutoNameVKR104(const std::string& saveRoot, const std::string& datumCas, int chartNumber,
                               const std::string& seriesLetter);

// The same name with its last three characters replaced by "txt".
std::string ReportName(const std::string& chartName);

} // namespace lumidrax
