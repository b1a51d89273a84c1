#include "ChartListDelegate.h"

#include <QAbstractItemView>
#include <QFontMetrics>
#include <QPainter>
#include <QPainterPath>

namespace lumidrax {

namespace {

QFont RowFont(const QStyleOptionViewItem& option)
{
    QFont f = option.font;
    f.setPointSize(8);
    return f;
}

// A right arrow inside a 14 x 14 cell at (x, y): shaft and head.
void DrawArrow(QPainter* p, int x, int y, const QColor& colour)
{
    QPainterPath path;
    path.moveTo(x + 1, y + 5);
    path.lineTo(x + 7, y + 5);
    path.lineTo(x + 7, y + 2);
    path.lineTo(x + 13, y + 7);
    path.lineTo(x + 7, y + 12);
    path.lineTo(x + 7, y + 9);
    path.lineTo(x + 1, y + 9);
    path.closeSubpath();
    p->save();
    p->setRenderHint(QPainter::Antialiasing, false);
    p->fillPath(path, colour);
    p->restore();
}

} // namespace

ChartListDelegate::ChartListDelegate(QObject* parent) : QStyledItemDelegate(parent)
{
}

QPixmap ChartListDelegate::UnsavedPicture()
{
    // A floppy disk in red: not yet on disk.
    QPixmap pm(14, 14);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.fillRect(QRect(1, 1, 12, 12), QColor(200, 30, 30));
    p.fillRect(QRect(4, 1, 6, 4), QColor(230, 230, 230));
    p.fillRect(QRect(7, 2, 2, 2), QColor(200, 30, 30));
    p.fillRect(QRect(3, 8, 8, 5), QColor(255, 255, 255));
    return pm;
}

QSize ChartListDelegate::sizeHint(const QStyleOptionViewItem&, const QModelIndex&) const
{
    return QSize(columns_.DescEnd(), kRowHeight);
}

void ChartListDelegate::paint(QPainter* p, const QStyleOptionViewItem& option, const QModelIndex& index) const
{
    const QRect r = option.rect;
    const int x0 = r.left();
    const int top = r.top();
    const bool selected = option.state & QStyle::State_Selected;
    const QColor brush = selected ? colours_.SelectedBrush : colours_.Background;
    const QColor text = selected ? colours_.SelectedText : colours_.Text;

    p->save();
    p->setClipRect(r);
    // The selection colour starts at the name columns; the strip of the
    // arrow, the colour mark and the number keep the background.
    p->fillRect(QRect(QPoint(x0 + ChartListColumns::kNumberLeft, top), r.bottomRight()), brush);
    p->fillRect(QRect(x0, top, ChartListColumns::kNumberLeft, r.height()), colours_.Background);
    p->fillRect(QRect(x0 + ChartListColumns::kNumberLeft, top,
                      ChartListColumns::kNameLeft - ChartListColumns::kNumberLeft, r.height()),
                colours_.Background);

    // The row carries its chart number as data; the text is what is shown.
    const QString numberText = index.data(Qt::DisplayRole).toString();
    const int chart = index.data(Qt::UserRole).toInt();
    const TJednoMereni* c =
        (charts_ && chart >= 1 && chart <= charts_->Count) ? &charts_->Rec(chart) : nullptr;

    if (c) {
        // Colour mark: a filled square, invisible for a chart not drawn.
        const QColor mark = c->Shown ? QColor::fromRgb(static_cast<QRgb>(c->Color)) : colours_.Background;
        p->fillRect(QRect(x0 + ChartListColumns::kMarkLeft + 2, top + 3, 10, 10), mark);
        if (!c->Saved)
            p->drawPixmap(x0 + ChartListColumns::kNumberLeft, top + 1, UnsavedPicture());
    }

    const QFont font = RowFont(option);
    const QFontMetrics fm(font);
    p->setFont(font);
    p->setPen(colours_.Text);
    p->drawText(QRect(x0 + ChartListColumns::kNumberLeft, top,
                      ChartListColumns::kNameLeft - 4 - ChartListColumns::kNumberLeft, r.height()),
                Qt::AlignRight | Qt::AlignVCenter, numberText);

    if (c) {
        const ListTextWidthFn width = [&fm](std::string_view s) {
            return fm.horizontalAdvance(QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size())));
        };
        const std::string& nameSource =
            !c->DisplayName.empty() ? c->DisplayName : (!c->FileName.empty() ? c->FileName : c->AutoFileName);
        const QString name = QString::fromStdString(ShortenFromLeft(nameSource, columns_.NameFit(), width));
        const QString desc =
            QString::fromStdString(ShortenFromRight(c->Description, columns_.DescFit(), width));
        p->setPen(text);
        const QRect nameRect(x0 + ChartListColumns::kNameLeft, top,
                             columns_.NameEnd() - 2 - ChartListColumns::kNameLeft, r.height());
        p->save();
        p->setClipRect(nameRect.intersected(r));
        p->drawText(nameRect, Qt::AlignLeft | Qt::AlignVCenter, name);
        p->restore();
        const QRect descRect(x0 + columns_.NameEnd(), top, columns_.DescEnd() - 2 - columns_.NameEnd(),
                             r.height());
        p->save();
        p->setClipRect(descRect.intersected(r));
        p->drawText(descRect, Qt::AlignLeft | Qt::AlignVCenter, desc);
        p->restore();
    }

    const auto* view = qobject_cast<const QAbstractItemView*>(option.widget);
    if (view && view->currentIndex() == index)
        DrawArrow(p, x0 + 1, top + 1, colours_.Text);
    p->restore();
}

} // namespace lumidrax
