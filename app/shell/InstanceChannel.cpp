#include "InstanceChannel.h"

#include <QByteArray>
#include <QLocalServer>
#include <QLocalSocket>
#include <QPointer>

#include <algorithm>
#include <memory>

#include <unistd.h>

namespace lumidrax {

QString DefaultInstanceName()
{
    return QStringLiteral("lumidrax-%1").arg(static_cast<qulonglong>(::getuid()));
}

bool HandOverToRunningInstance(const QString& serverName, const std::vector<std::string>& names,
                               int timeoutMs)
{
    QLocalSocket socket;
    socket.connectToServer(serverName);
    if (!socket.waitForConnected(timeoutMs))
        return false;
    for (const std::string& name : names) {
        // The name's bytes as they are: a name that is not UTF-8 still opens.
        QByteArray block = QByteArray::fromStdString(name);
        if (block.isEmpty() || block.contains('\0') || block.size() > InstanceChannel::kMaxNameBytes)
            continue;
        block.append('\0');
        socket.write(block);
        if (!socket.waitForBytesWritten(timeoutMs))
            break;
        // Wait for the answer, so that the names arrive one by one in order.
        if (!socket.waitForReadyRead(timeoutMs))
            break;
        socket.readAll();
    }
    socket.disconnectFromServer();
    if (socket.state() != QLocalSocket::UnconnectedState)
        socket.waitForDisconnected(timeoutMs);
    return true;
}

InstanceChannel::InstanceChannel(QObject* parent) : QObject(parent), server_(new QLocalServer(this))
{
    server_->setSocketOptions(QLocalServer::UserAccessOption);
    connect(server_, &QLocalServer::newConnection, this, &InstanceChannel::OnNewConnection);
    // The server gives no signal when it closes itself after a failed
    // accept: look at it from time to time.
    relisten_.setInterval(kRelistenIntervalMs);
    connect(&relisten_, &QTimer::timeout, this, &InstanceChannel::Relisten);
}

InstanceChannel::~InstanceChannel() = default;

bool InstanceChannel::Listen(const QString& serverName)
{
    name_ = serverName;
    relisten_.stop();
    if (server_->listen(serverName)) {
        relisten_.start();
        return true;
    }
    if (server_->serverError() != QAbstractSocket::AddressInUseError)
        return false;
    // Someone answers: that instance keeps the name.
    QLocalSocket probe;
    probe.connectToServer(serverName);
    if (probe.waitForConnected(500)) {
        probe.disconnectFromServer();
        return false;
    }
    QLocalServer::removeServer(serverName);
    if (!server_->listen(serverName))
        return false;
    relisten_.start();
    return true;
}

bool InstanceChannel::IsListening() const
{
    return server_->isListening();
}

void InstanceChannel::Relisten()
{
    if (server_->isListening())
        return;
    // A descriptor shortage may still last; the timer tries again. Only a
    // name another instance has taken in the meantime ends the attempts.
    const QString name = name_;
    if (!Listen(name) && server_->serverError() != QAbstractSocket::AddressInUseError)
        relisten_.start();
}

void InstanceChannel::Drop(QLocalSocket* socket)
{
    const auto it = std::find(connections_.begin(), connections_.end(), socket);
    if (it == connections_.end())
        return;
    connections_.erase(it);
    socket->disconnect(this);
    socket->abort();
    socket->deleteLater();
}

void InstanceChannel::OnNewConnection()
{
    while (QLocalSocket* socket = server_->nextPendingConnection()) {
        while (!connections_.empty() && static_cast<int>(connections_.size()) >= std::max(maxConnections_, 1))
            Drop(connections_.front());
        connections_.push_back(socket);
        auto* idle = new QTimer(socket);
        idle->setSingleShot(true);
        connect(idle, &QTimer::timeout, this, [this, socket] { Drop(socket); });
        idle->start(idleTimeoutMs_);
        connect(socket, &QLocalSocket::disconnected, this, [this, socket] { Drop(socket); });
        auto buffer = std::make_shared<QByteArray>();
        connect(socket, &QLocalSocket::readyRead, this, [this, socket, buffer, idle] {
            buffer->append(socket->readAll());
            qsizetype end;
            while ((end = buffer->indexOf('\0')) >= 0) {
                const QByteArray bytes = buffer->left(end);
                buffer->remove(0, end + 1);
                const QPointer<QLocalSocket> alive(socket);
                if (!bytes.isEmpty())
                    emit FileNameReceived(bytes);
                // The receiver may have run events that dropped the peer.
                if (!alive ||
                    std::find(connections_.begin(), connections_.end(), socket) == connections_.end())
                    return;
                socket->write("1");
                idle->start(idleTimeoutMs_);
            }
            // A sender that never ends its name is cut off.
            if (buffer->size() > kMaxNameBytes)
                Drop(socket);
        });
    }
}

} // namespace lumidrax
