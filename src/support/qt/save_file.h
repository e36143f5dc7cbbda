// Files written whole or not at all (QSaveFile), with the system's own
// reason when a write fails: QSaveFile alone may only say that writing was
// cancelled, which tells a user with a full disk nothing.
#pragma once

#include <QString>
#include <functional>

class QIODevice;

namespace ks {

// Writes path through QSaveFile; fill writes the contents and returns false
// when it fails. Empty on success, otherwise the reason ("No space left on
// device", "Permission denied"); nothing is left behind then.
QString SaveFileAtomically(const QString& path, const std::function<bool(QIODevice&)>& fill);

// The same for bytes already in memory.
QString SaveFileBytes(const QString& path, const QByteArray& bytes);

// Why bytes could not be written at path: a trial through QSaveFile that is
// never committed, so the file stays as it is. Empty when it would work.
QString TrialWriteFailure(const QString& path, qint64 bytes);

}  // namespace ks
