#pragma once
// The report page at work: owns the report list, fills the list box and the
// memo (ShowReports), keeps the memo's edits in the current report, and
// handles the page's menu and tool bar commands: the file commands, the
// clipboard, the report width and printing. Received reports arrive through
// ReportReceived and SaveReceived.

#include "PageParts.h"
#include "ReportFileCommands.h"
#include "TReportList.h"

#include <QObject>

#include <functional>
#include <memory>
#include <optional>
#include <string>

class QPrinter;
class QTabWidget;

namespace lumidrax {

class ReportMenus;
class ReportPage;
struct Settings;

struct ReportCommandsParts : PageParts<ReportPage, ReportMenus> {
    Settings* AppSettings = nullptr;
    QTabWidget* Pages = nullptr; // page 0 charts, page 1 reports
};

class ReportCommands : public QObject {
    Q_OBJECT
  public:
    // Sets up a printer for a print job; false when cancelled.
    using PrinterSetUp = std::function<bool(QPrinter&)>;

    explicit ReportCommands(ReportCommandsParts parts, QObject* parent = nullptr);
    ~ReportCommands() override;

    TReportList& Reports() { return reports_; }
    ReportFileCommands& Files() { return *files_; }
    // Index of the report in the memo, -1 when there is none.
    int CurrentReport() const { return current_; }

    // Refills the list and the memo; report `index` becomes current.
    void ShowReports(int index);
    // The list's selection changed: the memo's text goes back into the
    // current report and the selected one is shown.
    void lb_reportsClick();
    // The memo's text into the current report.
    void CopyMemoBack();

    // A received report was appended at `index`.
    void ReportReceived(int index);
    // Automatic saving of a received report.
    void SaveReceived(ReportId id);

    // The page was left for the chart page.
    void PageLeft();
    bool AnyUnsaved() const { return files_->AnyUnsaved(); }
    // Exit: saves every unsaved report as Save does; true when none is left.
    bool SaveAllForExit();

    void ApplyFont(const std::string& name, int size);
    // The stored list width, or half the window's width without one.
    void ApplyListWidth(std::optional<int> width);

    void SetPrinterSetUp(PrinterSetUp setUp) { printerSetUp_ = std::move(setUp); }

    void mi_rep_file_openClick();
    void mi_rep_file_saveClick();
    void mi_rep_file_saveasClick();
    void mi_rep_file_closeClick();
    void mi_rep_file_closeallClick();
    void mi_rep_file_printClick();
    void mi_rep_edit_copyClick();
    void mi_rep_edit_cutClick();
    void mi_rep_edit_pasteClick();
    void mi_rep_edit_selectallClick();
    void mi_rep_width_incClick();
    void mi_rep_width_decClick();

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void ConnectCommands();
    void SetCommandsEnabled(bool on);
    void MarkEdited();
    void ShowSavedState();
    // Save / Save As of the selected report, with the page's text.
    void SaveCurrent(bool saveAs);

    ReportCommandsParts parts_;
    TReportList reports_;
    std::unique_ptr<ReportFileCommands> files_;
    PrinterSetUp printerSetUp_;
    QObject* memo_ = nullptr;
    int current_ = -1;
    bool filling_ = false;
};

} // namespace lumidrax
