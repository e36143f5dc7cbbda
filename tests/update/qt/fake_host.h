// A shell stand-in for the update tests: records, in order, what the check
// reports and the files it opens; moving to the trash is the real one.
#pragma once

#include <QObject>
#include <QString>
#include <QStringList>

#include "update/qt/update_check.h"
#include "update/qt/update_desktop.h"

struct FakeUpdateDesktop : ks::UpdateDesktop {
    QStringList calls;   // "MenuDisable", "InitMenu16", "QuitSequence", "Open PATH" ...
    QStringList trashed; // paths given to MoveToTrash

    // Records the check's signals under the names of what the shell runs.
    void watch(ks::UpdateCheck& u)
    {
        QObject::connect(&u, &ks::UpdateCheck::menusBusy, [this] { calls << "MenuDisable"; });
        QObject::connect(&u, &ks::UpdateCheck::menusOpen, [this] { calls << "InitMenu16"; });
        QObject::connect(&u, &ks::UpdateCheck::menusClosed, [this] { calls << "InitMenu11"; });
        QObject::connect(&u, &ks::UpdateCheck::closeDesignWindow, [this] { calls << "CloseDesignWindow"; });
        QObject::connect(&u, &ks::UpdateCheck::quitRequested, [this] { calls << "QuitSequence"; });
    }
    bool OpenWithDefaultApp(const QString& path) override
    {
        calls << "Open " + path;
        return true;
    }
    bool MoveToTrash(const QString& path) override
    {
        trashed << path;
        return ks::UpdateDesktop::MoveToTrash(path);
    }
};
