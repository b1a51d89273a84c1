// The chart page as a user meets it with many charts: a chart made while
// ten are drawn is listed in view and the user is told why it is not drawn;
// the dark scheme darkens the panels round the plot and keeps a colour the
// user chose; "Join Samples by Lines" joins the samples on the screen.

#include "AppTestSupport.h"
#include "ChartListPanel.h"
#include "ChartMenus.h"
#include "ChartPage.h"
#include "ChartRenderer.h"
#include "ChartViewPanel.h"
#include "TFrm_main_Lumidrax32.h"
#include "TestSupport.h"

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QListWidget>
#include <QSignalSpy>
#include <QStatusBar>
#include <QTableWidget>
#include <QTest>
#include <gtest/gtest.h>

namespace lumidrax {
namespace {

using test::FakeDialogs;
using test::TempDir;
using test::WriteChart;

// Pixels of `colour` in the plot's columns half way between the samples of
// chart `chart`.
int PixelsBetweenSamples(PlotWidget* plot, const TMereni& charts, int chart, RgbColor colour)
{
    const QImage image = plot->grab().toImage().convertToFormat(QImage::Format_RGB32);
    const ChartRenderer renderer(plot->State());
    const TJednoMereni& c = charts.Rec(chart);
    int found = 0;
    for (int k = 1; k < c.SampleCount; ++k) {
        const int x0 = renderer.View().ValueToPixel(Axis::X, SampleDistance(c, k));
        const int x1 = renderer.View().ValueToPixel(Axis::X, SampleDistance(c, k + 1));
        if (x1 - x0 < 8 || (x0 + x1) / 2 >= image.width())
            continue;
        for (int y = 0; y < image.height(); ++y)
            found += (image.pixel((x0 + x1) / 2, y) & 0xFFFFFF) == colour;
    }
    return found;
}

bool RowInView(QListWidget* list, int row)
{
    return list->viewport()->rect().intersects(list->visualItemRect(list->item(row)));
}

TEST(ChartPageLooks, ElevenChartsDarkSchemeAndLines)
{
    TempDir dir;
    FakeDialogs dialogs;
    std::unique_ptr<TFrm_main_Lumidrax32> w;
    ASSERT_TRUE(test::StartViewer(w, dialogs));
    for (int k = 1; k <= 10; ++k)
        w->ReceiveHandedOverName(WriteChart(dir.Path(), "pair" + std::to_string(k) + ".ndt", "pair", 5 * k));
    QSignalSpy batch(w.get(), &TFrm_main_Lumidrax32::BatchOpened);
    ASSERT_TRUE(batch.wait(5000));
    TMereni& charts = w->Charts();
    ASSERT_EQ(charts.ShownCount, 10);
    ChartMenus& m = w->Menus();
    QListWidget* list = w->ChartsPage().ChartList();

    // A filter on chart 10 makes an 11th chart: listed, in view, not drawn,
    // and the status bar and its row say why.
    const auto clickRow = [list](int row) {
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                          list->visualItemRect(list->item(row)).center());
    };
    list->scrollToItem(list->item(9));
    clickRow(9);
    ASSERT_EQ(charts.RefIndex, 10);
    list->scrollToTop();
    m.mi_filter[1]->trigger();
    ASSERT_EQ(charts.Count, 11);
    EXPECT_FALSE(charts.Rec(11).Shown);
    EXPECT_TRUE(RowInView(list, 10));
    const QString why = "Chart 11 is not drawn: at most 10 charts are drawn at a time.";
    EXPECT_TRUE(w->statusBar()->currentMessage().startsWith(why))
        << w->statusBar()->currentMessage().toStdString();
    EXPECT_TRUE(list->item(10)->toolTip().startsWith(why));
    // F8 on it draws nothing and says so again.
    w->statusBar()->clearMessage();
    QTest::keyClick(list, Qt::Key_F8);
    EXPECT_FALSE(charts.Rec(11).Shown);
    EXPECT_TRUE(w->statusBar()->currentMessage().startsWith(why));

    // Chart 10 gets a colour of its own, then the dark scheme: the panels
    // round the plot turn dark and the chosen colour stays, both ways.
    list->scrollToItem(list->item(9));
    clickRow(9);
    ASSERT_EQ(charts.RefIndex, 10);
    constexpr RgbColor chosen = 0x12AB34;
    dialogs.ColorAnswers.push_back(chosen);
    m.mi_tools_refcolor->trigger();
    ASSERT_EQ(charts.Rec(10).Color, chosen);
    m.mi_panels_events->trigger();
    QTest::keyClick(QApplication::focusWidget() ? QApplication::focusWidget() : w.get(), Qt::Key_B,
                    Qt::ControlModifier);
    ASSERT_TRUE(w->ChartsPage().View()->Dark());
    EXPECT_EQ(charts.Rec(10).Color, chosen);
    const auto lightness = [&](const char* name, QPalette::ColorRole role) {
        return w->findChild<QWidget*>(name)->palette().color(role).lightness();
    };
    EXPECT_LT(lightness("p_aktinfo", QPalette::Window), 64);
    EXPECT_LT(lightness("lbl_imp", QPalette::Window), 64);
    EXPECT_GT(lightness("lbl_imp", QPalette::WindowText), 192);
    EXPECT_LT(lightness("lbl_mainX", QPalette::Window), 64);
    EXPECT_LT(lightness("tbl_events", QPalette::Base), 64);
    EXPECT_GT(lightness("tbl_events", QPalette::Text), 192);
    const QImage axis = w->findChild<QWidget*>("OsaY")->grab().toImage();
    EXPECT_LT(QColor(axis.pixel(2, axis.height() / 2)).lightness(), 64);
    QTest::keyClick(QApplication::focusWidget() ? QApplication::focusWidget() : w.get(), Qt::Key_B,
                    Qt::ControlModifier);
    EXPECT_EQ(charts.Rec(10).Color, chosen);
    EXPECT_GT(lightness("lbl_imp", QPalette::Window), 192);

    // Dots leave the plot empty between the samples; lines join them.
    PlotWidget* plot = w->ChartsPage().View()->Plot();
    EXPECT_EQ(PixelsBetweenSamples(plot, charts, 10, chosen), 0);
    m.mi_tools_lines->trigger();
    EXPECT_TRUE(w->AppSettings().JoinSamples);
    EXPECT_GT(PixelsBetweenSamples(plot, charts, 10, chosen), 20);
}

} // namespace
} // namespace lumidrax
