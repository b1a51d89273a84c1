#include "ArchiveWriterWorker.h"

#include "ChartArchive.h"

#include <QTimer>

#include <algorithm>
#include <utility>

namespace lumidrax {

ArchiveWriterWorker::ArchiveWriterWorker(ArchiveLocation where, std::string spoolFolder, int retryMs)
    : where_(std::move(where)), spool_(std::move(spoolFolder)), retryMs_(retryMs)
{
}

ArchiveWriterWorker::~ArchiveWriterWorker() = default;

void ArchiveWriterWorker::Enqueue(ArchiveItem item)
{
    const std::lock_guard lock(mutex_);
    queue_.push_back({std::move(item), {}, std::nullopt});
}

void ArchiveWriterWorker::EnqueueVerdict(std::string hash, std::string verdict)
{
    const std::lock_guard lock(mutex_);
    queue_.push_back({{}, {}, VerdictJob{std::move(hash), std::move(verdict)}});
}

int ArchiveWriterWorker::Pending() const
{
    const std::lock_guard lock(mutex_);
    return static_cast<int>(
        std::count_if(queue_.begin(), queue_.end(), [](const Queued& q) { return !q.Verdict; }));
}

void ArchiveWriterWorker::Start()
{
    retry_ = new QTimer(this);
    retry_->setSingleShot(true);
    retry_->setInterval(retryMs_);
    connect(retry_, &QTimer::timeout, this, &ArchiveWriterWorker::Drain);
    {
        std::vector<SpooledItem> waiting = spool_.Load();
        const std::lock_guard lock(mutex_);
        // An earlier run's charts came first.
        for (auto it = waiting.rbegin(); it != waiting.rend(); ++it)
            queue_.push_front({std::move(it->Item), std::move(it->Path), std::move(it->Verdict)});
    }
    Drain();
}

void ArchiveWriterWorker::Stop()
{
    delete retry_;
    retry_ = nullptr;
    archive_.reset();
}

void ArchiveWriterWorker::Relocate(const ArchiveLocation& where)
{
    where_ = where;
    archive_.reset();
    Drain();
}

bool ArchiveWriterWorker::OpenArchive()
{
    if (archive_ && archive_->isOpen())
        return true;
    archive_ = std::make_unique<ChartArchive>(where_);
    if (archive_->isOpen()) {
        if (!std::exchange(toldTags_, true)) {
            ArchiveQuery newest;
            newest.SortBy = ArchiveColumn::RecordedAt;
            newest.Limit = 1;
            if (const auto last = archive_->Search(newest); last && !last->empty())
                emit newestTags(last->front().Tags);
        }
        return true;
    }
    Behind(archive_->status().Message);
    archive_.reset();
    return false;
}

void ArchiveWriterWorker::Drain()
{
    if (!where_.Enabled) {
        if (std::exchange(behind_, false))
            emit stateChanged({}, Pending());
        return;
    }
    int added = 0, verdicts = 0;
    bool ok = OpenArchive();
    while (ok) {
        Queued next;
        {
            const std::lock_guard lock(mutex_);
            if (queue_.empty())
                break;
            next = queue_.front(); // only this thread takes from the front
        }
        if (!Write(next, added, verdicts)) {
            const std::string why = archive_->status().Message;
            // A connection that failed once is made again on the retry.
            archive_.reset();
            Behind(why);
            ok = false;
            break;
        }
        {
            const std::lock_guard lock(mutex_);
            queue_.pop_front();
        }
        if (!next.SpoolPath.empty())
            spool_.Remove(next.SpoolPath);
    }
    if (added > 0)
        emit recorded(added);
    if (verdicts > 0)
        emit verdictsStored();
    if (ok && std::exchange(behind_, false))
        emit stateChanged({}, 0);
}

bool ArchiveWriterWorker::Write(const Queued& job, int& added, int& verdicts)
{
    if (job.Verdict) {
        const std::optional<ArchiveEntry> entry = archive_->EntryByHash(job.Verdict->Hash);
        if (!entry)
            return archive_->status().Ok;
        if (!archive_->SetVerdict(entry->Id, job.Verdict->Verdict))
            return false;
        ++verdicts;
        return true;
    }
    const std::optional<RecordResult> r =
        archive_->Record(job.Item.chart, job.Item.origin, job.Item.detail, job.Item.tags);
    if (!r)
        return false;
    added += r->Added ? 1 : 0;
    return true;
}

void ArchiveWriterWorker::Behind(const std::string& reason)
{
    SpoolUnspooled();
    behind_ = true;
    emit stateChanged(QString::fromStdString(reason.empty() ? "the archive cannot be written" : reason),
                      Pending());
    if (retry_)
        retry_->start();
}

void ArchiveWriterWorker::SpoolUnspooled()
{
    const std::lock_guard lock(mutex_);
    for (Queued& q : queue_) {
        if (!q.SpoolPath.empty())
            continue;
        std::string error;
        q.SpoolPath = q.Verdict ? spool_.PutVerdict(*q.Verdict, error) : spool_.Put(q.Item, error);
        if (q.SpoolPath.empty())
            break; // the disk is full too: the charts stay in memory
    }
}

void ArchiveWriterWorker::SpoolRest()
{
    SpoolUnspooled();
}

} // namespace lumidrax
