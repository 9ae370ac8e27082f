// The second start's request to the running copy; see instancechannel.h.
#include "app/instancechannel.h"

#include <unistd.h>

#include <QCryptographicHash>
#include <QLocalSocket>

namespace {

const QByteArray kActivate = "activate\n";

}  // namespace

InstanceChannel::InstanceChannel(const QString& programDirectory, QObject* parent)
    : QObject(parent), name_(serverName(programDirectory)) {
    server_.setSocketOptions(QLocalServer::UserAccessOption);
    connect(&server_, &QLocalServer::newConnection, this, &InstanceChannel::accept);
}

QString InstanceChannel::serverName(const QString& programDirectory) {
    const QByteArray digest =
        QCryptographicHash::hash(programDirectory.toUtf8(), QCryptographicHash::Sha1).toHex();
    return QStringLiteral("veltrane-%1-%2")
        .arg(::getuid())
        .arg(QString::fromLatin1(digest.left(16)));
}

bool InstanceChannel::listen() {
    if (server_.isListening()) {
        return true;
    }
    if (server_.listen(name_)) {
        return true;
    }
    QLocalServer::removeServer(name_);
    return server_.listen(name_);
}

bool InstanceChannel::requestActivation(int timeoutMs) {
    QLocalSocket socket;
    socket.connectToServer(name_);
    if (!socket.waitForConnected(timeoutMs)) {
        return false;
    }
    socket.write(kActivate);
    const bool written = socket.waitForBytesWritten(timeoutMs);
    socket.disconnectFromServer();
    return written;
}

void InstanceChannel::accept() {
    while (QLocalSocket* socket = server_.nextPendingConnection()) {
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        // The request may arrive whole before the connection is seen, or later.
        const auto read = [this, socket] {
            while (socket->canReadLine()) {
                if (socket->readLine(kActivate.size() + 1) == kActivate) {
                    emit activationRequested();
                }
            }
        };
        connect(socket, &QLocalSocket::readyRead, this, read);
        read();
    }
}
