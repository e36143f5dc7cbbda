// SPDX-License-Identifier: GPL-3.0-or-later
// A home of the test's own in a temporary folder, so no test reads or
// writes the user's preferences, library or Downloads: as environment for
// a child process, or put into this process's environment for the children
// it starts.
#pragma once

#include <QProcessEnvironment>
#include <QTemporaryDir>

namespace kt {

class SandboxHome {
public:
    QString path() const { return dir_.path(); }
    QString filePath(const QString& name) const { return dir_.filePath(name); }

    // The system environment with HOME and the XDG folders pointing here.
    QProcessEnvironment environment() const
    {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        env.insert(QStringLiteral("HOME"), dir_.path());
        env.insert(QStringLiteral("XDG_CONFIG_HOME"), dir_.filePath(QStringLiteral("config")));
        env.insert(QStringLiteral("XDG_DATA_HOME"), dir_.filePath(QStringLiteral("data")));
        return env;
    }

    // The same, for this process and everything it starts from now on.
    void enter() const
    {
        const QProcessEnvironment env = environment();
        for (const char* key : {"QT_QPA_PLATFORM", "HOME", "XDG_CONFIG_HOME", "XDG_DATA_HOME"})
            qputenv(key, env.value(QString::fromLatin1(key)).toUtf8());
    }

private:
    QTemporaryDir dir_;
};

}  // namespace kt
