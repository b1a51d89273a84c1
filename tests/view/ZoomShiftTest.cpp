// The view window operations of the chart page: the zoom memory, zoom at a
// point, band and pan, the shift commands and when they can move, the
// cursor keys that keep the cursor in view, and the key map.
#include "ZoomShift.h"
#include "CursorStep.h"
#include "KeyMap.h"
#include "ZoomMemory.h"

#include <gtest/gtest.h>

#include <cmath>

namespace lumidrax {
namespace {

// A collection with one displayed chart, whose full extent is set by hand.
TMereni WithExtent(ViewWindow full, ViewWindow view)
{
    TMereni m;
    TJednoMereni c;
    c.SetSamples(std::vector<long double>(11, 0));
    c.Step = 1;
    m.AppendRecord(std::move(c));
    m.ShownCount = 1;
    m.FullXMin = full.XMin;
    m.FullYMin = full.YMin;
    m.FullXMax = full.XMax;
    m.FullYMax = full.YMax;
    SetView(m, view);
    return m;
}

ViewTransform Plot(const TMereni& m, int w = 1000, int h = 500)
{
    ViewTransform v(m, w, h);
    v.UpdateScales(m.ShownCount);
    return v;
}

TEST(ZoomMemory, KeepsTheLastTwentyAndAlwaysAppends)
{
    ZoomMemory z;
    EXPECT_EQ(z.Label(), "-/-");
    EXPECT_FALSE(z.CanPrevious());
    EXPECT_FALSE(z.CanNext());
    for (int k = 1; k <= 21; ++k)
        z.Save({0, 0, static_cast<long double>(k), 1});
    EXPECT_EQ(z.Label(), "20/20");
    EXPECT_EQ(z.Entry(1).XMax, 2); // the first one saved was dropped
    EXPECT_EQ(z.Entry(20).XMax, 21);

    z.Clear();
    EXPECT_EQ(z.Label(), "-/-");
    for (int k = 1; k <= 5; ++k)
        z.Save({0, 0, static_cast<long double>(k), 1});
    ASSERT_TRUE(z.Previous());
    ASSERT_TRUE(z.Previous());
    EXPECT_EQ(z.Previous()->XMax, 2);
    EXPECT_EQ(z.Label(), "2/5");
    z.Save({0, 0, 99, 1}); // nothing is overwritten
    EXPECT_EQ(z.Label(), "6/6");
    EXPECT_EQ(z.Entry(3).XMax, 3);
    EXPECT_FALSE(z.Next());
    EXPECT_EQ(z.Label(), "6/6");
    for (int k = 0; k < 5; ++k)
        ASSERT_TRUE(z.Previous());
    EXPECT_FALSE(z.Previous());
    EXPECT_EQ(z.Label(), "1/6");
}

TEST(ShiftView, MovesByAThirdAndStopsAtTheFullExtent)
{
    const ViewWindow full{0, -100, 300, 100};
    struct Case {
        ShiftDirection Direction;
        ViewWindow View;
        ViewWindow Expected;
    };
    const Case cases[] = {
        {ShiftDirection::Left, {150, 0, 240, 50}, {120, 0, 210, 50}},
        {ShiftDirection::Left, {10, 0, 100, 50}, {0, 0, 90, 50}}, // held at FullXMin
        {ShiftDirection::Left, {-20, 0, 70, 50}, {0, 0, 90, 50}}, // edge already past: set to it
        {ShiftDirection::Right, {150, 0, 240, 50}, {180, 0, 270, 50}},
        {ShiftDirection::Right, {200, 0, 290, 50}, {210, 0, 300, 50}}, // held at FullXMax
        {ShiftDirection::Up, {0, 0, 10, 60}, {0, 20, 10, 80}},
        {ShiftDirection::Up, {0, 30, 10, 90}, {0, 40, 10, 100}}, // held at FullYMax
        {ShiftDirection::Down, {0, 0, 10, 60}, {0, -20, 10, 40}},
        {ShiftDirection::Down, {0, -90, 10, -30}, {0, -100, 10, -40}}, // held at FullYMin
    };
    for (const Case& c : cases) {
        TMereni m = WithExtent(full, c.View);
        ShiftView(m, c.Direction);
        const ViewWindow v = ViewOf(m);
        SCOPED_TRACE(static_cast<int>(c.Direction));
        EXPECT_NEAR(static_cast<double>(v.XMin), static_cast<double>(c.Expected.XMin), 1e-12);
        EXPECT_NEAR(static_cast<double>(v.XMax), static_cast<double>(c.Expected.XMax), 1e-12);
        EXPECT_NEAR(static_cast<double>(v.YMin), static_cast<double>(c.Expected.YMin), 1e-12);
        EXPECT_NEAR(static_cast<double>(v.YMax), static_cast<double>(c.Expected.YMax), 1e-12);
    }
    // A view wider than 3 m whose left edge is 1 m above FullXMin moves by
    // exactly 1 m.
    TMereni m = WithExtent(full, {1, 0, 7, 50});
    ShiftView(m, ShiftDirection::Left);
    EXPECT_EQ(m.ViewXMin, 0);
    EXPECT_EQ(m.ViewXMax, 6);
}

TEST(ShiftView, IsEnabledOnlyWhileTheFullExtentReachesFurther)
{
    const ViewWindow full{0, -100, 300, 100};
    using S = std::array<bool, 4>; // left, up, down, right
    EXPECT_EQ(ShiftStates(WithExtent(full, full)), (S{false, false, false, false}));
    EXPECT_EQ(ShiftStates(WithExtent(full, {0, -100, 100, 0})), (S{false, true, false, true}));
    EXPECT_EQ(ShiftStates(WithExtent(full, {10, -90, 290, 90})), (S{true, true, true, true}));
    // Past the extent after a wheel zoom out: nothing to move to.
    EXPECT_EQ(ShiftStates(WithExtent(full, {-10, -110, 310, 110})), (S{false, false, false, false}));
    TMereni none = WithExtent(full, {10, -90, 290, 90});
    none.ShownCount = 0;
    EXPECT_EQ(ShiftStates(none), (S{false, false, false, false}));
    // A shift right until it stops disables itself.
    TMereni m = WithExtent(full, {0, -100, 100, 100});
    int shifts = 0;
    while (CanShift(m, ShiftDirection::Right) && shifts < 10) {
        ShiftView(m, ShiftDirection::Right);
        ++shifts;
    }
    EXPECT_EQ(shifts, 6);
    EXPECT_EQ(m.ViewXMax, 300);
}

TEST(ZoomAtPoint, KeepsThePointAndScalesTheEdgeDistances)
{
    const ViewWindow full{0, -100, 1000, 100};
    TMereni m = WithExtent(full, full);
    const ViewTransform before = Plot(m);
    const long double x0 = before.PixelToValue(250, Axis::X);
    const long double y0 = before.PixelToValue(100, Axis::Y);
    ASSERT_TRUE(ZoomAtPoint(m, before, 250, 100, 1));
    EXPECT_NEAR(static_cast<double>(m.ViewXMax - m.ViewXMin), 600, 1e-9);
    EXPECT_NEAR(static_cast<double>(m.ViewYMax - m.ViewYMin), 120, 1e-9);
    const ViewTransform in = Plot(m);
    EXPECT_NEAR(static_cast<double>(in.PixelToValue(250, Axis::X)), static_cast<double>(x0), 1e-9);
    EXPECT_NEAR(static_cast<double>(in.PixelToValue(100, Axis::Y)), static_cast<double>(y0), 1e-9);
    // Back out at the same point: 0.6 x 1.66666 of the size.
    ASSERT_TRUE(ZoomAtPoint(m, in, 250, 100, -1));
    EXPECT_NEAR(static_cast<double>((m.ViewXMax - m.ViewXMin) / 1000), 0.999996, 1e-12);
    EXPECT_NEAR(static_cast<double>((m.ViewYMax - m.ViewYMin) / 200), 0.999996, 1e-12);

    // Outside the plot, direction 0, nothing displayed: no change.
    const ViewWindow kept = ViewOf(m);
    EXPECT_FALSE(ZoomAtPoint(m, Plot(m), 1000, 10, 1));
    EXPECT_FALSE(ZoomAtPoint(m, Plot(m), -1, 10, 1));
    EXPECT_FALSE(ZoomAtPoint(m, Plot(m), 10, 500, 1));
    EXPECT_FALSE(ZoomAtPoint(m, Plot(m), 10, 10, 0));
    m.ShownCount = 0;
    EXPECT_FALSE(ZoomAtPoint(m, Plot(m), 10, 10, 1));
    EXPECT_EQ(ViewOf(m), kept);
}

TEST(ZoomToBand, ClickLimitBandAndPan)
{
    EXPECT_TRUE(IsClickZoom({100, 100}, {105, 95}));
    EXPECT_FALSE(IsClickZoom({100, 100}, {106, 100}));
    EXPECT_FALSE(IsClickZoom({100, 100}, {100, 94}));

    const ViewWindow full{0, -100, 1000, 100};
    TMereni m = WithExtent(full, full);
    // Dragged from the lower right to the upper left.
    ZoomToBand(m, Plot(m), {500, 375}, {100, 125});
    EXPECT_NEAR(static_cast<double>(m.ViewXMin), 100, 1e-9);
    EXPECT_NEAR(static_cast<double>(m.ViewXMax), 500, 1e-9);
    EXPECT_NEAR(static_cast<double>(m.ViewYMin), -50, 1e-9);
    EXPECT_NEAR(static_cast<double>(m.ViewYMax), 50, 1e-9);

    // The grabbed point follows the mouse, past the full extent too.
    TMereni p = WithExtent(full, full);
    const ViewTransform v = Plot(p);
    PanView(p, v, v.PixelToValue(100, Axis::X), v.PixelToValue(100, Axis::Y), 300, 50);
    EXPECT_NEAR(static_cast<double>(p.ViewXMin), -200, 1e-9);
    EXPECT_NEAR(static_cast<double>(p.ViewXMax), 800, 1e-9);
    EXPECT_NEAR(static_cast<double>(p.ViewYMax), 80, 1e-9);
    EXPECT_NEAR(static_cast<double>(p.ViewYMin), -120, 1e-9);
}

// One chart of samples 0, 1 m apart, at the given levels.
TMereni OneChart(std::vector<long double> levels)
{
    TMereni m;
    TJednoMereni c;
    c.SetSamples(std::move(levels));
    m.AppendRecord(std::move(c));
    TJednoMereni& r = m.Last();
    r.Step = 1;
    r.XStart = 0;
    r.XEnd = r.SampleCount - 1;
    m.ComputeFullRange(true);
    m.ActiveIndex = 1;
    return m;
}

TEST(StepActiveCursor, StaysOnTheSamplesAndKeepsTheCursorInView)
{
    std::vector<long double> ramp;
    for (int k = 0; k < 100; ++k)
        ramp.push_back(k % 10);
    TMereni m = OneChart(ramp);
    m.ActiveCursor = 1;
    EXPECT_EQ(StepActiveCursor(m, -1), (CursorStepResult{false, false}));
    EXPECT_EQ(m.ActiveCursor, 1);
    m.ActiveCursor = 100;
    EXPECT_EQ(StepActiveCursor(m, 1).Moved, false);
    EXPECT_EQ(m.ActiveCursor, 100);
    EXPECT_EQ(m.ActiveCursorX, 99);

    // Right past the view's right edge: one third to the right, at most to
    // the full extent.
    m.ViewXMin = 20;
    m.ViewXMax = 50;
    m.ActiveCursor = 51; // at 50 m
    const CursorStepResult r = StepActiveCursor(m, 1);
    EXPECT_TRUE(r.Moved);
    EXPECT_TRUE(r.ViewChanged);
    EXPECT_EQ(m.ActiveCursor, 52);
    EXPECT_EQ(m.ViewXMin, 30);
    EXPECT_EQ(m.ViewXMax, 60);
    m.ViewXMin = m.FullXMax - 35;
    m.ViewXMax = m.FullXMax - 5;
    m.ActiveCursor = static_cast<int>(m.ViewXMax) + 1;
    StepActiveCursor(m, 1);
    EXPECT_EQ(m.ViewXMax, m.FullXMax);
    // Left past the left edge.
    m.ViewXMin = 40;
    m.ViewXMax = 70;
    m.ActiveCursor = 41; // at 40 m
    StepActiveCursor(m, -1);
    EXPECT_EQ(m.ViewXMin, 30);
    // A level below the view shifts down until it is inside.
    m.ViewXMin = 0;
    m.ViewXMax = 99;
    m.ViewYMin = 5;
    m.ViewYMax = 8;
    m.ActiveCursor = 11; // the step lands on sample 12, level 1
    StepActiveCursor(m, 1);
    EXPECT_EQ(m.ActiveCursorY, 1);
    EXPECT_LT(m.ViewYMin, 1);

    // A hidden active chart: nothing moves.
    m.Rec(1).Shown = false;
    const int k = m.ActiveCursor;
    EXPECT_FALSE(StepActiveCursor(m, 1).Moved);
    EXPECT_EQ(m.ActiveCursor, k);
}

TEST(StepActiveCursor, AllLevelsZeroEndTheVerticalShiftsWhenTheViewCannotMove)
{
    TMereni m = OneChart(std::vector<long double>(20, 0));
    // The full extent of an all-zero chart has a height of its own; a view
    // above it and one of no height must both end.
    m.ViewYMin = 10;
    m.ViewYMax = 10;
    m.ActiveCursor = 5;
    StepActiveCursor(m, 1);
    EXPECT_EQ(m.ActiveCursor, 6);
    m.ViewYMin = 1;
    m.ViewYMax = 4;
    StepActiveCursor(m, 1);
    EXPECT_EQ(m.ActiveCursor, 7);
    EXPECT_LE(m.ViewYMin, 0);
}

TEST(KeyMap, EveryPreviewedKeyWithItsExactModifiers)
{
    using C = ChartKeyCommand;
    const Qt::KeyboardModifiers none = Qt::NoModifier, ctrl = Qt::ControlModifier, shift = Qt::ShiftModifier,
                                alt = Qt::AltModifier, pad = Qt::KeypadModifier;
    struct Row {
        int Key;
        Qt::KeyboardModifiers Mods;
        C Command;
    };
    const Row rows[] = {
        // With Ctrl
        {Qt::Key_Plus, ctrl | pad, C::ZoomInAtPointer},
        {Qt::Key_Minus, ctrl | pad, C::ZoomOutAtPointer},
        {Qt::Key_Control, ctrl, C::ZoomOutCursor},
        {Qt::Key_D, ctrl, C::DisplayHide},
        {Qt::Key_E, ctrl, C::EditDescription},
        {Qt::Key_F, ctrl, C::LocalFilter},
        {Qt::Key_L, ctrl, C::CycleListMode},
        {Qt::Key_M, ctrl, C::SaveZoom},
        {Qt::Key_R, ctrl, C::RefInfo},
        {Qt::Key_T, ctrl, C::ZoomAll},
        {Qt::Key_W, ctrl, C::CycleLineWidth},
        {Qt::Key_Z, ctrl, C::PreviousZoom},
        // Ctrl+Shift, or any set holding both
        {Qt::Key_Z, ctrl | shift, C::NextZoom},
        {Qt::Key_Z, ctrl | shift | alt, C::NextZoom},
        // With Alt
        {Qt::Key_Down, alt, C::NextDisplayedAlt},
        {Qt::Key_Up, alt, C::PreviousDisplayedAlt},
        {Qt::Key_PageUp, alt, C::SelectPreviousItem},
        {Qt::Key_PageDown, alt, C::SelectNextItem},
        // With Shift: left to the focused control
        {Qt::Key_Up, shift, C::PassOn},
        {Qt::Key_Down, shift, C::PassOn},
        // Without modifiers
        {Qt::Key_F2, none, C::LocalFilter},
        {Qt::Key_F3, none, C::CycleLineWidth},
        {Qt::Key_F4, none, C::RefColor},
        {Qt::Key_F5, none, C::CycleListMode},
        {Qt::Key_Delete, none, C::CloseSelected},
        {Qt::Key_Return, none, C::SetReference},
        {Qt::Key_Enter, pad, C::SetReference},
        {Qt::Key_Left, none, C::CursorLeft},
        {Qt::Key_Right, none, C::CursorRight},
        {Qt::Key_Escape, none, C::LeaveZoomMode},
        {Qt::Key_Down, none, C::NextChart},
        {Qt::Key_Up, none, C::PreviousChart},
        {Qt::Key_PageUp, none, C::PageUp},
        {Qt::Key_PageDown, none, C::PageDown},
        {Qt::Key_Space, none, C::ToggleSelection},
        // The exact set decides: these are not chart keys.
        {Qt::Key_D, ctrl | shift, C::None},
        {Qt::Key_D, ctrl | alt, C::None},
        {Qt::Key_Z, alt, C::None},
        {Qt::Key_Left, shift, C::None},
        {Qt::Key_Left, ctrl | alt, C::None},
        {Qt::Key_F5, ctrl, C::None},
        {Qt::Key_Plus, ctrl, C::None}, // not the keypad's
        {Qt::Key_Plus, pad, C::None},
        {Qt::Key_Control, ctrl | shift, C::None},
        {Qt::Key_PageUp, shift, C::None},
        {Qt::Key_Tab, none, C::PassOn},
    };
    for (const Row& r : rows)
        EXPECT_EQ(MapChartKey(r.Key, r.Mods), r.Command)
            << "key " << std::hex << r.Key << " modifiers " << r.Mods.toInt();
    // Typed characters reach the control; with Ctrl or Alt they do not.
    EXPECT_EQ(MapChartKey(Qt::Key_3, none, true), C::PassOn);
    EXPECT_EQ(MapChartKey(Qt::Key_A, shift, true), C::PassOn);
    EXPECT_EQ(MapChartKey(Qt::Key_K, ctrl, true), C::None);
    EXPECT_TRUE(IsZoomCursorRelease(Qt::Key_Control));
    EXPECT_FALSE(IsZoomCursorRelease(Qt::Key_Shift));
}

TEST(KeyMap, PageUpAndDownMoveAPageOfListItems)
{
    // A list 100 pixels high with 16-pixel items: a page is 5 items.
    EXPECT_EQ(ListPageTarget(3, 20, 100, 16, true), 0);
    EXPECT_EQ(ListPageTarget(5, 20, 100, 16, true), 0);
    EXPECT_EQ(ListPageTarget(6, 20, 100, 16, true), 1);
    EXPECT_EQ(ListPageTarget(0, 20, 100, 16, false), 5);
    EXPECT_EQ(ListPageTarget(15, 20, 100, 16, false), 19);
    EXPECT_EQ(ListPageTarget(16, 20, 100, 16, false), 19);
    EXPECT_EQ(ListPageTarget(0, 0, 100, 16, false), -1);
    EXPECT_EQ(ListPageTarget(2, 3, 10, 16, false), 2);
}

} // namespace
} // namespace lumidrax
