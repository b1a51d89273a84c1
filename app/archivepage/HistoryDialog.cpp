#include "HistoryDialog.h"

#include "HistoryPlot.h"
#include "NumberText.h"

#include <QDateTime>
#include <QDialogButtonBox>
#include <QHeaderView>
#include <QLabel>
#include <QTableWidget>
#include <QVBoxLayout>

namespace lumidrax {

HistoryDialog::HistoryDialog(const std::string& cable, const std::vector<ArchiveEntry>& entries,
                             QWidget* parent)
    : QDialog(parent)
{
    setWindowTitle(tr("History of %1").arg(QString::fromStdString(cable)));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(tr("%1 %2 of cable %3, oldest first.")
                                     .arg(entries.size())
                                     .arg(entries.size() == 1 ? tr("chart") : tr("charts"))
                                     .arg(QString::fromStdString(cable)),
                                 this));
    table_ = new QTableWidget(static_cast<int>(entries.size()), 5, this);
    table_->setObjectName("tw_history");
    table_->setHorizontalHeaderLabels(
        {tr("Measured"), tr("End distance"), tr("DC resistance"), tr("DC voltage"), tr("Description")});
    table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table_->setSelectionBehavior(QAbstractItemView::SelectRows);
    table_->verticalHeader()->hide();
    table_->horizontalHeader()->setStretchLastSection(true);
    std::vector<HistoryPoint> points;
    for (int row = 0; row < static_cast<int>(entries.size()); ++row) {
        const ArchiveEntry& e = entries[static_cast<std::size_t>(row)];
        const QString end =
            e.EndFound ? QString::fromStdString(FormatFixed(e.EndDistance, 2) + " m") : tr("none");
        const QStringList cells = {
            QString::fromStdString(e.MeasuredAt), end, QString::fromStdString(e.DCResistanceText),
            QString::fromStdString(e.DCVoltageText), QString::fromStdString(e.Description)};
        for (int col = 0; col < cells.size(); ++col)
            table_->setItem(row, col, new QTableWidgetItem(cells[col]));
        const QDateTime when =
            QDateTime::fromString(QString::fromStdString(e.MeasuredSort), "yyyy-MM-dd hh:mm:ss");
        if (e.EndFound && when.isValid())
            points.push_back(
                {static_cast<double>(when.toSecsSinceEpoch()), static_cast<double>(e.EndDistance)});
    }
    table_->resizeColumnsToContents();
    layout->addWidget(table_, 1);
    plot_ = new HistoryPlot(std::move(points), this);
    layout->addWidget(plot_);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);
    resize(640, 480);
}

} // namespace lumidrax
