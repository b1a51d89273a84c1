#pragma once
// The JSON of lumidrax-tool: chart and collection objects, the per-input
// result entries, and the one object every sub-command prints:
//   {"results": [...], "collection": {...}, "charts": [...], "reports": [...]}

#include "ChartProcessing.h"
#include "FileIO.h"
#include "TJednoMereni.h"
#include "TMereni.h"

#include <nlohmann/json.hpp>

#include <map>
#include <string>

namespace lumidrax::tool {

// Keys keep the order in which they are set (the record's field order).
using Json = nlohmann::ordered_json;

// A floating value as the JSON holds it (a double).
inline double D(long double v)
{
    return static_cast<double>(v);
}

// A chart object: the record's fields under their own names, floating values
// as doubles, Color as "#RRGGBB", Samples only when asked for.
Json ChartToJson(const TJednoMereni& chart, bool withSamples);

// The collection object (counts, indices, cursors, extents).
Json CollectionToJson(const TMereni& collection);

// What a sub-command has to say, entry by entry, and whether any failed.
class ToolOutput {
  public:
    // {"file": f, "result": code, "message": catalogue text or null}.
    void AddResult(const std::string& file, int code);
    // {"file": f, "error": "Error: " + what + "."} for content that could not
    // be read.
    void AddError(const std::string& file, const std::string& what);
    // Any other entry (a command's own entry, a decoder's result); `failed`
    // marks the run as failed.
    void AddEntry(Json entry, bool failed);
    // A report object for "reports".
    void AddReport(Json report);
    // Fields added to chart `number`'s object after the record's own.
    void AddChartFields(int number, Json fields);
    // A member of the printed object after "reports" ("verdict" of report).
    void AddTopLevel(const std::string& key, Json value) { topLevel_[key] = std::move(value); }
    void MarkFailed() { failed_ = true; }
    bool Failed() const { return failed_; }

    // Prints the whole object on standard output and returns the exit
    // status (0 = every entry succeeded, 1 otherwise).
    int Print(const TMereni& collection, bool withSamples) const;

  private:
    Json results_ = Json::array();
    Json reports_ = Json::array();
    std::map<int, Json> chartFields_;
    Json topLevel_ = Json::object();
    bool failed_ = false;
};

// Loads one file into the collection (refusing beyond 999 charts) and
// records its entry. Returns the new chart's number, or 0 when nothing was
// loaded.
int LoadInto(TMereni& collection, const std::string& file, ToolOutput& output);

// Saves chart i under `path` as the viewer's "Save as" does once the path is
// chosen: FileName = path, SaveChart without asking; on success the chart is
// saved, listed under that name and loses its automatic name; on failure its
// old FileName comes back.
SaveOutcome SaveChartAs(TMereni& collection, int i, const std::string& path);

// The "error" text of a failed save ("Error: unable to create directory
// PATH.", or the write error); empty when the save was done.
std::string SaveErrorText(const SaveOutcome& saved);

// The "message" of a save that wrote characters Windows-1250 cannot hold as
// '?'; empty when the text was kept whole.
std::string ReplacedNote(const SaveOutcome& saved);

// Adds "output" (and "error" when `error` is not empty) to a command's entry
// and records it.
void AddCommandEntry(ToolOutput& output, Json entry, const std::string& out, const std::string& error,
                     bool failed);

// The end of a processing command ("filter", "average"): saves the new chart
// under `out` when asked, adds the command's entry with its result and
// message, and prints everything. Returns the exit status.
int FinishProcessingCommand(ToolOutput& output, TMereni& collection, const char* command,
                            const CommandOutcome& outcome, const std::string& out, bool samples);

} // namespace lumidrax::tool
