#pragma once
// The file commands of the report page on the report list: open, save,
// save as, close, close all, and the saving of unsaved reports at exit,
// with every question they ask. No widgets: the page copies its memo into
// the current report before a command and shows the list again after it.

#include "IDialogs.h"
#include "Settings.h"
#include "TReportList.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace lumidrax {

// Report files are plain text; a larger file is not a report.
inline constexpr std::uintmax_t kMaxReportFileBytes = 16u << 20;

// Outcome of Close All.
enum class CloseAllOutcome { Cancelled, AllClosed, UnsavedKept };

class ReportFileCommands {
  public:
    ReportFileCommands(TReportList& reports, Settings& settings, IDialogs& dialogs);

    static const char* const kReportFilter;

    // The open dialog; the chosen names, empty when cancelled.
    std::vector<std::string> AskOpenNames();
    // Adds each file in order while fewer than 100 reports are open; the
    // rest are skipped without a message. A file that cannot be read is
    // reported and skipped. Applies the LASTPATH rule. Returns the number
    // of reports added.
    int Open(const std::vector<std::string>& names);

    // Saves report `index` (0-based) to its file, its automatic name or a
    // chosen name. `automatic`: a received report saved by automatic saving,
    // whose day folder is made without asking. True when written.
    bool Save(int index, bool automatic = false);
    // Save for the report with this id; false when it is not open.
    bool SaveById(ReportId id, bool automatic = false);
    // Saves report `index` under a name chosen in the "Save as ..." dialog.
    bool SaveAs(int index);
    // Closes report `index`, asking when it is not saved. True when removed.
    bool Close(int index);
    CloseAllOutcome CloseAll();
    // Saves every unsaved report as Save does. True when none is left
    // unsaved.
    bool SaveAllForExit();
    bool AnyUnsaved() const;

  private:
    // Writes the report's lines to `path` after the warning about characters
    // Windows-1250 cannot hold; on success the report is saved under `path`.
    bool Write(ReportId id, const std::string& path);
    bool ClosedMeanwhile(const std::string& name);
    std::optional<std::string> AskSaveName(const std::string& title, const std::string& proposed);
    // Asks to create the missing folder of an automatic name; true when it
    // exists afterwards.
    bool OfferFolder(const std::string& caption, const std::string& folder);

    TReportList& reports_;
    Settings& settings_;
    IDialogs& dialogs_;
};

// Lines of a text: split at CR LF, LF or CR; a line end at the very end
// makes no extra empty line.
std::vector<std::string> SplitLines(std::string_view text);
// The lines joined by line feeds, as the memo shows them.
std::string JoinLines(const std::vector<std::string>& lines);
// A report file's bytes: Windows-1250, CR LF after every line.
std::string ReportFileBytes(const std::vector<std::string>& lines);

} // namespace lumidrax
