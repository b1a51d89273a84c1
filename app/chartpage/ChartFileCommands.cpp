#include "ChartFileCommands.h"

#include "ChartFile.h"
#include "InterruptedSaves.h"
#include "Limits.h"
#include "MessageCatalogue.h"
#include "TMereni.h"

#include <algorithm>
#include <cctype>
#include <filesystem>

namespace lumidrax {

namespace fs = std::filesystem;

namespace {

std::string Lower(const std::string& s)
{
    std::string out = s;
    for (char& ch : out)
        ch = static_cast<char>(std::tolower(static_cast<unsigned char>(ch)));
    return out;
}

bool HasChartExtension(const std::string& name)
{
    if (name.size() < 4)
        return false;
    return Lower(name.substr(name.size() - 4)) == ".ndt";
}

bool FolderExists(const std::string& folder)
{
    if (folder.empty())
        return true;
    std::error_code ec;
    return fs::is_directory(folder, ec);
}

bool CreateOneFolder(const std::string& folder)
{
    std::error_code ec;
    fs::create_directory(folder, ec);
    return !ec && FolderExists(folder);
}

// Removes chart n and keeps the reference and active chart numbers pointing
// at the same charts (or at none when theirs went).
void DeleteAndRenumber(TMereni& charts, int n)
{
    const int ref = charts.RefIndex;
    const int active = charts.ActiveIndex;
    charts.DeleteChart(n);
    if (charts.Count == 0)
        return;
    if (ref == n) {
        charts.RefIndex = 0;
        charts.RefCursor = 0;
    } else if (ref > n) {
        charts.RefIndex = ref - 1;
    }
    if (active > n)
        charts.ActiveIndex = active - 1;
    else if (active == n)
        charts.ActiveIndex = std::min(n, charts.Count);
}

// The ids of the given chart numbers that name charts, in the given order.
std::vector<ChartId> IdsOf(const TMereni& charts, const std::vector<int>& numbers)
{
    std::vector<ChartId> ids;
    for (int n : numbers)
        if (n >= 1 && n <= charts.Count)
            ids.push_back(charts.Rec(n).Id);
    return ids;
}

// The first unsaved chart after the chart with id `after` (ids rise with the
// numbers), 0 when none is left. A loop over the unsaved charts that asks
// questions walks with this: charts that arrive meanwhile join its end,
// charts that close drop out.
int NextUnsaved(const TMereni& charts, ChartId after)
{
    for (int i = 1; i <= charts.Count; ++i)
        if (charts.Rec(i).Id > after && !charts.Rec(i).Saved)
            return i;
    return 0;
}

} // namespace

const char* const ChartFileCommands::kChartFilter = "Chart files|*.ndt";

std::string FolderPart(const std::string& path)
{
    const auto slash = path.find_last_of('/');
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

std::string NamePart(const std::string& path)
{
    const auto slash = path.find_last_of('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

ChartFileCommands::ChartFileCommands(TMereni& charts, Settings& settings, IDialogs& dialogs)
    : charts_(charts), settings_(settings), dialogs_(dialogs)
{
}

std::vector<std::string> ChartFileCommands::AskOpenNames()
{
    return dialogs_.OpenFileNames(
        {.Title = "Open file ...", .Filter = kChartFilter, .Folder = settings_.DataPath});
}

int ChartFileCommands::OpenBatch(std::vector<std::string> names)
{
    if (names.empty())
        return 0;
    std::stable_sort(names.begin(), names.end(),
                     [](const std::string& a, const std::string& b) { return Lower(a) < Lower(b); });
    int loaded = 0;
    bool duplicateShown = false;
    for (const std::string& name : names) {
        if (!HasChartExtension(name) || charts_.Count >= kMaxCharts)
            continue;
        int result = 0;
        try {
            result = charts_.LoadChart(name);
        } catch (const ChartFileError& e) {
            // An unreadable file is reported and the rest of the batch opens.
            dialogs_.ShowErrorMessage(e.what());
            continue;
        }
        if (result >= 0) {
            ++loaded;
        } else if (result == kErrAlreadyLoaded && !duplicateShown) {
            duplicateShown = true;
            if (names.size() == 1)
                dialogs_.ShowError(kErrAlreadyLoaded, name);
            else
                dialogs_.ShowError(kErrSomeAlreadyLoaded, "");
        }
    }
    if (settings_.LastPath)
        settings_.DataPath = FolderPart(names.back());
    return loaded;
}

bool ChartFileCommands::Store(ChartId id, const std::string& path, bool ask, bool adoptName)
{
    const int i = charts_.NumberOf(id);
    if (i == 0) {
        dialogs_.ShowErrorMessage(ClosedMeanwhileText(path));
        return false;
    }
    TJednoMereni& c = charts_.Rec(i);
    const std::string oldFileName = c.FileName;
    c.FileName = path;
    const SaveOutcome saved =
        SaveChartFile(charts_, i, ask, [this](const std::string& caption, const std::string& text) {
            return dialogs_.AskYesNo(caption, text, false) == kAnswerYes;
        });
    // A chart that an interrupted save had written whole is back under its
    // name: the user is told where.
    if (!saved.Recovered.empty())
        dialogs_.ShowMessageBox("Information", RecoveredFilesNote(saved.Recovered) + ".");
    // The questions of the save ran the event loop: the chart is looked up
    // again.
    TJednoMereni* written = charts_.Find(id);
    if (!written || saved.Status == SaveStatus::Vanished) {
        dialogs_.ShowErrorMessage(ClosedMeanwhileText(path));
        return false;
    }
    switch (saved.Status) {
    case SaveStatus::Done:
        written->Saved = true;
        if (adoptName) {
            written->AutoFileName.clear();
            written->DisplayName = written->FileName;
        }
        if (stored_)
            stored_(*written);
        return true;
    case SaveStatus::FolderNotCreated:
        dialogs_.ShowError(kErrCreateDirectory, path);
        break;
    case SaveStatus::WriteFailed:
        dialogs_.ShowErrorMessage(saved.Message);
        break;
    case SaveStatus::Declined:
    case SaveStatus::Vanished:
        break;
    }
    // The chart keeps its names and stays unsaved; it is looked up once more
    // after the message.
    if ((written = charts_.Find(id)))
        written->FileName = oldFileName;
    return false;
}

std::string ChartFileCommands::ClosedMeanwhileText(const std::string& name)
{
    return "chart " + name + " was closed while the question was open; it was not saved";
}

std::optional<std::string> ChartFileCommands::AskSaveName(const std::string& proposed)
{
    return dialogs_.SaveFileName({.Title = "Save",
                                  .Filter = kChartFilter,
                                  .Folder = settings_.SaveRoot,
                                  .FileName = proposed,
                                  .DefaultExt = "ndt"});
}

bool ChartFileCommands::SaveOneChart(int i)
{
    if (i < 1 || i > charts_.Count)
        return false;
    return SaveChartById(charts_.Rec(i).Id);
}

bool ChartFileCommands::SaveChartById(ChartId id)
{
    const TJednoMereni* c = charts_.Find(id);
    if (!c)
        return false;
    const std::string fileName = c->FileName;
    if (!fileName.empty())
        return Store(id, fileName, false, false);

    // Every question below runs the event loop; the chart is named by its id
    // and its texts are copied first.
    const std::string autoName = c->AutoFileName;
    std::optional<std::string> path;
    if (!autoName.empty()) {
        const std::string folder = FolderPart(autoName);
        if (FolderExists(folder)) {
            path = autoName;
        } else {
            bool create = settings_.AutoSave;
            if (!create)
                create = dialogs_.AskYesNo("Save", "Directory " + folder + " does not exist. Create it ?",
                                           false) == kAnswerYes;
            if (create) {
                if (CreateOneFolder(folder))
                    path = autoName;
                else
                    dialogs_.ShowError(kErrCreateDirectory, folder);
            }
            if (!path) {
                path = AskSaveName(NamePart(autoName));
                if (!path)
                    return false;
            }
        }
    } else {
        path = AskSaveName("");
        if (!path)
            return false;
    }
    return Store(id, *path, true, true);
}

void ChartFileCommands::SaveSelected(const std::vector<int>& charts)
{
    for (ChartId id : IdsOf(charts_, charts))
        SaveChartById(id);
}

void ChartFileCommands::SaveAll()
{
    ChartId last = 0;
    while (const int i = NextUnsaved(charts_, last)) {
        last = charts_.Rec(i).Id;
        SaveChartById(last);
    }
}

void ChartFileCommands::SaveCharts(const std::vector<ChartId>& ids)
{
    for (ChartId id : ids)
        if (const TJednoMereni* c = charts_.Find(id); c && !c->Saved)
            SaveChartById(id);
}

bool ChartFileCommands::SaveAs(int i)
{
    if (i < 1 || i > charts_.Count)
        return false;
    const ChartId id = charts_.Rec(i).Id;
    FileDialogRequest request{
        .Title = "Save as ...", .Filter = kChartFilter, .Folder = settings_.SaveRoot, .DefaultExt = "ndt"};
    const std::string autoName = charts_.Rec(i).AutoFileName;
    if (!autoName.empty()) {
        const std::string folder = FolderPart(autoName);
        if (!FolderExists(folder) &&
            dialogs_.AskYesNo("Save as", "Directory " + folder + " does not exist. Create it ?", false) ==
                kAnswerYes &&
            !CreateOneFolder(folder))
            dialogs_.ShowError(kErrCreateDirectory, folder);
        request.FileName = NamePart(autoName);
    }
    const std::optional<std::string> path = dialogs_.SaveFileName(request);
    if (!path)
        return false;
    return Store(id, *path, true, true);
}

CloseOutcome ChartFileCommands::CloseSelected(const std::vector<int>& charts)
{
    std::vector<int> selected = charts;
    std::sort(selected.begin(), selected.end());
    selected.erase(std::unique(selected.begin(), selected.end()), selected.end());
    const std::vector<ChartId> ids = IdsOf(charts_, selected);
    const bool anyUnsaved =
        std::any_of(ids.begin(), ids.end(), [this](ChartId id) { return !charts_.Find(id)->Saved; });
    std::vector<ChartId> doomed;
    if (!anyUnsaved) {
        doomed = ids;
    } else {
        const int answer = dialogs_.AskYesNo("Close", "Save all unsaved charts ?", true);
        if (answer == kAnswerCancel)
            return CloseOutcome::Cancelled;
        // The answer is about the charts selected when it was asked, as they
        // are now.
        for (ChartId id : ids)
            if (const TJednoMereni* c = charts_.Find(id); c && (answer != kAnswerYes || c->Saved))
                doomed.push_back(id);
    }
    return DeleteCharts(doomed);
}

CloseOutcome ChartFileCommands::DeleteCharts(const std::vector<ChartId>& ids)
{
    int deleted = 0;
    for (ChartId id : ids) {
        if (const int n = charts_.NumberOf(id)) {
            DeleteAndRenumber(charts_, n);
            ++deleted;
        }
    }
    return deleted > 0 ? CloseOutcome::Deleted : CloseOutcome::NothingDeleted;
}

CloseOutcome ChartFileCommands::CloseAll()
{
    if (!AnyUnsaved()) {
        charts_.ClearAll();
        return CloseOutcome::Deleted;
    }
    std::vector<ChartId> asked;
    for (int i = 1; i <= charts_.Count; ++i)
        asked.push_back(charts_.Rec(i).Id);
    const int answer = dialogs_.AskYesNo("Close", "Save all unsaved charts ?", true);
    if (answer == kAnswerCancel)
        return CloseOutcome::Cancelled;
    // Charts that arrived while the question was open were not part of the
    // answer: they stay.
    std::vector<ChartId> doomed;
    for (ChartId id : asked)
        if (const TJednoMereni* c = charts_.Find(id); c && (answer != kAnswerYes || c->Saved))
            doomed.push_back(id);
    if (doomed.size() == static_cast<std::size_t>(charts_.Count))
        charts_.ClearAll();
    else
        DeleteCharts(doomed);
    return CloseOutcome::Deleted;
}

bool ChartFileCommands::SaveAllForExit()
{
    ChartId last = 0;
    while (const int i = NextUnsaved(charts_, last)) {
        const TJednoMereni& c = charts_.Rec(i);
        last = c.Id;
        if (c.FileName.empty() && c.AutoFileName.empty())
            SaveChartById(last); // no place to write it: ask for one as Save All does
        else if (c.FileName.empty())
            Store(last, std::string(c.AutoFileName), false, true);
        else
            Store(last, std::string(c.FileName), false, false);
    }
    return !AnyUnsaved();
}

bool ChartFileCommands::AnyUnsaved() const
{
    for (int i = 1; i <= charts_.Count; ++i)
        if (!charts_.Rec(i).Saved)
            return true;
    return false;
}

} // namespace lumidrax
