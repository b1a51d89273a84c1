#pragma once
// The "Chart" page: the plot above, the chart list panel below, split by a
// movable splitter.

#include <QWidget>
#include <vector>

class QListWidget;
class QSplitter;

namespace lumidrax {

class ChartViewPanel;

class ChartPage : public QWidget {
    Q_OBJECT
public:
    explicit ChartPage(QWidget* parent = nullptr);

    // The plot with its axis strips.
    ChartViewPanel* View() const { return view_; }
    QListWidget* ChartList() const { return lb_curves_; }

    // Chart numbers of the selected list items, in list order.
    std::vector<int> SelectedCharts() const;
    // Chart number of the list's current item, 0 when none.
    int CurrentChart() const;

private:
    QSplitter* splitter_;
    ChartViewPanel* view_;
    QListWidget* lb_curves_;
};

} // namespace lumidrax
