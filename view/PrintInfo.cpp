#include "PrintInfo.h"

#include "ChartProcessing.h"
#include "ReadoutTexts.h"

#include <QFontInfo>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QPainter>

#include <algorithm>

namespace lumidrax {

namespace {

constexpr int kFrameWidth = 2;
// Room kept between a legend text and what follows it on its row (the
// right column's square, the frame).
constexpr int kLegendGap = 6;

// `number` and `name` within `room` pixels: the name loses characters at
// its front (the file name at its end matters most) behind an ellipsis.
QString FittedLegendText(const QString& number, const QString& name, int room, const PrintInfoMetrics& m)
{
    const QString whole = number + QLatin1Char(' ') + name;
    if (m.TextWidth(whole) <= room)
        return whole;
    const QString lead = number + QLatin1Char(' ') + QChar(0x2026);
    for (qsizetype cut = 1; cut < name.size(); ++cut) {
        const QString text = lead + name.mid(cut);
        if (m.TextWidth(text) <= room)
            return text;
    }
    return m.TextWidth(lead) <= room ? lead : number;
}

} // namespace

QFont PrintInfoFont()
{
    QFont font(QStringLiteral("Arial"));
    font.setStyleHint(QFont::SansSerif);
    const int pixels = QFontInfo(QGuiApplication::font()).pixelSize();
    font.setPixelSize(pixels > 0 ? pixels : 12);
    return font;
}

PrintInfoMetrics MetricsOf(const QFont& font)
{
    const QFontMetrics fm(font);
    PrintInfoMetrics m;
    m.TextHeight = fm.height();
    m.CharWidth = std::max(1, fm.horizontalAdvance(QLatin1Char('0')));
    m.TextWidth = [fm](const QString& s) { return fm.horizontalAdvance(s); };
    return m;
}

int DescriptionLineCount(int descriptionWidth, int stripWidth)
{
    return std::min(descriptionWidth / std::max(stripWidth, 1) + 1, kPrintInfoDescriptionLines);
}

PrintInfoLayout LayoutPrintInfo(const TMereni& charts, int stripWidth, const PrintInfoMetrics& m)
{
    PrintInfoLayout out;
    const int th = m.TextHeight;
    const int w = stripWidth;
    int k = 1;
    for (int i = 1; i <= charts.Count; ++i) {
        const TJednoMereni& c = charts.Rec(i);
        if (!c.Shown)
            continue;
        const int y = th * ((k - 1) % kPrintInfoRows) + 3;
        const bool left = k <= kPrintInfoRows;
        const int squareX = left ? 10 : w / 2 + 10;
        const int textX = left ? th + 14 : w / 2 + th + 24;
        // A left text ends before the right column's square, a right one
        // inside the frame.
        const int textEnd = (left ? w / 2 + 10 : w - kFrameWidth) - kLegendGap;
        out.Squares.push_back({squareX, y, th, th - 2, c.Color});
        out.Texts.push_back(
            {textX, y,
             FittedLegendText(QString::number(i), QString::fromStdString(ShortChartName(c.DisplayName)),
                              textEnd - textX, m)});
        ++k;
    }
    const int n = charts.RefIndex;
    if (n < 1 || n > charts.Count) {
        out.Height = th * 8 + 14;
        return out;
    }
    const QString description = QString::fromStdString(charts.Rec(n).Description);
    const int d = DescriptionLineCount(m.TextWidth(description), w);
    out.Height = th * (d + 7) + 14;
    const ChartInfoTexts t = RefChartInfo(charts);
    auto q = [](const std::string& s) { return QString::fromStdString(s); };
    out.Texts.push_back({10, th * 5 + 3,
                         QStringLiteral("Ref. Chart (") + QString::number(n) + QStringLiteral("): ") +
                             QStringLiteral("Imp. ") + q(t.Impedance) + QStringLiteral(", Vel. ") +
                             q(t.Velocity) + QStringLiteral(", Noise ") + q(t.Noise) +
                             QStringLiteral(", DC ") + q(t.DC) + QStringLiteral(", Filter ") + q(t.Filter) +
                             QStringLiteral(", Edge ") + q(t.Edge) + QStringLiteral(", DC Volt. ") +
                             q(t.Voltage) + QStringLiteral(", DC Res. ") + q(t.Resistance)});
    out.Texts.push_back({10, th * 6, QStringLiteral("Description:")});
    // A narrow strip still gets one character a line.
    const int perLine = std::max(1, w / m.CharWidth - 2);
    for (int line = 0; line < d; ++line)
        out.Texts.push_back({10, th * (7 + line), description.mid(qsizetype(line) * perLine, perLine)});
    out.DescriptionLines = d;
    return out;
}

void PaintPrintInfo(QPainter& painter, int width, const PrintInfoLayout& layout, const QFont& font)
{
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.fillRect(QRect(0, 0, width, layout.Height), Qt::white);
    QPen frame(Qt::black);
    frame.setWidth(kFrameWidth);
    frame.setJoinStyle(Qt::MiterJoin);
    painter.setPen(frame);
    painter.setBrush(Qt::NoBrush);
    // The two-pixel pen centred on the rectangle (0, 0)-(W - 1, H - 1).
    painter.drawRect(QRectF(0.5, 0.5, width - 2, layout.Height - 2));
    painter.setPen(QPen(Qt::black, 1));
    for (const PrintInfoSquare& s : layout.Squares) {
        painter.setBrush(QColor::fromRgb(static_cast<QRgb>(s.Colour & 0xFFFFFF)));
        painter.drawRect(QRect(s.X, s.Y, s.Width - 1, s.Height - 1));
    }
    // Nothing written runs across the frame.
    painter.setClipRect(
        QRect(kFrameWidth, kFrameWidth, width - 2 * kFrameWidth, layout.Height - 2 * kFrameWidth));
    painter.setFont(font);
    const int ascent = QFontMetrics(font).ascent();
    for (const PrintInfoText& t : layout.Texts)
        painter.drawText(QPoint(t.X, t.Y + ascent), t.Text);
    painter.restore();
}

} // namespace lumidrax
