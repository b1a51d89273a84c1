#pragma once
// The event table of the chart page: the chart it lists named above it
// (number, colour, file name), the active chart's events (number,
// distance, kind, peak level, distance from the previous event, and the
// change against the reference chart when there is another one), a line
// saying so when no end was found, with the velocity check below it. Choosing a row (mouse or keys) asks for
// the active cursor on the event's leading edge; the events are marked on the X strip while the table is
// shown. It follows the collection through the change notifier (see ConnectEventPanel). Below the
// table, the verdict of the last test report of the listed chart and each of its criteria (value, limit,
// outcome, note), while there is one.

#include "ChartViewState.h"
#include "CriterionCheck.h"
#include "EventDetection.h"
#include "EventRows.h"
#include "TMereni.h"

#include <QWidget>

class QAction;
class QLabel;
class QLineEdit;
class QTableWidget;

namespace lumidrax {

class ChartNotifier;
class PlotWidget;
class ZoomCommands;

// A chart's verdict in a test report.
struct ChartTestResult {
    ChartId Chart = 0;
    Verdict ChartVerdict = Verdict::Incomplete;
    std::string TemplateName;
    std::vector<CriterionResult> Results;
};

class EventPanel : public QWidget {
    Q_OBJECT
  public:
    enum Column { kNumber, kDistance, kKind, kPeak, kFromPrevious, kChange, kColumns };
    enum CriterionColumn { kCriterion, kValue, kLimit, kOutcome, kNote, kCriterionColumns };

    explicit EventPanel(QWidget* parent = nullptr);

    void SetCharts(const TMereni* charts) { charts_ = charts; }
    // The detection's sensitivity (0..9) and level floor (percent).
    void SetDetection(long double sensitivity, long double levelFloor);
    long double Sensitivity() const { return params_.Sensitivity; }
    long double LevelFloor() const { return params_.LevelFloor; }

    // Finds the events again when the active or reference chart (or its
    // samples) changed since the last time, or always with `force`.
    void Refresh(bool force = false);

    QTableWidget* Table() const { return table_; }
    QLineEdit* LengthEdit() const { return length_; }
    QLabel* VelocityLabel() const { return velocity_; }
    // "No end found ..." when the chart has events but no end.
    QLabel* NoEndLabel() const { return noEnd_; }
    // "Chart 2: name.ndt" after a square in the chart's colour; empty
    // without a chart.
    QLabel* ChartLabel() const { return chart_; }
    // Takes the verdicts of a test report: each replaces its chart's earlier
    // one, and the listed chart's is shown.
    void ShowTestResults(const std::vector<ChartTestResult>& results);
    // "Verdict: PASS (template name)"; hidden while the listed chart has none.
    QLabel* VerdictLabel() const { return verdict_; }
    QTableWidget* CriteriaTable() const { return criteria_; }

    // The chart whose events the table lists (0: none).
    int ListedChart() const { return key_.Active; }
    const EventTable& Current() const { return table_data_; }
    // True while the table or the length field has the keyboard focus (the
    // chart page's keys are then left to them).
    bool HasKeyFocus() const;
    // The marks of the active chart's events, in its colour; none while the
    // panel is hidden or the chart is not displayed.
    std::vector<EventMark> Marks() const;

  signals:
    // A row was chosen: the active cursor goes to this sample.
    void eventChosen(int sample);
    // The events (or the panel's visibility) changed: the marks follow.
    void marksChanged();

  protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

  private:
    void Fill();
    void NameChart();
    void FitWidth();
    void RowChosen();
    void UpdateVelocity();
    void FillVerdict();

    struct Key {
        int Active = 0, Reference = 0, Count = 0;
        // The chart record itself: numbers move when charts are removed.
        const void* ActiveChart = nullptr;
        const void* ActiveSamples = nullptr;
        const void* ReferenceSamples = nullptr;
        bool operator==(const Key&) const = default;
    };
    Key CurrentKey() const;

    const TMereni* charts_ = nullptr;
    EventParams params_;
    EventTable table_data_;
    Key key_;
    bool filling_ = false;
    QTableWidget* table_;
    QLineEdit* length_;
    QLabel* velocity_;
    QLabel* noEnd_;
    QLabel* chart_;
    QLabel* verdict_;
    QTableWidget* criteria_;
    std::vector<ChartTestResult> tested_;
};

// Subscribes the panel to the notifier (active chart, reference, charts
// added, removed or changed), sends its marks to the plot and its chosen
// rows to the zoom commands' cursor jump; `toggle` (checkable) shows and
// hides it, the table taking the focus when shown.
void ConnectEventPanel(EventPanel& panel, PlotWidget& plot, const TMereni& charts, ChartNotifier& notifier,
                       ZoomCommands& zoom, QAction* toggle);

} // namespace lumidrax
