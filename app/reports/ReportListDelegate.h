#pragma once
// Paints the rows of the report list: 16 pixels high, a square at the left
// that holds the "unsaved" picture while the report differs from its file,
// and the display name beside it.

#include <QStyledItemDelegate>

namespace lumidrax {

class ReportListDelegate : public QStyledItemDelegate {
    Q_OBJECT
  public:
    static constexpr int kRowHeight = 16;
    static constexpr int kPictureSize = 14;
    // Item data role holding true while the report is unsaved.
    static constexpr int kUnsavedRole = Qt::UserRole + 1;

    using QStyledItemDelegate::QStyledItemDelegate;

    // The 14 x 14 "unsaved" picture: a red disk with a white bar.
    static const QPixmap& UnsavedPicture();

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;
};

} // namespace lumidrax
