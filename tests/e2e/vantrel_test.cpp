// SPDX-License-Identifier: GPL-3.0-or-later
// Speaker Select starts vantrel (found beside the executable, not on PATH), which announces
// itself and sends the driver picked; the program's quit ends it.
#include <QLineEdit>
#include <QProcess>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>
#include <csignal>

#include "app/qt/design_window.h"
#include "app/qt/menus.h"
#include "app/qt/prefs_store.h"
#include "app/qt/shell.h"
#include "common/files.h"
#include "common/recording_platform.h"
#include "common/sandbox.h"
#include "common/wait_for.h"
#include "context/kestrova.h"
#include "exchange/qt/dbus_messenger.h"
#include "exchange/records.h"
#include "sound/sound.h"

using kt::WaitFor;

class VantrelTest : public QObject {
    Q_OBJECT

    kt::SandboxHome home_;
    qint64 vantrelPid_ = 0;

    // The pid in a bus name com.tessaly.Vantrel.pPID.
    static qint64 Pid(const QString& busName) { return busName.section(QStringLiteral(".p"), -1).toLongLong(); }

    static int RunVantrel(const QStringList& args, QString* out = nullptr)
    {
        QProcess p;
        p.start(QStringLiteral(VANTREL_PATH), args);
        if (!WaitFor([&] { return p.state() == QProcess::NotRunning; }, 30000)) return -1;
        if (out) *out = QString::fromUtf8(p.readAllStandardOutput() + p.readAllStandardError());
        return p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    }

private slots:
    void initTestCase()
    {
        QVERIFY2(!qEnvironmentVariableIsEmpty("DBUS_SESSION_BUS_ADDRESS"), "run under dbus-run-session");
        // Children inherit a library of their own, and no PATH leading to the build's programs.
        home_.enter();
        qputenv("PATH", "/usr/bin:/bin");
    }

    void cleanupTestCase()
    {
        // Only if the test failed before the quit: the one we started.
        if (vantrelPid_ > 0 && !kt::Ended(vantrelPid_)) ::kill(pid_t(vantrelPid_), SIGTERM);
    }

    void speakerSelectPickAndQuit()
    {
        QVERIFY(kt::WriteBytes(home_.filePath("mine.csv"),
                               "model,range,dia,fs,vas,qts,qes,qms,effi,re,pemax,sd,xmax,vd,le\n"
                               "E2E Mid,60-4000 Hz,13,47.25,11.5,0.355,0.41,2.75,0.48,5.8,60,84,4.5,38,0.45\n"));
        QString out;
        QCOMPARE(RunVantrel({"--import", home_.filePath("mine.csv")}, &out), 0);

        QTemporaryDir conf;
        QSettings settings(conf.filePath("Kestrova.conf"), QSettings::IniFormat);
        ks::PrefsStore prefs(&settings);
        ks::Kestrova k;
        ks::DbusMessenger bus(QStringLiteral("Kestrova"), QStringLiteral("Kstv"));
        ks::SilentSoundPlayer sound;
        kt::RecordingPlatform platform;
        ks::CompanionLauncher launcher(bus);
        platform.launch = [&launcher] { return launcher.Launch(); };
        ks::Shell shell(k, bus, prefs, sound, platform);
        std::vector<int>& exits = platform.exits;
        bus.setReceiver(
            [&](const QByteArray& t) { shell.Receive(std::string_view(t.constData(), std::size_t(t.size()))); });
        shell.Start();
        QVERIFY(bus.peers("Vantrel").isEmpty());

        shell.Receive(ks::MakeDriverRecord({"First", "", 10, 80, 5, 0.4, 0.5, 3, 0.5, 6}).view());
        QVERIFY(shell.Command(ks::menu::kMisc, 4));
        QVERIFY(!shell.design());
        QVERIFY2(WaitFor([&] { return bus.peers("Vantrel").size() == 1; }, 20000), "vantrel was not started");
        vantrelPid_ = Pid(bus.peers("Vantrel").value(0));
        QVERIFY(vantrelPid_ > 0);
        QVERIFY(WaitFor([&] { return k.sh.s_Masg == "BootedKstvFromVtrlByFile"; }, 10000));

        QCOMPARE(RunVantrel({"--send", "E2E Mid"}, &out), 0);
        QVERIFY2(WaitFor([&] { return shell.design() != nullptr; }, 10000), qPrintable(out));
        QCOMPARE(shell.design()->field(301)->text(), QString("E2E Mid"));
        // The imported values came (every field is the records' tests' to read).
        QCOMPARE(QString::fromStdString(k.d.s_FS.str() + " Hz," + k.d.s_RANG.str()), QString(" 47.25 Hz,60-4000 Hz"));

        shell.Command(ks::menu::kApp, ks::menu::kQuitItem);
        QCOMPARE(exits, std::vector<int>{0});
        QVERIFY2(WaitFor([&] { return bus.peers("Vantrel").isEmpty(); }, 10000), "vantrel did not quit");
        QVERIFY(WaitFor([&] { return kt::Ended(vantrelPid_); }, 10000));
        vantrelPid_ = 0;
    }
};

QTEST_MAIN(VantrelTest)
#include "vantrel_test.moc"
