// SPDX-License-Identifier: GPL-3.0-or-later
// The application shell: the start-up sequence, the command, window and
// control tables, the set-up, close and quit sequences, and the windows. It
// owns no design state: everything lives in the Kestrova context it is given.
#pragma once

#include <QFileDialog>
#include <QMessageBox>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QTimer>
#include <QUrl>
#include <memory>
#include <string>
#include <string_view>

#include "app/design_commands.h"
#include "app/qt/default_window.h"
#include "app/qt/design_window.h"
#include "app/qt/menu_window.h"
#include "app/qt/prefs_window.h"
#include "exchange/companion.h"
#include "reports/qt/printing.h"
#include "reports/qt/response_export.h"
#include "reports/qt/snapshot.h"
#include "sound/sound.h"
#include "support/bounded_queue.h"
#include "support/qt/resource_dir.h"
#include "update/qt/update_desktop.h"

namespace ks {

class ImageCanvas;
class Menus;
class PrefsStore;
class SoundPlayer;
class UpdateCheck;

// The platform services the shell uses; tests pass one that records.
class ShellPlatform {
public:
    virtual ~ShellPlatform() = default;
    // Opening a URL with its default application.
    virtual bool OpenUrl(const QUrl& url);
    virtual void Beep();
    // Ends the process: leaves the event loop with the status.
    virtual void Exit(int status);
    // Launches the companion; true when one was started.
    virtual bool LaunchCompanion() { return false; }
};

// The parts report to the shell by signals, connected in the Wire
// functions; the interfaces it implements are what the parts ask back (the
// window a sheet opens on, the desktop services of the update), what the
// toolkit-free message protocol has done, and the commands an opened design
// file is applied with.
class Shell final : public QObject,
                    public SheetWindow,
                    public CompanionHost,
                    public UpdateDesktop,
                    public DesignCommands {
    Q_OBJECT
public:
    static constexpr int kStartUpDelayMs = 1200;

    Shell(Kestrova& k, Messenger& messenger, PrefsStore& store, SoundPlayer& sound, ShellPlatform& platform,
          QObject* parent = nullptr);
    ~Shell() override;

    // The start: the first message to the companion, the preferences, the
    // menus, the start-up timer. The context holds its start values already.
    void Start();

    // The tables; false for what no row covers.
    bool Command(int menuId, int index);
    bool ControlHit(int id);
    // A message from the companion (class Kstv, id TEXT).
    void Receive(std::string_view text);

    // The sequences. The names are the design's own: ...Wnd opens or closes
    // a window, ...OKReturn is what its OK (or Return) leads to.
    // The start-up timer's action: the default-parameter window, unless a
    // driver has come from the companion first.
    void CarbonTimerAction();
    // The set-up sequence: the design window for the adopted driver, in the
    // amplitude view, with the menus of a design in progress.
    void InitSetUp();
    // The design window's close: the menus without a design, the menu window.
    void ResponseWndClose();
    // The one way the program quits: kQuitVtrl to the companion (unless it
    // asked for the quit), the preferences saved, the process ended.
    void QuitSequence(bool tellCompanion = true) override;
    // After the preferences window's OK: its menus back, the graph redrawn.
    void PreferenceWndOKReturn();
    // After the default-parameter window's OK: the built-in driver adopted,
    // then the set-up sequence.
    void DefaultParamWndOKReturn();

    // The small commands.
    // About Kestrova: the about box (raised when open already).
    void HiAboutWnd();
    // The user guide in the desktop's browser; the Help alert when it is not
    // installed.
    void HelpWnd();
    // Where HelpWnd looks for the guide (the installed one unless told).
    void setUserGuide(const QString& path) { userGuide_ = path; }
    // The maker's web site in the browser; 0, or -50 when nothing opened.
    int LaunchMyURL();
    // A URL with the desktop's application for it; 0, or -50 for a URL
    // without a scheme or one nothing opened.
    int LSLaunchURL(const QString& url);
    // A file of the program's own resources (name in folder) with the
    // desktop's application for it; -50 when missing or not opened.
    int CreateURLFromBundleResourceAndLaunch(const QString& name, const QString& folder);

    // What tests and the benchmark look at.
    Menus& menus() { return *menus_; }
    DesignWindow* design() const { return design_; }
    DefaultParamWindow* defaultWindow() const { return default_; }
    PreferencesWindow* preferencesWindow() const { return prefs_; }
    MenuWindow* menuWindow() const { return strip_; }
    ImageCanvas& graph() { return *graph_; }
    Snapshot& snapshot() { return *snapshot_; }
    Printing& printing() { return *printing_; }
    ResponseExport& responseExport() { return *export_; }
    // Made on first use: the network stack it brings loads only when a
    // check is asked for.
    UpdateCheck& update();
    QWidget* aboutBox() const { return about_; }
    QWidget* helpAlert() const { return help_; }
    bool startUpTimerActive() const { return startUp_.isActive(); }

    // SheetWindow
    QWidget* designWindow() override;

    // CompanionHost (what each does is said there)
    void SetUpDesign() override;
    void StartUpdateCheck() override;
    void HideWindows() override;
    void CloseDesignWindow() override;
    // The busy menus (Menus::MenuDisable), while a dialog or a sheet is up.
    void MenuDisable() override;
    void LaunchCompanion() override;
    void Beep() override;

    // UpdateDesktop
    bool OpenWithDefaultApp(const QString& path) override;

    // InitMenu16: the menus of a design in progress (the View menu only for
    // "amp"); InitMenu11: those without one. Both refresh Speaker Select.
    void InitMenu16();
    void InitMenu11();
    // After a dialog: whichever of the two fits the design window's state.
    void RestoreMenus();
    // One of the protocol's words (words.h) to the companion.
    void SendToVantrel(std::string_view text);
    void SavePrefs();

    // What the table rows run (and, as DesignCommands, an opened design).
    // The driver of the last design again; nothing before one was adopted.
    void CommandNewBoxDesign();
    void ChooseResponse(int item) override;
    void ChooseView(int item) override;
    void ChooseAlignment(int item) override;
    void ChooseQa(int item) override;
    void ClosedBox() override;
    void InfiniteBaffle() override;
    void EnterBox(std::int16_t id, const PStr& text) override;
    void CommandCalc();
    void CommandCopyParameters();
    void CommandSnapShot();
    void CommandPageSetup();
    void CommandPrint();
    void CommandExportResponse();
    void CommandSpeakerSelect();
    void CommandCheckForUpdates();
    void CommandEdit(int item);
    // Preferences...: the preferences window (once), the menus busy meanwhile.
    void PreferenceWnd();
    // A mail to the maker in the desktop's mail program.
    void MailToMaker();

    // Design files and the comparison (shell_designs.cpp).
    void CommandOpenDesign();
    void CommandSaveDesign();
    void CommandSaveDesignAs();
    void CommandKeepForComparison();
    void CommandClearComparison();
    // Reads path and, when it is a design, brings it back as it was saved:
    // the driver as one from the companion comes, then the box and the view
    // by the user's own commands, the kept designs with it. Otherwise one
    // alert names the file and the reason, and nothing else changes.
    bool OpenDesignFile(const QString& path);
    bool SaveDesignTo(const QString& path);
    void OpenRecentDesign(const QString& path);
    // The file of `kestrova FILE`, once the loop runs.
    void OpenDesignAtStart(const QString& path);
    // A file a second launch handed over: opened, its window raised.
    void OpenHandedDesign(const QString& path);
    // The file the design was opened from or saved to last; empty for none.
    const QString& designPath() const { return designPath_; }
    QFileDialog* designDialog() const { return designDialog_; }
    QMessageBox* designAlert() const { return designAlert_; }

private:
    void WireParts();
    void WireUpdateCheck(UpdateCheck& u);
    void WireDesignWindow(DesignWindow& w);
    void WireDefaultWindow(DefaultParamWindow& w);
    void WirePreferencesWindow(PreferencesWindow& w);
    void WireMenuWindow(MenuWindow& w);
    void RefreshSpeakerSelect();
    void CloseDesign(bool showMenuWindow);
    void ShowMenuWindow();
    QWidget* DialogParent() const;
    QFileDialog* DesignFileDialog(const QString& title, bool save);
    void ShowDesignAlert(const QString& text, const QString& informative);
    void RememberDesignFile(const QString& path);

    // Plays through the real player with the shell held: a sound blocks
    // the program until it ends, so a message or an update timer that comes
    // meanwhile waits for it.
    class HeldSound final : public SoundPlayer {
    public:
        HeldSound(SoundPlayer& inner, Shell& shell) : inner_(inner), shell_(shell) {}
        int PlayMovieSoundFromSupportFilename(std::string_view name, std::string_view folder) override;

    private:
        SoundPlayer& inner_;
        Shell& shell_;
    };
    void Hold(bool on);
    void ReleaseHeld();

    // Remembers how many processes the last message reached.
    class CountingMessenger final : public Messenger {
    public:
        explicit CountingMessenger(Messenger& inner) : inner_(inner) {}
        int send(std::string_view name, std::string_view cls, std::string_view text) override
        {
            return last = inner_.send(name, cls, text);
        }
        int last = 0;

    private:
        Messenger& inner_;
    };

    Kestrova& k_;
    ShellPlatform& platform_;
    CountingMessenger messenger_;
    PrefsStore& store_;
    HeldSound sound_;
    int holds_ = 0;
    // Messages and handed-over design files that came while a sound played.
    struct Held {
        bool design = false;
        std::string text;  // the message, or the file's path in UTF-8
    };
    BoundedQueue<Held> held_;
    QTimer release_;
    std::unique_ptr<Menus> menus_;
    std::unique_ptr<ImageCanvas> graph_;
    std::unique_ptr<Snapshot> snapshot_;
    std::unique_ptr<Printing> printing_;
    std::unique_ptr<ResponseExport> export_;
    std::unique_ptr<UpdateCheck> update_;
    QPointer<DesignWindow> design_;
    QPointer<DefaultParamWindow> default_;
    QPointer<PreferencesWindow> prefs_;
    QPointer<MenuWindow> strip_;
    QPointer<QWidget> about_;
    QPointer<QWidget> help_;
    QString userGuide_ = UserGuidePath();
    QTimer startUp_;
    QString designPath_;
    QString designFolder_;  // where the last design file was opened or saved
    QPointer<QFileDialog> designDialog_;
    QPointer<QMessageBox> designAlert_;
    bool quitting_ = false;
    bool launched_ = false;
};

}  // namespace ks
