#include "PixelLines.h"

#include "CursorGeometry.h"

#include <cstdlib>

namespace lumidrax {

namespace {

bool PatternOn(LineStyle style, int index)
{
    switch (style) {
    case LineStyle::Solid:
        return true;
    case LineStyle::Dot:
        return index % 6 < 3;
    case LineStyle::DashDot: {
        const int p = index % 24;
        return p < 9 || (p >= 15 && p < 18);
    }
    }
    return true;
}

} // namespace

void AppendLinePixels(std::vector<Pixel>& out, int x1, int y1, int x2, int y2, LineStyle style)
{
    const int dx = std::abs(x2 - x1);
    const int dy = std::abs(y2 - y1);
    const int sx = x1 < x2 ? 1 : -1;
    const int sy = y1 < y2 ? 1 : -1;
    const int steps = dx > dy ? dx : dy;
    int x = x1;
    int y = y1;
    int err = (dx > dy ? dx : -dy) / 2;
    for (int i = 0; i < steps; ++i) {
        if (PatternOn(style, i))
            out.push_back({x, y});
        const int e = err;
        if (e > -dx) {
            err -= dy;
            x += sx;
        }
        if (e < dy) {
            err += dx;
            y += sy;
        }
    }
}

void AppendCursorRing(std::vector<Pixel>& out, int x, int y)
{
    // The squared outer radius of a circle of diameter 4 drawn with a
    // 3-pixel pen (3.5 squared, rounded down).
    constexpr int kOuter2 = 12;
    constexpr int r = kCursorRingRadius;
    for (int dy = -r; dy <= r; ++dy)
        for (int dx = -r; dx <= r; ++dx) {
            const int d2 = dx * dx + dy * dy;
            if (d2 > 0 && d2 <= kOuter2)
                out.push_back({x + dx, y + dy});
        }
}

void AppendCursorSquare(std::vector<Pixel>& out, int x, int y)
{
    constexpr int r = kCursorSquareHalf;
    for (int dy = -r; dy <= r; ++dy)
        for (int dx = -r; dx <= r; ++dx)
            if (std::abs(dx) > kCursorSquareFillHalf || std::abs(dy) > kCursorSquareFillHalf)
                out.push_back({x + dx, y + dy});
}

} // namespace lumidrax
