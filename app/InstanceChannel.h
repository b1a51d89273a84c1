#pragma once
// Single-instance hand-over over a local socket: the first instance listens
// under a per-user name; a later instance connects, hands over its file
// names and ends without a window.
//
// Wire format: each file name as UTF-8 bytes followed by one zero byte; the
// listener answers each complete name with the byte '1'.

#include <QObject>
#include <QString>
#include <QStringList>

class QLocalServer;

namespace lumidrax {

// The listening name of the current user's instance.
QString DefaultInstanceName();

// Connects to a running instance and hands over the names, one after the
// other, each waiting for its answer. Returns true when an instance was
// running (then this process should end), false when none answered.
bool HandOverToRunningInstance(const QString& serverName, const QStringList& names, int timeoutMs = 3000);

class InstanceChannel : public QObject {
    Q_OBJECT
  public:
    // Longest file name accepted from the channel, in bytes.
    static constexpr int kMaxNameBytes = 32768;

    explicit InstanceChannel(QObject* parent = nullptr);
    ~InstanceChannel() override;

    // Starts listening; a stale socket left by a crashed instance is
    // replaced. Returns false when the name cannot be taken.
    bool Listen(const QString& serverName);

  signals:
    void FileNameReceived(const QString& name);

  private:
    void OnNewConnection();

    QLocalServer* server_;
};

} // namespace lumidrax
