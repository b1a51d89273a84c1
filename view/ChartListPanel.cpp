#include "ChartListPanel.h"

#include "ChartListDelegate.h"

#include <QHeaderView>
#include <QListWidget>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QStandardItemModel>
#include <QVBoxLayout>

#include <algorithm>

namespace lumidrax {

namespace {
constexpr int kNumberColumnWidth = 80;
constexpr int kMinColumnWidth = 70;
} // namespace

ChartListPanel::ChartListPanel(QWidget* parent) : QWidget(parent)
{
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);

    headerModel_ = new QStandardItemModel(0, 3, this);
    headerModel_->setHorizontalHeaderLabels({"No", "File", "Description"});
    header_ = new QHeaderView(Qt::Horizontal, this);
    header_->setObjectName("lb_curves_header");
    header_->setModel(headerModel_);
    header_->setMinimumSectionSize(kMinColumnWidth);
    header_->setSectionResizeMode(0, QHeaderView::Fixed);
    header_->setSectionResizeMode(1, QHeaderView::Interactive);
    header_->setSectionResizeMode(2, QHeaderView::Interactive);
    header_->setStretchLastSection(false);
    header_->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    header_->resizeSection(0, kNumberColumnWidth);
    header_->resizeSection(1, kMinColumnWidth);
    header_->resizeSection(2, kMinColumnWidth);
    // The header's minimum size follows the minimum section width (70) in
    // both directions; it needs only the height of its captions.
    header_->setFixedHeight(header_->sizeHint().height());
    layout->addWidget(header_);

    list_ = new QListWidget(this);
    list_->setObjectName("lb_curves");
    list_->setToolTip("List of Opened Charts");
    list_->setSelectionMode(QAbstractItemView::ExtendedSelection);
    list_->setUniformItemSizes(true);
    list_->setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    list_->setFrameShape(QFrame::NoFrame);
    delegate_ = new ChartListDelegate(list_);
    list_->setItemDelegate(delegate_);
    layout->addWidget(list_, 1);

    connect(header_, &QHeaderView::sectionResized, this, [this] { SectionResized(); });
    connect(list_->horizontalScrollBar(), &QScrollBar::valueChanged, header_, &QHeaderView::setOffset);
    connect(list_, &QListWidget::itemSelectionChanged, this, [this] { SelectionChanged(); });
    connect(list_, &QListWidget::currentRowChanged, this, [this] { SelectionChanged(); });

    SetColours(ChartListColours::ForScheme(false));
    SectionResized();
    SetNotifier(new ChartNotifier(this));
}

void ChartListPanel::SetCollection(TMereni* charts)
{
    charts_ = charts;
    delegate_->SetCollection(charts);
}

void ChartListPanel::SetNotifier(ChartNotifier* notifier)
{
    if (notifier_)
        notifier_->disconnect(this);
    notifier_ = notifier;
    connect(notifier_, &ChartNotifier::chartsAdded, this, &ChartListPanel::AfterChartsAdded);
    connect(notifier_, &ChartNotifier::chartsRemoved, this, &ChartListPanel::RefreshChartView);
    connect(notifier_, &ChartNotifier::chartsChanged, this, &ChartListPanel::ChartsChanged);
    connect(notifier_, &ChartNotifier::referenceChanged, this, [this](bool selectInList) {
        if (selectInList && charts_ && charts_->RefIndex > 0)
            SelectOnly(charts_->RefIndex);
    });
    // The command states come last: they see what the other subscribers
    // made of the change.
    for (auto signal :
         {&ChartNotifier::chartsAdded, &ChartNotifier::chartsRemoved, &ChartNotifier::activeChanged,
          &ChartNotifier::viewChanged, &ChartNotifier::selectionChanged})
        connect(notifier_, signal, this, &ChartListPanel::UpdateCommandStates);
    connect(notifier_, &ChartNotifier::chartsChanged, this, &ChartListPanel::UpdateCommandStates);
    connect(notifier_, &ChartNotifier::referenceChanged, this, &ChartListPanel::UpdateCommandStates);
}

void ChartListPanel::SetListMode(int mode)
{
    mode_ = std::clamp(mode, kListModeAll, kListModeHidden);
    list_->setVisible(mode_ != kListModeHidden);
    header_->setVisible(mode_ != kListModeHidden);
    RefillChartList();
}

void ChartListPanel::SetColours(const ChartListColours& colours)
{
    delegate_->SetColours(colours);
    QPalette pal = list_->palette();
    pal.setColor(QPalette::Base, colours.Background);
    pal.setColor(QPalette::Window, colours.Background);
    pal.setColor(QPalette::Text, colours.Text);
    list_->setPalette(pal);
    list_->setAutoFillBackground(true);
    RepaintList();
}

void ChartListPanel::SetColumnWidths(int nameWidth, int descWidth)
{
    header_->resizeSection(1, std::max(nameWidth, kMinColumnWidth));
    header_->resizeSection(2, std::max(descWidth, kMinColumnWidth));
    SectionResized();
}

int ChartListPanel::NameWidth() const
{
    return header_->sectionSize(1);
}

int ChartListPanel::DescWidth() const
{
    return header_->sectionSize(2);
}

void ChartListPanel::SectionResized()
{
    ChartListColumns columns;
    columns.NameWidth = header_->sectionSize(1);
    columns.DescWidth = header_->sectionSize(2);
    delegate_->SetColumns(columns);
    // The rows are as wide as the three columns, which gives the list its
    // horizontal scroll extent.
    list_->doItemsLayout();
    RepaintList();
    emit columnsResized();
}

std::vector<int> ChartListPanel::SelectedCharts() const
{
    std::vector<int> out;
    for (int row = 0; row < list_->count(); ++row)
        if (list_->item(row)->isSelected())
            out.push_back(ChartAt(row));
    return out;
}

int ChartListPanel::CurrentChart() const
{
    return ChartAt(list_->currentRow());
}

int ChartListPanel::ItemCount() const
{
    return list_->count();
}

int ChartListPanel::ChartAt(int row) const
{
    const QListWidgetItem* item = row >= 0 ? list_->item(row) : nullptr;
    return item ? item->data(Qt::UserRole).toInt() : 0;
}

int ChartListPanel::RowOf(int chart) const
{
    // Every chart is listed in number order unless only the drawn ones are.
    if (ChartAt(chart - 1) == chart)
        return chart - 1;
    for (int row = 0; row < list_->count(); ++row)
        if (ChartAt(row) == chart)
            return row;
    return -1;
}

void ChartListPanel::SetCurrentRowQuietly(int row, QItemSelectionModel::SelectionFlags flags)
{
    {
        const QSignalBlocker block(list_);
        if (flags & QItemSelectionModel::Clear)
            list_->clearSelection();
        list_->setCurrentRow(row, flags);
    }
    RepaintList();
}

bool ChartListPanel::FollowChart(int chart)
{
    if (ChartAt(list_->currentRow()) == chart)
        return true;
    const int row = RowOf(chart);
    if (row < 0)
        return false;
    SetCurrentRowQuietly(row, QItemSelectionModel::NoUpdate);
    return true;
}

void ChartListPanel::SelectOnly(int chart)
{
    if (list_->count() == 0)
        return;
    SetCurrentRowQuietly(std::max(RowOf(chart), 0), QItemSelectionModel::ClearAndSelect);
}

void ChartListPanel::SelectCharts(const std::vector<int>& charts, int current)
{
    filling_ = true;
    list_->clearSelection();
    for (int row = 0; row < list_->count(); ++row) {
        QListWidgetItem* item = list_->item(row);
        const int chart = ChartAt(row);
        if (chart == current)
            list_->setCurrentItem(item, QItemSelectionModel::NoUpdate);
        if (std::find(charts.begin(), charts.end(), chart) != charts.end())
            item->setSelected(true);
    }
    filling_ = false;
    SyncFromList();
}

void ChartListPanel::RefillChartList()
{
    if (!charts_)
        return;
    const int active = charts_->ActiveIndex;
    filling_ = true;
    list_->clear();
    const ChartListContent content = RefillChartItems(*charts_, mode_);
    for (int chart : content.Items) {
        auto* item = new QListWidgetItem(QString::number(chart), list_);
        item->setData(Qt::UserRole, chart);
        if (std::find(content.Selected.begin(), content.Selected.end(), chart) != content.Selected.end())
            item->setSelected(true);
        if (chart == active)
            list_->setCurrentItem(item, QItemSelectionModel::NoUpdate);
    }
    filling_ = false;
    UpdateRowTips();
    if (charts_->RefIndex > 0)
        emit notifier_->referenceChanged(true);
    charts_->ActiveIndex = active;
    emit notifier_->activeChanged();
    RepaintList();
}

void ChartListPanel::SelectionChanged()
{
    if (filling_)
        return;
    SyncFromList();
}

void ChartListPanel::SyncFromList()
{
    if (!charts_)
        return;
    SyncChartsFromList(*charts_, CurrentChart(), SelectedCharts());
    emit notifier_->selectionChanged();
    emit notifier_->referenceChanged(false);
    emit notifier_->activeChanged();
    RepaintList();
}

void ChartListPanel::AfterChartsAdded()
{
    if (!charts_)
        return;
    ReferenceLastAddedChart(*charts_);
    RefillChartList();
    // The new charts come out selected; the last of them stays in view
    // whichever row is the current one.
    const std::vector<int> added = SelectedCharts();
    emit notifier_->referenceChanged(true);
    ActiveFollowsReference(*charts_);
    emit notifier_->activeChanged();
    list_->setFocus();
    if (!added.empty())
        if (QListWidgetItem* last = list_->item(RowOf(added.back())))
            list_->scrollToItem(last);
    TellNotDrawn(added);
}

void ChartListPanel::UpdateRowTips()
{
    if (!charts_)
        return;
    for (int row = 0; row < list_->count(); ++row) {
        QListWidgetItem* item = list_->item(row);
        const QString tip = QString::fromStdString(NotDrawnReason(*charts_, {ChartAt(row)}));
        if (item->toolTip() != tip)
            item->setToolTip(tip);
    }
}

void ChartListPanel::TellNotDrawn(const std::vector<int>& which)
{
    const std::string reason = NotDrawnReason(*charts_, which);
    if (!reason.empty())
        emit notice(QString::fromStdString(reason));
}

void ChartListPanel::RefreshChartView()
{
    if (!charts_)
        return;
    RefreshChartState(*charts_);
    RefillChartList();
    emit notifier_->referenceChanged(true);
}

void ChartListPanel::ChartsChanged(ChartChanges what)
{
    // The rows are rebuilt when their charts' names changed, and in the
    // "displayed charts" mode when charts were shown or hidden.
    if (what.testFlag(ChartChange::FileNames) ||
        (what.testFlag(ChartChange::Visibility) && mode_ == kListModeDisplayed))
        RefillChartList();
    else
        RepaintList();
    if (what.testFlag(ChartChange::Visibility))
        UpdateRowTips();
}

ChartCommandStates ChartListPanel::UpdateCommandStates()
{
    static const TMereni kNone;
    const ChartCommandStates states =
        ComputeCommandStates(charts_ ? *charts_ : kNone, SelectedCharts(), ItemCount());
    emit commandStatesChanged(states);
    return states;
}

void ChartListPanel::SelectAllCharts()
{
    filling_ = true;
    list_->selectAll();
    filling_ = false;
    SyncFromList();
}

void ChartListPanel::ShowSelected()
{
    ChangeSelectedVisibility(ShowSelectedCharts, true);
}

void ChartListPanel::HideSelected()
{
    ChangeSelectedVisibility(HideSelectedCharts, false);
}

void ChartListPanel::ToggleSelected()
{
    // A toggle that had to show charts and could not says why.
    ChangeSelectedVisibility(ToggleSelectedCharts, true);
}

void ChartListPanel::ChangeSelectedVisibility(
    const std::function<void(TMereni&, const std::vector<int>&)>& change, bool tellNotDrawn)
{
    if (!charts_)
        return;
    const std::vector<int> selected = SelectedCharts();
    change(*charts_, selected);
    AfterVisibilityChange();
    if (tellNotDrawn)
        TellNotDrawn(selected);
}

void ChartListPanel::AfterVisibilityChange()
{
    emit notifier_->activeChanged();
    emit notifier_->referenceChanged(false);
    emit notifier_->chartsChanged(ChartChange::Visibility);
}

void ChartListPanel::RepaintList()
{
    list_->viewport()->update();
}

} // namespace lumidrax
