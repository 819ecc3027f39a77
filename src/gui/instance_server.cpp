#include "gui/instance_server.h"

#include <QLocalServer>
#include <QLocalSocket>
#include <QTimer>
#include <QVariant>

#include "core/app/forwarded_command.h"
#include "core/platform/instance.h"

namespace soramine::gui {
namespace {

constexpr int kConnectionTimeoutMs = 5000;
const char* const kReceived = "received";

}  // namespace

InstanceServer::InstanceServer(QObject* parent) : QObject(parent), server_(new QLocalServer(this)) {
    server_->setSocketOptions(QLocalServer::UserAccessOption);
    connect(server_, &QLocalServer::newConnection, this, &InstanceServer::accept);
}

bool InstanceServer::listen(const QString& socketPath) {
    QLocalServer::removeServer(socketPath);
    return server_->listen(socketPath);
}

void InstanceServer::accept() {
    while (QLocalSocket* socket = server_->nextPendingConnection()) {
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        if (!platform::peerIsSameUser(socket->socketDescriptor())) {
            socket->abort();
            continue;
        }
        socket->setReadBufferSize(0);
        auto* timer = new QTimer(socket);
        timer->setSingleShot(true);
        connect(timer, &QTimer::timeout, socket, &QLocalSocket::abort);
        timer->start(kConnectionTimeoutMs);
        connect(socket, &QLocalSocket::readyRead, this, [this, socket] { read(socket); });
        read(socket);
    }
}

void InstanceServer::read(QLocalSocket* socket) {
    // The message stays in the socket's buffer until it is whole.
    if (socket->property(kReceived).toBool())
        return;
    const QByteArray header = socket->peek(static_cast<qint64>(app::kForwardedHeaderBytes));
    if (header.size() < static_cast<qsizetype>(app::kForwardedHeaderBytes))
        return;
    const auto size = app::forwardedMessageSize(std::string_view(header.data(), header.size()));
    if (!size) {
        socket->abort();
        return;
    }
    if (socket->bytesAvailable() < static_cast<qint64>(*size))
        return;
    const QByteArray bytes = socket->read(static_cast<qint64>(*size));
    socket->setProperty(kReceived, true);
    socket->disconnectFromServer();
    if (const auto command = app::decodeForwarded(std::string_view(bytes.data(), bytes.size())))
        emit commandReceived(app::forwardedPaths(*command));
}

}  // namespace soramine::gui
