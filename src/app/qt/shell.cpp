// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/qt/shell.h"

#include <QApplication>
#include <QCoreApplication>
#include <QDesktopServices>
#include <QFileInfo>
#include <QLineEdit>
#include <QMessageBox>
#include <QWidget>
#include <optional>

#include "app/qt/default_window.h"
#include "app/qt/design_window.h"
#include "app/qt/menu_window.h"
#include "app/qt/menus.h"
#include "app/qt/prefs_store.h"
#include "app/qt/prefs_window.h"
#include "exchange/qt/clipboard.h"
#include "graphs/dispatch.h"
#include "graphs/qt/image_canvas.h"
#include "model/response.h"
#include "support/qt/file_dialogs.h"
#include "support/qt/qt_text.h"
#include "support/qt/resource_dir.h"
#include "update/qt/update_check.h"
#include "update/version.h"

namespace ks {

using namespace menu;

namespace {

// Closes one of the program's own windows at once; it is deleted once the
// event that closed it has been handled.
template <typename W>
void Dismiss(QPointer<W>& w)
{
    if (!w) return;
    w->hide();
    w->deleteLater();
    w = nullptr;
}

}  // namespace

bool ShellPlatform::OpenUrl(const QUrl& url) { return QDesktopServices::openUrl(url); }

void ShellPlatform::Beep() { QApplication::beep(); }

void ShellPlatform::Exit(int status) { QCoreApplication::exit(status); }

Shell::Shell(Kestrova& k, Messenger& messenger, PrefsStore& store, SoundPlayer& sound, ShellPlatform& platform,
             QObject* parent)
    : QObject(parent),
      k_(k),
      platform_(platform),
      messenger_(messenger),
      store_(store),
      sound_(sound, *this),
      menus_(std::make_unique<Menus>()),
      graph_(std::make_unique<ImageCanvas>(ImagesDir(), qApp ? qApp->devicePixelRatio() : 1.0))
{
    k_.screen = graph_.get();
    // The dialogs Qt makes itself too: a typed /proc path must not hang them.
    if (QCoreApplication* app = QCoreApplication::instance()) KeepFileModelsFromReadingInEveryWindow(*app);
    // Every finished drawing shows in the window that is open now.
    graph_->setChangedCallback([this] {
        if (design_) design_->RepaintGraph();
    });
    snapshot_ = std::make_unique<Snapshot>(k_, sound_, *this);
    printing_ = std::make_unique<Printing>(k_, *this);
    export_ = std::make_unique<ResponseExport>(k_, *this);
    WireParts();

    release_.setSingleShot(true);
    release_.setInterval(0);
    connect(&release_, &QTimer::timeout, this, &Shell::ReleaseHeld);

    startUp_.setSingleShot(true);
    startUp_.setInterval(kStartUpDelayMs);
    connect(&startUp_, &QTimer::timeout, this, &Shell::CarbonTimerAction);
}

Shell::~Shell()
{
    graph_->setChangedCallback({});
    delete design_;
    delete default_;
    delete prefs_;
    delete strip_;
    delete about_;
    delete help_;
    k_.screen = nullptr;
}

void Shell::Start()
{
    SendToVantrel(kBootedVtrlFromKstv);
    store_.LoadPrefs(k_.prefs);
    menus_->SetRecentDesigns(k_.prefs.RecentDesigns);
    InitMenu11();
    // One start-up timer at a time.
    startUp_.start();
}

// ---------------------------------------------------------------- sequences

void Shell::CarbonTimerAction()
{
    if (!(k_.sh.s_Masg == "null") || k_.sh.ClickOpenFlag != 0) return;
    InitSetUpMenuParam(k_.d);
    default_ = new DefaultParamWindow(k_.d, menus_.get());
    WireDefaultWindow(*default_);
    default_->show();
    k_.sh.ClickOpenFlag = 1;
}

void Shell::DefaultParamWndOKReturn()
{
    ParameterPass(k_.d);
    Dismiss(default_);
    InitSetUp();
}

void Shell::InitSetUp()
{
    // A new design is no file's until it is saved (or opened: the opening
    // names it once this has run).
    designPath_.clear();
    InitSetUpMenuParam(k_.d);
    InitMenu16();
    SPLcal(k_.d);
    // A new design replaces the window of the old one.
    Dismiss(design_);
    design_ = new DesignWindow(k_, *graph_, *menus_);
    WireDesignWindow(*design_);
    design_->PlaceAndShow();
    // Drawn at the pixel ratio of the screen the window opened on.
    graph_->setDevicePixelRatio(design_->devicePixelRatioF());
    if (strip_) strip_->hide();
    ResponsePlot(k_);  // the amplitude view: s_Resp is "amp" again
    design_->ResponseWndDisp();
    k_.sh.RespWndCloseFlag = 0;
}

void Shell::CloseDesign(bool showMenuWindow)
{
    Dismiss(design_);
    k_.sh.RespWndCloseFlag = 1;
    InitMenu11();
    k_.sh.GPrintScale = 100.0;
    if (showMenuWindow) ShowMenuWindow();
}

void Shell::ResponseWndClose() { CloseDesign(true); }

void Shell::ShowMenuWindow()
{
    if (!strip_) {
        strip_ = new MenuWindow(*menus_);
        WireMenuWindow(*strip_);
    }
    strip_->show();
    strip_->raise();
}

void Shell::QuitSequence(bool tellCompanion)
{
    if (quitting_) return;
    quitting_ = true;
    if (tellCompanion) SendToVantrel(kQuitVtrl);
    SavePrefs();
    platform_.Exit(0);
}

void Shell::PreferenceWnd()
{
    if (prefs_) return;
    prefs_ = new PreferencesWindow(k_);
    WirePreferencesWindow(*prefs_);
    prefs_->show();
}

void Shell::PreferenceWndOKReturn()
{
    Dismiss(prefs_);
    if (k_.sh.RespWndCloseFlag == 0 && design_) {
        InitMenu16();  // the View menu only for "amp"
        design_->DrawBevelBtnMenu();
        ResponsePlot(k_);  // a changed impedance scale shows at once
    } else {
        InitMenu11();
    }
}

// ---------------------------------------------------------------- commands

void Shell::CommandNewBoxDesign()
{
    if (design_ || k_.sh.RespWndCloseFlag != 1) return;
    SendToVantrel(kHideVtrl);
    InitSetUp();
}

void Shell::ChooseResponse(int item)
{
    if (!design_ || !SelectResponse(k_.d, item)) return;
    menus_->setMenuEnabled(kView, item == 1);
    menus_->markOnly(kResponse, item, kResponseItems);
    ResponsePlot(k_);
}

void Shell::ChooseView(int item)
{
    if (!design_ || !SelectView(k_.d, item)) return;
    menus_->SetItemMarkOnViewMenu(k_);
    ResponsePlot(k_);
}

void Shell::ChooseAlignment(int item)
{
    if (!design_ || !SelectAlignment(k_, item)) return;
    menus_->setMenuEnabled(kEdit, item != 1);
    design_->SetCalcEnabled(item != 1);
    if (item == 1)
        CustomAlign(k_, *design_);
    else
        design_->ResponseWndDisp();
    design_->DrawBevelBtnMenu();
    menus_->markOnly(kAlignment, item, 3);
}

void Shell::ClosedBox()
{
    if (!design_) return;
    InitSetUpMenuParam(k_.d);
    InitMenu16();
    if (k_.sh.EditMenuFlag == 1) menus_->setMenuEnabled(kEdit, true);
    design_->SetClosedBoxPanelEnabled(true);
    design_->SetCalcEnabled(false);
    CustomAlign(k_, *design_);
    design_->DrawBevelBtnMenu();
}

void Shell::InfiniteBaffle()
{
    if (!design_) return;
    k_.d.boxSys = 2;
    InitMenu16();
    design_->SetClosedBoxPanelEnabled(false);
    CustomAlign(k_, *design_);
}

void Shell::ChooseQa(int item)
{
    if (!design_ || !SelectQa(k_.d, item)) return;
    design_->SelectQaItem();
    CustomAlign(k_, *design_);
}

void Shell::EnterBox(std::int16_t id, const PStr& text)
{
    if (!design_) return;
    if (QLineEdit* e = design_->field(id)) e->setText(FromMacRoman(text.view()));
    CommandCalc();
}

void Shell::CommandCalc()
{
    if (design_) CalcBtnClickRetern(k_, *design_);
}

// The click sound when the preference asks for it, then the record; with no
// design there is no record to copy.
void Shell::CommandCopyParameters()
{
    if (!design_) return;
    if (k_.prefs.CopySoundCheck == 1) sound_.PlayMovieSoundFromSupportFilename("Click.aif", "Images");
    k_.sh.copyFlag = 1;
    TextToClipBoard(k_);
    k_.sh.copyFlag = 0;
}

void Shell::CommandSnapShot()
{
    if (design_) snapshot_->SnapShot();
}

void Shell::CommandPageSetup()
{
    if (design_) printing_->MyDoPageSetup();
}

// Without a design window the print job beeps and stops.
void Shell::CommandPrint() { printing_->MyDoPrint(); }

void Shell::CommandExportResponse()
{
    if (design_) export_->Export();
}

void Shell::CommandSpeakerSelect()
{
    launched_ = false;
    SpeakerSelect(k_, messenger_, *this);
    // Nobody took over: without a way back the user would be left with no
    // window and every menu disabled.
    if (!launched_ && messenger_.last <= 0) {
        InitMenu11();
        ShowMenuWindow();
    }
}

void Shell::CommandCheckForUpdates() { update().CheckForUpdatesCommand(); }

void Shell::CommandEdit(int item)
{
    // A focused text field has taken its own keys already; a menu choice
    // acts on it here.
    auto* e = qobject_cast<QLineEdit*>(QApplication::focusWidget());
    if (!e) return;
    switch (item) {
    case 1: e->undo(); break;
    case 2: e->redo(); break;
    case 4: e->cut(); break;
    case 5: e->copy(); break;
    case 6: e->paste(); break;
    case 7: e->del(); break;
    case 8: e->selectAll(); break;
    default: break;
    }
}

void Shell::Receive(std::string_view text)
{
    if (holds_ > 0) {
        held_.push(Held{false, std::string(text)});
        return;
    }
    DoAppleEvent(k_, messenger_, *this, text);
    RefreshSpeakerSelect();
}

int Shell::HeldSound::PlayMovieSoundFromSupportFilename(std::string_view name, std::string_view folder)
{
    shell_.Hold(true);
    const int result = inner_.PlayMovieSoundFromSupportFilename(name, folder);
    shell_.Hold(false);
    return result;
}

void Shell::Hold(bool on)
{
    holds_ += on ? 1 : -1;
    if (on && holds_ == 1 && update_) update_->HoldTimers(true);
    if (!on && holds_ == 0) {
        if (update_) update_->HoldTimers(false);
        if (!held_.empty()) release_.start();
    }
}

// One held message per pass of the loop, as the transport hands them on.
void Shell::ReleaseHeld()
{
    if (holds_ > 0) return;
    const std::optional<Held> next = held_.pop();
    if (!next) return;
    if (!held_.empty()) release_.start();
    if (next->design)
        OpenHandedDesign(QString::fromStdString(next->text));
    else
        Receive(next->text);
}

void Shell::RefreshSpeakerSelect()
{
    const bool on = SpeakerSelectEnabled(k_);
    if (design_) design_->SetSpeakerSelectEnabled(on);
    menus_->setItemEnabled(kMisc, 4, on);
}

// ---------------------------------------------------------------- small commands

void Shell::HiAboutWnd()
{
    if (about_) {
        about_->raise();
        return;
    }
    const QString version = QString::fromLatin1(GetCFBundleVersion("CFBundleShortVersionString").view());
    auto* box = new QMessageBox(QMessageBox::Information, QStringLiteral("About Kestrova"), QStringLiteral("Kestrova"),
                                QMessageBox::Ok);
    box->setObjectName(QStringLiteral("about"));
    box->setInformativeText(QStringLiteral("Version %1\nCopyright \u00A9 2026 Tessaly").arg(version));
    const QImage icon = CreateCGImageFromBundleResource("kestrova.png", "Images");
    if (!icon.isNull())
        box->setIconPixmap(QPixmap::fromImage(icon).scaled(64, 64, Qt::KeepAspectRatio, Qt::SmoothTransformation));
    box->setAttribute(Qt::WA_DeleteOnClose);
    about_ = box;
    box->show();
}

void Shell::HelpWnd()
{
    const bool installed = QFileInfo(userGuide_).isFile();
    if (installed && platform_.OpenUrl(QUrl::fromLocalFile(userGuide_))) return;
    if (help_) {
        help_->raise();
        return;
    }
    auto* box = new QMessageBox(QMessageBox::Warning, QStringLiteral("Help!"),
                                QStringLiteral("Help isn't available for Kestrova."), QMessageBox::Ok);
    // A guide that no browser would open is still there to read.
    if (installed) box->setInformativeText(QStringLiteral("No browser opened the user guide, %1.").arg(userGuide_));
    box->setObjectName(QStringLiteral("help"));
    box->setDefaultButton(QMessageBox::Ok);
    box->setAttribute(Qt::WA_DeleteOnClose);
    help_ = box;
    box->show();
}

int Shell::LSLaunchURL(const QString& url)
{
    const QUrl u(url, QUrl::StrictMode);
    if (url.isEmpty() || !u.isValid() || u.scheme().isEmpty()) return -50;
    return platform_.OpenUrl(u) ? 0 : -50;
}

int Shell::LaunchMyURL() { return LSLaunchURL(QStringLiteral(KESTROVA_WEB_SITE)); }

int Shell::CreateURLFromBundleResourceAndLaunch(const QString& name, const QString& folder)
{
    const QString path = ResourcePath(ImagesDir(), name.toStdString(), folder.toStdString());
    if (path.isEmpty()) return -50;
    if (!QFileInfo(path).isFile()) {
        ReportMissingResource(path);
        return -50;
    }
    return platform_.OpenUrl(QUrl::fromLocalFile(path)) ? 0 : -50;
}

void Shell::MailToMaker() { LSLaunchURL(QStringLiteral("mailto:") + QStringLiteral(KESTROVA_CONTACT_MAIL)); }

// ---------------------------------------------------------------- wiring

// What each part reports, and what the shell runs for it.
void Shell::WireParts()
{
    connect(menus_.get(), &Menus::command, this, &Shell::Command);
    connect(menus_.get(), &Menus::openRecent, this, &Shell::OpenRecentDesign);
    for (DesignSheet* sheet : {static_cast<DesignSheet*>(snapshot_.get()), static_cast<DesignSheet*>(printing_.get()),
                               static_cast<DesignSheet*>(export_.get())}) {
        connect(sheet, &DesignSheet::busy, this, &Shell::MenuDisable);
        connect(sheet, &DesignSheet::idle, this, &Shell::RestoreMenus);
        connect(sheet, &DesignSheet::beepRequested, this, &Shell::Beep);
        connect(sheet, &DesignSheet::quitRequested, this, [this] { QuitSequence(); });
    }
}

void Shell::WireUpdateCheck(UpdateCheck& u)
{
    connect(&u, &UpdateCheck::menusBusy, this, &Shell::MenuDisable);
    // A check asked for from the default window's menus ends with no design
    // window: the menus without a design then, as the sheets' do.
    connect(&u, &UpdateCheck::menusOpen, this, &Shell::RestoreMenus);
    connect(&u, &UpdateCheck::menusClosed, this, &Shell::InitMenu11);
    connect(&u, &UpdateCheck::closeDesignWindow, this, &Shell::CloseDesignWindow);
    connect(&u, &UpdateCheck::quitRequested, this, [this] { QuitSequence(); });
}

void Shell::WireDesignWindow(DesignWindow& w)
{
    connect(&w, &DesignWindow::controlHit, this, &Shell::ControlHit);
    connect(&w, &DesignWindow::qaChosen, this, &Shell::ChooseQa);
    connect(&w, &DesignWindow::returnPressed, this, &Shell::CommandCalc);
    connect(&w, &DesignWindow::closeRequested, this, &Shell::ResponseWndClose);
    connect(&w, &DesignWindow::entryRejected, this, &Shell::Beep);
}

void Shell::WireDefaultWindow(DefaultParamWindow& w)
{
    connect(&w, &DefaultParamWindow::okChosen, this, &Shell::DefaultParamWndOKReturn);
    // At once: no message, nothing saved.
    connect(&w, &DefaultParamWindow::quitChosen, this, [this] { platform_.Exit(0); });
}

void Shell::WirePreferencesWindow(PreferencesWindow& w)
{
    connect(&w, &PreferencesWindow::okChosen, this, &Shell::PreferenceWndOKReturn);
}

void Shell::WireMenuWindow(MenuWindow& w)
{
    connect(&w, &MenuWindow::closeRequested, this, [this] { QuitSequence(); });
}

// ---------------------------------------------------------------- what the parts ask

QWidget* Shell::designWindow() { return design_; }

void Shell::MenuDisable() { menus_->MenuDisable(); }

void Shell::RestoreMenus()
{
    if (k_.sh.RespWndCloseFlag == 0 && design_)
        InitMenu16();
    else
        InitMenu11();
}

void Shell::Beep() { platform_.Beep(); }

void Shell::SetUpDesign()
{
    // The companion's driver supersedes the default one.
    Dismiss(default_);
    InitSetUp();
}

void Shell::StartUpdateCheck()
{
    // Once the design window this driver record opened is on the screen:
    // starting the helper must not hold up its first frame.
    QMetaObject::invokeMethod(
        this, [this] { update().StartUpdateCheck(); }, Qt::QueuedConnection);
}

UpdateCheck& Shell::update()
{
    if (!update_) {
        update_ = std::make_unique<UpdateCheck>(k_, *this);
        WireUpdateCheck(*update_);
    }
    return *update_;
}

void Shell::HideWindows()
{
    Dismiss(default_);
    if (design_)
        CloseDesign(false);
    else
        InitMenu11();
    if (strip_) strip_->hide();
}

void Shell::CloseDesignWindow()
{
    if (design_) CloseDesign(false);
}

void Shell::LaunchCompanion()
{
    if (platform_.LaunchCompanion()) launched_ = true;
}

void Shell::InitMenu16()
{
    menus_->InitMenu16(k_);
    RefreshSpeakerSelect();
}

void Shell::InitMenu11()
{
    menus_->InitMenu11(k_);
    RefreshSpeakerSelect();
}

void Shell::SendToVantrel(std::string_view text)
{
    SndAppleEvent(messenger_, *this, kVantrelClass, text, kVantrelName);
}

void Shell::SavePrefs() { store_.SavePrefs(k_.prefs); }

bool Shell::OpenWithDefaultApp(const QString& path) { return platform_.OpenUrl(QUrl::fromLocalFile(path)); }

}  // namespace ks
