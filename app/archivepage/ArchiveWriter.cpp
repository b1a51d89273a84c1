#include "ArchiveWriter.h"

#include "ArchiveContent.h"
#include "ArchiveWriterWorker.h"

#include <QThread>

namespace lumidrax {

ArchiveWriter::ArchiveWriter(ArchiveWriterOptions options, QObject* parent)
    : QObject(parent), where_(options.Where)
{
    qRegisterMetaType<lumidrax::ArchiveTags>("lumidrax::ArchiveTags");
    thread_ = new QThread(this);
    thread_->setObjectName("ArchiveWriter");
    worker_ = new ArchiveWriterWorker(options.Where, options.SpoolFolder, options.RetryMs);
    worker_->moveToThread(thread_);
    connect(thread_, &QThread::started, worker_, &ArchiveWriterWorker::Start);
    connect(worker_, &ArchiveWriterWorker::stateChanged, this, &ArchiveWriter::WorkerState);
    connect(worker_, &ArchiveWriterWorker::recorded, this, &ArchiveWriter::recorded);
    connect(worker_, &ArchiveWriterWorker::newestTags, this, &ArchiveWriter::newestTags);
    connect(worker_, &ArchiveWriterWorker::verdictsStored, this, &ArchiveWriter::verdictsStored);
    thread_->start();
}

ArchiveWriter::~ArchiveWriter()
{
    QMetaObject::invokeMethod(worker_, &ArchiveWriterWorker::Stop, Qt::BlockingQueuedConnection);
    thread_->quit();
    thread_->wait();
    worker_->SpoolRest();
    delete worker_;
}

void ArchiveWriter::Enqueue(ArchiveItem item)
{
    if (!where_.Enabled)
        return;
    worker_->Enqueue(std::move(item));
    QMetaObject::invokeMethod(worker_, &ArchiveWriterWorker::Drain, Qt::QueuedConnection);
}

void ArchiveWriter::StoreVerdict(const TJednoMereni& chart, const std::string& verdict)
{
    if (!where_.Enabled)
        return;
    worker_->EnqueueVerdict(ContentHash(ArchiveContentText(chart)), verdict);
    QMetaObject::invokeMethod(worker_, &ArchiveWriterWorker::Drain, Qt::QueuedConnection);
}

void ArchiveWriter::SetLocation(const ArchiveLocation& where)
{
    if (where == where_)
        return;
    where_ = where;
    QMetaObject::invokeMethod(
        worker_, [w = worker_, where] { w->Relocate(where); }, Qt::QueuedConnection);
}

int ArchiveWriter::Pending() const
{
    return worker_->Pending();
}

void ArchiveWriter::WorkerState(const QString& reason, int pending)
{
    QString text;
    if (!reason.isEmpty() && pending > 0)
        text = tr("Archive behind: %1 (%2 %3 waiting)")
                   .arg(reason, QString::number(pending), pending == 1 ? tr("chart") : tr("charts"));
    else if (!reason.isEmpty())
        text = tr("Archive unavailable: %1").arg(reason);
    if (text == behind_)
        return;
    behind_ = text;
    emit stateChanged(behind_);
}

} // namespace lumidrax
