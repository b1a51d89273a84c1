// The chart list panel on an offscreen display: what its rows show and what
// clicks in it do to the collection and the command states.

#include "ChartListPanel.h"
#include "ChartListDelegate.h"
#include "TestSupport.h"

#include <QApplication>
#include <QHeaderView>
#include <QImage>
#include <QListWidget>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

namespace lumidrax {
namespace {

TJednoMereni& Add(TMereni& m, const std::string& file, bool saved = true)
{
    TJednoMereni c = test::RampChart(file);
    c.Saved = saved;
    TJednoMereni& r = m.AppendRecord(std::move(c));
    if (r.Shown)
        m.SetReference(m.Count);
    return r;
}

class ChartListPanelTest : public ::testing::Test {
  protected:
    void SetUp() override
    {
        panel.SetCollection(&charts);
        panel.resize(900, 16 * 14 + 60);
        panel.SetColumnWidths(300, 200);
        panel.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&panel));
    }

    QImage Grab() { return panel.List()->viewport()->grab().toImage(); }

    QPoint RowPoint(int row, int x = 200)
    {
        const QRect r = panel.List()->visualItemRect(panel.List()->item(row));
        return QPoint(x, r.center().y());
    }

    TMereni charts;
    ChartListPanel panel;
};

TEST_F(ChartListPanelTest, RowsShowColourMarkUnsavedPictureNumberAndArrow)
{
    for (int i = 1; i <= 11; ++i)
        Add(charts, "/data/chart" + std::to_string(i) + ".ndt", i != 2);
    charts.Rec(1).Description = "first";
    emit panel.Notifier()->chartsAdded();
    ASSERT_EQ(panel.ItemCount(), 11);
    EXPECT_EQ(panel.List()->item(10)->text(), "11");

    // All eleven were new: all selected, so no reference; the first active.
    EXPECT_EQ(panel.SelectedCharts().size(), 11u);
    EXPECT_EQ(charts.RefIndex, 0);

    panel.SelectCharts({1}, 1);
    EXPECT_EQ(panel.CurrentChart(), 1);
    const QImage img = Grab();
    const int y0 = RowPoint(0).y();
    const int y1 = RowPoint(1).y();
    const int y10 = RowPoint(10).y();
    // Colour mark of chart 1: its curve colour (red, slot 1).
    EXPECT_EQ(img.pixelColor(22, y0), QColor(255, 0, 0));
    // Chart 2: colour slot 2.
    EXPECT_EQ(img.pixelColor(22, y1), QColor::fromRgb(SlotColour(2)));
    // The 11th chart is not drawn: its mark is invisible (background).
    EXPECT_EQ(img.pixelColor(22, y10), QColor(255, 255, 255));
    // Unsaved chart 2 carries the red picture at x = 32..46, the saved
    // chart 1 none.
    EXPECT_EQ(img.pixelColor(34, y1 + 3), QColor(200, 30, 30));
    EXPECT_EQ(img.pixelColor(34, y0 + 3), QColor(255, 255, 255));
    // The arrow marks the current row only.
    EXPECT_EQ(img.pixelColor(5, y0), QColor(0, 0, 0));
    EXPECT_EQ(img.pixelColor(5, y1), QColor(255, 255, 255));
    // The selected row is blue from x = 80 on (where no text is), the
    // number columns never are.
    EXPECT_EQ(img.pixelColor(600, y0), QColor(50, 150, 220));
    EXPECT_EQ(img.pixelColor(40, y0), QColor(255, 255, 255));
    EXPECT_EQ(img.pixelColor(600, y1), QColor(255, 255, 255));
}

TEST_F(ChartListPanelTest, ClicksSelectChartsAndMoveTheReference)
{
    for (int i = 1; i <= 3; ++i)
        Add(charts, "/data/c" + std::to_string(i) + ".ndt");
    charts.Rec(3).Saved = false;
    emit panel.Notifier()->chartsAdded();
    QSignalSpy states(&panel, &ChartListPanel::commandStatesChanged);

    QTest::mouseClick(panel.List()->viewport(), Qt::LeftButton, {}, RowPoint(1));
    EXPECT_EQ(panel.SelectedCharts(), std::vector<int>{2});
    EXPECT_EQ(charts.ActiveIndex, 2);
    EXPECT_EQ(charts.RefIndex, 2);
    ASSERT_FALSE(states.isEmpty());
    auto last = states.last().at(0).value<ChartCommandStates>();
    EXPECT_TRUE(last.SaveAs);
    EXPECT_TRUE(last.CloseSelected);
    EXPECT_FALSE(last.Average);

    // Ctrl+click adds chart 3: two displayed charts selected, no reference.
    QTest::mouseClick(panel.List()->viewport(), Qt::LeftButton, Qt::ControlModifier, RowPoint(2));
    EXPECT_EQ(panel.SelectedCharts(), (std::vector<int>{2, 3}));
    EXPECT_EQ(charts.RefIndex, 0);
    EXPECT_EQ(charts.ActiveIndex, 3);
    last = states.last().at(0).value<ChartCommandStates>();
    EXPECT_FALSE(last.SaveAs);
    EXPECT_TRUE(last.Average);
    EXPECT_TRUE(last.SelectAll);

    panel.SelectAllCharts();
    EXPECT_EQ(panel.SelectedCharts().size(), 3u);
    EXPECT_FALSE(states.last().at(0).value<ChartCommandStates>().SelectAll);

    // Closing chart 2 and refreshing: rows renumbered, indices valid.
    charts.DeleteChart(2);
    emit panel.Notifier()->chartsRemoved();
    EXPECT_EQ(panel.ItemCount(), 2);
    EXPECT_EQ(panel.List()->item(1)->text(), "2");
    EXPECT_LE(charts.ActiveIndex, 2);

    charts.ClearAll();
    emit panel.Notifier()->chartsRemoved();
    EXPECT_EQ(panel.ItemCount(), 0);
    EXPECT_EQ(panel.CurrentChart(), 0);
    EXPECT_FALSE(states.last().at(0).value<ChartCommandStates>().CloseAll);
}

TEST_F(ChartListPanelTest, DisplayedModeListsOnlyDrawnChartsAndColumnsFollowTheHeader)
{
    for (int i = 1; i <= 12; ++i)
        Add(charts, "/data/c" + std::to_string(i) + ".ndt");
    panel.SetListMode(kListModeDisplayed);
    EXPECT_EQ(panel.ItemCount(), 10);
    panel.SetListMode(kListModeAll);
    EXPECT_EQ(panel.ItemCount(), 12);

    panel.SetColumnWidths(10, 1000);
    EXPECT_EQ(panel.NameWidth(), 70); // the minimum
    EXPECT_EQ(panel.DescWidth(), 1000);
    panel.Header()->resizeSection(1, 250);
    EXPECT_EQ(panel.NameWidth(), 250);
    // The list scrolls over the three columns, and the header with it.
    QListWidget* list = panel.List();
    QCoreApplication::processEvents();
    EXPECT_EQ(list->horizontalScrollBar()->maximum() + list->viewport()->width(), 80 + 250 + 1000);
    list->horizontalScrollBar()->setValue(100);
    EXPECT_EQ(panel.Header()->offset(), 100);
}

} // namespace
} // namespace lumidrax

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    qRegisterMetaType<lumidrax::ChartCommandStates>("lumidrax::ChartCommandStates");
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
