#include "ChartPage.h"

#include "ChartListLogic.h"
#include "ChartListPanel.h"
#include "ChartViewPanel.h"
#include "CursorReadoutPanels.h"
#include "EventPanel.h"
#include "PanelPalette.h"
#include "PrintInfoStrip.h"

#include <QListWidget>
#include <QSplitter>
#include <QVBoxLayout>

namespace lumidrax {

ChartPage::ChartPage(QWidget* parent) : QWidget(parent)
{
    setObjectName("ts_curves");
    splitter_ = new QSplitter(Qt::Vertical, this);
    splitter_->setObjectName("VSplitter");
    splitter_->setChildrenCollapsible(false);
    auto* plotRow = new QSplitter(Qt::Horizontal, splitter_);
    plotRow->setObjectName("EventSplitter");
    plotRow->setChildrenCollapsible(false);
    view_ = new ChartViewPanel(plotRow);
    events_ = new EventPanel(plotRow);
    events_->hide();
    plotRow->addWidget(view_);
    plotRow->addWidget(events_);
    plotRow->setStretchFactor(0, 1);
    plotRow->setStretchFactor(1, 0);
    list_ = new ChartListPanel(splitter_);
    list_->setObjectName("p_curves");
    list_->setMinimumHeight(kMinListHeight);
    list_->List()->setStatusTip(tr("List of Opened Charts"));
    splitter_->addWidget(plotRow);
    splitter_->addWidget(list_);
    splitter_->setStretchFactor(0, 1);
    splitter_->setStretchFactor(1, 0);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    readouts_ = new CursorReadoutPanels(this);
    layout->addWidget(readouts_);
    printInfo_ = new PrintInfoStrip(this);
    layout->addWidget(printInfo_);
    layout->addWidget(splitter_);
}

QListWidget* ChartPage::ChartList() const
{
    return list_->List();
}

std::vector<int> ChartPage::SelectedCharts() const
{
    return list_->SelectedCharts();
}

int ChartPage::CurrentChart() const
{
    return list_->CurrentChart();
}

void ChartPage::SetListHeight(int height)
{
    const bool hidden = height <= 0;
    list_->setVisible(!hidden);
    splitter_->handle(1)->setVisible(!hidden);
    if (hidden)
        return;
    const int total = splitter_->height() > 0 ? splitter_->height() : height + 300;
    // The splitter keeps the plot's own minimum; the list height commands
    // stop growing the list while the plot is under 101 pixels high.
    splitter_->setSizes({std::max(0, total - height), height});
}

void ChartPage::ApplyScheme(bool dark)
{
    setPalette(PanelPalette(dark));
    setAutoFillBackground(dark);
    readouts_->SetDark(dark);
}

int ChartPage::ListHeight() const
{
    return list_->isVisible() ? list_->height() : 0;
}

} // namespace lumidrax
