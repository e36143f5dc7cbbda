// SPDX-License-Identifier: GPL-3.0-or-later
// The window's answer to a typed value (a Qtc entry and Return, up to the
// repainted graph area), File > Print up to its dialog, and the program's
// start-up (process start until its event loop answers a message). Run under
// dbus-run-session for the last.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QDeadlineTimer>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPrintDialog>
#include <QProcess>
#include <QSettings>
#include <QTemporaryDir>
#include <QThread>
#include <QWindow>

#include "app/qt/design_window.h"
#include "app/qt/menus.h"
#include "app/qt/prefs_store.h"
#include "app/qt/shell.h"
#include "exchange/qt/dbus_messenger.h"
#include "exchange/records.h"
#include "sound/sound.h"

using namespace ks;

namespace {

// Nothing beeps, opens or ends while the benchmark runs.
struct QuietPlatform final : ShellPlatform {
    bool OpenUrl(const QUrl&) override { return true; }
    void Beep() override {}
    void Exit(int) override {}
};

std::string Driver()
{
    DriverRecordFields f;
    f.model = "Bench Mid";
    f.fs = 50;
    f.vas = 10;
    f.qts = 0.35;
    f.qes = 0.4;
    f.qms = 2.8;
    f.effi = 0.5;
    f.re = 6.2;
    return std::string(MakeDriverRecord(f).view());
}

// A shell of its own for one benchmark: its own preferences file, no
// companion, no sound, nothing beeping or ending.
struct BenchShell {
    explicit BenchShell(bool updateOnFirstDriver = true)
    {
        if (!updateOnFirstDriver) k.prefs.UpdateForCheck = 0;
    }
    QTemporaryDir dir;
    QSettings settings{dir.filePath("k.conf"), QSettings::IniFormat};
    PrefsStore store{&settings};
    Kestrova k;
    NullMessenger none;
    SilentSoundPlayer sound;
    QuietPlatform platform;
    Shell shell{k, none, store, sound, platform};
};

void BM_QtcReturnToRepaintedGraph(benchmark::State& state)
{
    BenchShell rig;
    Shell& shell = rig.shell;
    shell.Receive(Driver());
    shell.Command(menu::kAlignment, 3);
    const int view = static_cast<int>(state.range(0));
    if (view != 1) shell.Command(menu::kResponse, view);
    QWidget* graph = shell.design()->content()->findChild<QWidget*>("graph");
    QApplication::processEvents();
    const char* values[] = {"0.8", "0.9"};
    int i = 0;
    for (auto _ : state) {
        QLineEdit* qtc = shell.design()->field(313);
        qtc->setText(QString::fromLatin1(values[i++ & 1]));
        QKeyEvent press(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier, QStringLiteral("\r"));
        QApplication::sendEvent(qtc, &press);
        graph->repaint();
    }
    state.SetLabel(shell.design()->field(313)->text().toStdString());
}
// Amplitude (1), impedance (2) and step response (6).
BENCHMARK(BM_QtcReturnToRepaintedGraph)->Arg(1)->Arg(2)->Arg(6)->Unit(benchmark::kMillisecond);

// One message from the companion: a driver record (which rebuilds the design
// window) or a text that is no command word.
void BM_ReceiveMessage(benchmark::State& state)
{
    BenchShell rig(false);
    Shell& shell = rig.shell;
    const std::string driver = Driver();
    const std::string garbage(200, 'x');
    const bool record = state.range(0) == 1;
    for (auto _ : state) {
        shell.Receive(record ? driver : garbage);
        QApplication::processEvents();  // deferred deletions of the old window
    }
}
BENCHMARK(BM_ReceiveMessage)->Arg(1)->Arg(0)->Unit(benchmark::kMicrosecond);

// File > Print up to its dialog shown. Printing support loads with the first
// one, so the first of the process, the one a user meets, is counted apart.
void BM_PrintCommandToDialogShown(benchmark::State& state)
{
    BenchShell rig(false);
    Shell& shell = rig.shell;
    shell.Receive(Driver());
    QApplication::processEvents();
    double first = -1;
    for (auto _ : state) {
        QElapsedTimer clock;
        clock.start();
        shell.Command(menu::kFile, 5);
        QPrintDialog* dialog = shell.printing().printDialog();
        QDeadlineTimer limit(10000);
        while (dialog && !(dialog->isVisible() && dialog->windowHandle() && dialog->windowHandle()->isExposed()) &&
               !limit.hasExpired())
            QApplication::processEvents(QEventLoop::AllEvents, 1);
        const double s = static_cast<double>(clock.nsecsElapsed()) / 1e9;
        state.SetIterationTime(s);
        if (first < 0) first = s * 1000.0;
        if (!dialog || limit.hasExpired()) {
            state.SkipWithError("no print dialog");
            break;
        }
        dialog->reject();
        QApplication::processEvents();
    }
    state.counters["first_ms"] = first;
}
BENCHMARK(BM_PrintCommandToDialogShown)->UseManualTime()->Iterations(5)->Unit(benchmark::kMillisecond);

void BM_ProcessStartToEventLoop(benchmark::State& state)
{
    if (qEnvironmentVariableIsEmpty("DBUS_SESSION_BUS_ADDRESS")) {
        state.SkipWithError("needs a session bus (run under dbus-run-session)");
        return;
    }
    // This bench plays the companion: a message waits for the new process,
    // whose answer can only come from its running event loop.
    static DbusMessenger me(QStringLiteral("Vantrel"), QStringLiteral("Vtrl"));
    int answers = 0;
    me.setReceiver([&answers](const QByteArray& t) {
        if (t == "SetMeDefaultVtrlFromKstv") ++answers;
    });
    QTemporaryDir home;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("QT_QPA_PLATFORM", "offscreen");
    env.insert("HOME", home.path());
    env.insert("XDG_CONFIG_HOME", home.filePath("config"));
    for (auto _ : state) {
        const int before = answers;
        QProcess p;
        p.setProcessEnvironment(env);
        QElapsedTimer clock;
        clock.start();
        p.start(QStringLiteral(KESTROVA_PATH), {});
        bool asked = false;
        QDeadlineTimer limit(10000);
        while (answers == before && !limit.hasExpired()) {
            if (!asked && !me.peers("Kestrova").isEmpty()) {
                me.send("Kestrova", "Kstv", "BootedKstvFromVtrlByFile");
                asked = true;
            }
            QCoreApplication::processEvents(QEventLoop::AllEvents, 1);
        }
        state.SetIterationTime(static_cast<double>(clock.nsecsElapsed()) / 1e9);
        me.send("Kestrova", "Kstv", "QuitKstv");
        if (!p.waitForFinished(10000)) p.kill();
        if (answers == before) {
            state.SkipWithError("the program did not answer");
            break;
        }
    }
}
BENCHMARK(BM_ProcessStartToEventLoop)->UseManualTime()->Iterations(10)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv)
{
    // Offscreen unless a platform is named (QT_QPA_PLATFORM=xcb under Xvfb
    // shows the print dialog as a user meets it).
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
