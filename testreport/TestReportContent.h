#pragma once
// What a test report says, section by section, ready to be painted: the
// header, and for each chart its picture (with the baseline drawn beside it
// and the event marks), the cursor read-outs, the instrument settings and DC
// values, the event table with the change against the baseline, the limits
// applied and the verdict. The viewer's File > Test Report... and
// `lumidrax-tool report` both build it here from the same inputs, so both
// documents carry the same text.
//
// Each chart is drawn in a collection of its own: the chart (active) and the
// baseline (reference), light colours, the full extent, the grid, the
// active cursor on the chart's end and the reference cursor on the
// baseline's (the first sample after the cable start when no end was
// found).

#include "ChartPagePainter.h"
#include "CriterionCheck.h"
#include "EventRows.h"
#include "LimitTemplate.h"
#include "ReadoutTexts.h"
#include "ReportHeader.h"
#include "TMereni.h"

#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace lumidrax {

struct ReportRequest {
    const TMereni* Charts = nullptr;
    // The charts reported (numbers in Charts), in this order.
    std::vector<int> Reported;
    // The baseline every reported chart is compared with: a chart of
    // Charts (0: none). A reported chart is not compared with itself.
    int Baseline = 0;
    ReportHeader Header;
    LimitTemplate Limits;
    // The template's file name as the report names it.
    std::string TemplateFile;
    EventParams Params;
};

struct ReportChartSection {
    int Number = 0;
    // File names (no folder); the baseline's empty without one.
    std::string Name;
    std::string BaselineName;
    std::string Description;
    // The chart and its baseline as the picture draws them; the picture's
    // view refers to it.
    std::shared_ptr<const TMereni> Drawn;
    ChartPageLayout Picture;
    CursorReadoutTexts Cursors;
    ChartInfoTexts Info;
    std::optional<ChartInfoTexts> BaselineInfo;
    // Instrument model and serial number of the chart (and the baseline).
    std::string Model, Serial, BaselineModel, BaselineSerial;
    EventTable Events;
    bool EndFound = false;
    std::vector<CriterionResult> Results;
    Verdict ChartVerdict = Verdict::Incomplete;
};

struct TestReportContent {
    // As completed from the first reported chart (CompleteReportHeader).
    ReportHeader Header;
    std::string TemplateName;
    std::string TemplateFile;
    std::vector<ReportChartSection> Sections;
    Verdict Overall = Verdict::Incomplete;
};

// Size of the chart picture's page in logical pixels.
inline constexpr int kReportPictureWidth = 1000;
inline constexpr int kReportPictureHeight = 540;

// The report of the request's charts; reported numbers outside Charts are
// left out.
TestReportContent BuildTestReport(const ReportRequest& request);

// The file name of a chart as the report names it (no folder).
std::string ReportChartName(const TJednoMereni& chart);

} // namespace lumidrax
