#include "support/qt/save_file.h"

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

}  // namespace

QString SaveFileAtomically(const QString& path, const std::function<bool(QIODevice&)>& fill)
{
    QSaveFile file(path);
    errno = 0;
    if (!file.open(QIODevice::WriteOnly)) return Reason(file, errno);
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
