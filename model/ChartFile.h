#pragma once
// The chart file (.ndt): line 1 the description, line 2 the settings as
// blank-separated tokens, then one sample per line with a decimal comma.
// Files are Windows-1250 text with CR LF line ends.

#include "FileIO.h"
#include "TJednoMereni.h"

#include <functional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace lumidrax {

class TMereni;

// A chart file that cannot be read or written. what() is the message in the
// catalogue's form without the leading "Error: " and the final ".".
class ChartFileError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

// Results of SaveChart besides the catalogue codes.
inline constexpr int kSaveDone = 0;
// The user declined to overwrite an existing file: nothing was written.
inline constexpr int kSaveDeclined = 1;

// Asks a yes/no question (caption, text); true = Yes.
using AskOverwriteFn = std::function<bool(const std::string& caption, const std::string& text)>;

// Clears `tokens` and appends the blank-separated tokens of the line.
void SplitTokens(std::string_view line, std::vector<std::string>& tokens);

// Fills the settings of `chart` from the header line (line 2). `where` names
// the file in error messages. Throws ChartFileError on fewer than 7 tokens or
// a token that is not a number.
void ParseHeader(TJednoMereni& chart, std::string_view line, const std::string& where = {});

// Reads a whole chart file's bytes into `chart` (description, settings,
// samples). A UTF-8 byte order mark at the start is dropped. Throws
// ChartFileError naming `where` and the line on bad content (UTF-16 text is
// named as such); bytes of the file quoted in the message are shown with
// control characters escaped.
void ReadChartText(TJednoMereni& chart, std::string_view bytes, const std::string& where);

// The header line as written: 13 tokens, or 23 for a chart of model VKR104.
std::string HeaderLine(const TJednoMereni& chart);

// The whole file as written (Windows-1250, CR LF).
std::string ChartFileText(const TJednoMereni& chart);

// Writes chart i of the collection to its FileName (taken from AutoFileName
// when empty). With `ask`, an existing file is only overwritten after `askFn`
// says yes. Text that Windows-1250 cannot hold is named to `askFn` (whatever
// `ask` says) and only a yes writes it, with '?' in its place; without
// `askFn` it is written so and listed in SaveOutcome::Replaced. A failed
// write leaves the previous file as it was.
SaveOutcome SaveChartFile(TMereni& collection, int i, bool ask, const AskOverwriteFn& askFn = {});

// SaveChartFile as a code: kSaveDone, kSaveDeclined or -8 (the folder could
// not be created). Throws ChartFileError when the file cannot be written.
int SaveChart(TMereni& collection, int i, bool ask, const AskOverwriteFn& askFn = {});

} // namespace lumidrax
