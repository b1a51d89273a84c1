#include "EventPanel.h"

#include "ChartNotifier.h"
#include "NumberText.h"
#include "PlotWidget.h"
#include "ZoomCommands.h"

#include <QAction>
#include <QApplication>
#include <QColor>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QScrollBar>
#include <QTableWidget>
#include <QVBoxLayout>
#include <algorithm>

namespace lumidrax {

namespace {

QString Text(const std::string& s)
{
    return QString::fromStdString(s);
}

} // namespace

EventPanel::EventPanel(QWidget* parent) : QWidget(parent)
{
    setObjectName("p_events");
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(2, 2, 2, 2);
    layout->setSpacing(2);
    chart_ = new QLabel(this);
    chart_->setObjectName("lbl_event_chart");
    chart_->setTextFormat(Qt::RichText);
    chart_->setStatusTip(tr("The chart whose events the table lists: the active chart"));
    layout->addWidget(chart_);
    table_ = new QTableWidget(0, kColumns, this);
    table_->setObjectName("tbl_events");
    table_->setHorizontalHeaderLabels(
        {tr("No."), tr("Distance [m]"), tr("Kind"), tr("Peak [%]"), tr("From prev. [m]"), tr("Change")});
    table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table_->setSelectionBehavior(QAbstractItemView::SelectRows);
    table_->setSelectionMode(QAbstractItemView::SingleSelection);
    table_->verticalHeader()->setVisible(false);
    table_->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    table_->setColumnHidden(kChange, true);
    table_->setStatusTip(tr("Events of the active chart: choose one to put the cursor on it"));
    layout->addWidget(table_);
    noEnd_ = new QLabel(tr("No end found: the line is terminated, or longer than the range."), this);
    noEnd_->setObjectName("lbl_no_end");
    noEnd_->setWordWrap(true);
    noEnd_->setVisible(false);
    layout->addWidget(noEnd_);

    auto* check = new QHBoxLayout;
    auto* label = new QLabel(tr("True length [m]:"), this);
    length_ = new QLineEdit(this);
    length_->setObjectName("e_known_length");
    length_->setStatusTip(tr("True length to the chosen event (the end when none is chosen)"));
    label->setBuddy(length_);
    velocity_ = new QLabel(this);
    velocity_->setObjectName("lbl_event_velocity");
    check->addWidget(label);
    check->addWidget(length_);
    check->addWidget(velocity_, 1);
    layout->addLayout(check);

    verdict_ = new QLabel(this);
    verdict_->setObjectName("lbl_report_verdict");
    verdict_->setStatusTip(tr("The verdict of the last test report of this chart"));
    verdict_->setVisible(false);
    layout->addWidget(verdict_);
    criteria_ = new QTableWidget(0, kCriterionColumns, this);
    criteria_->setObjectName("tbl_criteria");
    criteria_->setHorizontalHeaderLabels(
        {tr("Criterion"), tr("Value"), tr("Limit"), tr("Outcome"), tr("Note")});
    criteria_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    criteria_->setSelectionMode(QAbstractItemView::NoSelection);
    criteria_->setFocusPolicy(Qt::NoFocus);
    criteria_->verticalHeader()->setVisible(false);
    criteria_->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    criteria_->setVisible(false);
    layout->addWidget(criteria_);
    FitWidth();

    connect(table_, &QTableWidget::itemSelectionChanged, this, &EventPanel::RowChosen);
    connect(length_, &QLineEdit::textChanged, this, &EventPanel::UpdateVelocity);
}

void EventPanel::SetDetection(long double sensitivity, long double levelFloor)
{
    params_.Sensitivity = sensitivity;
    params_.LevelFloor = levelFloor;
    Refresh(true);
}

EventPanel::Key EventPanel::CurrentKey() const
{
    Key k;
    if (charts_ == nullptr)
        return k;
    k.Count = charts_->Count;
    k.Active = charts_->ActiveIndex;
    k.Reference = charts_->RefIndex;
    if (k.Active >= 1 && k.Active <= k.Count) {
        k.ActiveChart = &charts_->Rec(k.Active);
        k.ActiveSamples = charts_->Rec(k.Active).Samples.data();
    }
    if (k.Reference >= 1 && k.Reference <= k.Count)
        k.ReferenceSamples = charts_->Rec(k.Reference).Samples.data();
    return k;
}

void EventPanel::Refresh(bool force)
{
    // A hidden table detects nothing: showing it computes afresh.
    if (!isVisible()) {
        key_ = {};
        return;
    }
    const Key k = CurrentKey();
    if (!force && k == key_)
        return;
    key_ = k;
    table_data_ =
        charts_ != nullptr ? BuildEventTable(*charts_, k.Active, k.Reference, params_) : EventTable{};
    Fill();
    emit marksChanged();
}

void EventPanel::Fill()
{
    filling_ = true;
    table_->clearContents();
    table_->setRowCount(static_cast<int>(table_data_.Rows.size()));
    table_->setColumnHidden(kChange, !table_data_.Compared);
    for (int r = 0; r < table_->rowCount(); ++r) {
        const EventRow& row = table_data_.Rows[static_cast<std::size_t>(r)];
        const std::string cells[kColumns] = {row.Number, row.Distance,     row.Kind,
                                             row.Peak,   row.FromPrevious, row.Change};
        for (int c = 0; c < kColumns; ++c) {
            auto* item = new QTableWidgetItem(Text(cells[c]));
            if (c != kKind && c != kChange)
                item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
            table_->setItem(r, c, item);
        }
    }
    filling_ = false;
    NameChart();
    noEnd_->setVisible(!table_data_.Events.empty() && EndEventIndex(table_data_.Events) < 0);
    FitWidth();
    UpdateVelocity();
    FillVerdict();
}

void EventPanel::ShowTestResults(const std::vector<ChartTestResult>& results)
{
    for (const ChartTestResult& r : results) {
        const auto same = std::find_if(tested_.begin(), tested_.end(),
                                       [&r](const ChartTestResult& t) { return t.Chart == r.Chart; });
        if (same != tested_.end())
            *same = r;
        else
            tested_.push_back(r);
    }
    FillVerdict();
}

void EventPanel::FillVerdict()
{
    const ChartId listed = charts_ != nullptr && key_.Active >= 1 && key_.Active <= charts_->Count
                               ? charts_->Rec(key_.Active).Id
                               : 0;
    const auto it = std::find_if(tested_.begin(), tested_.end(), [listed](const ChartTestResult& t) {
        return listed != 0 && t.Chart == listed;
    });
    const bool shown = it != tested_.end();
    verdict_->setVisible(shown);
    criteria_->setVisible(shown);
    criteria_->setRowCount(0);
    if (!shown)
        return;
    static const QColor kOutcomeColours[] = {QColor(0, 128, 0), QColor(192, 0, 0), QColor(176, 112, 0)};
    const QColor verdictColour = kOutcomeColours[it->ChartVerdict == Verdict::Pass   ? 0
                                                 : it->ChartVerdict == Verdict::Fail ? 1
                                                                                     : 2];
    verdict_->setText(QStringLiteral("<b style=\"color:%1\">%2</b> %3")
                          .arg(verdictColour.name(),
                               tr("Verdict: %1").arg(Text(std::string(VerdictName(it->ChartVerdict)))),
                               Text(it->TemplateName).toHtmlEscaped()));
    criteria_->setRowCount(static_cast<int>(it->Results.size()));
    for (int r = 0; r < criteria_->rowCount(); ++r) {
        const CriterionResult& c = it->Results[static_cast<std::size_t>(r)];
        const std::string cells[kCriterionColumns] = {c.Title, c.Value, c.Limit,
                                                      std::string(OutcomeName(c.Outcome)), c.Reason};
        for (int col = 0; col < kCriterionColumns; ++col) {
            auto* item = new QTableWidgetItem(Text(cells[col]));
            if (col == kOutcome)
                item->setForeground(kOutcomeColours[static_cast<int>(c.Outcome)]);
            criteria_->setItem(r, col, item);
        }
    }
}

void EventPanel::NameChart()
{
    if (charts_ == nullptr || key_.Active < 1 || key_.Active > charts_->Count) {
        chart_->clear();
        return;
    }
    const TJednoMereni& chart = charts_->Rec(key_.Active);
    std::string name = chart.DisplayName;
    if (name.empty())
        name = chart.AutoFileName;
    const QColor colour(QRgb(0xFF000000u | chart.Color));
    chart_->setText(
        QStringLiteral("<span style=\"color:%1\">&#9632;</span> %2")
            .arg(colour.name(), tr("Chart %1: %2").arg(key_.Active).arg(Text(name).toHtmlEscaped())));
}

// Wide enough for every shown column, so that none hides behind the
// horizontal scroll bar; capped so that the plot keeps most of the page.
void EventPanel::FitWidth()
{
    constexpr int kMaxWidth = 640;
    QHeaderView* header = table_->horizontalHeader();
    header->resizeSections(QHeaderView::ResizeToContents);
    const QMargins margins = layout()->contentsMargins();
    const int wanted = header->length() + 2 * table_->frameWidth() +
                       table_->verticalScrollBar()->sizeHint().width() + margins.left() + margins.right();
    setMinimumWidth(std::min(kMaxWidth, wanted));
}

void EventPanel::RowChosen()
{
    if (filling_)
        return;
    // A table left behind by its chart is first brought up to date: a row
    // never moves the cursor of another chart than the one it lists.
    if (CurrentKey() != key_) {
        Refresh();
        return;
    }
    UpdateVelocity();
    const int r = table_->currentRow();
    if (r < 0 || r >= static_cast<int>(table_data_.Rows.size()) || table_->selectedItems().isEmpty())
        return;
    emit eventChosen(table_data_.Rows[static_cast<std::size_t>(r)].Sample);
}

void EventPanel::UpdateVelocity()
{
    const auto& events = table_data_.Events;
    int e = EndEventIndex(events);
    // The row chosen: the current one when selected (the focus alone makes
    // a row current without choosing it).
    const int r = table_->selectedItems().isEmpty() ? -1 : table_->currentRow();
    if (r >= 0 && r < static_cast<int>(table_data_.Rows.size()) &&
        table_data_.Rows[static_cast<std::size_t>(r)].Event >= 0)
        e = table_data_.Rows[static_cast<std::size_t>(r)].Event;
    std::string text = length_->text().trimmed().toStdString();
    std::replace(text.begin(), text.end(), '.', ',');
    const std::optional<long double> length = ParseDecimal(text);
    if (!length || e < 0 || charts_ == nullptr || key_.Active < 1 || key_.Active > charts_->Count) {
        velocity_->clear();
        return;
    }
    // A factor outside 0,1..1 is no cable's: the event is not that far.
    const std::optional<long double> velocity =
        VelocityForLength(charts_->Rec(key_.Active), events[static_cast<std::size_t>(e)].Sample, *length);
    velocity_->setText(
        velocity ? tr("Velocity factor %1 (event %2)").arg(Text(FormatFixed(*velocity, 3))).arg(e + 1)
                 : tr("Event %1 cannot be %2 m from the cable start.")
                       .arg(e + 1)
                       .arg(Text(FormatGeneral(*length))));
}

bool EventPanel::HasKeyFocus() const
{
    const QWidget* focus = QApplication::focusWidget();
    return focus != nullptr && isVisible() && isAncestorOf(focus);
}

std::vector<EventMark> EventPanel::Marks() const
{
    if (!isVisible() || charts_ == nullptr)
        return {};
    return EventMarksOf(*charts_, key_.Active, table_data_.Events);
}

void EventPanel::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    Refresh(true);
}

void EventPanel::hideEvent(QHideEvent* event)
{
    QWidget::hideEvent(event);
    emit marksChanged();
}

void ConnectEventPanel(EventPanel& panel, PlotWidget& plot, const TMereni& charts, ChartNotifier& notifier,
                       ZoomCommands& zoom, QAction* toggle)
{
    panel.SetCharts(&charts);
    auto refresh = [&panel] { panel.Refresh(); };
    for (auto signal :
         {&ChartNotifier::activeChanged, &ChartNotifier::chartsAdded, &ChartNotifier::chartsRemoved})
        QObject::connect(&notifier, signal, &panel, refresh);
    QObject::connect(&notifier, &ChartNotifier::referenceChanged, &panel, refresh);
    QObject::connect(&notifier, &ChartNotifier::chartsChanged, &panel, [&panel] { panel.Refresh(true); });
    QObject::connect(&panel, &EventPanel::marksChanged, &plot,
                     [&panel, &plot] { plot.SetEventMarks(panel.Marks()); });
    QObject::connect(&panel, &EventPanel::eventChosen, &zoom, &ZoomCommands::JumpActiveCursor);
    if (toggle != nullptr) {
        panel.setVisible(toggle->isChecked());
        QObject::connect(toggle, &QAction::toggled, &panel, [&panel](bool on) {
            panel.setVisible(on);
            if (on)
                panel.Table()->setFocus(Qt::ShortcutFocusReason);
        });
    }
}

} // namespace lumidrax
