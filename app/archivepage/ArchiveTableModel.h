#pragma once
// The Archive page's table: the entries a query finds, fetched a page at a
// time (Count once, then Search for the pages the view shows), never the
// whole archive. A handful of pages is kept; the rest is fetched again when
// scrolled back to.

#include "ArchiveQuery.h"
#include "ArchiveRecord.h"

#include <QAbstractTableModel>

#include <map>
#include <optional>
#include <vector>

namespace lumidrax {

class ChartArchive;

class ArchiveTableModel : public QAbstractTableModel {
    Q_OBJECT
  public:
    // One column per ArchiveColumn, in its order, then the baseline mark.
    static constexpr int kBaselineColumn = 12;
    static constexpr int kColumns = 13;
    static constexpr int kPageRows = 200;

    explicit ArchiveTableModel(QObject* parent = nullptr);

    // The archive the rows come from (not owned; nullptr: no rows).
    void SetArchive(ChartArchive* archive);
    // A new filter: the rows are counted and fetched anew. Sort and paging
    // are the model's own.
    void SetQuery(const ArchiveQuery& query);
    const ArchiveQuery& Query() const { return query_; }
    // The same query again (entries were added or changed).
    void Reload();
    // Why the last fetch failed, empty after a success.
    const std::string& Problem() const { return problem_; }

    // The entry of a row (fetched when needed), nothing when it cannot be.
    std::optional<ArchiveEntry> EntryAt(int row) const;

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    void sort(int column, Qt::SortOrder order = Qt::AscendingOrder) override;

  signals:
    // The rows were counted anew (count: how many the query finds).
    void counted(int count);

  private:
    const ArchiveEntry* Fetch(int row) const;

    ChartArchive* archive_ = nullptr;
    ArchiveQuery query_;
    int count_ = 0;
    mutable std::map<int, std::vector<ArchiveEntry>> pages_;
    mutable std::string problem_;
};

// The text of an entry's column as the table shows it (decimal comma).
QString ArchiveCellText(const ArchiveEntry& e, int column);

} // namespace lumidrax
