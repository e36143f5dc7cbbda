// `kestrova FILE`: the design file a launch names, handed to a Kestrova
// already running when there is one (the file manager's double click while
// the program is open), else opened by this one.
#pragma once

#include <QString>
#include <QStringList>

namespace ks {

struct DesignLaunch {
    QString file;             // absolute; empty when none is named
    bool handedOver = false;  // a running Kestrova took it: this one ends
};

// From the program's arguments (Qt's own options already taken out): the
// first that is no option names the file.
DesignLaunch LaunchDesignFile(const QStringList& arguments);

}  // namespace ks
