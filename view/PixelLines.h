#pragma once
// One-pixel lines and the small cursor shapes as lists of pixels, drawn the
// classic way: a line's end point is not painted and a styled (dotted,
// dash-dot) line repeats its pattern from the start point. Listing the
// pixels ourselves keeps the look identical on the screen, in images and in
// PDF files, and lets XOR drawing touch every pixel exactly once per line.

#include <vector>

namespace lumidrax {

struct Pixel {
    int X = 0;
    int Y = 0;
    bool operator==(const Pixel&) const = default;
};

enum class LineStyle {
    Solid,
    Dot,     // 3 on, 3 off
    DashDot, // 9 on, 6 off, 3 on, 6 off
};

// Appends the pixels of the line from (x1, y1) to (x2, y2), end point
// excluded.
void AppendLinePixels(std::vector<Pixel>& out, int x1, int y1, int x2, int y2,
                      LineStyle style = LineStyle::Solid);

// The active cursor's ring round (x, y) (a circle of diameter 4 drawn with a
// 3-pixel pen): every pixel of the ring except the centre.
void AppendCursorRing(std::vector<Pixel>& out, int x, int y);

// The reference cursor's square frame from (x - 3, y - 3) to (x + 3, y + 3)
// drawn with a 3-pixel pen: the band between the 9x9 and the inner 3x3
// squares. The inner 3x3 square is the frame's filling.
void AppendCursorSquare(std::vector<Pixel>& out, int x, int y);

} // namespace lumidrax
