#include "ProgramIcon.h"

#include <QPainter>
#include <QPainterPath>

namespace lumidrax {

QPixmap ProgramIcon::Pixmap(int size)
{
    QPixmap pm(size, size);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(size / 64.0, size / 64.0);

    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0x1f, 0x2a, 0x38));
    p.drawRoundedRect(QRectF(2, 2, 60, 60), 10, 10);

    p.setPen(QPen(QColor(0x3c, 0x4e, 0x63), 1));
    for (int x = 14; x <= 50; x += 12)
        p.drawLine(QPointF(x, 10), QPointF(x, 54));
    for (int y = 16; y <= 48; y += 16)
        p.drawLine(QPointF(8, y), QPointF(56, y));

    // The trace: launch pulse, flat cable, the reflection of a fault.
    QPainterPath trace;
    trace.moveTo(8, 40);
    trace.lineTo(12, 40);
    trace.lineTo(15, 14);
    trace.lineTo(19, 36);
    trace.lineTo(38, 36);
    trace.lineTo(41, 22);
    trace.lineTo(44, 44);
    trace.lineTo(47, 36);
    trace.lineTo(56, 36);
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QColor(0xff, 0x40, 0x40), 3.5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawPath(trace);
    return pm;
}

QIcon ProgramIcon::Icon()
{
    QIcon icon;
    for (int s : {16, 24, 32, 48, 64, 128, 256})
        icon.addPixmap(Pixmap(s));
    return icon;
}

} // namespace lumidrax
