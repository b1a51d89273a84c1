#pragma once
// The SQL of the archive's entries that both engines share: the columns of
// an entry, the insert of one, and the WHERE, ORDER BY and page clauses of a
// search. Values are always bound, never put into the text.

#include "ArchiveLocation.h"
#include "ArchiveQuery.h"
#include "ArchiveRecord.h"

#include <QString>
#include <QVariant>

#include <vector>

class QSqlQuery;

namespace lumidrax {

// The select list of an entry (charts c, baselines b joined on it), in the
// order EntryFromRow reads it, and the FROM clause that goes with it.
QString EntryColumns();
QString EntryFrom();

// The entry of the current row of a query that selected EntryColumns().
ArchiveEntry EntryFromRow(const QSqlQuery& query);

// INSERT of a new entry with its values, ON CONFLICT (hash) DO NOTHING,
// RETURNING id; and the values in the statement's order.
QString InsertChartSql();
std::vector<QVariant> InsertChartValues(const std::string& hash, const ArchiveEntry& entry);

struct SqlFilter {
    QString Where; // " WHERE ..." or empty
    std::vector<QVariant> Values;
};

// The filter of a search: every word in the search text (LIKE on the
// lower-cased words, with %, _ and \ taken literally; on SQLite the words of
// three characters and more are first looked up in the word index), the
// dates, serial number, model and cable.
SqlFilter SearchFilter(const ArchiveQuery& q, ArchiveEngine engine);
// " ORDER BY ..." of a search, ties in the order of the entries' ids.
QString SearchOrder(const ArchiveQuery& q);
// " LIMIT n OFFSET m" (or less) of a page; Limit 0 = all.
QString PageClause(int offset, int limit, ArchiveEngine engine);

} // namespace lumidrax
