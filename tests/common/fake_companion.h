// A stand-in "vantrel" for launch tests: a script that notes its process id
// in a marker file and then waits, never joining the bus.
#pragma once

#include <QFile>
#include <QStandardPaths>
#include <QString>
#include <QStringList>

namespace kt {

struct FakeCompanion {
    // Writes the script as folder/vantrel; false when it cannot.
    bool install(const QString& folder)
    {
        marker = folder + QStringLiteral("/vantrel-started");
        QFile script(folder + QStringLiteral("/vantrel"));
        if (!script.open(QIODevice::WriteOnly)) return false;
        script.write(
            ("#!/bin/sh\necho $$ >> '" + marker + "'\nexec '" + QStandardPaths::findExecutable("sleep") + "' 60\n")
                .toUtf8());
        script.close();
        return script.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }
    // The process ids of the launches so far.
    QStringList started() const
    {
        QFile m(marker);
        return m.open(QIODevice::ReadOnly) ? QString::fromUtf8(m.readAll()).split('\n', Qt::SkipEmptyParts)
                                           : QStringList();
    }
    QString marker;
};

}  // namespace kt
