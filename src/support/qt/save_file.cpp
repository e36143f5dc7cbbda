// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/qt/save_file.h"

#include <sys/stat.h>
#include <unistd.h>

#include <QFile>
#include <QSaveFile>
#include <cerrno>
#include <cstring>

namespace ks {

namespace {

// errno is read right after the failing call; where that call set none,
// QSaveFile's own text is all there is.
QString Reason(const QSaveFile& file, int err)
{
    if (err != 0) return QString::fromLocal8Bit(std::strerror(err));
    const QString qt = file.errorString();
    return qt.isEmpty() ? QStringLiteral("unknown error") : qt;
}

const char* KindOf(mode_t mode)
{
    if (S_ISDIR(mode)) return "a folder";
    if (S_ISFIFO(mode)) return "a named pipe (FIFO)";
    if (S_ISCHR(mode) || S_ISBLK(mode)) return "a device";
    if (S_ISSOCK(mode)) return "a socket";
    return "not a file";
}

}  // namespace

QString SaveTargetRefusal(const QString& path)
{
    const QByteArray name = QFile::encodeName(path);
    struct stat st {};
    // Nothing there yet, or nothing reachable: the save itself says why.
    if (::stat(name.constData(), &st) != 0) return {};
    struct stat own {};
    const bool link = ::lstat(name.constData(), &own) == 0 && S_ISLNK(own.st_mode);
    if (!S_ISREG(st.st_mode))
        return QStringLiteral("it %1 %2, not a regular file, and is left as it is")
            .arg(link ? QStringLiteral("leads to") : QStringLiteral("is"), QLatin1String(KindOf(st.st_mode)));
    if (st.st_nlink > 1)
        return QStringLiteral(
                   "it has %1 names (hard links), which a new file in its place would part; it is left as it is")
            .arg(qulonglong(st.st_nlink));
    return {};
}

QString SaveFileAtomically(const QString& path, const std::function<bool(QIODevice&)>& fill)
{
    if (const QString refused = SaveTargetRefusal(path); !refused.isEmpty()) return refused;
    struct stat before {};
    const bool existed = ::stat(QFile::encodeName(path).constData(), &before) == 0;
    QSaveFile file(path);  // follows a symbolic link to the file it names
    errno = 0;
    if (!file.open(QIODevice::WriteOnly)) return Reason(file, errno);
    if (existed) {
        // The new file takes the old one's place: its owner where the system
        // lets us (the owner first, since a change of owner clears set-id
        // bits) and all of its mode, which QSaveFile keeps only in part.
        // Where they are not ours to keep, the file becomes the writer's.
        if (::fchown(file.handle(), before.st_uid, before.st_gid) != 0) errno = 0;
        if (::fchmod(file.handle(), before.st_mode & 07777) != 0) errno = 0;
    }
    errno = 0;
    // A failed write is only noticed by the flush in some cases: both count.
    if (!fill(file) || !file.flush()) {
        const QString why = Reason(file, errno);
        file.cancelWriting();
        return why;
    }
    errno = 0;
    if (!file.commit()) return Reason(file, errno);
    return {};
}

QString TrialWriteFailure(const QString& path, qint64 bytes)
{
    QSaveFile file(path);
    errno = 0;
    if (!file.open(QIODevice::WriteOnly)) return Reason(file, errno);
    const QByteArray filler(int(qBound(qint64(1), bytes, qint64(1) << 20)), ' ');
    errno = 0;
    const bool ok = file.write(filler) == filler.size() && file.flush();
    const QString why = ok ? QString() : Reason(file, errno);
    file.cancelWriting();  // never committed: the file stays as it is
    return why;
}

QString SaveFileBytes(const QString& path, const QByteArray& bytes)
{
    return SaveFileAtomically(path, [&bytes](QIODevice& file) { return file.write(bytes) == bytes.size(); });
}

}  // namespace ks
