// The shell on the real session-bus transport, with kestrova-send processes
// as the companion: the handshake, a driver record opening the design
// window, two companions receiving every message, and the quit message.
#include <QApplication>
#include <QLineEdit>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

#include "app/qt/design_window.h"
#include "app/qt/menus.h"
#include "app/qt/prefs_store.h"
#include "app/qt/shell.h"
#include "common/bus.h"
#include "common/recording_platform.h"
#include "exchange/qt/dbus_messenger.h"
#include "context/kestrova.h"
#include "reports/sound.h"

using kt::Listener;
using kt::RunSend;
using kt::WaitFor;

class ShellBusTest : public QObject {
    Q_OBJECT

    struct Rig {
        Rig()
            : settings(dir.filePath("Kestrova.conf"), QSettings::IniFormat),
              store(&settings),
              bus(QStringLiteral("Kestrova"), QStringLiteral("Kstv")),
              shell(k, bus, store, sound, platform)
        {
            platform.launch = [this] { return launcher.Launch(); };
            bus.setReceiver([this](const QByteArray& t) {
                shell.Receive(std::string_view(t.constData(), static_cast<std::size_t>(t.size())));
            });
        }
        QString text(int id)
        {
            auto* w = shell.design();
            return w && w->field(id) ? w->field(id)->text() : QStringLiteral("<none>");
        }
        QTemporaryDir dir;
        QSettings settings;
        ks::PrefsStore store;
        ks::Kestrova k;
        ks::DbusMessenger bus;
        ks::CompanionLauncher launcher{bus};
        ks::SilentSoundPlayer sound;
        kt::RecordingPlatform platform;
        ks::Shell shell;
    };

private slots:
    void initTestCase()
    {
        QVERIFY2(!qEnvironmentVariableIsEmpty("DBUS_SESSION_BUS_ADDRESS"), "run under dbus-run-session");
    }

    void handshakeDriverAndQuitWithTwoCompanions()
    {
        Listener a({"--timeout", "60"});
        Listener b({"--timeout", "60"});
        Rig r;
        QVERIFY(r.bus.connected());
        QVERIFY(WaitFor([&] { return r.bus.peers("Vantrel").size() == 2; }));

        r.shell.Start();
        QVERIFY(a.waitForLine("Vtrl TEXT BootedVtrlFromKstv"));
        QVERIFY(b.waitForLine("Vtrl TEXT BootedVtrlFromKstv"));

        // The companion answers: Speaker Select becomes available.
        QCOMPARE(RunSend({"YesBootedVtrl"}).code, 0);
        QVERIFY(a.waitForLine("Vtrl TEXT SetMeDefaultVtrlFromKstv"));
        QVERIFY(b.waitForLine("Vtrl TEXT SetMeDefaultVtrlFromKstv"));
        QVERIFY(r.k.sh.s_MasgMenu == "BootKstv");
        QVERIFY(r.shell.menus().itemEnabled(ks::menu::kMisc, 4));

        // A driver record opens the design window with that driver.
        const kt::SendRun sent = RunSend({"--driver", "model=E2E Mid", "range=60-4000 Hz", "fs=50", "vas=10",
                                          "qts=0.35", "qes=0.4", "qms=2.8", "re=6.2", "effi=0.5"});
        QCOMPARE(sent.code, 0);
        QCOMPARE(sent.out.trimmed(), QString("1"));
        QVERIFY(WaitFor([&] { return r.shell.design() != nullptr; }));
        QCOMPARE(r.text(301), QString("E2E Mid"));
        QCOMPARE(r.text(303), QString(" 50"));
        QCOMPARE(r.text(311), QString(" 2.8"));
        QVERIFY(r.shell.design()->control(13)->isEnabled());
        // The start-up timer finds a message and opens no default window.
        QTest::qWait(1400);
        QVERIFY(!r.shell.defaultWindow());

        // A word meant for the companion does nothing.
        QCOMPARE(RunSend({"ShowVtrl"}).code, 0);
        QVERIFY(WaitFor([&] { return r.k.sh.s_Masg == "ShowVtrl"; }));
        QVERIFY(r.shell.design());

        // Quit tells both companions.
        r.shell.Command(ks::menu::kApp, ks::menu::kQuitItem);
        QCOMPARE(r.platform.exits, std::vector<int>{0});
        QVERIFY(a.waitForLine("Vtrl TEXT QuitVtrl"));
        QVERIFY(b.waitForLine("Vtrl TEXT QuitVtrl"));
        // Each companion got exactly the program's four messages.
        QStringList expected{"Vtrl TEXT BootedVtrlFromKstv", "Vtrl TEXT SetMeDefaultVtrlFromKstv",
                             "Vtrl TEXT QuitVtrl"};
        for (Listener* l : {&a, &b}) {
            QStringList got = l->lines();
            QCOMPARE(got, expected);
        }
    }

};

QTEST_MAIN(ShellBusTest)
#include "shell_bus_test.moc"
