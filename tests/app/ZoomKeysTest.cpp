// Zoom, shift and the chart page's keys driven in a running viewer as a
// person would: the zoom memory and its label, the zoom tool with the mouse,
// the wheel, the pan, the shift commands, and every previewed key with its
// effect on what the page shows.

#include "AppTestSupport.h"
#include "ChartListPanel.h"
#include "ChartMenus.h"
#include "ChartNotifier.h"
#include "ChartPage.h"
#include "ChartViewPanel.h"
#include "DescriptionField.h"
#include "PlotZoomTool.h"
#include "TFrm_main_Lumidrax32.h"
#include "ZoomCommands.h"
#include "ZoomCursors.h"
#include "ZoomShift.h"

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QMouseEvent>
#include <QSignalSpy>
#include <QTabWidget>
#include <QTest>
#include <QWheelEvent>
#include <gtest/gtest.h>

namespace lumidrax {
namespace {

struct ZoomViewer : test::ChartViewer {
    ZoomViewer() : ChartViewer(QSize(1000, 760)) {}

    ChartListPanel* ListPanel() { return w->ChartsPage().ListPanel(); }
    QString ZoomPos() { return Menus().lbl_zoompos->text(); }
    QString Text(const char* label) { return w->findChild<QLabel*>(label)->text(); }
    long double Width() { return Charts().ViewXMax - Charts().ViewXMin; }
    long double Height() { return Charts().ViewYMax - Charts().ViewYMin; }

    // A displayed chart of `samples` samples 0,1 m apart; even samples at
    // `level`, odd ones one higher (so each step changes the level read-out).
    void Add(int samples, long double level)
    {
        TJednoMereni r;
        r.Interval = 1000;
        r.Velocity = 0.66L;
        r.Pozice0X = 1;
        r.Filter = 1;
        r.FilterPost = 1;
        r.StatusIDX = -1;
        r.Description = "level " + std::to_string(static_cast<int>(level));
        std::vector<long double> s;
        for (int k = 0; k < samples; ++k)
            s.push_back(level + k % 2);
        r.SetSamples(std::move(s));
        r.IsNew = true;
        Charts().AppendRecord(std::move(r));
        Charts().ComputeFullRange(true);
        emit w->Notifier().chartsAdded();
    }
    // Such a chart at each level, in order.
    void AddLevels(int samples, std::initializer_list<long double> levels)
    {
        for (const long double level : levels)
            Add(samples, level);
    }
    ViewTransform View()
    {
        ViewTransform v(Charts(), Plot()->width(), Plot()->height());
        v.UpdateScales(Charts().ShownCount);
        return v;
    }
    void Mouse(QEvent::Type type, QPoint p, Qt::MouseButton button, Qt::MouseButtons held,
               Qt::KeyboardModifiers mods = Qt::NoModifier)
    {
        QMouseEvent e(type, p, Plot()->mapToGlobal(p), button, held, mods);
        QApplication::sendEvent(Plot(), &e);
    }
    // Press, one move, release.
    void Drag(QPoint from, QPoint to, Qt::MouseButton button = Qt::LeftButton,
              Qt::KeyboardModifiers mods = Qt::NoModifier)
    {
        Mouse(QEvent::MouseButtonPress, from, button, button, mods);
        Mouse(QEvent::MouseMove, to, Qt::NoButton, button, mods);
        Mouse(QEvent::MouseButtonRelease, to, button, Qt::NoButton, mods);
    }
    void RightClick(QPoint p) { Drag(p, p, Qt::RightButton); }
    void Wheel(QPoint p, int delta)
    {
        QWheelEvent e(p, Plot()->mapToGlobal(p), QPoint(), QPoint(0, delta), Qt::NoButton, Qt::NoModifier,
                      Qt::NoScrollPhase, false);
        QApplication::sendEvent(Plot(), &e);
    }
    bool CursorIs(ZoomCursorKind kind)
    {
        return Plot()->cursor().shape() == Qt::BitmapCursor &&
               Plot()->cursor().pixmap().toImage() == ZoomCursor(kind).pixmap().toImage();
    }
};

// The zoom tool on one displayed chart of 1000 samples at level 10.
class ZoomTool : public ::testing::Test {
  protected:
    void SetUp() override
    {
        START(v);
        v.Add(1000, 10);
    }
    ZoomViewer v;
};

// The page's keys; each test adds its charts to the started viewer.
class ChartKeys : public ::testing::Test {
  protected:
    void SetUp() override { START(v); }
    ZoomViewer v;
};

TEST(ZoomMemory, SavedViewsAreWalkedBackAndForthAndTheLabelCountsThem)
{
    ZoomViewer v;
    START(v);
    ChartMenus& m = v.Menus();
    // Nothing displayed: only "Zoom to All" and "Clear zoom memory".
    EXPECT_EQ(v.ZoomPos(), "-/-");
    EXPECT_FALSE(m.lbl_zoompos->isEnabled());
    EXPECT_FALSE(m.mi_zoom_do->isEnabled());
    EXPECT_FALSE(m.mi_zoom_remember->isEnabled());
    EXPECT_TRUE(m.mi_zoom_all->isEnabled());

    v.Add(1000, 10);
    EXPECT_TRUE(m.lbl_zoompos->isEnabled());
    EXPECT_TRUE(m.mi_zoom_do->isEnabled());
    const ViewWindow full = ViewOf(v.Charts());
    v.Key(Qt::Key_F11);
    EXPECT_EQ(v.ZoomPos(), "1/1");
    EXPECT_FALSE(m.mi_zoom_prev->isEnabled());
    v.Wheel(QPoint(200, 100), 120);
    const ViewWindow zoomed = ViewOf(v.Charts());
    ASSERT_NE(zoomed, full);
    EXPECT_EQ(v.ZoomPos(), "1/1"); // the wheel does not save
    v.Key(Qt::Key_M, Qt::ControlModifier);
    EXPECT_EQ(v.ZoomPos(), "2/2");
    EXPECT_TRUE(m.mi_zoom_prev->isEnabled());
    EXPECT_FALSE(m.mi_zoom_next->isEnabled());

    v.Key(Qt::Key_F9);
    EXPECT_EQ(v.ZoomPos(), "1/2");
    EXPECT_EQ(ViewOf(v.Charts()), full);
    EXPECT_FALSE(m.mi_zoom_prev->isEnabled());
    EXPECT_TRUE(m.mi_zoom_next->isEnabled());
    v.Key(Qt::Key_F10);
    EXPECT_EQ(ViewOf(v.Charts()), zoomed);
    v.Key(Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(v.ZoomPos(), "1/2");
    v.Key(Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(v.ZoomPos(), "2/2");
    EXPECT_EQ(ViewOf(v.Charts()), zoomed);
    v.Key(Qt::Key_F12);
    EXPECT_EQ(ViewOf(v.Charts()), full);
    v.Wheel(QPoint(200, 100), 120);
    v.Key(Qt::Key_T, Qt::ControlModifier);
    EXPECT_EQ(ViewOf(v.Charts()), full);
    EXPECT_EQ(v.ZoomPos(), "2/2"); // "Zoom to All" leaves the memory

    // Five entries at position 2, then a save: six at six.
    for (int k = 0; k < 3; ++k)
        v.Key(Qt::Key_F11);
    for (int k = 0; k < 3; ++k)
        v.Key(Qt::Key_F9);
    EXPECT_EQ(v.ZoomPos(), "2/5");
    QTest::mouseClick(m.lbl_zoompos, Qt::LeftButton); // the label saves too
    EXPECT_EQ(v.ZoomPos(), "6/6");

    for (int k = 0; k < 15; ++k)
        v.Key(Qt::Key_F11);
    EXPECT_EQ(v.ZoomPos(), "20/20");
    v.Key(Qt::Key_F11);
    EXPECT_EQ(v.ZoomPos(), "20/20");

    v.Key(Qt::Key_M, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(v.ZoomPos(), "-/-");
    EXPECT_FALSE(m.mi_zoom_prev->isEnabled());
    EXPECT_FALSE(m.mi_zoom_next->isEnabled());
}

TEST_F(ZoomTool, TheRightButtonSwitchesItAndClicksAndBandsZoom)
{
    ChartMenus& m = v.Menus();
    const QPoint centre = v.Plot()->rect().center();
    v.Mouse(QEvent::MouseMove, centre, Qt::NoButton, Qt::NoButton);
    const QString cursorAt = v.Text("lbl_mainX");
    ASSERT_FALSE(cursorAt.isEmpty());

    v.RightClick(centre);
    EXPECT_TRUE(v.w->Zoom().ZoomMode());
    EXPECT_TRUE(m.mi_zoom_do->isChecked());
    EXPECT_TRUE(v.CursorIs(ZoomCursorKind::ZoomIn));

    // In zoom mode the mouse neither moves the cursor nor sets the reference.
    const int refCursor = v.Charts().RefCursor;
    v.Mouse(QEvent::MouseMove, centre + QPoint(80, 0), Qt::NoButton, Qt::NoButton);
    EXPECT_EQ(v.Text("lbl_mainX"), cursorAt);

    // A click with 5 pixels of movement zooms in by 0.6 around the release.
    const long double w0 = v.Width(), h0 = v.Height();
    const QPoint to = centre + QPoint(5, -5);
    const long double x0 = v.View().PixelToValue(to.x(), Axis::X);
    v.Drag(centre, to);
    EXPECT_NEAR(static_cast<double>(v.Width() / w0), 0.6, 1e-12);
    EXPECT_NEAR(static_cast<double>(v.Height() / h0), 0.6, 1e-12);
    EXPECT_NEAR(static_cast<double>(v.View().PixelToValue(to.x(), Axis::X)), static_cast<double>(x0), 1e-9);
    EXPECT_EQ(v.Charts().RefCursor, refCursor);

    // 6 pixels: the view becomes the band.
    const ViewTransform before = v.View();
    const QPoint a(100, 50), b(106, 300);
    v.Mouse(QEvent::MouseButtonPress, a, Qt::LeftButton, Qt::LeftButton);
    v.Mouse(QEvent::MouseMove, b, Qt::NoButton, Qt::LeftButton);
    EXPECT_TRUE(v.w->Zoom().Tool()->BandShown());
    // The band is seen: green dots along its edges.
    const auto bandDots = [&] {
        QApplication::processEvents();
        const QImage shot = v.Plot()->grab().toImage();
        int dots = 0;
        for (int y = a.y(); y <= b.y(); ++y)
            dots += shot.pixelColor(a.x(), y) == QColor(0, 128, 0);
        return dots;
    };
    EXPECT_GT(bandDots(), 50);
    v.Mouse(QEvent::MouseButtonRelease, b, Qt::LeftButton, Qt::NoButton);
    EXPECT_EQ(bandDots(), 0);
    EXPECT_FALSE(v.w->Zoom().Tool()->BandShown());
    EXPECT_NEAR(static_cast<double>(v.Charts().ViewXMin),
                static_cast<double>(before.PixelToValue(100, Axis::X)), 1e-9);
    EXPECT_NEAR(static_cast<double>(v.Charts().ViewXMax),
                static_cast<double>(before.PixelToValue(106, Axis::X)), 1e-9);
    EXPECT_NEAR(static_cast<double>(v.Charts().ViewYMax),
                static_cast<double>(before.PixelToValue(50, Axis::Y)), 1e-9);
    EXPECT_TRUE(v.w->Zoom().ZoomMode()); // stays on after a band

    // Ctrl: the zoom-out cursor while held, a click zooms out.
    QTest::keyPress(v.List(), Qt::Key_Control, Qt::ControlModifier);
    EXPECT_TRUE(v.CursorIs(ZoomCursorKind::ZoomOut));
    QTest::keyRelease(v.List(), Qt::Key_Control, Qt::NoModifier);
    EXPECT_TRUE(v.CursorIs(ZoomCursorKind::ZoomIn));
    const long double w1 = v.Width();
    v.Drag(centre, centre, Qt::LeftButton, Qt::ControlModifier);
    EXPECT_NEAR(static_cast<double>(v.Width() / w1), 1.66666, 1e-12);

    // Right button again: off, crosshair; Esc also leaves it.
    v.RightClick(centre);
    EXPECT_FALSE(v.w->Zoom().ZoomMode());
    EXPECT_FALSE(m.mi_zoom_do->isChecked());
    EXPECT_EQ(v.Plot()->cursor().shape(), Qt::CrossCursor);
    m.mi_zoom_do->trigger();
    EXPECT_TRUE(v.w->Zoom().ZoomMode());
    v.Key(Qt::Key_Escape);
    EXPECT_FALSE(v.w->Zoom().ZoomMode());
    EXPECT_FALSE(m.mi_zoom_do->isChecked());
    v.Key(Qt::Key_Escape); // outside zoom mode nothing happens
    EXPECT_FALSE(v.w->Zoom().ZoomMode());

    // Closing every chart ends the zoom tool; the memory stays.
    v.Key(Qt::Key_F11);
    m.mi_zoom_do->trigger();
    v.dialogs.Answers = {kAnswerNo};
    m.mi_file_close_all->trigger();
    ASSERT_EQ(v.Charts().Count, 0);
    EXPECT_FALSE(v.w->Zoom().ZoomMode());
    EXPECT_EQ(v.Plot()->cursor().shape(), Qt::CrossCursor);
    EXPECT_EQ(v.ZoomPos(), "1/1");
    EXPECT_FALSE(m.lbl_zoompos->isEnabled());
    EXPECT_FALSE(m.mi_zoom_do->isEnabled());
}

TEST_F(ZoomTool, WheelPanAndShiftCommandsBoundedByTheFullExtent)
{
    ChartMenus& m = v.Menus();
    // At the full extent no shift can move.
    for (QAction* a : m.mi_shift)
        EXPECT_FALSE(a->isEnabled()) << a->objectName().toStdString();

    const long double w0 = v.Width(), h0 = v.Height();
    const QPoint p(300, 120);
    v.Wheel(p, 120);
    EXPECT_NEAR(static_cast<double>(v.Width() / w0), 0.6, 1e-12);
    for (QAction* a : m.mi_shift)
        EXPECT_TRUE(a->isEnabled()) << a->objectName().toStdString();
    v.Wheel(p, -120);
    EXPECT_NEAR(static_cast<double>(v.Width() / w0), 0.999996, 1e-12);
    EXPECT_NEAR(static_cast<double>(v.Height() / h0), 0.999996, 1e-12);

    // Shift left by Ctrl+Left until the view touches the full extent.
    v.Key(Qt::Key_F12);
    v.Wheel(v.Plot()->rect().center(), 120);
    const long double width = v.Width();
    int shifts = 0;
    while (m.mi_shift[0]->isEnabled() && shifts < 10) {
        v.Key(Qt::Key_Left, Qt::ControlModifier);
        ++shifts;
    }
    EXPECT_EQ(v.Charts().ViewXMin, v.Charts().FullXMin);
    EXPECT_NEAR(static_cast<double>(v.Width()), static_cast<double>(width), 1e-9);
    EXPECT_FALSE(m.mi_shift[0]->isEnabled());
    EXPECT_TRUE(m.mi_shift[3]->isEnabled());
    const long double top = v.Charts().ViewYMax;
    v.Key(Qt::Key_Up, Qt::ControlModifier);
    EXPECT_GT(v.Charts().ViewYMax, top);
    EXPECT_LE(v.Charts().ViewYMax, v.Charts().FullYMax);
    const long double raised = v.Charts().ViewYMax;
    m.mi_shift[2]->trigger(); // down by a third of the height
    EXPECT_NEAR(static_cast<double>(v.Charts().ViewYMax), static_cast<double>(raised - v.Height() / 3), 1e-9);

    // Shift+drag: the grabbed point follows the mouse, past the extent too.
    const ViewTransform before = v.View();
    v.Drag({200, 200}, {260, 180}, Qt::LeftButton, Qt::ShiftModifier);
    const ViewTransform after = v.View();
    EXPECT_NEAR(static_cast<double>(after.PixelToValue(260, Axis::X)),
                static_cast<double>(before.PixelToValue(200, Axis::X)), 1e-9);
    EXPECT_NEAR(static_cast<double>(after.PixelToValue(180, Axis::Y)),
                static_cast<double>(before.PixelToValue(200, Axis::Y)), 1e-9);
    EXPECT_LT(v.Charts().ViewXMin, v.Charts().FullXMin);
    EXPECT_FALSE(m.mi_shift[0]->isEnabled());
    EXPECT_EQ(v.Plot()->cursor().shape(), Qt::CrossCursor);
}

TEST_F(ChartKeys, LeftAndRightStepTheCursorAndTheViewFollowsIt)
{
    v.Add(1000, 10);
    TMereni& c = v.Charts();
    ASSERT_EQ(c.ActiveIndex, 1);
    c.ActiveCursor = 2;
    v.Key(Qt::Key_Left);
    EXPECT_EQ(c.ActiveCursor, 1);
    EXPECT_EQ(v.Text("lbl_mainX"), "0,00 m");
    v.Key(Qt::Key_Left);
    EXPECT_EQ(c.ActiveCursor, 1);
    v.Key(Qt::Key_Right);
    EXPECT_EQ(v.Text("lbl_mainX"), "0,10 m");
    EXPECT_EQ(v.Text("lbl_mainY"), "11,0 %");

    // Zoomed in with the cursor at the right edge: one third to the right.
    SetView(c, {0, 0, 30, 20});
    emit v.w->Notifier().viewChanged();
    c.ActiveCursor = 301; // at 30 m
    v.Key(Qt::Key_Right);
    EXPECT_EQ(v.Text("lbl_mainX"), "30,10 m");
    EXPECT_EQ(c.ViewXMin, 10);
    EXPECT_EQ(c.ViewXMax, 40);
    EXPECT_TRUE(v.Menus().mi_shift[0]->isEnabled());
    // At the last sample the cursor stays.
    c.ActiveCursor = 1000;
    v.Key(Qt::Key_Right);
    EXPECT_EQ(c.ActiveCursor, 1000);
    EXPECT_EQ(c.ViewXMax, 50); // one shift per key
}

TEST_F(ChartKeys, UpAndDownSwitchChartsInEachListModeAndTheAltKeysResynchronise)
{
    v.AddLevels(500, {10, 20, 30});
    TMereni& c = v.Charts();
    // Chart 2 hidden: the walk over displayed charts skips it.
    v.ListPanel()->SelectCharts({2}, 2);
    v.Menus().mi_curves_hide->trigger();
    ASSERT_FALSE(c.Rec(2).Shown);
    v.ListPanel()->SelectCharts({1}, 1);
    v.List()->setFocus();
    ASSERT_EQ(c.ActiveIndex, 1);
    c.ActiveCursor = 100;
    c.ActiveCursorX = SampleDistance(c.Rec(1), 100);

    // Mode 0: the list's rows, hidden ones too.
    v.Key(Qt::Key_Down);
    EXPECT_EQ(c.ActiveIndex, 2);
    EXPECT_EQ(v.List()->currentRow(), 1);
    v.Key(Qt::Key_Down);
    EXPECT_EQ(c.ActiveIndex, 3);
    EXPECT_EQ(v.Text("lbl_curve_no"), "3");
    EXPECT_EQ(c.ActiveCursor, 100); // the distance is kept
    v.Key(Qt::Key_Down);
    EXPECT_EQ(c.ActiveIndex, 3);
    v.Key(Qt::Key_Up);
    EXPECT_EQ(c.ActiveIndex, 2);
    v.Key(Qt::Key_Up);
    EXPECT_EQ(c.ActiveIndex, 1);

    // Mode 1: displayed charts only.
    v.Key(Qt::Key_L, Qt::ControlModifier);
    ASSERT_EQ(v.ListPanel()->ListMode(), kListModeDisplayed);
    EXPECT_TRUE(v.Menus().mi_chartlist_mode[1]->isChecked());
    v.List()->setFocus();
    v.Key(Qt::Key_Down);
    EXPECT_EQ(c.ActiveIndex, 3);
    v.Key(Qt::Key_Up);
    EXPECT_EQ(c.ActiveIndex, 1);
    v.Key(Qt::Key_F5);
    EXPECT_EQ(v.ListPanel()->ListMode(), kListModeHidden);
    v.Key(Qt::Key_F5);
    EXPECT_EQ(v.ListPanel()->ListMode(), kListModeAll);
    v.List()->setFocus();

    // Alt+Down: the next displayed chart, and the list follows it.
    v.ListPanel()->SelectCharts({1}, 1);
    v.Key(Qt::Key_Down, Qt::AltModifier);
    EXPECT_EQ(c.ActiveIndex, 3);
    EXPECT_EQ(v.List()->currentItem()->text(), "3");
    v.Key(Qt::Key_Up, Qt::AltModifier);
    EXPECT_EQ(c.ActiveIndex, 1);

    // Alt+Page Down / Up: the neighbouring row alone is selected and taken.
    v.Key(Qt::Key_PageDown, Qt::AltModifier);
    EXPECT_EQ(v.ListPanel()->SelectedCharts(), std::vector<int>{2});
    EXPECT_EQ(c.ActiveIndex, 2);
    v.Key(Qt::Key_PageUp, Qt::AltModifier);
    EXPECT_EQ(v.ListPanel()->SelectedCharts(), std::vector<int>{1});
    EXPECT_EQ(c.RefIndex, 1);
    v.Key(Qt::Key_PageUp, Qt::AltModifier); // on the first row: nothing
    EXPECT_EQ(v.ListPanel()->SelectedCharts(), std::vector<int>{1});

    // Page Down / Up: the current row moves a page, the list resynchronises.
    v.Key(Qt::Key_PageDown);
    EXPECT_EQ(v.List()->currentRow(), 2);
    EXPECT_EQ(c.ActiveIndex, 3);
    v.Key(Qt::Key_PageUp);
    EXPECT_EQ(v.List()->currentRow(), 0);

    // Shift+Down is the list's own: it extends the selection, and two
    // displayed charts selected leave no reference.
    v.Key(Qt::Key_Down, Qt::ShiftModifier);
    EXPECT_EQ(v.ListPanel()->SelectedCharts(), (std::vector<int>{1, 2}));
    v.Key(Qt::Key_Down, Qt::ShiftModifier);
    EXPECT_EQ(v.ListPanel()->SelectedCharts(), (std::vector<int>{1, 2, 3}));
    EXPECT_EQ(c.RefIndex, 0);
    v.Key(Qt::Key_Up, Qt::ShiftModifier);
    EXPECT_EQ(v.ListPanel()->SelectedCharts(), (std::vector<int>{1, 2}));
    v.ListPanel()->SelectCharts({1}, 1);

    // Space toggles the current row's selection.
    v.Key(Qt::Key_Space);
    EXPECT_TRUE(v.ListPanel()->SelectedCharts().empty());
    EXPECT_EQ(c.RefIndex, 0);
    v.Key(Qt::Key_Space);
    EXPECT_EQ(v.ListPanel()->SelectedCharts(), std::vector<int>{1});
    EXPECT_EQ(c.RefIndex, 1);
}

TEST_F(ChartKeys, EnterMakesTheActiveCursorTheReference)
{
    v.AddLevels(500, {10, 20});
    TMereni& c = v.Charts();
    v.ListPanel()->SelectCharts({1}, 1);
    v.List()->setFocus();
    v.Key(Qt::Key_Down);
    v.Key(Qt::Key_Right);
    ASSERT_EQ(c.ActiveIndex, 2);
    v.Key(Qt::Key_Return);
    EXPECT_EQ(c.RefIndex, 2);
    EXPECT_EQ(v.Text("lbl_refX"), v.Text("lbl_mainX"));
    EXPECT_EQ(v.Text("lbl_diffX"), "0,00 m");
    EXPECT_EQ(v.ListPanel()->SelectedCharts(), std::vector<int>{2});
    // In zoom mode Enter does nothing.
    v.w->Zoom().SetZoomMode(true);
    v.Key(Qt::Key_Up);
    EXPECT_EQ(c.ActiveIndex, 2); // neither does Up
    v.Key(Qt::Key_Left);
    v.Key(Qt::Key_Enter, Qt::KeypadModifier);
    EXPECT_NE(v.Text("lbl_refX"), v.Text("lbl_mainX"));
}

TEST_F(ChartKeys, CommandKeysAndTheirButtons)
{
    v.AddLevels(500, {10, 20});
    TMereni& c = v.Charts();
    ChartMenus& m = v.Menus();
    v.List()->setFocus();

    // Line width: 1 -> 3 -> 5 -> 1 by Ctrl+W and F3.
    EXPECT_EQ(c.LineWidth, 1);
    v.Key(Qt::Key_W, Qt::ControlModifier);
    EXPECT_EQ(c.LineWidth, 3);
    v.Key(Qt::Key_F3);
    EXPECT_EQ(c.LineWidth, 5);
    v.Key(Qt::Key_W, Qt::ControlModifier);
    EXPECT_EQ(c.LineWidth, 1);

    v.ListPanel()->SelectCharts({2}, 2);
    // Ctrl+R: the reference information.
    const bool refInfo = m.mi_panels_refinfo->isChecked();
    v.Key(Qt::Key_R, Qt::ControlModifier);
    EXPECT_NE(m.mi_panels_refinfo->isChecked(), refInfo);

    // Ctrl+D: display / hide the selected charts.
    v.Key(Qt::Key_D, Qt::ControlModifier);
    EXPECT_FALSE(c.Rec(2).Shown);
    v.Key(Qt::Key_D, Qt::ControlModifier);
    EXPECT_TRUE(c.Rec(2).Shown);

    // Ctrl + Numpad + / -: zoom at the pointer when it is over the plot.
    const QPoint centre = v.Plot()->mapToGlobal(v.Plot()->rect().center());
    QCursor::setPos(centre);
    ASSERT_EQ(QCursor::pos(), centre);
    const long double w0 = v.Width();
    v.Key(Qt::Key_Plus, Qt::ControlModifier | Qt::KeypadModifier);
    EXPECT_NEAR(static_cast<double>(v.Width() / w0), 0.6, 1e-12);
    v.Key(Qt::Key_Minus, Qt::ControlModifier | Qt::KeypadModifier);
    EXPECT_NEAR(static_cast<double>(v.Width() / w0), 0.999996, 1e-12);
    QCursor::setPos(v.w->mapToGlobal(QPoint(2, 2)));
    v.Key(Qt::Key_Plus, Qt::ControlModifier | Qt::KeypadModifier);
    EXPECT_NEAR(static_cast<double>(v.Width() / w0), 0.999996, 1e-12);

    // F2 / Ctrl+F open the local filter button's menu, F4 clicks the
    // reference colour button, each only while it is enabled.
    // Only whether the key clicks: the command's own work is not run here.
    QObject::disconnect(m.mi_tools_refcolor, &QAction::triggered, nullptr, nullptr);
    QSignalSpy colour(m.mi_tools_refcolor, &QAction::triggered);
    m.mi_tools_refcolor->setEnabled(false);
    v.Key(Qt::Key_F4);
    EXPECT_EQ(colour.count(), 0);
    m.mi_tools_refcolor->setEnabled(true);
    v.Key(Qt::Key_F4);
    EXPECT_EQ(colour.count(), 1);
    m.sb_filter->setEnabled(true);
    v.Key(Qt::Key_F2);
    EXPECT_TRUE(QTest::qWaitFor([&] { return m.sb_filter->menu()->isVisible(); }));
    m.sb_filter->menu()->hide();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !m.sb_filter->menu()->isVisible(); }));
    v.List()->setFocus();
    v.Key(Qt::Key_F, Qt::ControlModifier);
    EXPECT_TRUE(QTest::qWaitFor([&] { return m.sb_filter->menu()->isVisible(); }));
    m.sb_filter->menu()->hide();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !m.sb_filter->menu()->isVisible(); }));

    // Ctrl+E: the edit-description command (one chart: in place); while
    // the field is open the keys reach it.
    v.List()->setFocus();
    v.Key(Qt::Key_E, Qt::ControlModifier);
    auto* field = v.w->findChild<DescriptionField*>();
    ASSERT_TRUE(field && field->Editing());
    const int width = c.LineWidth;
    QTest::keyClick(field, Qt::Key_F3);
    EXPECT_EQ(c.LineWidth, width);
    QTest::keyClick(field, Qt::Key_Escape);
    EXPECT_FALSE(field->Editing());

    // Delete closes the selected charts ("Selected Chart(s)" of File > Close).
    v.dialogs.Answers = {kAnswerNo};
    v.List()->clearFocus();
    QTest::keyClick(v.w.get(), Qt::Key_Delete);
    EXPECT_EQ(c.Count, 1);
}

TEST_F(ChartKeys, NoneActOnTheReportPage)
{
    v.Add(500, 10);
    TMereni& c = v.Charts();
    c.ActiveCursor = 10;
    v.w->Pages()->setCurrentIndex(1);
    for (int key : {int(Qt::Key_Right), int(Qt::Key_F3), int(Qt::Key_F5), int(Qt::Key_Space)})
        v.Key(key);
    v.Key(Qt::Key_W, Qt::ControlModifier);
    v.Key(Qt::Key_M, Qt::ControlModifier);
    v.Key(Qt::Key_F11); // the chart page's menu is not there either
    EXPECT_EQ(c.ActiveCursor, 10);
    EXPECT_EQ(c.LineWidth, 1);
    EXPECT_EQ(v.ListPanel()->ListMode(), kListModeAll);
    EXPECT_EQ(v.ZoomPos(), "-/-");
    // Back on the chart page (which puts the cursor at the plot's centre),
    // the keys act again.
    v.w->Pages()->setCurrentIndex(0);
    v.List()->setFocus();
    const int before = c.ActiveCursor;
    v.Key(Qt::Key_Right);
    EXPECT_EQ(c.ActiveCursor, before + 1);
}

} // namespace
} // namespace lumidrax
