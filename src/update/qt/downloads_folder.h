// SPDX-License-Identifier: GPL-3.0-or-later
// Files of the user's Downloads folder: moving one to the trash, opening one
// with its default application. Both are silent about failures.
#pragma once

#include <QString>

namespace ks {

class UpdateDesktop;

// QStandardPaths' download location, or an empty text when there is none.
QString DefaultDownloadsFolder();

// Makes the user's trash ($XDG_DATA_HOME/Trash with files/ and info/, only
// its owner's) where it is missing; false when it cannot be made.
bool EnsureUserTrash();

// Moves fileName of folder to the trash when it is there; true when moved.
// When the trash cannot be made or the move fails the file stays; the
// download then takes the next free name, never this one.
bool ObjectToTrash(UpdateDesktop& desktop, const QString& folder, const QString& fileName);

// Opens fileName of folder (or an absolute path) with its default
// application; false when the file is missing or nothing opened it.
bool LSLaunchURLInDownloadsFolder(UpdateDesktop& desktop, const QString& folder, const QString& fileName);

}  // namespace ks
