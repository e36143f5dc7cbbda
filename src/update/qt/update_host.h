// What the update check needs from the application shell. The shell
// implements it; tests use a fake that records the calls.
#pragma once

#include <string_view>

#include <QString>

namespace ks {

class UpdateHost {
public:
    virtual ~UpdateHost() = default;
    // The busy state of the menu bar.
    virtual void MenuDisable() = 0;
    // The menus for a design in progress.
    virtual void InitMenu16() = 0;
    // The no-design menus.
    virtual void InitMenu11() = 0;
    // The close sequence of the design window (nothing when it is closed).
    virtual void CloseDesignWindow() = 0;
    // One message to the companion (Mac Roman text).
    virtual void SendToVantrel(std::string_view text) = 0;
    virtual void SavePrefs() = 0;
    // Ends the program with this status.
    virtual void Quit(int status) = 0;

    // Platform services with their usual implementations; tests replace
    // them so nothing is opened on the test machine.
    virtual bool OpenWithDefaultApp(const QString& path);
    virtual bool MoveToTrash(const QString& path);
};

}  // namespace ks
