#include "TestReportCommand.h"

#include "ChartPage.h"
#include "EventPanel.h"
#include "FileIO.h"
#include "IDialogs.h"
#include "TestReportDialog.h"
#include "TestReportPainter.h"

#include <QAction>
#include <QPrinter>

#include <filesystem>

namespace lumidrax {

namespace {

TestReportChoice FromSettings(const TestReportSettings& s)
{
    TestReportChoice c;
    c.Header.Job = s.Job;
    c.Header.Customer = s.Customer;
    c.Header.Site = s.Site;
    c.Header.Cable = s.Cable;
    c.Header.Operator = s.Operator;
    c.Header.Model = s.Model;
    c.Header.Serial = s.Serial;
    c.Template = s.Template;
    c.Output = s.Output;
    return c;
}

TestReportSettings ToSettings(const TestReportChoice& c)
{
    return {c.Header.Job,   c.Header.Customer, c.Header.Site, c.Header.Cable, c.Header.Operator,
            c.Header.Model, c.Header.Serial,   c.Template,    c.Output};
}

// The report's file beside the last one, named after the chart.
std::string DefaultOutput(const std::string& last, const TJednoMereni& chart)
{
    const std::filesystem::path chartPath(ReportChartName(chart));
    const std::string name = chartPath.stem().string() + "-report.pdf";
    if (!last.empty())
        return (std::filesystem::path(last).parent_path() / name).string();
    const std::filesystem::path folder = std::filesystem::path(chart.FileName).parent_path();
    return folder.empty() ? name : (folder / name).string();
}

} // namespace

TestReportCommand::TestReportCommand(const Context& context, QObject* parent) : QObject(parent), c_(context)
{
}

void TestReportCommand::mi_file_reportClick()
{
    const TMereni& charts = *c_.Charts;
    if (charts.ActiveIndex < 1 || charts.ActiveIndex > charts.Count) {
        c_.Dialogs->ShowErrorMessage("there is no chart to report");
        return;
    }
    // Ids, not numbers: charts arrive and close while the dialog is open.
    const ChartId active = charts.Rec(charts.ActiveIndex).Id;
    std::vector<ChartId> selected;
    for (int i : c_.Page->SelectedCharts())
        if (i >= 1 && i <= charts.Count)
            selected.push_back(charts.Rec(i).Id);
    std::vector<std::pair<ChartId, std::string>> baselines;
    for (int i = 1; i <= charts.Count; ++i)
        baselines.emplace_back(charts.Rec(i).Id,
                               "Chart " + std::to_string(i) + ": " + ReportChartName(charts.Rec(i)));

    TestReportChoice initial = FromSettings(c_.Remembered ? c_.Remembered() : TestReportSettings{});
    // The reference chart is the baseline when it is another chart.
    if (charts.RefIndex >= 1 && charts.RefIndex <= charts.Count && charts.RefIndex != charts.ActiveIndex)
        initial.Baseline = charts.Rec(charts.RefIndex).Id;
    initial.Selected = selected.size() > 1;
    initial.Output = DefaultOutput(initial.Output, charts.Rec(charts.ActiveIndex));
    if (c_.ArchivedHeader)
        if (const std::optional<ReportHeader> archived = c_.ArchivedHeader(charts.Rec(charts.ActiveIndex)))
            for (const ReportHeaderField& f : ReportHeaderFields())
                if (!((*archived).*f.Member).empty())
                    initial.Header.*f.Member = (*archived).*f.Member;

    TestReportChoice choice;
    {
        TestReportDialog dialog(initial, baselines, static_cast<int>(selected.size()), *c_.Dialogs,
                                c_.Window);
        if (dialog.exec() != QDialog::Accepted)
            return;
        choice = dialog.Choice();
    }
    if (c_.Remember)
        c_.Remember(ToSettings(choice));

    ReportRequest request;
    request.Charts = c_.Charts;
    request.Header = choice.Header;
    request.Limits = choice.Limits;
    request.TemplateFile = std::filesystem::path(choice.Template).filename().string();
    request.Params.Sensitivity = c_.Page->Events()->Sensitivity();
    request.Params.LevelFloor = c_.Page->Events()->LevelFloor();
    request.Baseline = charts.NumberOf(choice.Baseline);
    int closed = choice.Baseline != 0 && request.Baseline == 0 ? 1 : 0;
    for (ChartId id : choice.Selected ? selected : std::vector<ChartId>{active}) {
        const int n = charts.NumberOf(id);
        if (n == 0)
            ++closed;
        else
            request.Reported.push_back(n);
    }
    if (closed > 0)
        c_.Dialogs->ShowErrorMessage(
            "a chart of the report was closed while the dialog was open; the report is made "
            "without it");
    if (request.Reported.empty())
        return;
    const TestReportContent report = BuildTestReport(request);
    last_ = report;
    // The charts' ids now: the printer dialog may let charts close.
    std::vector<ChartTestResult> results;
    for (const ReportChartSection& s : report.Sections)
        results.push_back({charts.Rec(s.Number).Id, s.ChartVerdict, report.TemplateName, s.Results});
    if (const auto error = PutOut(report, choice.ToPrinter, choice.Output)) {
        if (!error->empty())
            c_.Dialogs->ShowErrorMessage(*error);
        return;
    }
    if (c_.ShowEvents != nullptr && !c_.ShowEvents->isChecked())
        c_.ShowEvents->setChecked(true);
    c_.Page->Events()->ShowTestResults(results);
    // A chart closed meanwhile keeps no verdict.
    if (c_.Reported)
        for (const ChartTestResult& r : results)
            if (const int n = charts.NumberOf(r.Chart); n != 0)
                c_.Reported(charts.Rec(n), std::string(VerdictName(r.ChartVerdict)));
}

std::optional<std::string> TestReportCommand::PutOut(const TestReportContent& report, bool toPrinter,
                                                     const std::string& path)
{
    std::string target = path;
    if (toPrinter) {
        QPrinter printer(QPrinter::HighResolution);
        printer.setDocName(QStringLiteral("Test report"));
        printer.setCreator(QStringLiteral("Lumidrax"));
        SetReportPageLayout(printer);
        if (!c_.Dialogs->SetUpPrinter(printer))
            return std::string(); // cancelled: nothing made
        if (printer.outputFormat() != QPrinter::PdfFormat || printer.outputFileName().isEmpty()) {
            if (!PaintTestReport(printer, report))
                return std::string("the printer could not be started");
            return std::nullopt;
        }
        // A PDF file from the printer dialog is written like every file.
        target = printer.outputFileName().toStdString();
    }
    const QByteArray pdf = TestReportPdf(report, QStringLiteral("Lumidrax"));
    if (pdf.isEmpty())
        return std::string("the report could not be made");
    const SaveOutcome written = WriteFileAtomically(target, std::string_view(pdf.constData(), pdf.size()));
    if (!written.Done())
        return written.Message;
    return std::nullopt;
}

} // namespace lumidrax
