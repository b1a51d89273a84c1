#include "ReportFileCommands.h"

#include "ChartFileCommands.h"
#include "Cp1250.h"
#include "FileIO.h"
#include "InterruptedSaves.h"
#include "MessageCatalogue.h"
#include "Utf8Text.h"

#include <filesystem>

namespace lumidrax {

namespace fs = std::filesystem;

namespace {

bool FolderExists(const std::string& folder)
{
    std::error_code ec;
    return folder.empty() || fs::is_directory(folder, ec);
}

bool CreateFolders(const std::string& folder)
{
    std::error_code ec;
    fs::create_directories(folder, ec);
    return FolderExists(folder);
}

} // namespace

const char* const ReportFileCommands::kReportFilter = "Report files|*.txt";

std::vector<std::string> SplitLines(std::string_view text)
{
    std::vector<std::string> lines;
    std::size_t start = 0;
    for (std::size_t k = 0; k < text.size(); ++k) {
        if (text[k] != '\r' && text[k] != '\n')
            continue;
        lines.emplace_back(text.substr(start, k - start));
        if (text[k] == '\r' && k + 1 < text.size() && text[k + 1] == '\n')
            ++k;
        start = k + 1;
    }
    if (start < text.size())
        lines.emplace_back(text.substr(start));
    return lines;
}

std::string JoinLines(const std::vector<std::string>& lines)
{
    std::string text;
    for (std::size_t k = 0; k < lines.size(); ++k) {
        if (k > 0)
            text += '\n';
        text += lines[k];
    }
    return text;
}

std::string ReportLinesTooLong(const std::vector<std::string>& lines)
{
    for (std::size_t k = 0; k < lines.size(); ++k) {
        // Bytes first: no line of fewer bytes has more characters.
        if (lines[k].size() <= kMaxReportLineChars)
            continue;
        if (const std::size_t chars = Utf8Length(lines[k]); chars > kMaxReportLineChars)
            return "line " + std::to_string(k + 1) + " is " + std::to_string(chars) +
                   " characters long, more than the " + std::to_string(kMaxReportLineChars) +
                   " the Report page shows";
    }
    return {};
}

std::string ReportFileBytes(const std::vector<std::string>& lines)
{
    std::string bytes;
    for (const std::string& line : lines) {
        bytes += Utf8ToCp1250(line);
        bytes += "\r\n";
    }
    return bytes;
}

ReportFileCommands::ReportFileCommands(TReportList& reports, Settings& settings, IDialogs& dialogs)
    : reports_(reports), settings_(settings), dialogs_(dialogs)
{
}

std::vector<std::string> ReportFileCommands::AskOpenNames()
{
    return dialogs_.OpenFileNames(
        {.Title = "Open file ...", .Filter = kReportFilter, .Folder = settings_.DataPath});
}

int ReportFileCommands::Open(const std::vector<std::string>& names)
{
    int added = 0;
    for (const std::string& name : names) {
        if (reports_.IsFull())
            break;
        std::string bytes;
        const FileOutcome read = ReadFileBytes(name, kMaxReportFileBytes, bytes);
        if (read.Status == FileStatus::Missing) {
            dialogs_.ShowError(kErrFileMissing, name);
            continue;
        }
        if (read.Status == FileStatus::TooLarge) {
            dialogs_.ShowErrorMessage("could not open report " + name + " (" + read.Reason +
                                      ", the most the Report page shows)");
            continue;
        }
        if (!read.Ok()) {
            dialogs_.ShowErrorMessage("could not read file " + name + " (" + read.Reason + ")");
            continue;
        }
        std::vector<std::string> lines = SplitLines(FileTextToUtf8(bytes));
        if (const std::string tooLong = ReportLinesTooLong(lines); !tooLong.empty()) {
            dialogs_.ShowErrorMessage("could not open report " + name + " (" + tooLong + ")");
            continue;
        }
        reports_.AddOpened(name, std::move(lines));
        ++added;
    }
    if (settings_.LastPath && !names.empty())
        settings_.DataPath = FolderPart(names.front());
    return added;
}

bool ReportFileCommands::ClosedMeanwhile(const std::string& name)
{
    dialogs_.ShowErrorMessage("report " + name + " was closed while the question was open; it was not saved");
    return false;
}

bool ReportFileCommands::Write(ReportId id, const std::string& path)
{
    const TReport* r = reports_.Find(id);
    if (!r)
        return ClosedMeanwhile(path);
    const std::string replaced = Cp1250Unrepresentable(JoinLines(r->Lines));
    if (!replaced.empty() &&
        dialogs_.AskYesNo("Save",
                          "The characters " + replaced + " of report " + path +
                              " cannot be stored in a report file (Windows-1250) and will be written as ?. "
                              "Save anyway ?",
                          false) != kAnswerYes)
        return false;
    // The question ran the event loop: the report is looked up again.
    if (!(r = reports_.Find(id)))
        return ClosedMeanwhile(path);
    const SaveOutcome saved = WriteFileAtomically(path, ReportFileBytes(r->Lines));
    if (!saved.Recovered.empty())
        dialogs_.ShowMessageBox("Information", RecoveredFilesNote(saved.Recovered) + ".");
    if (!saved.Done()) {
        dialogs_.ShowErrorMessage(saved.Message);
        return false;
    }
    reports_.MarkSaved(reports_.IndexOf(id), path);
    return true;
}

std::optional<std::string> ReportFileCommands::AskSaveName(const std::string& title,
                                                           const std::string& proposed)
{
    return dialogs_.SaveFileName({.Title = title,
                                  .Filter = kReportFilter,
                                  .Folder = settings_.SaveRoot,
                                  .FileName = proposed,
                                  .DefaultExt = "txt"});
}

bool ReportFileCommands::OfferFolder(const std::string& caption, const std::string& folder)
{
    if (dialogs_.AskYesNo(caption, "Directory " + folder + " does not exist. Create it ?", false) !=
        kAnswerYes)
        return false;
    if (CreateFolders(folder))
        return true;
    dialogs_.ShowError(kErrCreateDirectory, folder);
    return false;
}

bool ReportFileCommands::Save(int index, bool automatic)
{
    if (index < 0 || index >= reports_.Count())
        return false;
    return SaveById(reports_.At(index).Id, automatic);
}

bool ReportFileCommands::SaveById(ReportId id, bool automatic)
{
    const TReport* r = reports_.Find(id);
    if (!r)
        return false;
    if (!r->FileName.empty())
        return Write(id, std::string(r->FileName));
    // The questions below run the event loop: the report is named by its id.
    const std::string autoName = r->AutoFileName;
    std::optional<std::string> path;
    if (!autoName.empty()) {
        const std::string folder = FolderPart(autoName);
        // A received report saved by itself makes its day's folder without
        // asking: a question would stall the transfer.
        if (automatic && !FolderExists(folder) && !CreateFolders(folder)) {
            dialogs_.ShowError(kErrCreateDirectory, folder);
            return false;
        }
        if (FolderExists(folder) || OfferFolder("Save", folder))
            path = autoName;
        else
            path = AskSaveName("Save", NamePart(autoName));
    } else {
        path = AskSaveName("Save", "");
    }
    return path && Write(id, *path);
}

bool ReportFileCommands::SaveAs(int index)
{
    if (index < 0 || index >= reports_.Count())
        return false;
    const ReportId id = reports_.At(index).Id;
    const std::string autoName = reports_.At(index).AutoFileName;
    std::string proposed;
    if (!autoName.empty()) {
        const std::string folder = FolderPart(autoName);
        if (!FolderExists(folder))
            OfferFolder("Save as", folder);
        proposed = NamePart(autoName);
    }
    const std::optional<std::string> path = AskSaveName("Save as ...", proposed);
    return path && Write(id, *path);
}

bool ReportFileCommands::Close(int index)
{
    if (index < 0 || index >= reports_.Count())
        return false;
    const ReportId id = reports_.At(index).Id;
    if (!reports_.At(index).Saved &&
        dialogs_.AskYesNo("Close Report", "The Report is not saved. Close and lost changes ?", false) !=
            kAnswerYes)
        return false;
    const int now = reports_.IndexOf(id);
    if (now < 0)
        return false;
    reports_.RemoveReport(now + 1);
    return true;
}

CloseAllOutcome ReportFileCommands::CloseAll()
{
    if (!AnyUnsaved()) {
        reports_.Clear();
        return CloseAllOutcome::AllClosed;
    }
    // A report received while the question is open joins the end of the
    // list; the answer is not about it, so it stays.
    std::vector<ReportId> asked;
    for (int i = 0; i < reports_.Count(); ++i)
        asked.push_back(reports_.At(i).Id);
    const int answer = dialogs_.AskYesNo("Close", "Close unsaved Reports and lost Changes ?", true);
    if (answer != kAnswerYes && answer != kAnswerNo)
        return CloseAllOutcome::Cancelled;
    for (ReportId id : asked) {
        const int i = reports_.IndexOf(id);
        if (i >= 0 && (answer == kAnswerYes || reports_.At(i).Saved))
            reports_.RemoveReport(i + 1);
    }
    if (answer == kAnswerYes) {
        if (reports_.Count() == 0)
            reports_.ResetAutoNumber();
        return CloseAllOutcome::AllClosed;
    }
    return CloseAllOutcome::UnsavedKept;
}

bool ReportFileCommands::SaveAllForExit()
{
    // Reports received while a question is open join the end and are saved
    // too; the walk goes by id (ids rise along the list), so a report closed
    // meanwhile moves nothing.
    ReportId last = 0;
    for (;;) {
        ReportId next = 0;
        for (int i = 0; i < reports_.Count() && next == 0; ++i)
            if (reports_.At(i).Id > last && !reports_.At(i).Saved)
                next = reports_.At(i).Id;
        if (next == 0)
            break;
        last = next;
        SaveById(next);
    }
    return !AnyUnsaved();
}

bool ReportFileCommands::AnyUnsaved() const
{
    for (int i = 0; i < reports_.Count(); ++i)
        if (!reports_.At(i).Saved)
            return true;
    return false;
}

} // namespace lumidrax
