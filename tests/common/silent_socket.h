// A Unix socket that takes connections (into the kernel's backlog) and never
// says a word: a session bus that hangs whoever waits on it.
#pragma once

#include <QFile>
#include <QString>
#include <cstring>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

namespace kt {

class SilentSocket {
public:
    explicit SilentSocket(const QString& path) : path_(path)
    {
        const QByteArray p = QFile::encodeName(path);
        sockaddr_un sa{};
        sa.sun_family = AF_UNIX;
        if (std::size_t(p.size()) >= sizeof sa.sun_path) return;
        std::memcpy(sa.sun_path, p.constData(), std::size_t(p.size()));
        fd_ = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
        if (fd_ < 0) return;
        if (::bind(fd_, reinterpret_cast<const sockaddr*>(&sa), sizeof sa) != 0 || ::listen(fd_, 64) != 0) {
            ::close(fd_);
            fd_ = -1;
        }
    }
    ~SilentSocket()
    {
        if (fd_ >= 0) ::close(fd_);
        QFile::remove(path_);
    }
    SilentSocket(const SilentSocket&) = delete;
    SilentSocket& operator=(const SilentSocket&) = delete;

    bool ok() const { return fd_ >= 0; }
    QString address() const { return QStringLiteral("unix:path=") + path_; }

private:
    QString path_;
    int fd_ = -1;
};

}  // namespace kt
