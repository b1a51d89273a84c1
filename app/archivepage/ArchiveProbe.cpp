#include "ArchiveProbe.h"

#include "ChartArchive.h"

#include <QPointer>
#include <QThread>

namespace lumidrax {

ArchiveProbe::ArchiveProbe(QObject* parent) : QObject(parent)
{
}

ArchiveProbe::~ArchiveProbe()
{
    if (thread_)
        thread_->wait();
}

void ArchiveProbe::Start(const ArchiveLocation& where)
{
    if (running_)
        return;
    if (thread_)
        thread_->wait(); // it has told its outcome: it has ended or is ending
    running_ = true;
    thread_.reset(QThread::create([this, self = QPointer<ArchiveProbe>(this), where] {
        bool answered = false;
        QString message;
        {
            const ChartArchive archive(where);
            answered = archive.isOpen();
            message = QString::fromStdString(archive.status().Message);
        } // the connection is removed here, on the thread that made it
        // This object outlives the thread (its destructor waits); the call
        // is dropped when the object is gone before it is delivered.
        QMetaObject::invokeMethod(
            this,
            [self, where, answered, message] {
                if (!self)
                    return;
                self->running_ = false;
                emit self->checked(where, answered, message);
            },
            Qt::QueuedConnection);
    }));
    thread_->start();
}

} // namespace lumidrax
