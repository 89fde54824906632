#include "platform/singleinstance.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QSocketNotifier>

#include <fcntl.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace quorlet {

namespace {

// The socket's file in the temporary folder, as a local server of that name always had it.
QString SocketPath(const QString& title, const QString& programFolder) {
    return QDir::tempPath() + QLatin1Char('/') + TSingleInstance::ServerName(title, programFolder);
}

// False when the path does not fit an address.
bool MakeAddress(const QString& path, sockaddr_un& address) {
    const QByteArray bytes = QFile::encodeName(path);
    address = {};
    address.sun_family = AF_UNIX;
    if (static_cast<std::size_t>(bytes.size()) >= sizeof address.sun_path) return false;
    std::memcpy(address.sun_path, bytes.constData(), static_cast<std::size_t>(bytes.size()));
    return true;
}

enum class TAnswer { Listening, Nobody, Stale };

TAnswer Probe(const QString& path) {
    sockaddr_un address;
    if (!MakeAddress(path, address)) return TAnswer::Nobody;
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    if (fd < 0) return TAnswer::Nobody;
    int result;
    do
        result = ::connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address);
    while (result != 0 && errno == EINTR);
    const int code = result == 0 ? 0 : errno;
    ::close(fd);
    // A full queue is a live instance that is busy.
    if (result == 0 || code == EAGAIN || code == EINPROGRESS) return TAnswer::Listening;
    return code == ECONNREFUSED ? TAnswer::Stale : TAnswer::Nobody;
}

} // namespace

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
    return Probe(SocketPath(title, programFolder)) == TAnswer::Listening;
}

bool TSingleInstance::Claim(const QString& title, const QString& programFolder) {
    Release();
    const QString path = SocketPath(title, programFolder);
    sockaddr_un address;
    if (!MakeAddress(path, address)) return false;
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    if (fd < 0) return false;
    const auto bindAndListen = [&] {
        return ::bind(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0 &&
               ::listen(fd, 16) == 0;
    };
    bool listening = bindAndListen();
    // Only a socket nobody answers on is a crashed instance's leftover: a second instance
    // started at the same moment must not delete the first one's live socket.
    if (!listening && errno == EADDRINUSE && Probe(path) == TAnswer::Stale) {
        ::unlink(address.sun_path);
        listening = bindAndListen();
    }
    if (!listening) {
        ::close(fd);
        return false;
    }
    fd_ = fd;
    path_ = path;
    notifier_ = std::make_unique<QSocketNotifier>(fd_, QSocketNotifier::Read);
    QObject::connect(notifier_.get(), &QSocketNotifier::activated, notifier_.get(), [fd] {
        for (int caller; (caller = ::accept4(fd, nullptr, nullptr, SOCK_CLOEXEC)) >= 0;)
            ::close(caller);
    });
    return true;
}

void TSingleInstance::Release() {
    notifier_.reset();
    if (fd_ < 0) return;
    ::close(fd_);
    fd_ = -1;
    // The file goes with the socket; a later instance binds a fresh one.
    ::unlink(QFile::encodeName(path_).constData());
    path_.clear();
}

} // namespace quorlet
