#pragma once
// The thread side of ArchiveWriter: the queue, the archive connection, the
// spool and the retry timer. Lives on the writer's thread; only Enqueue,
// EnqueueVerdict and Pending are called from others. The queue holds charts
// and verdicts in the order they came: a verdict is stored after the charts
// queued before it. Both are spooled while the archive cannot be written.

#include "ArchiveLocation.h"
#include "ArchiveRecord.h"
#include "ArchiveSpool.h"

#include <QObject>
#include <QString>

#include <deque>
#include <memory>
#include <mutex>
#include <optional>
#include <string>

class QTimer;

namespace lumidrax {

class ChartArchive;

class ArchiveWriterWorker : public QObject {
    Q_OBJECT
  public:
    ArchiveWriterWorker(ArchiveLocation where, std::string spoolFolder, int retryMs);
    ~ArchiveWriterWorker() override;

    // Any thread.
    void Enqueue(ArchiveItem item);
    // The verdict of the entry whose content has `hash`.
    void EnqueueVerdict(std::string hash, std::string verdict);
    // Charts queued (verdicts are not counted).
    int Pending() const;
    // After the thread has stopped: every queued chart and verdict not yet
    // on disk goes to the spool.
    void SpoolRest();

  public slots:
    // Writer thread: picks up the spool of an earlier run, then records.
    void Start();
    void Drain();
    void Relocate(const lumidrax::ArchiveLocation& where);
    // Writer thread, before it ends: the timer and the connection go, on the
    // thread that made them.
    void Stop();

  signals:
    // reason empty: every chart is recorded.
    void stateChanged(const QString& reason, int pending);
    void recorded(int added);
    void newestTags(const lumidrax::ArchiveTags& tags);
    // Verdicts were stored in entries.
    void verdictsStored();

  private:
    struct Queued {
        ArchiveItem Item;
        std::string SpoolPath; // empty while only in memory
        // A verdict instead of a chart.
        std::optional<VerdictJob> Verdict;
    };
    bool OpenArchive();
    // Records the chart or stores the verdict; false when the archive
    // cannot be written. A verdict of content without an entry is dropped.
    bool Write(const Queued& job, int& added, int& verdicts);
    void Behind(const std::string& reason);
    void SpoolUnspooled();

    ArchiveLocation where_;
    ArchiveSpool spool_;
    int retryMs_;
    std::unique_ptr<ChartArchive> archive_;
    QTimer* retry_ = nullptr;
    mutable std::mutex mutex_;
    std::deque<Queued> queue_;
    bool behind_ = false;
    bool toldTags_ = false;
};

} // namespace lumidrax
