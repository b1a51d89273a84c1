// The event table of a running viewer: choosing an event puts the cursor on
// it (read-outs, zoom memory), and the comparison with the reference chart.

#include "EventPanel.h"
#include "AppTestSupport.h"
#include "ChartGenerator.h"
#include "ChartMenus.h"
#include "ChartNotifier.h"
#include "ChartPage.h"
#include "ChartViewPanel.h"
#include "NumberText.h"
#include "TFrm_main_Lumidrax32.h"
#include "ZoomShift.h"

#include <QAction>
#include <QApplication>
#include <QLabel>
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
    TJednoMereni c = chartgen::GenerateChart(o);
    c.IsNew = true;
    return c;
}

TEST(EventPanel, ChosenEventMovesTheCursorAndComparesWithTheReference)
{
    test::FakeDialogs dialogs;
    std::unique_ptr<TFrm_main_Lumidrax32> w;
    ASSERT_TRUE(test::StartViewer(w, dialogs, {}, QSize(1100, 760)));
    TMereni& charts = w->Charts();
    charts.AddChart(Cable(150)); // the good measurement
    charts.AddChart(Cable(140)); // the cable cut shorter
    emit w->Notifier().chartsAdded();
    charts.SetReference(1);
    emit w->Notifier().referenceChanged(true);
    charts.ActiveIndex = 2;
    charts.ActiveCursor = 1;
    emit w->Notifier().activeChanged();
    // Zoomed in at the start, far from the end.
    SetView(charts, {0, -50, 20, 100});
    emit w->Notifier().viewChanged();

    // Shift+F6 (Tools > Event Table) shows the table with the focus in it.
    QTest::keyClick(QApplication::focusWidget() ? QApplication::focusWidget() : w.get(), Qt::Key_F6,
                    Qt::ShiftModifier);
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

} // namespace
} // namespace lumidrax
