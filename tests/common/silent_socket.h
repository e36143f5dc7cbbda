// A Unix socket that takes connections (into the kernel's backlog) and never
// says a word: a session bus that hangs whoever waits on it.
#pragma once

#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <QFile>
#include <QString>
#include <cstring>

namespace kt {

class SilentSocket {
public:
    explicit SilentSocket(const QString& path) : path_(path)
    {
        const QByteArray p = QFile::encodeName(path);
        sockaddr_un sa{.sun_family = AF_UNIX, .sun_path = {}};
        std::strncpy(sa.sun_path, p.constData(), sizeof sa.sun_path - 1);
        fd_ = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
        ok_ = std::size_t(p.size()) < sizeof sa.sun_path && fd_ >= 0 &&
              ::bind(fd_, reinterpret_cast<const sockaddr*>(&sa), sizeof sa) == 0 && ::listen(fd_, 64) == 0;
    }
    SilentSocket(const SilentSocket&) = delete;
    ~SilentSocket()
    {
        if (fd_ >= 0) ::close(fd_);
        QFile::remove(path_);
    }
    bool ok() const { return ok_; }
    QString address() const { return QStringLiteral("unix:path=") + path_; }

private:
    QString path_;
    int fd_ = -1;
    bool ok_ = false;
};

}  // namespace kt
