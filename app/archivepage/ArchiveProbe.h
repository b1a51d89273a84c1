#pragma once
// Whether the archive answers, asked on a worker thread: a throw-away
// ChartArchive is opened there (its own named connection, made, used and
// removed on that thread), and the outcome comes back to this object's
// thread by a queued call. The window's thread never waits for a server
// (libpq waits up to its connect timeout for one that does not answer).

#include "ArchiveLocation.h"

#include <QObject>
#include <QString>

#include <memory>

class QThread;

namespace lumidrax {

class ArchiveProbe : public QObject {
    Q_OBJECT
  public:
    explicit ArchiveProbe(QObject* parent = nullptr);
    // Waits for a check still running (it ends within the connect timeout);
    // its outcome is dropped.
    ~ArchiveProbe() override;

    // Starts checking `where`; nothing while a check runs or its outcome
    // has not been told yet: one at a time.
    void Start(const ArchiveLocation& where);

  signals:
    // The outcome, on this object's thread: whether `where` could be opened,
    // and why not.
    void checked(const ArchiveLocation& where, bool answered, const QString& message);

  private:
    std::unique_ptr<QThread> thread_;
    bool running_ = false;
};

} // namespace lumidrax
