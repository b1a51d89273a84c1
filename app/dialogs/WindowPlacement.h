#pragma once
// Where the main window opens: the geometry stored in the settings file is
// only a wish. A window larger than the screen (WIDTH=32767 asks for a
// backing store of gigabytes) or far beside it (LEFT=30000) would be
// unusable, so the stored rectangle is fitted onto the available area of a
// screen (the desktop without task bars and docks).

#include <QList>
#include <QMargins>
#include <QRect>

namespace lumidrax {

// The client rectangle the window takes for the stored one, given the
// available areas of the screens (the primary screen first). The screen is
// the one the stored rectangle overlaps most, the primary one when it
// overlaps none. The size is cut to that screen's available area (a size
// that is not positive becomes the designed 800 x 500 first), then the
// rectangle is moved the least distance that puts it wholly inside the
// area. Without any screen the designed area 0, 0, 800 x 500 stands in.
QRect PlaceWindow(const QRect& stored, const QList<QRect>& availableScreens);

// PlaceWindow with the available areas of this display's screens.
QRect PlaceWindowOnScreens(const QRect& stored);

// A window as the window manager shows it: the client area inside a frame
// (title bar and borders, `frame`). `wish` gives the frame's top left
// corner and the client's size, as the settings keep them. The whole frame
// is fitted onto the available area with PlaceWindow (the client shrinks
// when the frame would not fit); the result is the frame rectangle, whose
// client area is Frame.marginsRemoved(frame).
struct FramePlacement {
    QRect Frame;
    QRect Client;
    bool operator==(const FramePlacement&) const = default;
};
FramePlacement PlaceFrame(const QRect& wish, const QMargins& frame, const QList<QRect>& availableScreens);

// The available areas of this display's screens, the primary one first.
QList<QRect> AvailableScreenAreas();

// What the window does at start with the settings' STATE and geometry.
struct StartGeometry {
    bool Place = false;    // take Rect (fitted onto the screens)
    QRect Rect;            // the rectangle to place
    bool Maximise = false; // then maximise
    bool operator==(const StartGeometry&) const = default;
};
// STATE 2: the stored rectangle; STATE 3: the designed 0, 0, 800 x 500,
// then maximised (restoring the window later returns to it); any other
// state: the window stays as designed.
StartGeometry GeometryAtStart(int state, const QRect& stored);

} // namespace lumidrax
