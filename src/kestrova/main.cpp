// SPDX-License-Identifier: GPL-3.0-or-later
// Kestrova: the start values, the transport on the session bus, the shell,
// then the event loop.
#include <fontconfig/fontconfig.h>

#include <QApplication>
#include <QIcon>
#include <QPixmap>
#include <QScopeGuard>
#include <QStyleFactory>
#include <cstdio>
#include <string_view>
#include <vector>

#include "app/command_line.h"
#include "app/qt/design_launch.h"
#include "app/qt/design_window.h"
#include "app/qt/prefs_store.h"
#include "app/qt/quit_signals.h"
#include "app/qt/shell.h"
#include "context/kestrova.h"
#include "exchange/qt/dbus_messenger.h"
#include "sound/qt/module_sound.h"
#include "support/qt/resource_dir.h"
#include "support/startup_thread.h"

namespace {

// The desktop as it is, with the companion launched from beside us or PATH.
class Platform final : public ks::ShellPlatform {
public:
    explicit Platform(ks::DbusMessenger& bus) : launcher_(bus) {}
    bool LaunchCompanion() override { return launcher_.Launch(); }

private:
    ks::CompanionLauncher launcher_;
};

}  // namespace

int main(int argc, char** argv)
{
    // Before the application object: --help and a wrong argument need no
    // display, and say so on a terminal that has none.
    const ks::StartRequest request = ks::ReadStartArguments(std::vector<std::string_view>(argv + 1, argv + argc));
    if (request.action != ks::StartRequest::Action::Run) {
        const bool print = request.action == ks::StartRequest::Action::Print;
        std::fputs(request.text.c_str(), print ? stdout : stderr);
        if (print && std::fflush(stdout) != 0) return 1;
        return print ? 0 : ks::kWrongArgumentsStatus;
    }

    // The first text laid out reads fontconfig's configuration (some fifty
    // files) and then Qt's font lists: on the way to the first window. Both
    // are read on the other core instead, while the display and the bus are
    // joined; Qt's part needs the application object.
    ks::StartupThread fonts([] { FcInit(); }, [] { ks::DesignWindow::WarmFonts(); });
    QApplication app(argc, argv);
    fonts.Release();
    // Every way out of main from here, the hand-over's early one included,
    // waits for the fonts before the application object they use goes.
    const auto fontsDone = qScopeGuard([&fonts] { fonts.Finish(); });
    QApplication::setApplicationName(QStringLiteral("Kestrova"));
    QApplication::setOrganizationName(QStringLiteral("Tessaly"));
    QApplication::setApplicationVersion(QStringLiteral(KESTROVA_VERSION));
    QApplication::setDesktopFileName(QStringLiteral("kestrova"));
    // The program lives on while no window is open, as the companion may
    // send a driver at any time; it ends only through its quit paths.
    QApplication::setQuitOnLastWindowClosed(false);
    QApplication::setWindowIcon(
        QIcon(QPixmap::fromImage(ks::CreateCGImageFromBundleResource("kestrova.png", "Images"))));
    if (QStyle* fusion = QStyleFactory::create(QStringLiteral("Fusion"))) QApplication::setStyle(fusion);
    const ks::DesignLaunch design = ks::LaunchDesignFile(request.designFiles);
    if (design.handedOver) return 0;

    // Before anything that may wait (the bus, the preferences file): a
    // termination signal is handled once the loop runs, with the shell.
    ks::Shell* running = nullptr;
    ks::RouteQuitSignals([&running] {
        if (running) running->QuitSequence();
    });

    ks::Kestrova k;  // every global at its start value
    ks::DbusMessenger bus(ks::BusText(ks::kKestrovaName), ks::BusText(ks::kKestrovaClass));
    ks::PrefsStore store;
    ks::ModuleSoundPlayer sound;  // Qt Multimedia loads with the first sound
    Platform platform(bus);
    ks::Shell shell(k, bus, store, sound, platform);
    running = &shell;
    shell.Start();
    bus.setReceiver([&shell](const QByteArray& text) {
        shell.Receive(std::string_view(text.constData(), static_cast<std::size_t>(text.size())));
    });
    bus.setDesignReceiver([&shell](const QString& path) { shell.OpenHandedDesign(path); });
    if (!design.file.isEmpty()) shell.OpenDesignAtStart(design.file);
    fonts.Join();  // the loop lays out the first window once the fonts are read
    return app.exec();
}
