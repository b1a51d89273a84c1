#include "InstanceChannel.h"

#include <QByteArray>
#include <QLocalServer>
#include <QLocalSocket>

#include <memory>

#include <unistd.h>

namespace lumidrax {

QString DefaultInstanceName()
{
    return QStringLiteral("lumidrax-%1").arg(static_cast<qulonglong>(::getuid()));
}

bool HandOverToRunningInstance(const QString& serverName, const QStringList& names, int timeoutMs)
{
    QLocalSocket socket;
    socket.connectToServer(serverName);
    if (!socket.waitForConnected(timeoutMs))
        return false;
    for (const QString& name : names) {
        QByteArray block = name.toUtf8();
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
}

InstanceChannel::~InstanceChannel() = default;

bool InstanceChannel::Listen(const QString& serverName)
{
    if (server_->listen(serverName))
        return true;
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
    return server_->listen(serverName);
}

void InstanceChannel::OnNewConnection()
{
    while (QLocalSocket* socket = server_->nextPendingConnection()) {
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        auto buffer = std::make_shared<QByteArray>();
        connect(socket, &QLocalSocket::readyRead, this, [this, socket, buffer] {
            buffer->append(socket->readAll());
            qsizetype end;
            while ((end = buffer->indexOf('\0')) >= 0) {
                const QByteArray bytes = buffer->left(end);
                buffer->remove(0, end + 1);
                const QString name = QString::fromUtf8(bytes);
                if (!name.isEmpty())
                    emit FileNameReceived(name);
                socket->write("1");
            }
            // A sender that never ends its name is cut off.
            if (buffer->size() > kMaxNameBytes) {
                buffer->clear();
                socket->abort();
            }
        });
    }
}

} // namespace lumidrax
