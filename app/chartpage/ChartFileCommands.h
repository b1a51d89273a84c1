#pragma once
// The chart file commands of the chart page: the open batch, saving one,
// the selected or all charts, save as, closing selected or all charts, and
// the saving of unsaved charts at exit. They work on the collection, the
// file settings and the dialogs only; the window refreshes its panels after
// each command.

#include "IDialogs.h"
#include "Settings.h"
#include "TJednoMereni.h"

#include <functional>
#include <string>
#include <vector>

namespace lumidrax {

class TMereni;

// The commands read DataPath, SaveRoot, LastPath and AutoSave of the
// settings, and change DataPath (LASTPATH rule).

// Outcome of a close command.
enum class CloseOutcome { Cancelled, NothingDeleted, Deleted };

class ChartFileCommands {
  public:
    ChartFileCommands(TMereni& charts, Settings& settings, IDialogs& dialogs);

    static const char* const kChartFilter;

    // Opens the names as one batch: sorted ignoring case, only ".ndt" names
    // while fewer than 999 charts are open. Returns the number of charts
    // loaded. Applies the LASTPATH rule.
    int OpenBatch(std::vector<std::string> names);

    // The open dialog; the chosen names, empty when cancelled.
    std::vector<std::string> AskOpenNames();

    // Saves chart i where it belongs: its file, its automatic path, or a path
    // chosen in the save dialog. Returns true when the chart was written.
    bool SaveOneChart(int i);
    // SaveOneChart for the chart with this id; false when it is not open.
    bool SaveChartById(ChartId id);
    // SaveOneChart for each chart number, in the given order.
    void SaveSelected(const std::vector<int>& charts);
    // SaveOneChart for every unsaved chart, in number order, also those
    // that arrive while it asks.
    void SaveAll();
    // SaveOneChart for each of these charts that is still open and unsaved
    // (the charts a transfer delivered, saved by automatic saving).
    void SaveCharts(const std::vector<ChartId>& ids);
    // Saves chart i under a name chosen in the "Save as ..." dialog. Returns
    // true when it was written.
    bool SaveAs(int i);

    // Closes the given charts (list order), asking about unsaved ones.
    CloseOutcome CloseSelected(const std::vector<int>& charts);
    // Closes every chart, asking about unsaved ones.
    CloseOutcome CloseAll();

    // Writes every unsaved chart without asking before overwriting; a chart
    // without any file name gets the save dialog. Returns true when no chart
    // is left unsaved.
    bool SaveAllForExit();

    bool AnyUnsaved() const;

    // Called with each chart written to its file (the archive records it).
    void SetStoredHandler(std::function<void(const TJednoMereni&)> stored) { stored_ = std::move(stored); }

  private:
    // Writes the chart with this id to `path` (asking before overwriting
    // with `ask`) and shows any failure. Done: the chart is saved and, with
    // `adoptName`, is listed under that path and loses its automatic name.
    // Otherwise it keeps its names and stays unsaved. A chart closed while a
    // question was open is named in a message. Returns true when the chart
    // was written.
    bool Store(ChartId id, const std::string& path, bool ask, bool adoptName);
    static std::string ClosedMeanwhileText(const std::string& name);
    // Closes the charts that are still open.
    CloseOutcome DeleteCharts(const std::vector<ChartId>& ids);
    std::optional<std::string> AskSaveName(const std::string& proposed);

    TMereni& charts_;
    Settings& settings_;
    IDialogs& dialogs_;
    std::function<void(const TJednoMereni&)> stored_;
};

// Folder part of a path, with its trailing separator ("" without one).
std::string FolderPart(const std::string& path);
// Name part of a path.
std::string NamePart(const std::string& path);

} // namespace lumidrax
