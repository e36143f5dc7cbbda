// A shell stand-in for the update tests: records every call in order.
// Opening files is recorded only; moving to the trash is the real one.
#pragma once

#include <QString>
#include <QStringList>

#include "update/qt/update_host.h"

struct FakeUpdateHost : ks::UpdateHost {
    QStringList calls;   // "MenuDisable", "InitMenu16", "Send QuitVtrl", "Open PATH" ...
    QStringList trashed; // paths given to MoveToTrash

    void MenuDisable() override { calls << "MenuDisable"; }
    void InitMenu16() override { calls << "InitMenu16"; }
    void InitMenu11() override { calls << "InitMenu11"; }
    void CloseDesignWindow() override { calls << "CloseDesignWindow"; }
    void SendToVantrel(std::string_view text) override
    {
        calls << "Send " + QString::fromLatin1(text.data(), qsizetype(text.size()));
    }
    void SavePrefs() override { calls << "SavePrefs"; }
    void Quit(int status) override { calls << "Quit " + QString::number(status); }
    bool OpenWithDefaultApp(const QString& path) override
    {
        calls << "Open " + path;
        return true;
    }
    bool MoveToTrash(const QString& path) override
    {
        trashed << path;
        return ks::UpdateHost::MoveToTrash(path);
    }
};
