#include "ValuesWindow.h"

#include "ChartListLogic.h"

#include <QHeaderView>
#include <QTableWidget>
#include <QVBoxLayout>

namespace lumidrax {

ValuesWindow::ValuesWindow(const TJednoMereni& chart, QWidget* parent) : QDialog(parent)
{
    setObjectName("Frm_values");
    setWindowTitle("Values");
    const std::vector<ValueRow> rows = ChartValueRows(chart);
    grid_ = new QTableWidget(static_cast<int>(rows.size()), 2, this);
    grid_->setObjectName("sg_values");
    grid_->horizontalHeader()->hide();
    grid_->verticalHeader()->hide();
    grid_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    for (int c = 0; c < 2; ++c)
        grid_->setColumnWidth(c, 200);
    for (int r = 0; r < static_cast<int>(rows.size()); ++r) {
        const ValueRow& row = rows[static_cast<std::size_t>(r)];
        grid_->setItem(r, 0, new QTableWidgetItem(QString::fromStdString(row.Label)));
        grid_->setItem(r, 1, new QTableWidgetItem(QString::fromStdString(row.Value)));
    }
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(grid_);
    resize(404 + grid_->frameWidth() * 2, 24 * grid_->rowHeight(0) / 2);
}

void ValuesWindow::ShowValues(QWidget* parent, const TJednoMereni& chart)
{
    ValuesWindow w(chart, parent);
    w.exec();
}

} // namespace lumidrax
