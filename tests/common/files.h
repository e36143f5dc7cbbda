// SPDX-License-Identifier: GPL-3.0-or-later
// Whole files as tests read and write them, and processes as /proc shows them.
#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>

namespace kt {

// The file's bytes; "<missing>" when it cannot be read.
inline QByteArray ReadBytes(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

// The bytes as the whole file; false when they could not all be written.
inline bool WriteBytes(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    return f.open(QIODevice::WriteOnly | QIODevice::Truncate) && f.write(bytes) == bytes.size();
}

// Whether the process has ended: gone, or a zombie nobody reaped yet.
inline bool Ended(qint64 pid)
{
    QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
    return !stat.open(QIODevice::ReadOnly) || stat.readAll().contains(") Z");
}

}  // namespace kt
