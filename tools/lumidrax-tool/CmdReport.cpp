// report --template T [--baseline FILE | --reference N] [--header KEY=VALUE
//        ...] [--sensitivity S] [--floor P] -o OUT.pdf FILE...: loads the
// files, judges each chart against the limit template (compared with the
// baseline file, or with chart N of the FILEs, which is then not reported
// itself) and writes the test report the viewer's File > Test Report...
// writes for the same charts. Prints the usual JSON with the verdict: each
// chart object gets "Verdict" and "Criteria" (Type, Title, Value, Limit,
// Outcome, Reason), the command's entry and the top-level "verdict" the
// document's ("PASS", "FAIL", "INCOMPLETE"). Exit status 0 only for PASS
// with every file read and the PDF written; 1 otherwise; 2 for a usage
// error, a malformed template or header included (message on standard
// error).
//
// Runs in lumidrax-tool-render (it paints with Qt).

#include "ChartJson.h"
#include "Commands.h"
#include "EventOptions.h"
#include "ToolGui.h"

#include "FileIO.h"
#include "LimitTemplate.h"
#include "ReportHeader.h"
#include "TestReportContent.h"
#include "TestReportPainter.h"

#include <CLI/CLI.hpp>

#include <QString>

#include <filesystem>
#include <memory>

namespace lumidrax::tool {

namespace {

struct ReportOptions {
    std::string limits;
    std::string baseline;
    int reference = 0;
    std::vector<std::string> header;
    EventOptions detection;
    std::string out;
    std::vector<std::string> files;
};

Json CriteriaJson(const std::vector<CriterionResult>& results)
{
    Json list = Json::array();
    for (const CriterionResult& r : results)
        list.push_back({{"Type", std::string(CriterionKindName(r.Rule.Kind))},
                        {"Title", r.Title},
                        {"Value", r.Value},
                        {"Limit", r.Limit},
                        {"Outcome", std::string(OutcomeName(r.Outcome))},
                        {"Reason", r.Reason.empty() ? Json(nullptr) : Json(r.Reason)}});
    return list;
}

int RunReport(const ReportOptions& o)
{
    ReportRequest request;
    request.Params = o.detection.Params();
    for (const std::string& h : o.header) {
        std::string error;
        if (!SetReportHeaderAssignment(request.Header, h, error))
            throw CLI::ValidationError("--header", error);
    }
    try {
        request.Limits = LoadLimitTemplate(o.limits);
    } catch (const LimitTemplateError& e) {
        throw CLI::ValidationError("--template", e.what());
    }
    request.TemplateFile = std::filesystem::path(o.limits).filename().string();

    TMereni collection;
    ToolOutput output;
    for (const std::string& file : o.files)
        LoadInto(collection, file, output);
    const int loaded = collection.Count;
    if (!o.baseline.empty())
        request.Baseline = LoadInto(collection, o.baseline, output);
    if (o.reference != 0) {
        if (o.reference >= 1 && o.reference <= loaded)
            request.Baseline = o.reference;
        else
            output.AddEntry(
                {{"command", "report"},
                 {"error", "Error: there is no chart " + std::to_string(o.reference) + " to compare with."}},
                true);
    }
    for (int i = 1; i <= loaded; ++i)
        if (i != request.Baseline)
            request.Reported.push_back(i);
    request.Charts = &collection;

    EnsureGuiApplication();
    const TestReportContent report = BuildTestReport(request);
    std::string error;
    if (report.Sections.empty()) {
        error = "Error: there is no chart to report.";
    } else {
        const QByteArray pdf =
            TestReportPdf(report, QStringLiteral("Lumidrax ") + QStringLiteral(LUMIDRAX_VERSION));
        const SaveOutcome written =
            pdf.isEmpty() ? SaveOutcome(SaveStatus::WriteFailed, "the report could not be painted")
                          : WriteFileAtomically(o.out, std::string_view(pdf.constData(), pdf.size()));
        if (!written.Done())
            error = "Error: " + written.Message + ".";
    }
    const std::string verdict(VerdictName(report.Overall));
    for (const ReportChartSection& s : report.Sections)
        output.AddChartFields(s.Number, {{"Verdict", std::string(VerdictName(s.ChartVerdict))},
                                         {"Criteria", CriteriaJson(s.Results)}});
    AddCommandEntry(output,
                    {{"command", "report"},
                     {"result", error.empty() ? 0 : -1},
                     {"verdict", verdict},
                     {"template", report.TemplateName},
                     {"baseline", request.Baseline > 0 ? Json(request.Baseline) : Json(nullptr)}},
                    o.out, error, false);
    output.AddTopLevel("verdict", verdict);
    const int printed = output.Print(collection, false);
    return printed == 0 && report.Overall == Verdict::Pass ? 0 : 1;
}

} // namespace

void AddReportCommand(CLI::App& app, int& exitStatus)
{
    auto o = std::make_shared<ReportOptions>();
    CLI::App* cmd = app.add_subcommand(
        "report", "Judge charts against a limit template and write the test report (PDF); exit 0 for PASS");
    cmd->add_option("--template", o->limits, "limit template (JSON)")->required();
    CLI::Option* baseline =
        cmd->add_option("--baseline", o->baseline, "chart file to compare every chart with");
    CLI::Option* reference = cmd->add_option("--reference", o->reference,
                                             "compare with chart N of the FILEs (not reported itself)")
                                 ->check(CLI::PositiveNumber);
    baseline->excludes(reference);
    cmd->add_option("--header", o->header,
                    "a header field, KEY=VALUE (job, customer, site, cable, operator, date, model, serial)");
    cmd->add_option("--sensitivity", o->detection.sensitivity, "event detection, 0..9 (default 5)");
    cmd->add_option("--floor", o->detection.floor, "event level floor in percent (default 1)");
    cmd->add_option("-o,--output", o->out, "the report, .pdf")
        ->required()
        ->check(CLI::Validator(
            [](const std::string& path) {
                const std::string ext = std::filesystem::path(path).extension().string();
                return ext == ".pdf" || ext == ".PDF" ? std::string()
                                                      : std::string("the report must end in .pdf");
            },
            "OUT.pdf"));
    cmd->add_option("FILE", o->files, "chart files, loaded in this order")->required();
    cmd->callback([o, &exitStatus] {
        exitStatus = RunReport(*o);
        ExitNow(exitStatus);
    });
}

} // namespace lumidrax::tool
