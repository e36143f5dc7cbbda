// SPDX-License-Identifier: GPL-3.0-or-later
// The program's loadable modules: parts with heavy libraries of their own
// (the sound player, the archive download) that are loaded on first use, so
// the program starts without them.
#pragma once

#include <QLibrary>
#include <QString>

namespace ks {

// The function `function` of module `name` (libNAME.so), looked for beside
// the running program, then in the installed layout's module folder
// (LIBDIR/kestrova), then in the application's library paths. Null, with one line on standard error, when the module
// cannot be loaded or lacks the function; the module stays loaded.
QFunctionPointer ModuleFunction(const QString& name, const char* function);

}  // namespace ks
