#pragma once
// Draws one row of the chart list: the current-item arrow, the colour mark
// of a displayed chart, the "unsaved" picture, the chart number, the file
// name (shortened from the left) and the description (shortened from the
// right), each in its column. The item's text is the chart number.

#include "ChartListColours.h"
#include "ChartListLogic.h"

#include <QPixmap>
#include <QStyledItemDelegate>

namespace lumidrax {

class ChartListDelegate : public QStyledItemDelegate {
    Q_OBJECT
  public:
    static constexpr int kRowHeight = 16;

    explicit ChartListDelegate(QObject* parent = nullptr);

    // The collection the rows show (not owned; may be null: rows show their
    // numbers only).
    void SetCollection(const TMereni* charts) { charts_ = charts; }
    void SetColours(const ChartListColours& colours) { colours_ = colours; }
    const ChartListColours& Colours() const { return colours_; }
    void SetColumns(const ChartListColumns& columns) { columns_ = columns; }
    const ChartListColumns& Columns() const { return columns_; }

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;

    // The 14 x 14 picture of an unsaved chart.
    static QPixmap UnsavedPicture();

  private:
    const TMereni* charts_ = nullptr;
    ChartListColours colours_ = ChartListColours::ForScheme(false);
    ChartListColumns columns_;
};

} // namespace lumidrax
