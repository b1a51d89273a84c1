#include "ChartPagePainter.h"

#include "ChartRenderer.h"
#include "PagePng.h"

#include <QBuffer>
#include <QFontInfo>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>

#include <algorithm>
#include <cmath>

namespace lumidrax {

namespace {

const QColor kPageColour(240, 240, 240);
constexpr int kTitlePadding = 8;
constexpr int kPdfResolution = 1200;

QSize ScaledSize(const ChartPageLayout& page, int width)
{
    const QSize own = page.Size();
    if (width <= 0 || width == own.width() || own.width() <= 0)
        return own;
    const double s = double(width) / own.width();
    return {width, std::max(1, int(std::lround(own.height() * s)))};
}

// A font given in points is resolved at the device's resolution (1200 dpi
// on a printer); given in the screen's pixels it scales with the page.
QFont InScreenPixels(QFont font)
{
    if (font.pixelSize() <= 0)
        font.setPixelSize(std::max(1, QFontInfo(font).pixelSize()));
    return font;
}

void PaintTitle(QPainter& painter, const ChartPageLayout& page)
{
    if (page.TitleHeight <= 0)
        return;
    const QFont font = InScreenPixels(page.TitleFont);
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, false);
    const QFontMetrics fm(font);
    const int tabWidth = fm.horizontalAdvance(page.Title) + 2 * kTitlePadding;
    const QRect tab(2, 2, std::min(tabWidth, page.Width - 4), page.TitleHeight - 2);
    painter.fillRect(tab, Qt::white);
    painter.setPen(QColor(160, 160, 160));
    painter.drawLine(tab.bottomLeft(), tab.topLeft());
    painter.drawLine(tab.topLeft(), tab.topRight());
    painter.drawLine(tab.topRight(), tab.bottomRight());
    painter.drawLine(0, page.TitleHeight - 1, page.Width - 1, page.TitleHeight - 1);
    painter.setFont(font);
    painter.setPen(Qt::black);
    painter.drawText(tab, Qt::AlignCenter, page.Title);
    painter.restore();
}

} // namespace

QSize ChartPageLayout::Size() const
{
    return {Width, ViewTop() + View.View.PlotHeight + View.AxisXHeight};
}

int TitleBandHeight(const QFont& font)
{
    return QFontMetrics(font).height() + kTitlePadding;
}

ChartPageLayout PlainPageLayout(const TMereni& charts, const Palette& colours, QSize size)
{
    ChartPageLayout page;
    page.View = ChartViewState::ForPage(charts, size.width(), size.height(), colours);
    page.Width = size.width();
    return page;
}

ChartPageLayout PrintPageLayout(const TMereni& charts, const Palette& colours, QSize size, bool withInfo)
{
    ChartPageLayout page;
    page.Width = size.width();
    page.Title = QString::fromLatin1(kPrintTitle);
    page.TitleFont = QGuiApplication::font();
    page.TitleHeight = TitleBandHeight(page.TitleFont);
    page.InfoFont = PrintInfoFont();
    if (withInfo)
        page.Info = LayoutPrintInfo(charts, page.Width, MetricsOf(page.InfoFont));
    page.View =
        ChartViewState::ForPage(charts, size.width(), std::max(1, size.height() - page.ViewTop()), colours);
    page.View.Grid = true;
    return page;
}

void PaintChartPage(QPainter& painter, const ChartPageLayout& page)
{
    const QSize size = page.Size();
    painter.fillRect(QRect(QPoint(0, 0), size), kPageColour);
    PaintTitle(painter, page);
    if (page.Info.Height > 0) {
        painter.save();
        painter.translate(0, page.TitleHeight);
        PaintPrintInfo(painter, page.Width, page.Info, InScreenPixels(page.InfoFont));
        painter.restore();
    }
    painter.save();
    painter.translate(0, page.ViewTop());
    const ChartRenderer renderer(page.View);
    // The renderer's page is as wide as the Y strip and the plot; the X
    // strip runs across the whole page.
    renderer.PaintAxisY(painter);
    painter.save();
    painter.translate(page.View.AxisYWidth, 0);
    renderer.PaintPlot(painter);
    renderer.PaintCursors(painter);
    painter.restore();
    painter.translate(0, page.View.View.PlotHeight);
    renderer.PaintAxisX(painter, page.Width);
    painter.restore();
}

void PaintChartPageFitted(QPainter& painter, const ChartPageLayout& page, const QRectF& target)
{
    const QSize size = page.Size();
    if (size.isEmpty() || target.isEmpty())
        return;
    const double s = std::min(target.width() / size.width(), target.height() / size.height());
    painter.save();
    painter.translate(target.topLeft());
    painter.scale(s, s);
    PaintChartPage(painter, page);
    painter.restore();
}

QRectF PrintTarget(QSize page, const QPageLayout& layout, int resolution)
{
    const QRectF sheet = layout.fullRectPixels(resolution);
    const QRectF printable = layout.paintRectPixels(resolution);
    const double margin = kSheetMarginMm / 25.4 * resolution;
    const QRectF room = printable & sheet.adjusted(margin, margin, -margin, -margin);
    if (page.isEmpty() || room.isEmpty())
        return QRectF(QPointF(0, 0), printable.size());
    const double s = std::min(room.width() / page.width(), room.height() / page.height());
    const QSizeF size(page.width() * s, page.height() * s);
    // Centred on the sheet, pushed inside the room where the printable area
    // is not centred.
    auto within = [](double v, double lo, double hi) { return std::max(lo, std::min(v, hi)); };
    const double x = within((sheet.width() - size.width()) / 2, room.left(), room.right() - size.width());
    const double y = within((sheet.height() - size.height()) / 2, room.top(), room.bottom() - size.height());
    return QRectF(QPointF(x, y) - printable.topLeft(), size);
}

QImage RenderChartPage(const ChartPageLayout& page, int width)
{
    const QSize size = ScaledSize(page, width).expandedTo(QSize(1, 1));
    QImage image = NewPageImage(size);
    image.fill(kPageColour);
    QPainter painter(&image);
    if (size == page.Size())
        PaintChartPage(painter, page);
    else
        PaintChartPageFitted(painter, page, QRectF(QPointF(0, 0), QSizeF(size)));
    painter.end();
    return image;
}

QByteArray ChartPagePdf(const ChartPageLayout& page, int width, const QString& creator)
{
    const QSize size = ScaledSize(page, width).expandedTo(QSize(1, 1));
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    {
        QPdfWriter pdf(&buffer);
        pdf.setCreator(creator);
        pdf.setResolution(kPdfResolution);
        pdf.setPageSize(QPageSize(QSizeF(size.width() * 72.0 / 96.0, size.height() * 72.0 / 96.0),
                                  QPageSize::Point, QString(), QPageSize::ExactMatch));
        pdf.setPageMargins(QMarginsF(0, 0, 0, 0));
        QPainter painter(&pdf);
        PaintChartPageFitted(painter, page, QRectF(0, 0, pdf.width(), pdf.height()));
        painter.end();
    }
    return bytes;
}

QByteArray ChartPagePng(const ChartPageLayout& page, int width)
{
    const QImage image = RenderChartPage(page, width);
    if (auto png = EncodePalettePng(image))
        return *png;
    // Many colours (antialiased text scaled up): Qt's encoder; quality 80
    // is zlib level 1.
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    if (!image.save(&buffer, "PNG", 80))
        return {};
    return bytes;
}

} // namespace lumidrax
