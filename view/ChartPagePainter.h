#pragma once
// The chart page as printing, the clipboard, "Export Picture..." and
// `lumidrax-tool render` put it out, painted by one function:
//
//   +------------------------------------+
//   | [Lumidrax for 32-bit Windows - CHART]  title band (the page's tab)
//   +------------------------------------+
//   | PrintInfo strip (legend, reference) |  when the info is included
//   +--------+---------------------------+
//   | OsaY   | plot                      |  ChartRenderer::PaintPage
//   +--------+---------------------------+
//   | OsaX                               |
//   +------------------------------------+
//
// The page is laid out in the screen's logical pixels (the window's own
// sizes when the window prints) and painted with a scale transform onto
// the target, so a printer or a PDF gets lines and text drawn at its own
// resolution with the layout, ticks and strip heights of the screen.

#include "ChartViewState.h"
#include "PrintInfo.h"

#include <QByteArray>
#include <QFont>
#include <QImage>
#include <QRectF>
#include <QSize>
#include <QString>

class QPageLayout;
class QPainter;

namespace lumidrax {

// The tab caption that stands above a printed page as its title.
inline constexpr char kPrintTitle[] = "Lumidrax for 32-bit Windows - CHART";

struct ChartPageLayout {
    // The plot with both axis strips; Grid set in the print layout.
    ChartViewState View;
    int Width = 0;
    // The title band; empty: no band.
    QString Title;
    int TitleHeight = 0;
    QFont TitleFont;
    // The PrintInfo strip; Info.Height 0: no strip.
    PrintInfoLayout Info;
    QFont InfoFont;

    QSize Size() const;
    // Where the plot's page (OsaY, plot, OsaX) starts.
    int ViewTop() const { return TitleHeight + Info.Height; }
};

// The title band's height for a font (as a tab bar would have it).
int TitleBandHeight(const QFont& font);

// The page without title or strip: the plot and its axis strips filling
// `size` (what `lumidrax-tool render` puts out by default).
ChartPageLayout PlainPageLayout(const TMereni& charts, const Palette& colours, QSize size);
// The print layout filling `size`: title band, the strip when `withInfo`,
// the plot with the grid and its strips in the rest.
ChartPageLayout PrintPageLayout(const TMereni& charts, const Palette& colours, QSize size, bool withInfo);

// The page in its logical pixels, top left corner at the painter's origin.
void PaintChartPage(QPainter& painter, const ChartPageLayout& page);
// The page scaled to fit `target` (painter coordinates) with its
// proportions kept, at the target's top left corner.
void PaintChartPageFitted(QPainter& painter, const ChartPageLayout& page, const QRectF& target);
// Margin a printed page keeps from every edge of the sheet at least, in
// millimetres, whatever the printer can print closer to the edge.
inline constexpr double kSheetMarginMm = 15.0;
// Where a page of `page` logical pixels goes on a sheet of `layout` at
// `resolution` dots per inch, in the coordinates of a painter on that
// device (origin at the printable area's top left): inside the printable
// area, at least kSheetMarginMm from every edge of the sheet, as large as
// its proportions allow, centred on the sheet.
QRectF PrintTarget(QSize page, const QPageLayout& layout, int resolution);
// The page in an RGB32 image of `width` pixels (0: the page's own width;
// the height follows the proportions). At the page's own size every pixel
// is the screen's.
QImage RenderChartPage(const ChartPageLayout& page, int width = 0);
// The page as a one-page PDF of `width` pixels at 96 dpi (0: the page's
// own width), all vector.
QByteArray ChartPagePdf(const ChartPageLayout& page, int width = 0, const QString& creator = {});
// The page as a PNG file's bytes (few colours: a palette image, zlib's
// fastest level, which packs these flat pictures nearly as well).
QByteArray ChartPagePng(const ChartPageLayout& page, int width = 0);

} // namespace lumidrax
