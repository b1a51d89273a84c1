#include "ReportListDelegate.h"

#include <QPainter>
#include <QPixmap>

namespace lumidrax {

const QPixmap& ReportListDelegate::UnsavedPicture()
{
    static const QPixmap picture = [] {
        QPixmap p(kPictureSize, kPictureSize);
        p.fill(Qt::transparent);
        QPainter painter(&p);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setPen(Qt::NoPen);
        painter.setBrush(QColor(200, 0, 0));
        painter.drawEllipse(QRectF(0.5, 0.5, kPictureSize - 1, kPictureSize - 1));
        painter.setBrush(Qt::white);
        painter.drawRect(QRectF(3, 6, kPictureSize - 6, 2));
        return p;
    }();
    return picture;
}

void ReportListDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                               const QModelIndex& index) const
{
    const QRect row = option.rect;
    const bool selected = option.state & QStyle::State_Selected;
    const QPalette& pal = option.palette;
    painter->save();
    painter->fillRect(row.adjusted(kRowHeight, 0, 0, 0), selected ? pal.highlight() : pal.base());
    painter->fillRect(QRect(row.left(), row.top(), kRowHeight, kRowHeight), pal.color(QPalette::Base));
    if (index.data(kUnsavedRole).toBool())
        painter->drawPixmap(row.left() + 1, row.top() + 1, UnsavedPicture());
    painter->setFont(option.font);
    painter->setPen(selected ? pal.color(QPalette::HighlightedText) : pal.color(QPalette::Text));
    const QRect text(row.left() + kRowHeight + 1, row.top() + 1, row.width() - kRowHeight - 1,
                     row.height() - 1);
    painter->drawText(text, Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine, index.data().toString());
    painter->restore();
}

QSize ReportListDelegate::sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const
{
    const int width = option.fontMetrics.horizontalAdvance(index.data().toString()) + kRowHeight + 4;
    return {width, kRowHeight};
}

} // namespace lumidrax
