#include "ZoomCursors.h"

#include <QPainter>
#include <QPixmap>

namespace lumidrax {

namespace {

constexpr int kSize = 32;
// The hot spot is the lens centre.
constexpr int kLensCentre = 12;
constexpr int kLensRadius = 8;

QCursor MakeCursor(ZoomCursorKind kind)
{
    QPixmap picture(kSize, kSize);
    picture.fill(Qt::transparent);
    QPainter p(&picture);
    p.setRenderHint(QPainter::Antialiasing);
    const QPointF centre(kLensCentre, kLensCentre);
    // Handle, then the lens with a white outline so that it shows on both
    // colour schemes.
    p.setPen(QPen(Qt::white, 6, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(18, 18), QPointF(28, 28));
    p.setPen(QPen(Qt::black, 4, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(18, 18), QPointF(28, 28));
    p.setPen(QPen(Qt::white, 4));
    p.setBrush(Qt::white);
    p.drawEllipse(centre, kLensRadius, kLensRadius);
    p.setPen(QPen(Qt::black, 2));
    p.drawEllipse(centre, kLensRadius, kLensRadius);
    p.setPen(QPen(Qt::black, 2));
    switch (kind) {
    case ZoomCursorKind::ZoomIn:
        p.drawLine(QPointF(kLensCentre - 4, kLensCentre), QPointF(kLensCentre + 4, kLensCentre));
        p.drawLine(QPointF(kLensCentre, kLensCentre - 4), QPointF(kLensCentre, kLensCentre + 4));
        break;
    case ZoomCursorKind::ZoomOut:
        p.drawLine(QPointF(kLensCentre - 4, kLensCentre), QPointF(kLensCentre + 4, kLensCentre));
        break;
    case ZoomCursorKind::ZoomRect:
        p.setPen(QPen(Qt::black, 1, Qt::DotLine));
        p.setBrush(Qt::NoBrush);
        p.drawRect(QRectF(kLensCentre - 4, kLensCentre - 3, 8, 6));
        break;
    }
    p.end();
    return QCursor(picture, kLensCentre, kLensCentre);
}

} // namespace

const QCursor& ZoomCursor(ZoomCursorKind kind)
{
    static const QCursor in = MakeCursor(ZoomCursorKind::ZoomIn);
    static const QCursor out = MakeCursor(ZoomCursorKind::ZoomOut);
    static const QCursor rect = MakeCursor(ZoomCursorKind::ZoomRect);
    switch (kind) {
    case ZoomCursorKind::ZoomIn:
        return in;
    case ZoomCursorKind::ZoomOut:
        return out;
    case ZoomCursorKind::ZoomRect:
        break;
    }
    return rect;
}

} // namespace lumidrax
