#include "ChartListPanel.h"

#include "ChartListDelegate.h"

#include <QHeaderView>
#include <QListWidget>
#include <QScrollBar>
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
}

void ChartListPanel::SetCollection(TMereni* charts)
{
    charts_ = charts;
    delegate_->SetCollection(charts);
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
    for (int row = 0; row < list_->count(); ++row) {
        const QListWidgetItem* item = list_->item(row);
        if (item->isSelected())
            out.push_back(item->text().toInt());
    }
    return out;
}

int ChartListPanel::CurrentChart() const
{
    const QListWidgetItem* item = list_->currentItem();
    return item ? item->text().toInt() : 0;
}

int ChartListPanel::ItemCount() const
{
    return list_->count();
}

void ChartListPanel::SelectCharts(const std::vector<int>& charts, int current)
{
    filling_ = true;
    list_->clearSelection();
    for (int row = 0; row < list_->count(); ++row) {
        QListWidgetItem* item = list_->item(row);
        const int chart = item->text().toInt();
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
        if (std::find(content.Selected.begin(), content.Selected.end(), chart) != content.Selected.end())
            item->setSelected(true);
        if (chart == active)
            list_->setCurrentItem(item, QItemSelectionModel::NoUpdate);
    }
    filling_ = false;
    if (charts_->RefIndex > 0)
        emit refInfoNeeded(true);
    charts_->ActiveIndex = active;
    emit activeInfoNeeded();
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
    UpdateCommandStates();
    emit refInfoNeeded(false);
    emit activeInfoNeeded();
    RepaintList();
    emit viewChanged();
}

void ChartListPanel::AfterChartsAdded()
{
    if (!charts_)
        return;
    ReferenceLastAddedChart(*charts_);
    RefillChartList();
    emit refInfoNeeded(true);
    emit zoomControlsNeeded();
    ActiveFollowsReference(*charts_);
    UpdateCommandStates();
    emit viewChanged();
    list_->setFocus();
}

void ChartListPanel::RefreshChartView()
{
    if (!charts_)
        return;
    const bool empty = RefreshChartState(*charts_);
    RefillChartList();
    UpdateCommandStates();
    emit zoomControlsNeeded();
    emit refInfoNeeded(true);
    if (empty)
        emit chartsEmptied();
    emit viewChanged();
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
    if (!charts_)
        return;
    ShowSelectedCharts(*charts_, SelectedCharts());
    AfterVisibilityChange();
}

void ChartListPanel::HideSelected()
{
    if (!charts_)
        return;
    HideSelectedCharts(*charts_, SelectedCharts());
    AfterVisibilityChange();
}

void ChartListPanel::ToggleSelected()
{
    if (!charts_)
        return;
    ToggleSelectedCharts(*charts_, SelectedCharts());
    AfterVisibilityChange();
}

void ChartListPanel::AfterVisibilityChange()
{
    emit activeInfoNeeded();
    emit refInfoNeeded(false);
    emit zoomControlsNeeded();
    // Mode 1 lists only drawn charts: the rows change.
    if (mode_ == kListModeDisplayed)
        RefillChartList();
    RepaintList();
    emit curvesChanged();
    emit viewChanged();
    UpdateCommandStates();
}

void ChartListPanel::RepaintList()
{
    list_->viewport()->update();
}

} // namespace lumidrax
