// The processing commands in the running viewer: the filter menu with
// "User..." and the "F" button's pop-up, "Average Value" with its batch
// check, and "Ref. Chart Color...". Driven through the menus and the list as
// a person would; checked on the list rows, the read-outs, the messages and
// the painted plot.

#include "ProcessingCommands.h"
#include "AppTestSupport.h"
#include "ChartListPanel.h"
#include "ChartMenus.h"
#include "ChartNotifier.h"
#include "ChartPage.h"
#include "ChartViewPanel.h"
#include "Limits.h"
#include "TFrm_main_Lumidrax32.h"
#include "TestSupport.h"

#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QSignalSpy>
#include <QTest>
#include <QToolBar>
#include <QToolButton>
#include <gtest/gtest.h>

namespace lumidrax {
namespace {

using test::FakeDialogs;
using test::SourcePath;
using test::TempDir;
using test::WriteChart;

// A started viewer holding the given chart files, opened as one batch.
struct ProcessingViewer : test::ChartViewer {
    explicit ProcessingViewer(const std::vector<std::string>& files)
    {
        started = started && OpenBatch(files);
    }

    QString Label(const char* name) { return w->findChild<QLabel*>(name)->text(); }
    void SelectCharts(const std::vector<int>& charts)
    {
        for (std::size_t k = 0; k < charts.size(); ++k) {
            const QRect r = List()->visualItemRect(List()->item(charts[k] - 1));
            QTest::mouseClick(List()->viewport(), Qt::LeftButton,
                              k == 0 ? Qt::NoModifier : Qt::ControlModifier, r.center());
        }
    }
    std::vector<int> Selected() { return w->ChartsPage().SelectedCharts(); }
};

TEST(ProcessingCommands, UserFilterWindowFollowsTheInputRules)
{
    TempDir dir;
    ProcessingViewer v({WriteChart(dir.Path(), "line7.ndt", "cable 7")});
    START(v);
    ChartMenus& m = v.Menus();
    ASSERT_TRUE(m.mi_tools_filter->isEnabled());
    // The "F" button pops up the very items of the menu.
    auto* button = qobject_cast<QToolButton*>(m.ToolBar->widgetForAction(m.sb_filter));
    ASSERT_NE(button, nullptr);
    EXPECT_TRUE(button->isEnabled());
    EXPECT_EQ(m.sb_filter->menu(), m.mi_tools_filter);
    EXPECT_EQ(button->popupMode(), QToolButton::InstantPopup);
    QStringList captions;
    for (QAction* a : m.mi_tools_filter->actions())
        captions << a->text();
    EXPECT_EQ(captions, (QStringList{"Off", "2", "5", "10", "20", "50", "100", "User..."}));

    const struct {
        const char* typed;
        int count;           // charts afterwards
        const char* message; // message box text, "" for none
        const char* name;    // the new chart's name ending, "" for none
    } cases[] = {
        {"abc", 1, "Error: invalid number.", ""},
        {"0", 1, "", ""},
        {"1", 1, "", ""},
        {"250", 2, "", "line7_F100.ndt"},
    };
    QAction* user = m.mi_filter[7];
    for (const auto& c : cases) {
        v.dialogs.Log.clear();
        v.dialogs.InputAnswers.push_back(c.typed);
        user->trigger();
        ASSERT_EQ(v.dialogs.Log.size(), std::string(c.message).empty() ? 1u : 2u) << c.typed;
        const FakeDialogs::Shown& input = v.dialogs.Log.front();
        EXPECT_EQ(input.Kind, "input");
        EXPECT_EQ(input.Caption, "Local Filter");
        EXPECT_EQ(input.Text, "Input Filter Range:");
        EXPECT_EQ(input.Value, "2");
        if (*c.message) {
            EXPECT_EQ(v.dialogs.Log.back().Caption, "Error");
            EXPECT_EQ(v.dialogs.Log.back().Text, c.message);
        }
        EXPECT_EQ(v.Charts().Count, c.count) << c.typed;
        EXPECT_EQ(v.List()->count(), c.count) << c.typed;
    }
    // The filtered chart is unsaved, selected alone and the reference; its
    // read-out shows the local filter, and it cannot be filtered again.
    const TJednoMereni& f = v.Charts().Rec(2);
    EXPECT_TRUE(QString::fromStdString(f.DisplayName).endsWith("line7_F100.ndt"));
    EXPECT_FALSE(f.Saved);
    EXPECT_EQ(f.Description, "cable 7");
    EXPECT_EQ(v.Selected(), std::vector<int>{2});
    EXPECT_EQ(v.Charts().RefIndex, 2);
    EXPECT_EQ(v.Label("lbl_ref_curve_no"), "2");
    EXPECT_TRUE(v.Label("lbl_ref_filter").endsWith(" + 100")) << v.Label("lbl_ref_filter").toStdString();
    EXPECT_FALSE(m.mi_tools_filter->isEnabled());
    EXPECT_FALSE(button->isEnabled());

    // Cancel in the input box and "Off" make nothing; a fixed item filters.
    v.SelectCharts({1});
    ASSERT_TRUE(m.mi_tools_filter->isEnabled());
    v.dialogs.InputAnswers.push_back(std::nullopt);
    user->trigger();
    m.mi_filter[0]->trigger();
    EXPECT_EQ(v.Charts().Count, 2);
    m.mi_filter[2]->trigger();
    ASSERT_EQ(v.Charts().Count, 3);
    EXPECT_EQ(v.Charts().Rec(3).FilterPost, 5);
    EXPECT_EQ(v.Selected(), std::vector<int>{3});
    EXPECT_TRUE(v.dialogs.ScriptUsed());
}

TEST(ProcessingCommands, AverageRefusesChartsOfTwoSeriesAndAveragesOneSeries)
{
    ProcessingViewer v({SourcePath("examples/series1.ndt"), SourcePath("examples/series2.ndt"),
                        SourcePath("examples/vkr104-exchangeB-cable20.ndt")});
    START(v);
    ChartMenus& m = v.Menus();
    v.SelectCharts({1});
    EXPECT_FALSE(m.mi_curves_average->isEnabled()); // one chart selected

    v.SelectCharts({1, 2, 3});
    ASSERT_TRUE(m.mi_curves_average->isEnabled());
    m.mi_curves_average->trigger();
    ASSERT_EQ(v.dialogs.Messages(),
              std::vector<std::string>{"Error: Selected charts were not measured in batch mode."});
    EXPECT_EQ(v.dialogs.Log.back().Caption, "Error");
    EXPECT_EQ(v.Charts().Count, 3);
    EXPECT_EQ(v.List()->count(), 3);

    v.dialogs.Log.clear();
    v.SelectCharts({1, 2});
    m.mi_curves_average->trigger();
    EXPECT_TRUE(v.dialogs.Log.empty());
    ASSERT_EQ(v.Charts().Count, 4);
    const TJednoMereni& a = v.Charts().Rec(4);
    EXPECT_TRUE(QString::fromStdString(a.DisplayName).endsWith("examples/series_av.ndt"));
    EXPECT_EQ(a.Description, "Average of charts 12");
    EXPECT_FALSE(a.Saved);
    EXPECT_EQ(a.Sample(10), (v.Charts().Rec(1).Sample(10) + v.Charts().Rec(2).Sample(10)) / 2);
    EXPECT_EQ(v.Selected(), std::vector<int>{4});
    EXPECT_EQ(v.Charts().RefIndex, 4);
    EXPECT_EQ(v.Label("lbl_ref_curve_no"), "4");
}

TEST(ProcessingCommands, ReferenceColourIsChosenInTheColourDialog)
{
    TempDir dir;
    ProcessingViewer v({WriteChart(dir.Path(), "a.ndt", "a"), WriteChart(dir.Path(), "b.ndt", "b", 20)});
    START(v);
    ChartMenus& m = v.Menus();
    v.SelectCharts({1, 2});
    EXPECT_FALSE(m.mi_tools_refcolor->isEnabled()); // two selected: no reference
    v.SelectCharts({1});
    ASSERT_TRUE(m.mi_tools_refcolor->isEnabled());
    EXPECT_EQ(m.mi_tools_refcolor->shortcut(), QKeySequence("Ctrl+H"));
    const RgbColor before = v.Charts().Rec(1).Color;
    PlotWidget* plot = v.w->ChartsPage().View()->Plot();
    auto plotHas = [plot](QRgb colour) {
        const QImage img = plot->grab().toImage().convertToFormat(QImage::Format_RGB32);
        for (int y = 0; y < img.height(); ++y)
            for (int x = 0; x < img.width(); ++x)
                if ((img.pixel(x, y) | 0xFF000000) == colour)
                    return true;
        return false;
    };
    constexpr RgbColor kChosen = 0x12A456;
    ASSERT_FALSE(plotHas(0xFF000000 | kChosen));

    v.dialogs.ColorAnswers = {std::nullopt, kChosen};
    m.mi_tools_refcolor->trigger(); // cancelled
    EXPECT_EQ(v.Charts().Rec(1).Color, before);
    m.mi_tools_refcolor->trigger();
    EXPECT_EQ(v.Charts().Rec(1).Color, kChosen);
    EXPECT_EQ(v.Charts().Rec(1).ColorSlot, 1);
    EXPECT_TRUE(plotHas(0xFF000000 | kChosen));
    EXPECT_TRUE(v.dialogs.ScriptUsed());
}

TEST(ProcessingCommands, AFullCollectionMakesNothingAndSaysSo)
{
    TMereni charts;
    for (int k = 1; k <= kMaxCharts; ++k) {
        TJednoMereni c;
        c.DisplayName = c.FileName = "/d/c" + std::to_string(k) + ".ndt";
        c.DatumCas = "---";
        c.FilterPost = 1;
        c.SetSamples({1, 2, 3});
        charts.AppendRecord(std::move(c));
    }
    charts.SetReference(1);
    FakeDialogs dialogs;
    ChartNotifier notifier;
    QSignalSpy added(&notifier, &ChartNotifier::chartsAdded);
    ProcessingCommands commands(charts, dialogs, notifier);
    EXPECT_EQ(commands.OnFilter(5), 0);
    EXPECT_EQ(commands.mi_curves_averageClick({1, 2}), 0);
    EXPECT_EQ(dialogs.Messages(), std::vector<std::string>(2, "You have opened maximum amount of charts."));
    EXPECT_EQ(dialogs.Log.back().Caption, "Error");
    EXPECT_EQ(charts.Count, kMaxCharts);
    EXPECT_EQ(added.count(), 0);
    // Below the limit the same commands add their chart and notify.
    charts.DeleteChart(kMaxCharts);
    EXPECT_EQ(commands.OnFilter(5), kMaxCharts);
    EXPECT_EQ(added.count(), 1);
}

} // namespace
} // namespace lumidrax
