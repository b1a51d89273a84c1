#pragma once
// The hidden "Values" window: every field of one chart record in a
// two-column grid (label, value), opened modally from the reference colour
// marker with Ctrl+Shift and a right-button release.

#include "TJednoMereni.h"

#include <QDialog>

class QTableWidget;

namespace lumidrax {

class ValuesWindow : public QDialog {
    Q_OBJECT
  public:
    explicit ValuesWindow(const TJednoMereni& chart, QWidget* parent = nullptr);

    QTableWidget* Grid() const { return grid_; }

    // Opens the window modally for the chart.
    static void ShowValues(QWidget* parent, const TJednoMereni& chart);

  private:
    QTableWidget* grid_ = nullptr;
};

} // namespace lumidrax
