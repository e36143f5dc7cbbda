// SPDX-License-Identifier: GPL-3.0-or-later
// The desktop services the update check uses, with their usual
// implementations; tests replace them so nothing is opened or moved on the
// test machine. Everything else the check reports to the shell by signals.
#pragma once

#include <QString>

namespace ks {

class UpdateDesktop {
public:
    virtual ~UpdateDesktop() = default;
    virtual bool OpenWithDefaultApp(const QString& path);
    virtual bool MoveToTrash(const QString& path);
};

}  // namespace ks
