// SPDX-License-Identifier: GPL-3.0-or-later
// Files written whole or not at all (QSaveFile), with the system's own
// reason when a write fails: QSaveFile alone may only say that writing was
// cancelled, which tells a user with a full disk nothing.
//
// Every file the programs write for the user goes through here, so one rule
// holds for all of them: only a regular file is ever replaced. A FIFO, a
// device, a socket or a folder (or a link to one) is refused and left as it
// is; a symbolic link to a regular file is written through, the link kept;
// a file with other names (hard links) is refused, since putting a new file
// in its place would silently part it from them; the file's mode and, where
// the system allows, its owner are kept.
#pragma once

#include <QString>
#include <functional>

class QIODevice;

namespace ks {

// Why path may not be written: a short phrase ("a named pipe (FIFO), not a
// regular file"), or empty when it may be (it is a regular file with one
// name, or nothing is there yet).
QString SaveTargetRefusal(const QString& path);

// Writes path through QSaveFile; fill writes the contents and returns false
// when it fails. Empty on success, otherwise the reason ("No space left on
// device", "Permission denied", or the refusal above); the file that was
// there is left as it was, and nothing else is left behind.
QString SaveFileAtomically(const QString& path, const std::function<bool(QIODevice&)>& fill);

// The same for bytes already in memory.
QString SaveFileBytes(const QString& path, const QByteArray& bytes);

// Why bytes could not be written at path: a trial through QSaveFile that is
// never committed, so the file stays as it is. Empty when it would work.
QString TrialWriteFailure(const QString& path, qint64 bytes);

}  // namespace ks
