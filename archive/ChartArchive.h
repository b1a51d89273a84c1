#pragma once
// The chart archive: every chart received, opened, saved or made, kept with
// its whole content, where it came from and the user's tags, in an SQLite
// file or on a PostgreSQL server (one schema, numbered migrations).
//
// One object is one connection: use it from the thread that made it (make
// one per thread). Nothing here throws into the caller: a failure returns
// nullopt / false / an empty result and status() says what went wrong.

#include "ArchiveLocation.h"
#include "ArchiveQuery.h"
#include "ArchiveRecord.h"
#include "TJednoMereni.h"

#include <QSqlDatabase>
#include <QString>
#include <QVariant>

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

class QSqlQuery;

namespace lumidrax {

struct PreparedChart;

struct ArchiveStatus {
    bool Ok = true;
    // A sentence in the catalogue's form, e.g. "The archive SQLite file ...
    // is newer (schema 7) than this program (schema 2): it is left untouched."
    std::string Message;
};

// Added false: the same content was there already.
struct RecordResult {
    ArchiveId Id = 0;
    bool Added = false;
};

struct ImportProgress {
    int Done = 0, Total = 0;
    std::string Current;
};

struct ImportResult {
    int Added = 0, Skipped = 0;
    std::vector<std::pair<std::string, std::string>> Failed; // path, message
    bool Cancelled = false;
};

// Charts an import records in one transaction.
inline constexpr int kImportBatch = 200;

class ChartArchive {
  public:
    // Opens (and on first use creates, then migrates) the archive; not when
    // the location is not Enabled. Never throws; status() says what failed. A corrupt or newer-schema archive
    // is reported and left untouched. SQLite: WAL, busy timeout 5 s.
    explicit ChartArchive(const ArchiveLocation& where, std::string connectionName = {});
    ~ChartArchive();
    ChartArchive(const ChartArchive&) = delete;
    ChartArchive& operator=(const ChartArchive&) = delete;

    bool isOpen() const;
    const ArchiveStatus& status() const; // the last failure (Ok after a success)
    int schemaVersion() const;
    const ArchiveLocation& location() const { return where_; }

    // Records a chart: content, metadata, event summary (default
    // EventParams), origin, tags. The same content again makes no new
    // entry; its file path and origin are added to the entry's places, and
    // tags the entry lacks are filled in. nullopt (and status) when the
    // archive cannot be written.
    std::optional<RecordResult> Record(const TJednoMereni& chart, ArchiveOrigin origin,
                                       const std::string& originDetail, const ArchiveTags& tags);
    // Many at once in one transaction (import batches): all or none.
    std::optional<std::vector<RecordResult>> RecordBatch(const std::vector<ArchiveItem>& items);

    std::optional<std::vector<ArchiveEntry>> Search(const ArchiveQuery& q);
    std::optional<int> Count(const ArchiveQuery& q); // same filter, no paging
    std::optional<ArchiveEntry> Entry(ArchiveId id);
    // The entry of the content with this hash (ContentHash of
    // ArchiveContentText); nothing when there is none (status Ok) or the
    // archive cannot be read (status says why).
    std::optional<ArchiveEntry> EntryByHash(const std::string& hash);
    // The chart back from the archive alone, ready to AddChart: FileName set
    // to the recorded path when that file still holds this chart (Saved
    // true), else empty (Saved false, AutoFileName the recorded path).
    std::optional<TJednoMereni> Chart(ArchiveId id);
    // Every place the chart was met: (origin name, detail), first first.
    std::optional<std::vector<std::pair<std::string, std::string>>> Places(ArchiveId id);

    bool SetTags(const std::vector<ArchiveId>& ids, const ArchiveTags& tags); // empty field = leave as is
    bool SetBaseline(ArchiveId id); // baseline of the entry's cable (needs a cable); one per cable
    std::optional<ArchiveId> Baseline(const std::string& cable);
    std::optional<std::vector<ArchiveEntry>> History(const std::string& cable); // oldest first
    std::optional<std::vector<std::string>> Cables();                           // distinct, sorted
    bool SetVerdict(ArchiveId id, const std::string& verdict);

    // Imports every *.ndt below `folder` (recursively, in path order), in
    // transactions of kImportBatch charts; progress() is called between
    // files and returns false to cancel (whole batches only: the archive
    // stays consistent). A file that cannot be read is listed in Failed.
    // The tags go with every chart, as with Record.
    ImportResult Import(const std::string& folder,
                        const std::function<bool(const ImportProgress&)>& progress = {},
                        const ArchiveTags& tags = {});
    // Integrity: the engine's own check (PRAGMA integrity_check, or a
    // consistency query on PostgreSQL), then every entry's content decodes
    // and matches its hash. The problems found; empty = sound.
    std::vector<std::string> Check();

  private:
    void Open();
    // Open, and connected (again, after a broken connection).
    bool Ready();
    // Writes prepared charts in one transaction, tried again when the
    // server breaks it off.
    std::optional<std::vector<RecordResult>> WritePrepared(const std::vector<PreparedChart>& ready);
    bool WriteBatch(const std::vector<PreparedChart>& ready, const std::vector<std::size_t>& order,
                    std::vector<RecordResult>& results, bool& again);
    bool OpenSQLite();
    bool OpenPostgreSQL();
    bool Migrate();
    bool Fail(const std::string& message);
    bool FailQuery(const QSqlQuery& query, const char* doing);
    bool Succeed();
    bool Exec(const QString& sql, const char* doing);
    // Exec, tried again while another connection has the SQLite file locked.
    bool ExecWhileBusy(const QString& sql, const char* doing);
    // Prepares `sql`, binds `values` in order and runs it; a failure is
    // reported as the archive `doing`.
    bool Run(QSqlQuery& query, const QString& sql, const std::vector<QVariant>& values, const char* doing);
    bool Begin();
    bool Commit(const char* doing);
    void Rollback();
    std::optional<std::vector<ArchiveEntry>> Entries(const QString& where, const QString& order,
                                                     const std::vector<QVariant>& values, int offset,
                                                     int limit);

    ArchiveLocation where_;
    QString connection_;
    QSqlDatabase db_;
    ArchiveStatus status_;
    bool open_ = false;
    int schema_ = 0;
};

} // namespace lumidrax
