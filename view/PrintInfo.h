#pragma once
// The info strip `PrintInfo` of a printed or copied chart page: a legend of
// the displayed charts in two columns of five rows, then, when a reference
// chart is set, its instrument data and up to three lines of its
// description; black text on white in a frame.
//
// LayoutPrintInfo works out the strip's height and what goes where from the
// collection, the strip width and the font's measures; PaintPrintInfo paints
// the result. The printed page (ChartPagePainter) and the strip widget of
// the chart page use the same two functions.

#include "TMereni.h"

#include <QFont>
#include <QString>

#include <functional>
#include <vector>

class QPainter;

namespace lumidrax {

// Legend rows per column.
inline constexpr int kPrintInfoRows = 5;
// Description lines at most.
inline constexpr int kPrintInfoDescriptionLines = 3;

struct PrintInfoSquare {
    int X = 0, Y = 0, Width = 0, Height = 0;
    RgbColor Colour = 0;
};

// Text whose top left corner is at (X, Y).
struct PrintInfoText {
    int X = 0, Y = 0;
    QString Text;
};

struct PrintInfoLayout {
    int Height = 0;
    std::vector<PrintInfoSquare> Squares;
    std::vector<PrintInfoText> Texts;
    // Description lines written (0 without a reference chart).
    int DescriptionLines = 0;
};

// Font measures the layout needs: the height and width of "0" and the
// width of any text.
struct PrintInfoMetrics {
    int TextHeight = 0;
    int CharWidth = 1;
    std::function<int(const QString&)> TextWidth;
};

// "Arial" at the application's default size, given in pixels so that a
// page scaled onto a printer keeps its proportions.
QFont PrintInfoFont();
PrintInfoMetrics MetricsOf(const QFont& font);

// How many lines the reference chart's description takes in a strip of
// `stripWidth`: its width div the strip width + 1, at most three.
int DescriptionLineCount(int descriptionWidth, int stripWidth);

// The strip for `charts` at `stripWidth` pixels: th x 8 + 14 high without a
// reference chart, th x (d + 7) + 14 with one (d description lines). A
// legend text too long for its column is shortened at the front of the
// name, so that the left column ends before the right one's squares and
// the right column inside the frame.
PrintInfoLayout LayoutPrintInfo(const TMereni& charts, int stripWidth, const PrintInfoMetrics& m);

// White, framed by a black pen two pixels wide, with the layout's squares
// and texts, clipped to the inside of the frame; origin at the painter's
// origin.
void PaintPrintInfo(QPainter& painter, int width, const PrintInfoLayout& layout, const QFont& font);

} // namespace lumidrax
