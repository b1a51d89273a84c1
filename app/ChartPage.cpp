#include "ChartPage.h"

#include "ChartViewPanel.h"

#include <QListWidget>
#include <QSplitter>
#include <QVBoxLayout>

namespace lumidrax {

ChartPage::ChartPage(QWidget* parent) : QWidget(parent)
{
    setObjectName("ts_curves");
    splitter_ = new QSplitter(Qt::Vertical, this);
    splitter_->setObjectName("VSplitter");
    view_ = new ChartViewPanel(splitter_);
    view_->setMinimumHeight(100);
    lb_curves_ = new QListWidget(splitter_);
    lb_curves_->setObjectName("lb_curves");
    lb_curves_->setSelectionMode(QAbstractItemView::ExtendedSelection);
    lb_curves_->setStatusTip(tr("List of Opened Charts"));
    splitter_->addWidget(view_);
    splitter_->addWidget(lb_curves_);
    splitter_->setStretchFactor(0, 1);
    splitter_->setStretchFactor(1, 0);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(splitter_);
}

std::vector<int> ChartPage::SelectedCharts() const
{
    std::vector<int> charts;
    for (int row = 0; row < lb_curves_->count(); ++row) {
        const QListWidgetItem* item = lb_curves_->item(row);
        if (item->isSelected())
            charts.push_back(item->text().toInt());
    }
    return charts;
}

int ChartPage::CurrentChart() const
{
    const QListWidgetItem* item = lb_curves_->currentItem();
    return item ? item->text().toInt() : 0;
}

} // namespace lumidrax
