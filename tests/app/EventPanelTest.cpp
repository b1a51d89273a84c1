// The event table of a running viewer: choosing an event puts the cursor on
// it (read-outs, zoom memory), and the comparison with the reference chart.

#include "EventPanel.h"
#include "AppTestSupport.h"
#include "ChartGenerator.h"
#include "ChartMenus.h"
#include "ChartNotifier.h"
#include "ChartPage.h"
#include "ChartViewPanel.h"
#include "EdgeChart.h"
#include "EventRows.h"
#include "NumberText.h"
#include "PlotWidget.h"
#include "TFrm_main_Lumidrax32.h"
#include "ViewTransform.h"
#include "ZoomShift.h"

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTableWidget>
#include <QTest>
#include <gtest/gtest.h>

namespace lumidrax {
namespace {

TJednoMereni Cable(long double length)
{
    chartgen::ChartOptions o;
    o.sampleCount = 2000;
    o.cableLength = length;
    o.faults = {{60, -25}};
    return chartgen::GenerateChart(o);
}

// A viewer of the size the event table needs beside the plot.
struct EventViewer : test::ChartViewer {
    EventViewer() : ChartViewer(QSize(1100, 760)) {}

    // The charts come in as a batch of opened files does.
    void Add(std::vector<TJednoMereni> added)
    {
        for (TJednoMereni& c : added) {
            c.IsNew = true;
            Charts().AddChart(c);
        }
        emit w->Notifier().chartsAdded();
    }

    // Makes a chart the active one, as the mouse over it does.
    void Activate(int index)
    {
        Charts().ActiveIndex = index;
        emit w->Notifier().activeChanged();
    }

    // Tools > Event Table: the panel once it shows, null when it does not.
    EventPanel* ShowTable()
    {
        Menus().mi_panels_events->trigger();
        EventPanel* panel = w->ChartsPage().Events();
        return QTest::qWaitFor([&] { return panel->isVisible(); }) ? panel : nullptr;
    }
};

TEST(EventPanel, ChosenEventMovesTheCursorAndComparesWithTheReference)
{
    EventViewer v;
    START(v);
    const std::unique_ptr<TFrm_main_Lumidrax32>& w = v.w;
    TMereni& charts = w->Charts();
    v.Add({Cable(150), Cable(140)}); // the good measurement, the cable cut shorter
    charts.SetReference(1);
    emit w->Notifier().referenceChanged(true);
    charts.ActiveCursor = 1;
    v.Activate(2);
    // Zoomed in at the start, far from the end.
    SetView(charts, {0, -50, 20, 100});
    emit w->Notifier().viewChanged();

    // Shift+F6 (Tools > Event Table) shows the table with the focus in it.
    v.Key(Qt::Key_F6, Qt::ShiftModifier);
    EventPanel* panel = w->ChartsPage().Events();
    QTableWidget* table = panel->Table();
    ASSERT_TRUE(panel->isVisible());
    ASSERT_TRUE(QTest::qWaitFor([&] { return table->hasFocus(); }));
    ASSERT_EQ(table->rowCount(), 4);
    auto cell = [&](int row, int column) { return table->item(row, column)->text().toStdString(); };
    EXPECT_EQ(cell(1, EventPanel::kKind), "short");
    EXPECT_EQ(cell(1, EventPanel::kChange), "same");
    EXPECT_EQ(cell(2, EventPanel::kKind), "end-open");
    const std::string moved = cell(2, EventPanel::kChange); // "moved -9,95 m"
    ASSERT_EQ(moved.rfind("moved ", 0), 0u) << moved;
    EXPECT_NEAR(static_cast<double>(*ParseDecimal(moved.substr(6, moved.size() - 8))), -10, 0.5) << moved;
    EXPECT_EQ(cell(3, EventPanel::kKind), "echo");
    EXPECT_EQ(w->ChartsPage().View()->Plot()->EventMarks().size(), 4u);

    // The end chosen with the mouse.
    const ChartEvent end = panel->Current().Events[2];
    const QRect r = table->visualRect(table->model()->index(2, EventPanel::kDistance));
    QTest::mouseClick(table->viewport(), Qt::LeftButton, {}, r.center());
    EXPECT_EQ(charts.ActiveCursor, NearestSample(charts.Rec(2), end.Sample));
    EXPECT_TRUE(charts.ViewXMin <= charts.ActiveCursorX && charts.ActiveCursorX <= charts.ViewXMax);
    const QString x = w->findChild<QLabel*>("lbl_mainX")->text();
    EXPECT_TRUE(x.startsWith(QString::fromStdString(FormatFixed(charts.ActiveCursorX, 1))))
        << x.toStdString();
    EXPECT_NEAR(static_cast<double>(charts.ActiveCursorX), static_cast<double>(end.Distance), 0.2);

    // The chart page's keys stay with the table while it has the focus.
    const int cursor = charts.ActiveCursor;
    QTest::keyClick(table, Qt::Key_Right);
    EXPECT_EQ(charts.ActiveCursor, cursor);

    // Previous Zoom returns to the view before the jump.
    w->Menus().mi_zoom_prev->trigger();
    EXPECT_EQ(ViewOf(charts), (ViewWindow{0, -50, 20, 100}));
}

// The mouse moved over the plot from one chart to the other makes the
// second one active: the table lists it and names it, and its end row puts
// the cursor on the second chart's end. Moves along one chart tell the
// notifier nothing.
TEST(EventPanel, FollowsTheChartTheMouseMakesActive)
{
    EventViewer v;
    START(v);
    const std::unique_ptr<TFrm_main_Lumidrax32>& w = v.w;
    TMereni& charts = w->Charts();
    TJednoMereni first = Cable(150);
    first.DisplayName = "pair1.ndt";
    TJednoMereni second = Cable(95);
    second.DisplayName = "pair2.ndt";
    v.Add({first, second});
    charts.SetViewToFull();
    emit w->Notifier().viewChanged();
    charts.ActiveCursor = 1;
    v.Activate(1);
    EventPanel* panel = v.ShowTable();
    ASSERT_NE(panel, nullptr);
    QTableWidget* table = panel->Table();
    ASSERT_EQ(panel->ListedChart(), 1);
    EXPECT_TRUE(panel->ChartLabel()->text().contains("Chart 1: pair1.ndt"))
        << panel->ChartLabel()->text().toStdString();

    PlotWidget* plot = w->ChartsPage().View()->Plot();
    plot->repaint();
    auto peakOfEnd = [&](int chart) {
        const TJednoMereni& c = charts.Rec(chart);
        const std::vector<ChartEvent> events = DetectEvents(c);
        const ChartEvent& end = events[static_cast<std::size_t>(EndEventIndex(events))];
        ViewTransform v(charts, plot->width(), plot->height());
        v.UpdateScales(charts.ShownCount);
        return QPoint(v.ValueToPixel(Axis::X, EventDistance(c, end.PeakSample)),
                      v.ValueToPixel(Axis::Y, end.PeakLevel));
    };
    auto move = [&](QPoint p) {
        QMouseEvent e(QEvent::MouseMove, p, plot->mapToGlobal(p), Qt::NoButton, Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(plot, &e);
    };
    QSignalSpy activeChanges(&w->Notifier(), &ChartNotifier::activeChanged);
    move(peakOfEnd(1));
    ASSERT_EQ(charts.ActiveIndex, 1);
    EXPECT_EQ(activeChanges.count(), 0);
    const QPoint onSecond = peakOfEnd(2);
    move(onSecond);
    ASSERT_EQ(charts.ActiveIndex, 2);
    EXPECT_EQ(activeChanges.count(), 1);
    // Along the same chart: the cursor moves, the notifier stays quiet.
    move(onSecond + QPoint(1, 0));
    EXPECT_EQ(charts.ActiveIndex, 2);
    EXPECT_EQ(activeChanges.count(), 1);

    EXPECT_EQ(panel->ListedChart(), 2);
    const QString named = panel->ChartLabel()->text();
    EXPECT_TRUE(named.contains("Chart 2: pair2.ndt")) << named.toStdString();
    const QColor colour(QRgb(0xFF000000u | charts.Rec(2).Color));
    EXPECT_TRUE(named.contains(colour.name())) << named.toStdString();
    const EventTable expected = BuildEventTable(charts, 2, charts.RefIndex, EventParams{});
    ASSERT_EQ(table->rowCount(), static_cast<int>(expected.Rows.size()));
    const int end = EndEventIndex(expected.Events);
    ASSERT_GE(end, 0);
    EXPECT_EQ(table->item(end, EventPanel::kDistance)->text().toStdString(),
              expected.Rows[static_cast<std::size_t>(end)].Distance);

    const QRect r = table->visualRect(table->model()->index(end, EventPanel::kDistance));
    QTest::mouseClick(table->viewport(), Qt::LeftButton, {}, r.center());
    EXPECT_EQ(charts.ActiveIndex, 2);
    EXPECT_EQ(charts.ActiveCursor,
              NearestSample(charts.Rec(2), expected.Events[static_cast<std::size_t>(end)].Sample));
    EXPECT_NEAR(static_cast<double>(charts.ActiveCursorX),
                static_cast<double>(expected.Events[static_cast<std::size_t>(end)].Distance), 0.2);
}

TJednoMereni CleanLine(chartgen::LineEnd end)
{
    chartgen::EdgeChartOptions o;
    o.seed = 11;
    o.sampleCount = 4000;
    o.clean = true;
    o.end = end;
    return chartgen::GenerateEdgeChart(o).chart;
}

// A matched line's clean trace: its ripple is no event and it has no end,
// which the table says; an open line's end checked against a length no cable
// reaches is refused, against its own length gives the factor.
TEST(EventPanel, NoEndOnAMatchedLineAndAnImpossibleLength)
{
    EventViewer v;
    START(v);
    v.Add({CleanLine(chartgen::LineEnd::Matched), CleanLine(chartgen::LineEnd::Open)});
    v.Activate(1);
    EventPanel* panel = v.ShowTable();
    ASSERT_NE(panel, nullptr);
    QTableWidget* table = panel->Table();
    ASSERT_GE(table->rowCount(), 1);
    for (int r = 0; r < table->rowCount(); ++r) {
        EXPECT_EQ(table->item(r, EventPanel::kKind)->text().indexOf("end"), -1) << r;
        EXPECT_GE(std::fabs(*ParseDecimal(table->item(r, EventPanel::kPeak)->text().toStdString())), 1) << r;
    }
    EXPECT_TRUE(panel->NoEndLabel()->isVisible());
    EXPECT_TRUE(panel->NoEndLabel()->text().startsWith("No end found"))
        << panel->NoEndLabel()->text().toStdString();
    panel->LengthEdit()->setText("100");
    EXPECT_TRUE(panel->VelocityLabel()->text().isEmpty()) << panel->VelocityLabel()->text().toStdString();

    v.Activate(2);
    EXPECT_FALSE(panel->NoEndLabel()->isVisible());
    const int end = EndEventIndex(panel->Current().Events);
    ASSERT_GE(end, 0);
    const long double distance = panel->Current().Events[static_cast<std::size_t>(end)].Distance;
    panel->LengthEdit()->setText(QString::fromStdString(FormatFixed(distance * 10, 1)));
    EXPECT_TRUE(panel->VelocityLabel()->text().contains("cannot be"))
        << panel->VelocityLabel()->text().toStdString();
    EXPECT_FALSE(panel->VelocityLabel()->text().contains("Velocity factor"));
    panel->LengthEdit()->setText(QString::fromStdString(FormatFixed(distance, 2)));
    EXPECT_TRUE(panel->VelocityLabel()->text().startsWith("Velocity factor 0,66"))
        << panel->VelocityLabel()->text().toStdString();
}

} // namespace
} // namespace lumidrax
