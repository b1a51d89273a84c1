#include "WindowPlacement.h"

#include "Settings.h"

#include <QGuiApplication>
#include <QScreen>

#include <algorithm>

namespace lumidrax {

namespace {

constexpr int kDesignedWidth = 800;
constexpr int kDesignedHeight = 500;

long long OverlapArea(const QRect& a, const QRect& b)
{
    const QRect both = a.intersected(b);
    return both.isEmpty() ? 0 : static_cast<long long>(both.width()) * both.height();
}

// The position that keeps [pos, pos + size) inside [lo, lo + room) with the
// least move; size is at most room.
int Inside(int pos, int size, int lo, int room)
{
    const long long highest = static_cast<long long>(lo) + room - size;
    return static_cast<int>(std::clamp<long long>(pos, lo, highest));
}

} // namespace

QRect PlaceWindow(const QRect& stored, const QList<QRect>& availableScreens)
{
    QRect area(0, 0, kDesignedWidth, kDesignedHeight);
    long long best = -1;
    for (const QRect& screen : availableScreens) {
        if (screen.isEmpty())
            continue;
        const long long overlap = OverlapArea(stored, screen);
        if (overlap > best) {
            best = overlap;
            area = screen;
        }
    }
    const int width = std::min(stored.width() > 0 ? stored.width() : kDesignedWidth, area.width());
    const int height = std::min(stored.height() > 0 ? stored.height() : kDesignedHeight, area.height());
    return QRect(Inside(stored.x(), width, area.x(), area.width()),
                 Inside(stored.y(), height, area.y(), area.height()), width, height);
}

StartGeometry GeometryAtStart(int state, const QRect& stored)
{
    if (state == kWindowStateNormal)
        return {true, stored, false};
    if (state == kWindowStateMaximized) {
        const Settings designed;
        return {true, QRect(designed.Left, designed.Top, designed.Width, designed.Height), true};
    }
    return {};
}

QList<QRect> AvailableScreenAreas()
{
    QList<QRect> areas;
    if (const QScreen* primary = QGuiApplication::primaryScreen())
        areas.append(primary->availableGeometry());
    for (const QScreen* screen : QGuiApplication::screens())
        if (screen != QGuiApplication::primaryScreen())
            areas.append(screen->availableGeometry());
    return areas;
}

QRect PlaceWindowOnScreens(const QRect& stored)
{
    return PlaceWindow(stored, AvailableScreenAreas());
}

FramePlacement PlaceFrame(const QRect& wish, const QMargins& frame, const QList<QRect>& availableScreens)
{
    const int extraWidth = frame.left() + frame.right();
    const int extraHeight = frame.top() + frame.bottom();
    const int width = wish.width() > 0 ? wish.width() : kDesignedWidth;
    const int height = wish.height() > 0 ? wish.height() : kDesignedHeight;
    const QRect wishedFrame(wish.x(), wish.y(), width + extraWidth, height + extraHeight);
    FramePlacement out;
    out.Frame = PlaceWindow(wishedFrame, availableScreens);
    out.Client = out.Frame.marginsRemoved(frame);
    return out;
}

} // namespace lumidrax
