#pragma once
// The "Chart" page: the plot with its axis strips above, the chart list
// panel below, split by a movable splitter; the event table, when shown, is
// right of the plot.

#include <QWidget>
#include <vector>

class QListWidget;
class QSplitter;

namespace lumidrax {

class ChartListPanel;
class ChartViewPanel;
class EventPanel;
class CursorReadoutPanels;
class PrintInfoStrip;

class ChartPage : public QWidget {
    Q_OBJECT
  public:
    explicit ChartPage(QWidget* parent = nullptr);

    // The plot with its axis strips.
    ChartViewPanel* View() const { return view_; }
    ChartListPanel* ListPanel() const { return list_; }
    // The event table, right of the plot (hidden until asked for).
    EventPanel* Events() const { return events_; }
    // The read-out areas above the plot (p_refinfo, p_aktinfo, p_coords).
    CursorReadoutPanels* Readouts() const { return readouts_; }
    QListWidget* ChartList() const;
    QSplitter* Splitter() const { return splitter_; }
    // `PrintInfo`, between the read-outs and the plot; hidden on screen.
    PrintInfoStrip* PrintInfo() const { return printInfo_; }

    // Chart numbers of the selected list items, in list order.
    std::vector<int> SelectedCharts() const;
    // Chart number of the list's current item, 0 when none.
    int CurrentChart() const;

    // The panels round the plot (read-outs, event table, list header,
    // splitters) in the colour scheme of the plot.
    void ApplyScheme(bool dark);

    // Height of the chart list panel (0 hides it with its splitter handle).
    void SetListHeight(int height);
    int ListHeight() const;

  private:
    QSplitter* splitter_;
    ChartViewPanel* view_;
    EventPanel* events_;
    ChartListPanel* list_;
    CursorReadoutPanels* readouts_;
    PrintInfoStrip* printInfo_;
};

} // namespace lumidrax
