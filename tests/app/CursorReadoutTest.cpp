// The cursors driven with the mouse over the plot of a running viewer: which
// chart becomes active, what the read-out areas say, the reference click and
// "&Ref. Chart Info".

#include "AppTestSupport.h"
#include "ChartInfoPanel.h"
#include "ChartListPanel.h"
#include "ChartListPopup.h"
#include "ChartMenus.h"
#include "ChartNotifier.h"
#include "ChartPage.h"
#include "ChartViewPanel.h"
#include "CursorCoordsPanel.h"
#include "CursorReadoutPanels.h"
#include "MarkerShape.h"
#include "NumberText.h"
#include "TFrm_main_Lumidrax32.h"

#include <QApplication>
#include <QLabel>
#include <QListWidget>
#include <QMouseEvent>
#include <QScreen>
#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

namespace lumidrax {
namespace {

struct CursorViewer : test::ChartViewer {
    CursorViewer() : ChartViewer(QSize(900, 700)) {}

    QLabel* Label(const char* name) { return w->findChild<QLabel*>(name); }
    QString Text(const char* name)
    {
        QLabel* l = Label(name);
        return l ? l->text() : QString("<no label %1>").arg(name);
    }
    // The texts of the labels named, joined by " | ".
    std::string Texts(std::initializer_list<const char*> names)
    {
        QStringList texts;
        for (const char* name : names)
            texts << Text(name);
        return texts.join(" | ").toStdString();
    }
    MarkerShape* Marker(const char* name) { return w->findChild<MarkerShape*>(name); }
    QString CurrentRow() { return List()->currentItem() ? List()->currentItem()->text() : QString(); }

    // A chart as the instrument sends it: `samples` samples at one level,
    // 0,1 m apart (interval 1000) or 1 m apart (interval 10000), starting
    // `start` samples before the cable start.
    void Add(int samples, long double level, int interval = 1000, int start = 1)
    {
        Charts().AppendRecord(Record(samples, level, interval, start));
        // As loading a chart file does.
        Charts().ComputeFullRange(true);
        emit w->Notifier().chartsAdded();
    }
    static TJednoMereni Record(int samples, long double level, int interval = 1000, int start = 1)
    {
        TJednoMereni r;
        r.Interval = interval;
        r.Velocity = 0.66L;
        r.Pozice0X = start;
        r.Impedance = 50;
        r.Noise = 2;
        r.Filter = 1;
        r.FilterPost = 1;
        r.StatusIDX = -1;
        r.DatumCas = "05.06.2024 08:09:10";
        r.Description = "level " + std::to_string(static_cast<int>(level));
        r.SetSamples(std::vector<long double>(static_cast<std::size_t>(samples), level));
        r.IsNew = true;
        return r;
    }
    // Sets the view window and repaints the curves (as a zoom does).
    void SetView(long double x0, long double x1, long double y0, long double y1)
    {
        TMereni& m = Charts();
        m.ViewXMin = x0;
        m.ViewXMax = x1;
        m.ViewYMin = y0;
        m.ViewYMax = y1;
        Plot()->InvalidateCurves();
        Plot()->repaint();
    }
    ViewTransform View()
    {
        ViewTransform v(Charts(), Plot()->width(), Plot()->height());
        v.UpdateScales(Charts().ShownCount);
        return v;
    }
    QPoint At(long double x, long double y)
    {
        const ViewTransform v = View();
        return {v.ValueToPixel(Axis::X, x), v.ValueToPixel(Axis::Y, y)};
    }
    void Move(QPoint p)
    {
        QMouseEvent e(QEvent::MouseMove, p, Plot()->mapToGlobal(p), Qt::NoButton, Qt::NoButton,
                      Qt::NoModifier);
        QApplication::sendEvent(Plot(), &e);
    }
    void Move(long double x, long double y) { Move(At(x, y)); }
    void Click(long double x, long double y) { QTest::mouseClick(Plot(), Qt::LeftButton, {}, At(x, y)); }
};

long double Number(const QString& text)
{
    const QString n = text.section(' ', 0, 0);
    return ParseDecimal(n.toStdString()).value_or(-1e9L);
}

TEST(Cursors, DenseSamplesTheMouseLevelPicksTheChartAndTheReadoutsFollow)
{
    CursorViewer v;
    START(v);
    v.Add(1000, 10); // 0 .. 99,9 m
    v.Add(1000, 30);
    ASSERT_EQ(v.Charts().ShownCount, 2);
    v.Plot()->repaint();
    const int cachePaints = v.Plot()->CacheRepaints();
    const QStringList selectedBefore = [&] {
        QStringList s;
        for (QListWidgetItem* i : v.List()->selectedItems())
            s << i->text();
        return s;
    }();

    v.Move(50, 25);
    EXPECT_EQ(v.Charts().ActiveIndex, 2);
    EXPECT_EQ(v.Text("lbl_mainY"), "30,0 %");
    EXPECT_NEAR(Number(v.Text("lbl_mainX")), v.View().PixelToValue(v.At(50, 25).x(), Axis::X), 0.051);
    EXPECT_TRUE(v.Text("lbl_mainX").endsWith(" m"));
    EXPECT_EQ(v.Texts({"lbl_curve_no", "lbl_imp", "lbl_vel", "lbl_noise", "lbl_filter", "lbl_voltage",
                       "lbl_resistance", "lbl_datetime"}),
              "2 | 50 Ohm | 66,0% | 2% | Off | --- | --- | 05.06.2024 08:09:10");
    EXPECT_EQ(v.Marker("sh_main")->Fill(), QColor::fromRgb(v.Charts().Rec(2).Color));
    EXPECT_TRUE(v.Marker("sh_activecolor")->isVisibleTo(v.w.get()));
    EXPECT_EQ(v.Marker("sh_activecolor")->Fill(), QColor::fromRgb(v.Charts().Rec(2).Color));
    EXPECT_EQ(v.CurrentRow(), "2");

    v.Move(70, 12);
    EXPECT_EQ(v.Charts().ActiveIndex, 1);
    EXPECT_EQ(v.Text("lbl_mainY"), "10,0 %");
    EXPECT_NEAR(Number(v.Text("lbl_mainX")), 70, 0.5);
    EXPECT_EQ(v.Text("lbl_curve_no"), "1");
    EXPECT_EQ(v.Marker("sh_main")->Fill(), QColor::fromRgb(v.Charts().Rec(1).Color));
    EXPECT_EQ(v.CurrentRow(), "1");

    // The list only moved its current row: the selection, and with it the
    // reference chart, stayed.
    QStringList selectedAfter;
    for (QListWidgetItem* i : v.List()->selectedItems())
        selectedAfter << i->text();
    EXPECT_EQ(selectedAfter, selectedBefore);
    // The curves were not painted again for the cursor moves.
    v.Plot()->repaint();
    EXPECT_EQ(v.Plot()->CacheRepaints(), cachePaints);
}

// Widgets that were laid out again or painted while the mouse moved.
struct LayoutAndPaintWatch : QObject {
    QStringList laidOut;
    QStringList painted;
    bool eventFilter(QObject* o, QEvent* e) override
    {
        if (e->type() == QEvent::LayoutRequest)
            laidOut << QString(o->metaObject()->className()) + ":" + o->objectName();
        if (e->type() == QEvent::Paint)
            painted << o->objectName();
        return false;
    }
};

// The mouse going from chart to chart changes every read-out, yet lays out
// nothing and repaints neither the axis strips nor the page behind the plot:
// that is what keeps a move cheap. A value wider than its field is cut, and
// whole in the field's tool tip.
TEST(Cursors, ChartToChartTheReadoutsChangeWithoutLayingTheWindowOut)
{
    CursorViewer v;
    START(v);
    TJednoMereni low = CursorViewer::Record(1000, 10);
    TJednoMereni high = CursorViewer::Record(1000, 30);
    high.Impedance = 1000;
    high.StatusIDX = 0;
    high.DCVoltageStr = "0,05 V";
    high.DCResistStr = "more than 2000 MOhm, overload";
    v.Charts().AppendRecord(std::move(low));
    v.Charts().AppendRecord(std::move(high));
    v.Charts().ComputeFullRange(true);
    emit v.w->Notifier().chartsAdded();
    v.SetView(0, 100, 0, 40);
    // Once over each chart first: what the window sets up the first time
    // it shows a chart is not what a move costs.
    for (long double level : {25, 12}) {
        v.Move(49, level);
        QApplication::processEvents();
    }
    ASSERT_EQ(v.Charts().ActiveIndex, 1);

    LayoutAndPaintWatch watch;
    qApp->installEventFilter(&watch);
    for (int k = 0; k < 4; ++k) {
        v.Move(50 + k, k % 2 ? 12 : 25);
        QApplication::processEvents();
        EXPECT_EQ(v.Charts().ActiveIndex, k % 2 ? 1 : 2) << k;
        EXPECT_EQ(v.Text("lbl_curve_no"), k % 2 ? "1" : "2");
        EXPECT_EQ(v.Text("lbl_imp"), k % 2 ? "50 Ohm" : "1000 Ohm");
    }
    qApp->removeEventFilter(&watch);
    EXPECT_TRUE(watch.laidOut.isEmpty()) << watch.laidOut.join(' ').toStdString();
    EXPECT_FALSE(watch.painted.contains("OsaX")) << watch.painted.join(' ').toStdString();
    EXPECT_FALSE(watch.painted.contains("OsaY"));
    EXPECT_FALSE(watch.painted.contains("pc_all"));
    EXPECT_TRUE(watch.painted.contains("lbl_imp"));

    v.Move(50, 25);
    EXPECT_EQ(v.Text("lbl_resistance"), "more than 2000 MOhm, overload");
    EXPECT_EQ(v.Label("lbl_resistance")->toolTip(), "more than 2000 MOhm, overload");
    EXPECT_EQ(v.Label("lbl_voltage")->toolTip(), "");
}

TEST(Cursors, RepaintingOnlyTheCursorStripsLeavesTheSamePictureAsAFullPaint)
{
    CursorViewer v;
    START(v);
    v.Add(1000, 10);
    v.Add(1000, 30);
    v.Add(300, -20, 1000, -199); // 20 .. 49,9 m
    PlotWidget* plot = v.Plot();
    auto onScreen = [&] {
        QApplication::processEvents();
        const QPoint origin = plot->mapTo(v.w.get(), QPoint(0, 0));
        return plot->screen()
            ->grabWindow(v.w->winId(), origin.x(), origin.y(), plot->width(), plot->height())
            .toImage()
            .convertToFormat(QImage::Format_RGB32);
    };
    onScreen();
    const int cachePaints = plot->CacheRepaints();
    for (auto [x, y] : {std::pair{10.0, 10.0}, {45.0, -18.0}, {90.0, 29.0}, {30.0, 12.0}}) {
        v.Move(x, y);
        const QImage partial = onScreen();
        ASSERT_FALSE(partial.isNull());
        const QImage full = plot->grab().toImage().convertToFormat(QImage::Format_RGB32);
        EXPECT_TRUE(partial == full) << "after the move to " << x << " m";
    }
    EXPECT_EQ(plot->CacheRepaints(), cachePaints);
}

TEST(Cursors, TwoChartsAtTheSameLevelGiveTheHigherNumber)
{
    CursorViewer v;
    START(v);
    v.Add(1000, 20);
    v.Add(1000, 20);
    v.Add(1000, 20);
    v.Move(30, -40);
    EXPECT_EQ(v.Charts().ActiveIndex, 3);
    EXPECT_EQ(v.Text("lbl_curve_no"), "3");
}

TEST(Cursors, LeftOfEveryChartTheCursorSitsOnSampleTwoAndInTheMarginItStays)
{
    CursorViewer v;
    START(v);
    v.Add(1000, 10);           // 0 .. 99,9 m
    v.Add(500, 30, 1000, -99); // 10 .. 59,9 m
    TMereni& m = v.Charts();
    ASSERT_LT(m.FullXMin, -4);
    // Zoomed out, so that the plot reaches left of the full extent.
    v.SetView(m.FullXMin - 30, m.FullXMax, m.FullYMin, m.FullYMax);
    v.Move(QPoint(2, v.At(0, 30).y()));
    EXPECT_EQ(m.ActiveIndex, 1);
    EXPECT_EQ(v.Text("lbl_mainX"), "0,10 m");
    EXPECT_EQ(v.Text("lbl_mainY"), "10,0 %");

    v.Move(40, 30);
    ASSERT_EQ(m.ActiveIndex, 2);
    const QString x = v.Text("lbl_mainX");
    // Between the full extent's start and the first chart: nothing moves.
    v.Move(m.FullXMin / 2, 10);
    EXPECT_EQ(m.ActiveIndex, 2);
    EXPECT_EQ(v.Text("lbl_mainX"), x);
    EXPECT_EQ(v.Text("lbl_mainY"), "30,0 %");
    // In the gap right of chart 2 over chart 1 only: chart 1.
    v.Move(80, 30);
    EXPECT_EQ(m.ActiveIndex, 1);
}

TEST(Cursors, SparseSamplesTheNearestDotWinsAndNoVisibleDotLeavesNoActiveChart)
{
    CursorViewer v;
    START(v);
    v.Add(20, -40, 10000); // 1 m apart, 0 .. 19 m
    v.Add(20, 30, 10000);
    // 10 m across the plot: far more than 10 pixels per sample. Neither
    // level is in the view.
    v.SetView(0, 10, -10, 10);
    ASSERT_GT(v.Plot()->width(), 200);
    const int cachePaints = v.Plot()->CacheRepaints();
    v.Move(3.3L, 9.9L);
    EXPECT_EQ(v.Charts().ActiveIndex, 2);
    EXPECT_EQ(v.Text("lbl_mainX"), "3,00 m");
    EXPECT_EQ(v.Text("lbl_mainY"), "30,0 %");
    v.Move(6.8L, -9.9L);
    EXPECT_EQ(v.Charts().ActiveIndex, 1);
    EXPECT_EQ(v.Text("lbl_mainX"), "7,00 m");
    EXPECT_EQ(v.Text("lbl_mainY"), "-40,0 %");
    v.Plot()->repaint();
    EXPECT_EQ(v.Plot()->CacheRepaints(), cachePaints);

    // Right of both charts: no dot in the distance range.
    v.SetView(100, 110, -10, 10);
    v.Move(105, 0);
    EXPECT_EQ(v.Charts().ActiveIndex, 0);
    EXPECT_EQ(v.Texts({"lbl_mainX", "lbl_mainY", "lbl_diffX", "lbl_curve_no", "lbl_active_edge"}),
              " |  |  | --- | -");
    EXPECT_FALSE(v.Marker("sh_activecolor")->isVisibleTo(v.w.get()));

    // A click there leaves no reference: "Ref" and "Diff" are empty.
    v.Click(105, 0);
    EXPECT_EQ(v.Charts().RefIndex, 0);
    EXPECT_EQ(v.Texts({"lbl_refX", "lbl_refY", "lbl_diffY", "lbl_ref_curve_no"}), " |  |  | ---");
    EXPECT_FALSE(v.Marker("sh_refcolor")->isVisibleTo(v.w.get()));
    EXPECT_FALSE(v.Menus().mi_panels_refinfo->isEnabled());
}

TEST(Cursors, AClickSetsTheReferenceAndDiffReadsActiveMinusReference)
{
    CursorViewer v;
    START(v);
    v.Add(1000, 10);
    v.Add(1000, 30);
    v.Add(1000, -20);
    v.Move(40, 28);
    ASSERT_EQ(v.Charts().ActiveIndex, 2);
    v.Click(40, 28);
    EXPECT_EQ(v.Charts().RefIndex, 2);
    EXPECT_EQ(v.Texts({"lbl_refX", "lbl_refY", "lbl_diffX", "lbl_diffY", "lbl_ref_curve_no", "lbl_ref_imp"}),
              v.Text("lbl_mainX").toStdString() + " | 30,0 % | 0,00 m | 0,0 % | 2 | 50 Ohm");
    EXPECT_EQ(v.Marker("sh_ref")->Fill(), QColor::fromRgb(v.Charts().Rec(2).Color));
    EXPECT_TRUE(v.Marker("sh_refcolor")->isVisibleTo(v.w.get()));
    // The list selects the reference chart alone.
    ASSERT_EQ(v.List()->selectedItems().size(), 1);
    EXPECT_EQ(v.List()->selectedItems().front()->text(), "2");
    EXPECT_TRUE(v.Menus().mi_panels_refinfo->isEnabled());

    v.Move(75, -15);
    EXPECT_EQ(v.Charts().ActiveIndex, 3);
    EXPECT_EQ(v.Text("lbl_mainY"), "-20,0 %");
    EXPECT_EQ(v.Text("lbl_diffY"), "-50,0 %");
    EXPECT_NEAR(Number(v.Text("lbl_diffX")), Number(v.Text("lbl_mainX")) - Number(v.Text("lbl_refX")), 0.006);
    EXPECT_NEAR(Number(v.Text("lbl_diffX")), 35, 0.5);
    // The reference stays where it was clicked.
    EXPECT_EQ(v.Text("lbl_refY"), "30,0 %");
    EXPECT_EQ(v.Text("lbl_ref_curve_no"), "2");
}

TEST(Cursors, RefChartInfoShowsAndHidesTheReferencePanel)
{
    CursorViewer v;
    START(v);
    QAction* item = v.Menus().mi_panels_refinfo;
    EXPECT_EQ(item->text(), "&Ref. Chart Info");
    EXPECT_EQ(item->shortcut(), QKeySequence("F6"));
    EXPECT_FALSE(item->isEnabled());
    v.Add(1000, 10);
    EXPECT_TRUE(item->isEnabled());
    QWidget* panel = v.w->ChartsPage().Readouts()->RefInfo();
    EXPECT_EQ(panel->objectName(), "p_refinfo");
    const bool shown = item->isChecked();
    EXPECT_EQ(panel->isVisible(), shown);
    item->trigger();
    EXPECT_EQ(item->isChecked(), !shown);
    EXPECT_EQ(panel->isVisible(), !shown);
    item->trigger();
    EXPECT_EQ(panel->isVisible(), shown);
}

TEST(ChartPage, AChartArrivingFromOutsideJoinsAZoomedViewWithASelectionAndAReference)
{
    CursorViewer v;
    START(v);
    TMereni& m = v.Charts();
    ChartListPanel* list = v.w->ChartsPage().ListPanel();
    v.Add(1000, 10);
    v.Add(1000, 30);
    v.Add(1000, -20);
    // Chart 3 hidden; charts 1 and 3 selected: chart 1, the only drawn one
    // of them, is the reference; chart 3 is the list's current row.
    list->SelectCharts({3}, 3);
    v.Menus().mi_curves_hide->trigger();
    list->SelectCharts({1, 3}, 3);
    ASSERT_FALSE(m.Rec(3).Shown);
    ASSERT_EQ(m.RefIndex, 1);
    ASSERT_EQ(m.ActiveIndex, 3);
    // Zoomed in through the view fields.
    m.ViewXMin = 20;
    m.ViewXMax = 60;
    m.ViewYMin = -5;
    m.ViewYMax = 50;
    emit v.w->Notifier().viewChanged();
    const int paintsBefore = v.Plot()->CacheRepaints();

    // A chart arrives as a transfer delivers it: appended to the collection,
    // then one notification and nothing else.
    TJednoMereni arrived = CursorViewer::Record(1000, 40);
    arrived.Description = "arrived";
    ASSERT_EQ(m.AddChart(std::move(arrived)), 4);
    emit v.w->Notifier().chartsAdded();

    // The list: a row for it, alone selected; drawn as the last chart, it is
    // the reference; the active chart stays; the view stays zoomed.
    QStringList rows, selected;
    for (int k = 0; k < v.List()->count(); ++k) {
        rows << v.List()->item(k)->text();
        if (v.List()->item(k)->isSelected())
            selected << v.List()->item(k)->text();
    }
    EXPECT_EQ(rows, QStringList({"1", "2", "3", "4"}));
    EXPECT_EQ(selected, QStringList({"4"}));
    EXPECT_EQ(m.RefIndex, 4);
    EXPECT_EQ(m.ActiveIndex, 3);
    EXPECT_EQ(m.ViewXMin, 20);
    EXPECT_EQ(m.ViewXMax, 60);
    // The read-outs: the reference information and cursor are the new chart's.
    EXPECT_EQ(v.Text("lbl_ref_curve_no"), "4");
    EXPECT_EQ(v.Text("lbl_refY"), "40,0 %");
    // The plot painted its curves anew, the new one in the free colour slot
    // 3 at 40 % of the zoomed view.
    v.Plot()->repaint();
    EXPECT_GT(v.Plot()->CacheRepaints(), paintsBefore);
    const QImage plot = v.Plot()->grab().toImage();
    EXPECT_EQ(m.Rec(4).ColorSlot, 3);
    EXPECT_EQ(plot.pixelColor(v.At(40, 40)), QColor::fromRgb(SlotColour(3)));
    // The commands: one chart selected, and it has no file yet.
    EXPECT_TRUE(v.Menus().mi_file_saveas->isEnabled());
    EXPECT_TRUE(v.Menus().mi_curves_hide->isEnabled());
    EXPECT_FALSE(v.Menus().mi_curves_show->isEnabled());
    EXPECT_TRUE(v.w->ListPopup().mi_curves_select_all->isEnabled());
    EXPECT_FALSE(v.Menus().mi_save_all->isEnabled());
}

} // namespace
} // namespace lumidrax
