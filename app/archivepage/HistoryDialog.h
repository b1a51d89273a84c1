#pragma once
// "History": every chart of a cable in time (date, end distance, DC
// resistance, DC voltage, description) and a small plot of the end
// distance over time.

#include "ArchiveRecord.h"

#include <QDialog>

#include <vector>

class QTableWidget;

namespace lumidrax {

class HistoryPlot;

class HistoryDialog : public QDialog {
    Q_OBJECT
  public:
    // `entries`: oldest first.
    HistoryDialog(const std::string& cable, const std::vector<ArchiveEntry>& entries,
                  QWidget* parent = nullptr);

    QTableWidget* Table() const { return table_; }
    HistoryPlot* Plot() const { return plot_; }

  private:
    QTableWidget* table_;
    HistoryPlot* plot_;
};

} // namespace lumidrax
