#pragma once
// The History dialog's plot: the end distance of a cable's charts over the
// time they were measured (one point per chart with an end; the time axis
// from the first to the last measurement).

#include <QWidget>

#include <vector>

namespace lumidrax {

struct HistoryPoint {
    double Time = 0; // seconds since the epoch
    double EndDistance = 0;
};

class HistoryPlot : public QWidget {
    Q_OBJECT
  public:
    explicit HistoryPlot(std::vector<HistoryPoint> points, QWidget* parent = nullptr);

    const std::vector<HistoryPoint>& Points() const { return points_; }
    QSize sizeHint() const override { return {420, 160}; }

  protected:
    void paintEvent(QPaintEvent* e) override;

  private:
    std::vector<HistoryPoint> points_;
};

} // namespace lumidrax
