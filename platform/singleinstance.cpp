#include "platform/singleinstance.h"

#include <QCryptographicHash>
#include <QLocalServer>
#include <QLocalSocket>

#include <unistd.h>

namespace quorlet {

TSingleInstance::TSingleInstance() = default;

TSingleInstance::~TSingleInstance() {
    Release();
}

QString TSingleInstance::ServerName(const QString& title, const QString& programFolder) {
    const QByteArray folder =
        QCryptographicHash::hash(programFolder.toUtf8(), QCryptographicHash::Sha1).toHex();
    return title + QStringLiteral(".") + QString::number(::getuid()) + QStringLiteral(".") +
           QString::fromLatin1(folder.left(12));
}

bool TSingleInstance::IsRunning(const QString& title, const QString& programFolder) {
    QLocalSocket socket;
    socket.connectToServer(ServerName(title, programFolder));
    const bool connected = socket.waitForConnected(200);
    socket.abort();
    return connected;
}

bool TSingleInstance::Claim(const QString& title, const QString& programFolder) {
    Release();
    const QString name = ServerName(title, programFolder);
    server_ = std::make_unique<QLocalServer>();
    if (server_->listen(name)) return true;
    // Only a socket nobody answers on is a crashed instance's leftover: a second instance
    // started at the same moment must not delete the first one's live socket.
    if (IsRunning(title, programFolder)) {
        server_.reset();
        return false;
    }
    QLocalServer::removeServer(name);
    if (server_->listen(name)) return true;
    server_.reset();
    return false;
}

void TSingleInstance::Release() {
    if (server_) server_->close();
    server_.reset();
}

} // namespace quorlet
