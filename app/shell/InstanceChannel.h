#pragma once
// Single-instance hand-over over a local socket: the first instance listens
// under a per-user name; a later instance connects, hands over its file
// names and ends without a window.
//
// Wire format: each file name as UTF-8 bytes followed by one zero byte; the
// listener answers each complete name with the byte '1'.
//
// The listener keeps serving whatever its peers do: a connection that sends
// no complete name for IdleTimeout is dropped, at most MaxConnections are
// held (a new one pushes out the oldest), and a listener the system closed
// (an accept that failed, e.g. with every descriptor in use) listens again.

#include <QObject>
#include <QString>
#include <QStringList>

#include <QTimer>
#include <string>
#include <vector>

#include <vector>

class QLocalServer;
class QLocalSocket;

namespace lumidrax {

// The listening name of the current user's instance.
QString DefaultInstanceName();

// Connects to a running instance and hands over the names, one after the
// other, each waiting for its answer. Returns true when an instance was
// running (then this process should end), false when none answered.
bool HandOverToRunningInstance(const QString& serverName, const std::vector<std::string>& names,
                               int timeoutMs = 3000);

class InstanceChannel : public QObject {
    Q_OBJECT
  public:
    // Longest file name accepted from the channel, in bytes.
    static constexpr int kMaxNameBytes = 32768;
    static constexpr int kIdleTimeoutMs = 5000;
    static constexpr int kMaxConnections = 32;
    // How often a listener that stopped is started again.
    static constexpr int kRelistenIntervalMs = 1000;

    explicit InstanceChannel(QObject* parent = nullptr);
    ~InstanceChannel() override;

    // Starts listening; a stale socket left by a crashed instance is
    // replaced. Returns false when the name cannot be taken.
    bool Listen(const QString& serverName);
    bool IsListening() const;

    // A connection is dropped when it completes no name for this long
    // (counted from its start and from each name it completes).
    void SetIdleTimeout(int ms) { idleTimeoutMs_ = ms; }
    void SetMaxConnections(int count) { maxConnections_ = count; }
    void SetRelistenInterval(int ms) { relisten_.setInterval(ms); }
    // Connections held now.
    int ConnectionCount() const { return static_cast<int>(connections_.size()); }

  signals:
    // A name as the bytes the other instance was given (not necessarily UTF-8).
    void FileNameReceived(const QByteArray& name);

  private:
    void OnNewConnection();
    void Drop(QLocalSocket* socket);
    void Relisten();

    QLocalServer* server_;
    QString name_;
    std::vector<QLocalSocket*> connections_; // oldest first
    int idleTimeoutMs_ = kIdleTimeoutMs;
    int maxConnections_ = kMaxConnections;
    QTimer relisten_;
};

} // namespace lumidrax
