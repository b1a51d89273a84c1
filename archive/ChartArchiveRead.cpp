// The archive's searches and the changes a user makes to entries: tags,
// baselines, verdicts; and the chart given back from an entry.

#include "ChartArchive.h"

#include "ArchiveContent.h"
#include "ArchiveFields.h"
#include "ArchiveSql.h"

#include "FileIO.h"

#include <QSqlError>
#include <QSqlQuery>
#include <QStringList>

namespace lumidrax {

namespace {

const char* const kReading = "cannot be read";
const char* const kWriting = "cannot be written";

QString Q(const std::string& text)
{
    return QString::fromStdString(text);
}

} // namespace

std::optional<std::vector<ArchiveEntry>> ChartArchive::Entries(const QString& where, const QString& order,
                                                               const std::vector<QVariant>& values,
                                                               int offset, int limit)
{
    if (!Ready())
        return std::nullopt;
    QSqlQuery q(db_);
    q.setForwardOnly(true);
    if (!Run(q,
             "SELECT " + EntryColumns() + EntryFrom() + where + order +
                 PageClause(offset, limit, where_.Engine),
             values, kReading))
        return std::nullopt;
    std::vector<ArchiveEntry> out;
    while (q.next())
        out.push_back(EntryFromRow(q));
    Succeed();
    return out;
}

std::optional<std::vector<ArchiveEntry>> ChartArchive::Search(const ArchiveQuery& query)
{
    const SqlFilter f = SearchFilter(query, where_.Engine);
    return Entries(f.Where, SearchOrder(query), f.Values, query.Offset, query.Limit);
}

std::optional<int> ChartArchive::Count(const ArchiveQuery& query)
{
    if (!Ready())
        return std::nullopt;
    QSqlQuery q(db_);
    // A search by words alone counts the word index's rows: an entry is one
    // row there, and a phrase of three characters or more matches exactly
    // where LIKE does.
    if (const auto match = CountFromWordIndex(query, where_.Engine)) {
        q.prepare("SELECT count(*) FROM chart_words WHERE chart_words MATCH ?");
        q.addBindValue(*match);
    } else {
        const SqlFilter f = SearchFilter(query, where_.Engine);
        q.prepare("SELECT count(*) FROM charts c" + f.Where);
        for (const QVariant& v : f.Values)
            q.addBindValue(v);
    }
    if (!q.exec() || !q.next())
        return FailQuery(q, kReading), std::nullopt;
    Succeed();
    return q.value(0).toInt();
}

std::optional<ArchiveEntry> ChartArchive::Entry(ArchiveId id)
{
    auto found = Entries(" WHERE c.id = ?", {}, {QVariant::fromValue<qlonglong>(id)}, 0, 0);
    if (!found)
        return std::nullopt;
    if (found->empty()) {
        Fail("The archive " + DescribeLocation(where_) + " has no entry " + std::to_string(id) + ".");
        return std::nullopt;
    }
    return found->front();
}

std::optional<ArchiveEntry> ChartArchive::EntryByHash(const std::string& hash)
{
    auto found = Entries(" WHERE c.hash = ?", {}, {Q(hash)}, 0, 0);
    if (!found || found->empty())
        return std::nullopt;
    return found->front();
}

std::optional<TJednoMereni> ChartArchive::Chart(ArchiveId id)
{
    const auto entry = Entry(id);
    if (!entry)
        return std::nullopt;
    QSqlQuery q(db_);
    if (!Run(q, "SELECT content, extra FROM chart_content WHERE chart_id = ?",
             {QVariant::fromValue<qlonglong>(id)}, kReading))
        return std::nullopt;
    const std::string named = "The archive " + DescribeLocation(where_);
    if (!q.next())
        return Fail(named + " holds no content for entry " + std::to_string(id) + "."), std::nullopt;
    const auto text = UnpackContent(q.value(0).toByteArray());
    if (!text)
        return Fail(named + ": the content of entry " + std::to_string(id) + " is damaged."), std::nullopt;
    std::string error;
    auto chart = DecodeArchiveChart(*text, q.value(1).toString().toStdString(), error);
    if (!chart)
        return Fail(named + ": the content of entry " + std::to_string(id) + " cannot be read (" + error +
                    ")."),
               std::nullopt;
    // The recorded file, when it still holds this chart, is where the chart
    // stays saved; otherwise a save writes it there anew.
    const std::string path = entry->FilePath;
    std::string bytes;
    const bool same = !path.empty() && ReadFileBytes(path, kMaxChartFileBytes, bytes).Ok() &&
                      ContentHash(bytes) == entry->Hash;
    chart->FileName = same ? path : std::string();
    chart->Saved = same;
    if (!path.empty())
        chart->AutoFileName = path;
    chart->DisplayName = !path.empty() ? path : chart->AutoFileName;
    chart->IsNew = true;
    Succeed();
    return chart;
}

std::optional<std::vector<std::pair<std::string, std::string>>> ChartArchive::Places(ArchiveId id)
{
    if (!Ready())
        return std::nullopt;
    QSqlQuery q(db_);
    if (!Run(q, "SELECT origin, detail FROM places WHERE chart_id = ? ORDER BY recorded_at, origin, detail",
             {QVariant::fromValue<qlonglong>(id)}, kReading))
        return std::nullopt;
    std::vector<std::pair<std::string, std::string>> out;
    while (q.next())
        out.emplace_back(q.value(0).toString().toStdString(), q.value(1).toString().toStdString());
    Succeed();
    return out;
}

bool ChartArchive::SetTags(const std::vector<ArchiveId>& ids, const ArchiveTags& tags)
{
    if (!Begin())
        return false;
    QSqlQuery q(db_), text(db_), baseline(db_);
    // The search text follows the tags; an entry that leaves its cable stops
    // being that cable's baseline.
    const bool ok =
        q.prepare("UPDATE charts SET cable = CASE WHEN ? <> '' THEN ? ELSE cable END,"
                  " site = CASE WHEN ? <> '' THEN ? ELSE site END,"
                  " job = CASE WHEN ? <> '' THEN ? ELSE job END,"
                  " operator_name = CASE WHEN ? <> '' THEN ? ELSE operator_name END WHERE id = ?") &&
        text.prepare("SELECT description, file_name, cable, site, job FROM charts WHERE id = ?") &&
        baseline.prepare("DELETE FROM baselines WHERE chart_id = ? AND cable <> ?");
    if (!ok) {
        FailQuery(q.lastError().isValid() ? q : text.lastError().isValid() ? text : baseline, kWriting);
        Rollback();
        return false;
    }
    QSqlQuery search(db_);
    search.prepare("UPDATE charts SET search_text = ? WHERE id = ?");
    for (const ArchiveId id : ids) {
        const QVariant key = QVariant::fromValue<qlonglong>(id);
        for (const std::string* field : {&tags.Cable, &tags.Site, &tags.Job, &tags.Operator}) {
            q.addBindValue(Q(*field));
            q.addBindValue(Q(*field));
        }
        q.addBindValue(key);
        text.addBindValue(key);
        if (!q.exec() || !text.exec()) {
            FailQuery(q.lastError().isValid() ? q : text, kWriting);
            Rollback();
            return false;
        }
        if (!text.next())
            continue;
        ArchiveEntry e;
        e.Description = text.value(0).toString().toStdString();
        e.FileName = text.value(1).toString().toStdString();
        e.Tags = {text.value(2).toString().toStdString(),
                  text.value(3).toString().toStdString(),
                  text.value(4).toString().toStdString(),
                  {}};
        text.finish();
        search.addBindValue(Q(SearchTextOf(e)));
        search.addBindValue(key);
        baseline.addBindValue(key);
        baseline.addBindValue(Q(e.Tags.Cable));
        if (!search.exec() || !baseline.exec()) {
            FailQuery(search.lastError().isValid() ? search : baseline, kWriting);
            Rollback();
            return false;
        }
    }
    if (!Commit(kWriting))
        return false;
    return Succeed();
}

bool ChartArchive::SetBaseline(ArchiveId id)
{
    const auto entry = Entry(id);
    if (!entry)
        return false;
    if (entry->Tags.Cable.empty())
        return Fail("Entry " + std::to_string(id) +
                    " names no cable: only a chart of a cable can be its baseline.");
    QSqlQuery q(db_);
    if (!Run(q,
             "INSERT INTO baselines (cable, chart_id) VALUES (?, ?)"
             " ON CONFLICT (cable) DO UPDATE SET chart_id = excluded.chart_id",
             {Q(entry->Tags.Cable), QVariant::fromValue<qlonglong>(id)}, kWriting))
        return false;
    return Succeed();
}

std::optional<ArchiveId> ChartArchive::Baseline(const std::string& cable)
{
    if (!Ready())
        return std::nullopt;
    QSqlQuery q(db_);
    if (!Run(q,
             "SELECT b.chart_id FROM baselines b JOIN charts c ON c.id = b.chart_id AND c.cable = b.cable"
             " WHERE b.cable = ?",
             {Q(cable)}, kReading))
        return std::nullopt;
    if (!q.next())
        return Fail("The cable " + cable + " has no baseline."), std::nullopt;
    Succeed();
    return q.value(0).toLongLong();
}

std::optional<std::vector<ArchiveEntry>> ChartArchive::History(const std::string& cable)
{
    // Charts without a date of their own take their place by the time they
    // were recorded.
    return Entries(" WHERE c.cable = ?",
                   " ORDER BY CASE WHEN c.measured_sort = '' THEN c.recorded_at ELSE c.measured_sort END,"
                   " c.id",
                   {Q(cable)}, 0, 0);
}

std::optional<std::vector<std::string>> ChartArchive::Cables()
{
    if (!Ready())
        return std::nullopt;
    QSqlQuery q(db_);
    if (!q.exec("SELECT DISTINCT cable FROM charts WHERE cable <> '' ORDER BY cable"))
        return FailQuery(q, kReading), std::nullopt;
    std::vector<std::string> out;
    while (q.next())
        out.push_back(q.value(0).toString().toStdString());
    Succeed();
    return out;
}

bool ChartArchive::SetVerdict(ArchiveId id, const std::string& verdict)
{
    if (!Ready())
        return false;
    if (verdict != "" && verdict != "PASS" && verdict != "FAIL" && verdict != "INCOMPLETE")
        return Fail("The verdict " + verdict + " is none of PASS, FAIL and INCOMPLETE.");
    QSqlQuery q(db_);
    if (!Run(q, "UPDATE charts SET verdict = ? WHERE id = ?",
             {Q(verdict), QVariant::fromValue<qlonglong>(id)}, kWriting))
        return false;
    if (q.numRowsAffected() == 0)
        return Fail("The archive " + DescribeLocation(where_) + " has no entry " + std::to_string(id) + ".");
    return Succeed();
}

std::vector<std::string> ChartArchive::Check()
{
    std::vector<std::string> problems;
    if (!Ready()) {
        problems.push_back(status_.Message);
        return problems;
    }
    QSqlQuery q(db_);
    q.setForwardOnly(true);
    if (where_.Engine == ArchiveEngine::SQLite) {
        if (!q.exec("PRAGMA integrity_check")) {
            FailQuery(q, kReading);
            return {status_.Message};
        }
        while (q.next())
            if (const QString line = q.value(0).toString(); line != "ok")
                problems.push_back("integrity check: " + line.toStdString());
    }
    // Both engines: what the keys cannot say.
    const std::vector<std::pair<QString, std::string>> consistency = {
        {"SELECT c.id FROM charts c LEFT JOIN chart_content t ON t.chart_id = c.id WHERE t.chart_id IS NULL",
         "has no content"},
        {"SELECT t.chart_id FROM chart_content t LEFT JOIN charts c ON c.id = t.chart_id WHERE c.id IS NULL",
         "has content but no entry"},
        {"SELECT b.chart_id FROM baselines b LEFT JOIN charts c ON c.id = b.chart_id WHERE c.id IS NULL",
         "is a baseline but has no entry"},
    };
    for (const auto& [sql, what] : consistency) {
        if (!q.exec(sql)) {
            FailQuery(q, kReading);
            problems.push_back(status_.Message);
            return problems;
        }
        while (q.next())
            problems.push_back("entry " + q.value(0).toString().toStdString() + " " + what);
    }
    if (!q.exec(
            "SELECT c.id, c.hash, t.content, t.extra FROM charts c JOIN chart_content t ON t.chart_id = c.id"
            " ORDER BY c.id")) {
        FailQuery(q, kReading);
        problems.push_back(status_.Message);
        return problems;
    }
    while (q.next()) {
        const std::string id = q.value(0).toString().toStdString();
        const auto text = UnpackContent(q.value(2).toByteArray());
        if (!text) {
            problems.push_back("entry " + id + ": its content is damaged");
            continue;
        }
        if (ContentHash(*text) != q.value(1).toString().toStdString())
            problems.push_back("entry " + id + ": its content does not match its hash");
        std::string error;
        if (!DecodeArchiveChart(*text, q.value(3).toString().toStdString(), error))
            problems.push_back("entry " + id + ": its content cannot be read as a chart (" + error + ")");
    }
    if (q.lastError().isValid()) {
        FailQuery(q, kReading);
        problems.push_back(status_.Message);
        return problems;
    }
    Succeed();
    return problems;
}

} // namespace lumidrax
