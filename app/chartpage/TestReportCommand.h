#pragma once
// File > Test Report...: the dialog (TestReportDialog), then the report of
// the active chart or of the selected ones (TestReportContent), written as
// a PDF file atomically or printed through the printer set-up dialog (which
// also offers a PDF file), and the verdicts shown in the event panel, which
// is shown. The dialog's values are remembered ([REPORT] of the settings
// file). Charts are held by their ids across the dialog: one closed while it
// was open is not reported, and the message says so. The header's fields
// start from what a chart's archive entry says of the active chart
// (ArchivedHeader: its non-empty fields), else the remembered values; the
// verdict of each chart reported goes to Reported once the report is out.

#include "Settings.h"
#include "TestReportContent.h"

#include <QObject>

#include <functional>
#include <optional>
#include <string>

class QAction;
class QWidget;

namespace lumidrax {

class ChartPage;
class IDialogs;

class TestReportCommand : public QObject {
    Q_OBJECT
  public:
    struct Context {
        QWidget* Window = nullptr;
        ChartPage* Page = nullptr;
        const TMereni* Charts = nullptr;
        IDialogs* Dialogs = nullptr;
        // Shows the event panel (checked to show the verdict).
        QAction* ShowEvents = nullptr;
        // The remembered values, and how new ones are remembered.
        std::function<TestReportSettings()> Remembered;
        std::function<void(const TestReportSettings&)> Remember;
        // The header fields recorded for a chart (its archive entry's tags;
        // empty fields are not used), nothing when none are at hand.
        std::function<std::optional<ReportHeader>(const TJednoMereni&)> ArchivedHeader;
        // A chart reported and its verdict ("PASS", "FAIL", "INCOMPLETE").
        std::function<void(const TJednoMereni&, const std::string&)> Reported;
    };
    explicit TestReportCommand(const Context& context, QObject* parent = nullptr);

    void mi_file_reportClick();

    // The report the last command made (nothing before the first).
    const std::optional<TestReportContent>& LastReport() const { return last_; }

  private:
    // Writes or prints the report; an error text, an empty text when the
    // printer dialog was cancelled, or nothing when it went out.
    std::optional<std::string> PutOut(const TestReportContent& report, bool toPrinter,
                                      const std::string& path);

    Context c_;
    std::optional<TestReportContent> last_;
};

} // namespace lumidrax
