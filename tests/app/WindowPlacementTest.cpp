// Where the main window opens for the geometry stored in the settings file.

#include "WindowPlacement.h"

#include <gtest/gtest.h>

namespace lumidrax {
namespace {

// A desktop of two screens: the primary one with a task bar 40 pixels high
// at its bottom, and a smaller one on its right.
const QList<QRect> kScreens = {QRect(0, 0, 1920, 1040), QRect(1920, 0, 1280, 1024)};

TEST(WindowPlacement, KeepsTheWindowOnTheAvailableScreen)
{
    const struct {
        const char* what;
        QRect stored;
        QList<QRect> screens;
        QRect placed;
    } cases[] = {
        {"designed geometry", {0, 0, 800, 500}, kScreens, {0, 0, 800, 500}},
        {"on the primary screen", {100, 50, 1000, 700}, kScreens, {100, 50, 1000, 700}},
        {"on the second screen", {2000, 100, 800, 500}, kScreens, {2000, 100, 800, 500}},
        {"larger than every screen", {0, 0, 32767, 32767}, kScreens, {0, 0, 1920, 1040}},
        {"far beyond the desktop", {30000, 30000, 800, 500}, kScreens, {1120, 540, 800, 500}},
        {"far before the desktop", {-32768, -32768, 800, 500}, kScreens, {0, 0, 800, 500}},
        {"both extremes", {-32768, 30000, 32767, 32767}, kScreens, {0, 0, 1920, 1040}},
        {"mostly on the primary screen", {1500, 900, 800, 500}, kScreens, {1120, 540, 800, 500}},
        {"mostly on the second screen", {1800, 700, 800, 500}, kScreens, {1920, 524, 800, 500}},
        {"too large for the second screen", {2000, 0, 2000, 2000}, kScreens, {1920, 0, 1280, 1024}},
        {"no size", {50, 60, 0, 0}, kScreens, {50, 60, 800, 500}},
        {"a screen left of the origin",
         {0, 0, 800, 500},
         {QRect(-1024, 200, 1024, 768)},
         {-800, 200, 800, 500}},
        {"no screen known", {30000, 30000, 32767, 32767}, {}, {0, 0, 800, 500}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(PlaceWindow(c.stored, c.screens), c.placed) << c.what;
}

TEST(WindowPlacement, PutsTheWholeFrameOnTheScreen)
{
    // A title bar 30 high and borders of 4; a screen 1440 x 900 with a top
    // panel of 28.
    const QMargins frame(4, 30, 4, 4);
    const QList<QRect> laptop = {QRect(0, 28, 1440, 872)};
    const struct {
        const char* what;
        QRect wish; // frame's corner, client's size
        QRect placedFrame;
    } cases[] = {
        {"designed geometry at 0, 0", {0, 0, 800, 500}, {0, 28, 808, 534}},
        {"fits as it is", {100, 100, 800, 500}, {100, 100, 808, 534}},
        {"help window low on the screen", {200, 240, 987, 675}, {200, 191, 995, 709}},
        {"taller than the screen", {0, 0, 1000, 2000}, {0, 28, 1008, 872}},
        {"no size", {10, 40, 0, 0}, {10, 40, 808, 534}},
    };
    for (const auto& c : cases) {
        const FramePlacement placed = PlaceFrame(c.wish, frame, laptop);
        EXPECT_EQ(placed.Frame, c.placedFrame) << c.what;
        EXPECT_EQ(placed.Client, c.placedFrame.marginsRemoved(frame)) << c.what;
    }
    // Without a frame (before the window manager adds one) the client is the
    // frame.
    EXPECT_EQ(PlaceFrame({0, 0, 800, 500}, {}, laptop).Client, QRect(0, 28, 800, 500));
}

TEST(WindowPlacement, StartStateTakesTheStoredOrTheDesignedGeometry)
{
    const QRect stored(100, 100, 300, 200);
    const QRect designed(0, 0, 800, 500);
    EXPECT_EQ(GeometryAtStart(2, stored), (StartGeometry{true, stored, false}));
    EXPECT_EQ(GeometryAtStart(3, stored), (StartGeometry{true, designed, true}));
    for (int other : {0, 1, 4, -3})
        EXPECT_EQ(GeometryAtStart(other, stored), StartGeometry{}) << other;
}

} // namespace
} // namespace lumidrax
