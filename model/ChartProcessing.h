#pragma once
// Charts derived from open ones: the smoothed copy of the reference chart and
// the average of selected charts.

#include <string>
#include <vector>

namespace lumidrax {

class TMereni;

inline constexpr int kMaxFilterWindow = 100;

// Appends the trailing moving average (window w, 2..100) of the reference
// chart as chart Count + 1 and returns its number. The caller checks that a
// reference chart exists and that Count < 999.
int FilterChart(TMereni& collection, int w);

// Appends the sample-by-sample average of the given charts (chart numbers in
// list order; the first is the template) and returns its number. A sample
// number is averaged over the charts that have it.
int AverageCharts(TMereni& collection, const std::vector<int>& selected);

// The window of the filter menu's "User..." text: nullopt-like -1 when the text
// is not an integer; values above 100 are cut to 100.
struct FilterWindow {
    bool valid = false;
    int window = 1;
};
FilterWindow ParseFilterWindow(const std::string& text);

// Result of the filter or average command: the new chart's number, 0 when
// nothing was made, or a negative catalogue code; `message` is what the
// viewer shows (empty when nothing).
struct CommandOutcome {
    int result = 0;
    std::string message;
};

// The filter command with a window as the menu gives it (1 or less makes
// nothing, above 100 is cut to 100). A drawn new chart is taken into the
// full extent; the view follows it unless zoomed (always when it is the only
// chart drawn).
CommandOutcome RunFilterCommand(TMereni& collection, int window);

// The average command: the batch-mode check on DatumCas, the 999 limit, then
// AverageCharts; the full extent and the view as for the filter command.
CommandOutcome RunAverageCommand(TMereni& collection, const std::vector<int>& selected);

// The last folder and the file name of a path, at most 100 characters.
std::string ShortChartName(const std::string& path);

} // namespace lumidrax
