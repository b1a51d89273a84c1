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

// What the report page shows without freezing: the memo lays out a line as
// a whole, and a long line costs more per character. bench_report_open
// (BM_ChooseReport) shows a report of 1 MiB in lines of 10000 characters
// in about 0.1 s; a longer line, or more text, is refused when a file is
// opened.
inline constexpr std::uintmax_t kMaxReportFileBytes = 1u << 20;
inline constexpr std::size_t kMaxReportLineChars = 10000;

// Why the report page cannot show these lines promptly ("line 3 is 25000
// characters long, more than the 10000 the Report page shows"); empty when
// it can.
std::string ReportLinesTooLong(const std::vector<std::string>& lines);

// Outcome of Close All.
enum class CloseAllOutcome { Cancelled, AllClosed, UnsavedKept };

class ReportFileCommands {
  public:
    ReportFileCommands(TReportList& reports, Settings& settings, IDialogs& dialogs);

    static const char* const kReportFilter;

    // The open dialog; the chosen names, empty when cancelled.
    std::vector<std::string> AskOpenNames();
    // Adds each file in order while fewer than 100 reports are open; the
    // rest are skipped without a message. A file that cannot be read, or
    // that the page cannot show promptly (ReportLinesTooLong,
    // kMaxReportFileBytes), is reported and skipped. Applies the LASTPATH rule. Returns the number
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
