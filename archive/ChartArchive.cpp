// The archive's connection: opening, the checks before anything is
// written, the migrations, and recording charts.

#include "ChartArchive.h"

#include "ArchiveContent.h"
#include "ArchiveFields.h"
#include "ArchiveSchema.h"
#include "ArchiveSql.h"
#include "PreparedChart.h"

#include <QDir>
#include <QFileInfo>
#include <QSqlError>
#include <QSqlQuery>
#include <QStringList>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <thread>

namespace lumidrax {

PreparedChart PrepareChart(const ArchiveItem& item, const std::string& recordedAt)
{
    PreparedChart p;
    const std::string text = ArchiveContentText(item.chart);
    p.hash = ContentHash(text);
    p.content = PackContent(text);
    p.extra = ChartExtraText(item.chart);
    p.entry = EntryFromChart(item.chart, item.origin, item.detail, item.tags, recordedAt);
    return p;
}

namespace {

// Waits this long for another writer's lock before a write fails.
constexpr int kBusyTimeoutMs = 5000;
// Serialises the migrations of clients that open one server at once.
constexpr qint64 kMigrationLockKey = 0x4C756D6964726178; // "Lumidrax"

// A transaction the server broke off is tried this often.
constexpr int kWriteAttempts = 3;

QString NewConnectionName()
{
    static std::atomic<int> counter{0};
    return QString("lumidrax-archive-%1").arg(++counter);
}

std::string ErrorText(const QSqlError& error)
{
    QString text = error.databaseText().trimmed();
    if (text.isEmpty())
        text = error.driverText().trimmed();
    if (text.isEmpty())
        text = "unknown error";
    return text.toStdString();
}

void BindAll(QSqlQuery& q, const std::vector<QVariant>& values)
{
    for (const QVariant& v : values)
        q.addBindValue(v);
}

} // namespace

ChartArchive::ChartArchive(const ArchiveLocation& where, std::string connectionName)
    : where_(where),
      connection_(connectionName.empty() ? NewConnectionName() : QString::fromStdString(connectionName))
{
    Open();
}

ChartArchive::~ChartArchive()
{
    if (db_.isValid())
        db_.close();
    db_ = QSqlDatabase();
    if (QSqlDatabase::contains(connection_))
        QSqlDatabase::removeDatabase(connection_);
}

bool ChartArchive::isOpen() const
{
    return open_;
}

const ArchiveStatus& ChartArchive::status() const
{
    return status_;
}

int ChartArchive::schemaVersion() const
{
    return schema_;
}

bool ChartArchive::Fail(const std::string& message)
{
    status_ = {false, message};
    return false;
}

bool ChartArchive::FailQuery(const QSqlQuery& query, const char* doing)
{
    return Fail("The archive " + DescribeLocation(where_) + " " + doing + " (" +
                ErrorText(query.lastError()) + ").");
}

bool ChartArchive::Succeed()
{
    status_ = {};
    return true;
}

bool ChartArchive::Exec(const QString& sql, const char* doing)
{
    QSqlQuery q(db_);
    if (!q.exec(sql))
        return FailQuery(q, doing);
    return true;
}

bool ChartArchive::ExecWhileBusy(const QString& sql, const char* doing)
{
    // Switching a new file to WAL needs it to itself. SQLite gives up at
    // once, without waiting out the busy timeout, when another connection
    // is creating the schema in it at the same moment: try again, for as long
    // as the busy timeout would have waited.
    constexpr int kPauseMs = 10;
    for (int waited = 0;; waited += kPauseMs) {
        QSqlQuery q(db_);
        if (q.exec(sql))
            return true;
        const QString code = q.lastError().nativeErrorCode();
        const bool busy = code == "5" || code == "6"; // SQLITE_BUSY, SQLITE_LOCKED
        if (!busy || waited >= kBusyTimeoutMs)
            return FailQuery(q, doing);
        std::this_thread::sleep_for(std::chrono::milliseconds(kPauseMs));
    }
}

bool ChartArchive::Run(QSqlQuery& q, const QString& sql, const std::vector<QVariant>& values,
                       const char* doing)
{
    if (!q.prepare(sql))
        return FailQuery(q, doing);
    for (const QVariant& v : values)
        q.addBindValue(v);
    if (!q.exec())
        return FailQuery(q, doing);
    return true;
}

bool ChartArchive::Ready()
{
    if (!open_) {
        // status_ says why it did not open.
        if (status_.Ok)
            Fail("The archive " + DescribeLocation(where_) + " is not open.");
        return false;
    }
    if (db_.isOpen())
        return true;
    // The connection broke (a server that went away): a new one, once the
    // server is back.
    if (db_.open())
        return true;
    return Fail("The archive " + DescribeLocation(where_) + " cannot be reached (" +
                ErrorText(db_.lastError()) + ").");
}

bool ChartArchive::Begin()
{
    if (!Ready())
        return false;
    // SQLite: take the write lock at once, so that two writers wait for
    // each other (busy timeout) instead of one failing on its first write.
    return Exec(where_.Engine == ArchiveEngine::SQLite ? "BEGIN IMMEDIATE" : "BEGIN", "cannot be written");
}

bool ChartArchive::Commit(const char* doing)
{
    QSqlQuery q(db_);
    if (!q.exec("COMMIT")) {
        FailQuery(q, doing);
        Rollback();
        return false;
    }
    return true;
}

void ChartArchive::Rollback()
{
    QSqlQuery q(db_);
    q.exec("ROLLBACK");
}

void ChartArchive::Open()
{
    if (!where_.Enabled) {
        Fail("The archive is switched off in the settings ([ARCHIVE] ENABLED=0).");
        return;
    }
    const bool ok = where_.Engine == ArchiveEngine::SQLite ? OpenSQLite() : OpenPostgreSQL();
    if (ok && Migrate()) {
        open_ = true;
        Succeed();
        return;
    }
    if (db_.isValid())
        db_.close();
}

bool ChartArchive::OpenSQLite()
{
    const std::string path = ArchiveFileOf(where_);
    const std::string named = "The archive " + DescribeLocation(where_);
    if (!QSqlDatabase::isDriverAvailable("QSQLITE"))
        return Fail(named + " cannot be opened: the Qt SQLite driver is not installed (libqt6sql6-sqlite).");
    const QFileInfo file(QString::fromStdString(path));
    if (file.exists() && !file.isFile())
        return Fail(named + " cannot be opened: it is not a regular file.");
    if (!QDir().mkpath(file.absolutePath()))
        return Fail(named + " cannot be made: its folder " + file.absolutePath().toStdString() +
                    " cannot be created.");
    db_ = QSqlDatabase::addDatabase("QSQLITE", connection_);
    db_.setDatabaseName(QString::fromStdString(path));
    db_.setConnectOptions(QString("QSQLITE_BUSY_TIMEOUT=%1").arg(kBusyTimeoutMs));
    if (!db_.open())
        return Fail(named + " cannot be opened (" + ErrorText(db_.lastError()) + ").");
    // Only reads until the schema is known to be ours and not newer: a
    // damaged or foreign file stays as it is.
    QSqlQuery q(db_);
    if (!q.exec("SELECT count(*) FROM sqlite_master"))
        return Fail(named + " cannot be read (" + ErrorText(q.lastError()) + "): it is left untouched.");
    return true;
}

bool ChartArchive::OpenPostgreSQL()
{
    const std::string named = "The archive " + DescribeLocation(where_);
    if (!QSqlDatabase::isDriverAvailable("QPSQL"))
        return Fail(named +
                    " cannot be reached: the Qt PostgreSQL driver is not installed (libqt6sql6-psql).");
    db_ = QSqlDatabase::addDatabase("QPSQL", connection_);
    db_.setHostName(QString::fromStdString(where_.Host));
    db_.setPort(where_.Port);
    db_.setDatabaseName(QString::fromStdString(where_.Database));
    if (!where_.User.empty())
        db_.setUserName(QString::fromStdString(where_.User));
    db_.setConnectOptions("connect_timeout=5");
    if (!db_.open())
        return Fail(named + " cannot be reached (" + ErrorText(db_.lastError()) + ").");
    QSqlQuery q(db_);
    // Warnings of the server (a table that exists already) are no messages.
    q.exec("SET client_min_messages TO WARNING");
    return true;
}

bool ChartArchive::Migrate()
{
    const std::string named = "The archive " + DescribeLocation(where_);
    const bool sqlite = where_.Engine == ArchiveEngine::SQLite;
    // The version, or -1 when the database holds tables but no archive. Both
    // counts come from one statement, so from one snapshot: another program
    // creating the archive at this moment is seen either before (no tables)
    // or after (the schema table), never half way.
    auto readVersion = [&](int& version) {
        QSqlQuery q(db_);
        const QString tables = sqlite
                                   ? "FROM sqlite_master WHERE type = 'table'"
                                   : "FROM information_schema.tables WHERE table_schema = current_schema()";
        if (!q.exec("SELECT (SELECT count(*) " + tables + " AND " + (sqlite ? "name" : "table_name") +
                    " = 'archive_schema'), (SELECT count(*) " + tables + ")") ||
            !q.next())
            return FailQuery(q, "cannot be read");
        if (q.value(0).toInt() == 0) {
            version = q.value(1).toInt() == 0 ? 0 : -1;
            return true;
        }
        if (!q.exec("SELECT version FROM archive_schema") || !q.next())
            return FailQuery(q, "cannot be read");
        version = q.value(0).toInt();
        return true;
    };
    auto refuse = [&](int version) {
        if (version < 0)
            return Fail(named + " holds another database, not a chart archive: it is left untouched.");
        return Fail(named + " is newer (schema " + std::to_string(version) + ") than this program (schema " +
                    std::to_string(kArchiveSchemaVersion) + "): it is left untouched.");
    };

    int version = 0;
    if (!readVersion(version))
        return false;
    if (version < 0 || version > kArchiveSchemaVersion)
        return refuse(version);
    if (sqlite) {
        // From here on the file is ours to write.
        for (const char* pragma : {"PRAGMA journal_mode = WAL", "PRAGMA synchronous = NORMAL",
                                   "PRAGMA foreign_keys = ON", "PRAGMA cache_size = -65536"})
            if (!ExecWhileBusy(pragma, "cannot be set up"))
                return false;
    }
    while (version < kArchiveSchemaVersion) {
        if (!Exec(sqlite ? "BEGIN IMMEDIATE" : "BEGIN", "cannot be migrated"))
            return false;
        if (!sqlite) {
            QSqlQuery lock(db_);
            lock.prepare("SELECT pg_advisory_xact_lock(?)");
            lock.addBindValue(kMigrationLockKey);
            if (!lock.exec()) {
                Rollback();
                return FailQuery(lock, "cannot be migrated");
            }
        }
        // Another program may have migrated it meanwhile.
        if (!readVersion(version)) {
            Rollback();
            return false;
        }
        if (version < 0 || version > kArchiveSchemaVersion) {
            Rollback();
            return refuse(version);
        }
        if (version < kArchiveSchemaVersion) {
            for (const std::string& sql : MigrationStatements(version + 1, where_.Engine)) {
                QSqlQuery q(db_);
                if (!q.exec(QString::fromStdString(sql))) {
                    FailQuery(q, ("cannot be migrated to schema " + std::to_string(version + 1)).c_str());
                    Rollback();
                    return false;
                }
            }
        }
        if (!Commit("cannot be migrated"))
            return false;
        if (!readVersion(version))
            return false;
    }
    schema_ = version;
    return true;
}

std::optional<RecordResult> ChartArchive::Record(const TJednoMereni& chart, ArchiveOrigin origin,
                                                 const std::string& originDetail, const ArchiveTags& tags)
{
    std::vector<ArchiveItem> items(1);
    items[0].chart = chart;
    items[0].origin = origin;
    items[0].detail = originDetail;
    items[0].tags = tags;
    auto results = RecordBatch(items);
    if (!results)
        return std::nullopt;
    return results->front();
}

std::optional<std::vector<RecordResult>> ChartArchive::RecordBatch(const std::vector<ArchiveItem>& items)
{
    if (!Ready())
        return std::nullopt;
    std::vector<PreparedChart> ready;
    ready.reserve(items.size());
    const std::string now = UtcNowText();
    for (const ArchiveItem& item : items)
        ready.push_back(PrepareChart(item, now));
    return WritePrepared(ready);
}

std::optional<std::vector<RecordResult>> ChartArchive::WritePrepared(const std::vector<PreparedChart>& ready)
{
    if (!Ready())
        return std::nullopt;
    // Written in the order of their hashes: two writers that record the
    // same charts at once take their locks in one order, so that neither
    // waits for the other in a circle. A transaction the server still
    // breaks off (deadlock, serialization) is tried again.
    std::vector<std::size_t> order(ready.size());
    for (std::size_t k = 0; k < order.size(); ++k)
        order[k] = k;
    // (SQLite has one write lock for the whole file: there the charts keep
    // their order, and with it the order of their numbers.)
    if (where_.Engine == ArchiveEngine::PostgreSQL)
        std::sort(order.begin(), order.end(),
                  [&](std::size_t a, std::size_t b) { return ready[a].hash < ready[b].hash; });
    std::vector<RecordResult> results(ready.size());
    for (int attempt = 0;; ++attempt) {
        bool again = false;
        if (WriteBatch(ready, order, results, again))
            break;
        if (!again || attempt == kWriteAttempts - 1)
            return std::nullopt;
    }
    Succeed();
    return results;
}

bool ChartArchive::WriteBatch(const std::vector<PreparedChart>& ready, const std::vector<std::size_t>& order,
                              std::vector<RecordResult>& results, bool& again)
{
    if (!Begin())
        return false;
    const char* writing = "cannot be written";
    auto fail = [&](const QSqlQuery& q) {
        const QString state = q.lastError().nativeErrorCode();
        again = state == "40P01" || state == "40001";
        FailQuery(q, writing);
        Rollback();
        return false;
    };
    QSqlQuery insert(db_), content(db_), find(db_), update(db_), place(db_);
    if (!insert.prepare(InsertChartSql()))
        return fail(insert);
    if (!content.prepare("INSERT INTO chart_content (chart_id, content, extra) VALUES (?, ?, ?)"))
        return fail(content);
    if (!find.prepare("SELECT id, cable, site, job, operator_name FROM charts WHERE hash = ?"))
        return fail(find);
    // A later path of the same chart becomes its last known file; tags it
    // lacks are taken from the new recording.
    if (!update.prepare("UPDATE charts SET"
                        " file_path = CASE WHEN ? <> '' THEN ? ELSE file_path END,"
                        " file_name = CASE WHEN ? <> '' THEN ? ELSE file_name END,"
                        " cable = CASE WHEN cable = '' THEN ? ELSE cable END,"
                        " site = CASE WHEN site = '' THEN ? ELSE site END,"
                        " job = CASE WHEN job = '' THEN ? ELSE job END,"
                        " operator_name = CASE WHEN operator_name = '' THEN ? ELSE operator_name END"
                        " WHERE id = ?"))
        return fail(update);
    if (!place.prepare("INSERT INTO places (chart_id, origin, detail, recorded_at) VALUES (?, ?, ?, ?)"
                       " ON CONFLICT (chart_id, origin, detail) DO NOTHING"))
        return fail(place);

    for (const std::size_t k : order) {
        const PreparedChart& p = ready[k];
        RecordResult r;
        BindAll(insert, InsertChartValues(p.hash, p.entry));
        if (!insert.exec())
            return fail(insert);
        if (insert.next()) {
            r.Id = insert.value(0).toLongLong();
            r.Added = true;
            insert.finish();
            BindAll(content,
                    {QVariant::fromValue<qlonglong>(r.Id), p.content, QString::fromStdString(p.extra)});
            if (!content.exec())
                return fail(content);
        } else {
            insert.finish();
            find.addBindValue(QString::fromStdString(p.hash));
            if (!find.exec())
                return fail(find);
            if (!find.next()) {
                Fail("The archive " + DescribeLocation(where_) + " " + writing +
                     " (an entry vanished while it was recorded).");
                Rollback();
                return false;
            }
            r.Id = find.value(0).toLongLong();
            find.finish();
            const QString path = QString::fromStdString(p.entry.FilePath);
            const QString name = QString::fromStdString(p.entry.FileName);
            const ArchiveTags& t = p.entry.Tags;
            BindAll(update, {path, path, name, name, QString::fromStdString(t.Cable),
                             QString::fromStdString(t.Site), QString::fromStdString(t.Job),
                             QString::fromStdString(t.Operator), QVariant::fromValue<qlonglong>(r.Id)});
            if (!update.exec())
                return fail(update);
        }
        BindAll(place,
                {QVariant::fromValue<qlonglong>(r.Id),
                 QString::fromStdString(std::string(OriginName(p.entry.Origin))),
                 QString::fromStdString(p.entry.OriginDetail), QString::fromStdString(p.entry.RecordedAt)});
        if (!place.exec())
            return fail(place);
        results[k] = r;
    }
    return Commit(writing);
}

} // namespace lumidrax
