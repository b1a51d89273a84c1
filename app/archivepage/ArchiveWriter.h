#pragma once
// Records charts in the archive in the background: a thread of its own owns
// its own ChartArchive connection and works through a queue, so that the
// window never waits on the database. When the archive cannot be written
// (locked, disk full, server down, corrupt or newer file) the charts stay
// queued, are spooled to disk so that an exit loses none, the writer says
// why it is behind and tries again; once the archive is back they are added.
// Charts spooled by an earlier run are queued first. Verdicts wait and are
// spooled the same way, in order with the charts.

#include "ArchiveLocation.h"
#include "ArchiveRecord.h"

#include <QObject>
#include <QString>

#include <memory>
#include <string>

class QThread;

namespace lumidrax {

class ArchiveWriterWorker;

struct ArchiveWriterOptions {
    ArchiveLocation Where;
    // Where queued charts wait on disk (DefaultSpoolFolder()).
    std::string SpoolFolder;
    // How long the writer waits before it tries a failing archive again.
    int RetryMs = 5000;
};

class ArchiveWriter : public QObject {
    Q_OBJECT
  public:
    explicit ArchiveWriter(ArchiveWriterOptions options, QObject* parent = nullptr);
    // Stops the thread (after the chart it is recording) and spools every
    // chart and verdict still queued.
    ~ArchiveWriter() override;

    // Queues a chart; returns at once. Nothing is queued while the archive
    // is disabled.
    void Enqueue(ArchiveItem item);
    // Queues the verdict ("PASS", "FAIL", "INCOMPLETE") of a chart's entry,
    // stored after the charts queued before it; returns at once. A chart
    // without an entry is skipped, and nothing is queued while the archive
    // is disabled.
    void StoreVerdict(const TJednoMereni& chart, const std::string& verdict);
    // The archive moved (the settings changed): the queue goes there.
    void SetLocation(const ArchiveLocation& where);
    const ArchiveLocation& Location() const { return where_; }
    // Charts queued and not yet recorded.
    int Pending() const;
    // Why the archive is behind ("Archive behind: ..."), empty when every
    // chart is recorded.
    QString BehindText() const { return behind_; }

  signals:
    // The behind text changed (empty: caught up).
    void stateChanged(const QString& behind);
    // Charts were recorded (added: how many made new entries).
    void recorded(int added);
    // The tags of the entry recorded last, once the archive is open: new
    // charts get them until the user tags others.
    void newestTags(const lumidrax::ArchiveTags& tags);
    // Verdicts were stored in entries.
    void verdictsStored();

  private:
    void WorkerState(const QString& reason, int pending);

    ArchiveLocation where_;
    QThread* thread_ = nullptr;
    ArchiveWriterWorker* worker_ = nullptr;
    QString behind_;
};

} // namespace lumidrax
