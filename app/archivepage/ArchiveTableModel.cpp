#include "ArchiveTableModel.h"

#include "ChartArchive.h"
#include "NumberText.h"

#include <QFont>

#include <cstdlib>

namespace lumidrax {

namespace {

// Pages kept in memory; the one farthest from the row asked for goes first.
constexpr std::size_t kKeptPages = 8;
constexpr int kEndDecimals = 2;

} // namespace

ArchiveTableModel::ArchiveTableModel(QObject* parent) : QAbstractTableModel(parent)
{
}

void ArchiveTableModel::SetArchive(ChartArchive* archive)
{
    archive_ = archive;
    Reload();
}

void ArchiveTableModel::SetQuery(const ArchiveQuery& query)
{
    const ArchiveColumn sortBy = query_.SortBy;
    const bool descending = query_.Descending;
    query_ = query;
    query_.SortBy = sortBy;
    query_.Descending = descending;
    Reload();
}

void ArchiveTableModel::Reload()
{
    beginResetModel();
    pages_.clear();
    problem_.clear();
    count_ = 0;
    if (archive_) {
        if (const std::optional<int> n = archive_->Count(query_))
            count_ = *n;
        else
            problem_ = archive_->status().Message;
    }
    endResetModel();
    emit counted(count_);
}

const ArchiveEntry* ArchiveTableModel::Fetch(int row) const
{
    if (!archive_ || row < 0 || row >= count_)
        return nullptr;
    const int page = row / kPageRows;
    auto it = pages_.find(page);
    if (it == pages_.end()) {
        ArchiveQuery q = query_;
        q.Offset = page * kPageRows;
        q.Limit = kPageRows;
        std::optional<std::vector<ArchiveEntry>> rows = archive_->Search(q);
        if (!rows) {
            problem_ = archive_->status().Message;
            return nullptr;
        }
        while (pages_.size() >= kKeptPages) {
            auto far = pages_.begin();
            for (auto p = pages_.begin(); p != pages_.end(); ++p)
                if (std::abs(p->first - page) > std::abs(far->first - page))
                    far = p;
            pages_.erase(far);
        }
        it = pages_.emplace(page, std::move(*rows)).first;
    }
    const std::size_t k = static_cast<std::size_t>(row % kPageRows);
    return k < it->second.size() ? &it->second[k] : nullptr;
}

std::optional<ArchiveEntry> ArchiveTableModel::EntryAt(int row) const
{
    if (const ArchiveEntry* e = Fetch(row))
        return *e;
    return std::nullopt;
}

int ArchiveTableModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : count_;
}

int ArchiveTableModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : kColumns;
}

QString ArchiveCellText(const ArchiveEntry& e, int column)
{
    const auto s = [](const std::string& text) { return QString::fromStdString(text); };
    switch (static_cast<ArchiveColumn>(column)) {
    case ArchiveColumn::MeasuredAt:
        return s(e.MeasuredAt);
    case ArchiveColumn::Description:
        return s(e.Description);
    case ArchiveColumn::FileName:
        return s(e.FileName);
    case ArchiveColumn::Cable:
        return s(e.Tags.Cable);
    case ArchiveColumn::Site:
        return s(e.Tags.Site);
    case ArchiveColumn::Job:
        return s(e.Tags.Job);
    case ArchiveColumn::Operator:
        return s(e.Tags.Operator);
    case ArchiveColumn::Model:
        return s(e.Model);
    case ArchiveColumn::SerialNumber:
        return e.SerialNumber != 0 ? QString::number(e.SerialNumber) : QString();
    case ArchiveColumn::EndDistance:
        return e.EndFound ? s(FormatFixed(e.EndDistance, kEndDecimals) + " m " + e.EndKind).trimmed()
                          : QString();
    case ArchiveColumn::Verdict:
        return s(e.Verdict);
    case ArchiveColumn::RecordedAt:
        return s(e.RecordedAt);
    }
    if (column == ArchiveTableModel::kBaselineColumn)
        return e.IsBaseline ? QObject::tr("baseline") : QString();
    return {};
}

QVariant ArchiveTableModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid())
        return {};
    if (role != Qt::DisplayRole && role != Qt::ToolTipRole && role != Qt::FontRole)
        return {};
    const ArchiveEntry* e = Fetch(index.row());
    if (!e)
        return role == Qt::DisplayRole && index.column() == 1 ? tr("(cannot be read)") : QVariant();
    if (role == Qt::FontRole) {
        if (!e->IsBaseline)
            return {};
        QFont bold;
        bold.setBold(true);
        return bold;
    }
    if (role == Qt::ToolTipRole)
        return e->FilePath.empty() ? QVariant() : QString::fromStdString(e->FilePath);
    return ArchiveCellText(*e, index.column());
}

QVariant ArchiveTableModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return QAbstractTableModel::headerData(section, orientation, role);
    static const char* const kNames[kColumns] = {
        QT_TR_NOOP("Measured"), QT_TR_NOOP("Description"), QT_TR_NOOP("File"),     QT_TR_NOOP("Cable"),
        QT_TR_NOOP("Site"),     QT_TR_NOOP("Job"),         QT_TR_NOOP("Operator"), QT_TR_NOOP("Model"),
        QT_TR_NOOP("Serial"),   QT_TR_NOOP("End"),         QT_TR_NOOP("Verdict"),  QT_TR_NOOP("Recorded"),
        QT_TR_NOOP("Baseline")};
    return section >= 0 && section < kColumns ? tr(kNames[section]) : QVariant();
}

void ArchiveTableModel::sort(int column, Qt::SortOrder order)
{
    if (column < 0 || column >= kBaselineColumn)
        return;
    query_.SortBy = static_cast<ArchiveColumn>(column);
    query_.Descending = order == Qt::DescendingOrder;
    Reload();
}

} // namespace lumidrax
