#include "ReportPrint.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QPrinter>
#include <QTextLayout>

namespace lumidrax {

QStringList ReportPrintLines(const QString& displayName, const QString& text)
{
    QStringList lines{QStringLiteral("Lumidrax Report ") + displayName, QString()};
    if (!text.isEmpty())
        lines += text.split(QLatin1Char('\n'));
    return lines;
}

void PrintTextLines(QPrinter& printer, const QFont& font, const QStringList& lines)
{
    QPainter painter;
    if (!painter.begin(&printer))
        return;
    const QFont printFont(font, &printer);
    painter.setFont(printFont);
    painter.setPen(Qt::black);
    const QRectF page = printer.pageLayout().paintRectPixels(printer.resolution());
    const qreal width = page.width();
    const qreal height = page.height();
    const qreal spacing = QFontMetricsF(printFont, &printer).lineSpacing();
    QTextOption option;
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    qreal y = 0;
    auto room = [&](qreal needed) {
        if (y > 0 && y + needed > height) {
            printer.newPage();
            y = 0;
        }
    };
    for (const QString& line : lines) {
        if (line.isEmpty()) {
            room(spacing);
            y += spacing;
            continue;
        }
        QTextLayout layout(line, printFont, &printer);
        layout.setTextOption(option);
        layout.beginLayout();
        qreal at = 0;
        for (QTextLine l = layout.createLine(); l.isValid(); l = layout.createLine()) {
            l.setLineWidth(width);
            l.setPosition(QPointF(0, at));
            at += l.height();
        }
        layout.endLayout();
        for (int k = 0; k < layout.lineCount(); ++k) {
            const QTextLine l = layout.lineAt(k);
            room(l.height());
            l.draw(&painter, QPointF(0, y - l.y()));
            y += l.height();
        }
    }
    painter.end();
}

} // namespace lumidrax
