// SPDX-License-Identifier: GPL-3.0-or-later
#include "document/qt/design_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QFile>
#include <cerrno>
#include <cstring>
#include <string>

#include "support/qt/save_file.h"

namespace ks {

namespace {

QString SystemReason(int err) { return QString::fromLocal8Bit(std::strerror(err)); }

QString NotRegular() { return QStringLiteral("it is not a regular file"); }

}  // namespace

DesignFileRead ReadDesignFile(const QString& path)
{
    DesignFileRead out;
    const QByteArray name = QFile::encodeName(path);
    // A device is not even opened (opening some acts on them), and the open
    // does not wait: a pipe would block an ordinary one.
    struct stat before {};
    if (::stat(name.constData(), &before) != 0) {
        out.error = SystemReason(errno);
        return out;
    }
    if (!S_ISREG(before.st_mode)) {
        out.error = S_ISDIR(before.st_mode) ? QStringLiteral("it is a folder") : NotRegular();
        return out;
    }
    const int fd = ::open(name.constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        out.error = SystemReason(errno);
        return out;
    }
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        out.error = S_ISDIR(st.st_mode) ? QStringLiteral("it is a folder") : NotRegular();
        ::close(fd);
        return out;
    }
    // One byte past the limit is enough to know a file is too large.
    std::string bytes;
    bytes.resize(kMaxDesignBytes + 1);
    std::size_t got = 0;
    while (got < bytes.size()) {
        const ssize_t n = ::read(fd, bytes.data() + got, bytes.size() - got);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) {
            out.error = SystemReason(errno);
            ::close(fd);
            return out;
        }
        if (n == 0) break;
        got += static_cast<std::size_t>(n);
    }
    ::close(fd);
    bytes.resize(got);
    DocumentRead read = ReadDesignDocument(bytes);
    if (!read.doc) {
        out.error = QString::fromStdString(read.error);
        return out;
    }
    out.doc = std::move(read.doc);
    return out;
}

QString WriteDesignFile(const QString& path, const DesignDocument& doc)
{
    if (const std::string why = CheckDesignDocument(doc); !why.empty()) return QString::fromStdString(why);
    return SaveFileBytes(path, QByteArray::fromStdString(WriteDesignDocument(doc)));
}

}  // namespace ks
