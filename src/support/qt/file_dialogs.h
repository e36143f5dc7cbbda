// SPDX-License-Identifier: GPL-3.0-or-later
// File dialogs kept off the kernel's files. Some files under /proc (kmsg)
// block a reader for ever, and Qt's file system model names a file's type
// by reading its first bytes when its name says nothing, on the program's
// own thread once a path is typed: a dialog that opened there, or a path
// typed into one, froze the program.
#pragma once

#include <QString>

class QCoreApplication;
class QObject;

namespace ks {

// The folder a file dialog opens on: `remembered`, unless it is empty,
// missing or lies under /proc, /sys or /dev, and then the user's documents
// folder (the home folder when there is none).
QString DialogFolder(const QString& remembered);

// Every file system model below `root` (a file dialog's, a completer's in a
// print dialog) names types by file name only and never opens a file.
void KeepFileModelsFromReading(QObject& root);

// The same for every dialog the application shows from now on, those Qt
// makes itself (the print dialog's "..." button) included.
void KeepFileModelsFromReadingInEveryWindow(QCoreApplication& app);

}  // namespace ks
