#pragma once
// The "Chart" page: the plot above, the chart list panel below, split by a
// movable splitter.

#include <QWidget>
#include <vector>

class QListWidget;
class QSplitter;

namespace lumidrax {

class ChartPage : public QWidget {
    Q_OBJECT
public:
    explicit ChartPage(QWidget* parent = nullptr);

    QWidget* PlotArea() const { return plotArea_; }
    QListWidget* ChartList() const { return lb_curves_; }

    // Chart numbers of the selected list items, in list order.
    std::vector<int> SelectedCharts() const;
    // Chart number of the list's current item, 0 when none.
    int CurrentChart() const;

private:
    QSplitter* splitter_;
    QWidget* plotArea_;
    QListWidget* lb_curves_;
};

} // namespace lumidrax
