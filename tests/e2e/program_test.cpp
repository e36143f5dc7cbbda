// The kestrova program as a process on the private session bus, with this
// test as its companion, in hostile surroundings too.
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QScopeGuard>
#include <csignal>
#include <QDBusMessage>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <random>

#include "common/fake_companion.h"
#include "common/silent_socket.h"
#include "common/bus.h"
#include "common/sandbox.h"
#include "exchange/qt/dbus_messenger.h"
#include "exchange/records.h"

using kt::WaitFor;

namespace {

const QString kProgramPath = QStringLiteral(KESTROVA_PATH);

// One Deliver call as any peer could make it, without the sender's checks
// (so over-long texts really arrive over-long).
void RawDeliver(const QString& to, const QByteArray& text)
{
    QDBusMessage m = QDBusMessage::createMethodCall(to, QStringLiteral("/com/tessaly/Messages"),
                                                    QStringLiteral("com.tessaly.Messages"),
                                                    QStringLiteral("Deliver"));
    m.setArguments({QStringLiteral("Kstv"), QStringLiteral("TEXT"), text});
    m.setAutoStartService(false);
    QDBusConnection::sessionBus().send(m);  // no waiting, as the companion sends
}

}  // namespace

class ProgramTest : public QObject {
    Q_OBJECT

    std::unique_ptr<ks::DbusMessenger> me_;
    std::vector<QByteArray> got_;
    kt::SandboxHome home_;

    QString confPath() const { return home_.filePath("config/Tessaly/Kestrova.conf"); }

    std::unique_ptr<QProcess> StartProgram(const QProcessEnvironment& extra = {},
                                           const QString& program = kProgramPath)
    {
        auto p = std::make_unique<QProcess>();
        QProcessEnvironment env = home_.environment();
        for (const QString& key : extra.keys()) env.insert(key, extra.value(key));
        p->setProcessEnvironment(env);
        p->setProcessChannelMode(QProcess::ForwardedErrorChannel);
        p->start(program, {});
        p->waitForStarted(5000);
        return p;
    }

    bool Got(const QByteArray& text, int count = 1)
    {
        return std::count(got_.begin(), got_.end(), text) >= count;
    }

    bool Finished(QProcess& p, int ms = 15000)
    {
        return WaitFor([&] { return p.state() == QProcess::NotRunning; }, ms);
    }

private slots:
    void initTestCase()
    {
        QVERIFY2(!qEnvironmentVariableIsEmpty("DBUS_SESSION_BUS_ADDRESS"), "run under dbus-run-session");
        me_ = std::make_unique<ks::DbusMessenger>(QStringLiteral("Vantrel"), QStringLiteral("Vtrl"));
        QVERIFY(me_->connected());
        me_->setReceiver([this](const QByteArray& t) { got_.push_back(t); });
    }

    void init()
    {
        got_.clear();
        QDir(home_.path()).removeRecursively();
        QDir().mkpath(home_.filePath("config"));
    }

    void handshakeThenQuitFromTheCompanion()
    {
        auto p = StartProgram();
        QVERIFY(WaitFor([&] { return Got("BootedVtrlFromKstv"); }));
        QVERIFY(WaitFor([&] { return me_->peers("Kestrova").size() == 1; }));
        QCOMPARE(me_->send("Kestrova", "Kstv", "YesBootedVtrl"), 1);
        QVERIFY(WaitFor([&] { return Got("SetMeDefaultVtrlFromKstv"); }));
        QCOMPARE(me_->send("Kestrova", "Kstv", "BootedKstvFromVtrlByFile"), 1);
        QVERIFY(WaitFor([&] { return Got("SetMeDefaultVtrlFromKstv", 2); }));
        // Messages of another class are not for it.
        QCOMPARE(me_->send("Kestrova", "Vtrl", "BootedKstvFromVtrlByFile"), 1);
        QCOMPARE(me_->send("Kestrova", "Kstv", ks::MakeDriverRecord({"Proc Mid", "", 13, 50, 10, 0.35, 0.4, 2.8, 0.5, 6.2}).view()), 1);
        QCOMPARE(me_->send("Kestrova", "Kstv", "QuitKstv"), 1);
        QVERIFY(Finished(*p));
        QCOMPARE(p->exitStatus(), QProcess::NormalExit);
        QCOMPARE(p->exitCode(), 0);
        QCOMPARE(std::count(got_.begin(), got_.end(), QByteArray("SetMeDefaultVtrlFromKstv")), 2);
        QVERIFY(!Got("QuitVtrl"));  // the companion asked; nothing to tell it
        QCOMPARE(QSettings(confPath(), QSettings::IniFormat).allKeys().size(), 9);
    }

    void burstOfTenThousandMessages()
    {
        auto p = StartProgram();
        QVERIFY(WaitFor([&] { return me_->peers("Kestrova").size() == 1; }));
        const QString to = me_->peers("Kestrova").value(0);
        std::mt19937 rng(7);
        const int n = 10000;
        int asks = 0;
        QElapsedTimer clock;
        clock.start();
        for (int i = 0; i < n; ++i) {
            QByteArray text;
            if (i % 1000 == 999) {
                text = "BootedKstvFromVtrlByFile";  // answered: proves it keeps up, in order
                ++asks;
            } else if (i % 50 == 0) {
                ks::DriverRecordFields f{"Burst " + std::to_string(i), "", 10, 40.0 + i % 300, 8, 0.3, 0.4, 3, 0.5, 6};
                const ks::PStr rec = ks::MakeDriverRecord(f);
                text = QByteArray(rec.view().data(), static_cast<int>(rec.view().size()));
            } else if (i % 3 == 0) {
                text.resize(int(rng() % 300));
                for (char& c : text) c = static_cast<char>(rng());
            } else if (i % 3 == 1) {
                // Over-long: cut on arrival, and a cut text is no command word.
                text = (i % 2 ? QByteArray("QuitKstv") : QByteArray("DUMMY#  Long  ")) + QByteArray(600, 'y');
            } else {
                text = i % 2 ? "ShowVtrl" : "";
            }
            RawDeliver(to, text);
        }
        QVERIFY2(WaitFor([&] { return Got("SetMeDefaultVtrlFromKstv", asks); }, 240000),
                 "not every question was answered");
        const qint64 ms = clock.elapsed();
        qInfo("burst of %d messages handled in %lld ms", n, static_cast<long long>(ms));
        QCOMPARE(p->state(), QProcess::Running);
        // Still answering at once.
        QCOMPARE(me_->send("Kestrova", "Kstv", "BootedKstvFromVtrlByFile"), 1);
        QVERIFY(WaitFor([&] { return Got("SetMeDefaultVtrlFromKstv", asks + 1); }, 5000));
        QCOMPARE(me_->send("Kestrova", "Kstv", "QuitKstv"), 1);
        QVERIFY(Finished(*p, 30000));
        QCOMPARE(p->exitCode(), 0);
    }

    void terminationSignalRunsTheQuitSequence()
    {
        auto p = StartProgram();
        QVERIFY(WaitFor([&] { return me_->peers("Kestrova").size() == 1; }));
        QVERIFY(WaitFor([&] { return Got("BootedVtrlFromKstv"); }));
        p->terminate();  // SIGTERM, as a logout sends it
        QVERIFY(Finished(*p));
        QCOMPARE(p->exitStatus(), QProcess::NormalExit);
        QCOMPARE(p->exitCode(), 0);
        QVERIFY(WaitFor([&] { return Got("QuitVtrl"); }));
        QSettings saved(confPath(), QSettings::IniFormat);
        QCOMPARE(saved.allKeys().size(), 9);
    }

    // No bus at the address, or one that takes the connection and never
    // answers: the program works alone past the start-up timer, and a
    // termination signal still runs the quit sequence.
    void worksAloneWithoutAnAnsweringBus()
    {
        kt::SilentSocket silent(home_.filePath("silent-bus"));
        QVERIFY(silent.ok());
        for (const QString& address : {"unix:path=" + home_.filePath("no-bus-here"), silent.address()}) {
            QFile::remove(confPath());
            QProcessEnvironment env;
            env.insert("DBUS_SESSION_BUS_ADDRESS", address);
            auto p = StartProgram(env);
            QTest::qWait(ks::kBusWaitMs + 1200 + 800);  // the bound, then the start-up timer
            QCOMPARE(p->state(), QProcess::Running);
            p->terminate();
            QVERIFY(Finished(*p));
            QCOMPARE(p->exitStatus(), QProcess::NormalExit);
            QCOMPARE(p->exitCode(), 0);
            QCOMPARE(QSettings(confPath(), QSettings::IniFormat).allKeys().size(), 9);
        }
        QVERIFY(!Got("BootedVtrlFromKstv"));
    }

    // Answers to the start-up message while the companion it launched has
    // not joined the bus start it once, not once per answer.
    void bootAnswersLaunchTheCompanionOnce()
    {
        const QString bin = home_.filePath("bin");
        QVERIFY(QDir().mkpath(bin));
        kt::FakeCompanion fake;
        QVERIFY(fake.install(bin));
        auto started = [&] { return fake.started(); };
        me_.reset();  // no companion on the bus: each answer asks for a launch
        const auto rejoin = qScopeGuard([this] { initTestCase(); });
        // The program looks beside itself first: a copy of it sits beside
        // the fake, away from the build's real one.
        QVERIFY(QFile::copy(kProgramPath, bin + "/kestrova"));
        auto p = StartProgram({}, bin + "/kestrova");
        QString to;
        QVERIFY(WaitFor([&] {
            const QStringList names = QDBusConnection::sessionBus().interface()->registeredServiceNames();
            for (const QString& n : names)
                if (n.startsWith("com.tessaly.Kestrova.p")) to = n;
            return !to.isEmpty();
        }));
        for (int i = 0; i < 40; ++i) RawDeliver(to, "YesBootedVtrl");
        QVERIFY(WaitFor([&] { return started().size() >= 1; }));
        QTest::qWait(1500);
        const QStringList pids = started();
        for (const QString& pid : pids) ::kill(pid.toInt(), SIGKILL);
        QCOMPARE(pids.size(), 1);
        p->terminate();
        QVERIFY(Finished(*p));
    }

    void brokenPreferencesFileGivesStartValues()
    {
        QDir().mkpath(home_.filePath("config/Tessaly"));
        {
            QFile f(confPath());
            QVERIFY(f.open(QIODevice::WriteOnly));
            QByteArray junk("[General]\nBounds=@Variant(\\0\\0\\0\\x7f\\0\\0\\0\\xff)\nBoundsCheck=abc\n"
                            "SnapRegionCheck=99999999999999999999\nImpVertScale=\"\\x\n\xff\xfe[[[\n");
            junk += QByteArray(5000, '\0');
            f.write(junk);
        }
        auto p = StartProgram();
        QVERIFY(WaitFor([&] { return me_->peers("Kestrova").size() == 1; }));
        QCOMPARE(me_->send("Kestrova", "Kstv", "QuitKstv"), 1);
        QVERIFY(Finished(*p));
        QCOMPARE(p->exitCode(), 0);
        QSettings saved(confPath(), QSettings::IniFormat);
        QCOMPARE(saved.value("BoundsCheck").toInt(), 1);
        QCOMPARE(saved.value("SnapRegionCheck").toInt(), 0);
        QCOMPARE(saved.value("ImpVertScale").toInt(), 1);
    }

    void unwritablePreferencesStillQuit()
    {
        // A plain file where the preferences folder should be: nothing can be written.
        QFile blocker(home_.filePath("config/Tessaly"));
        QVERIFY(blocker.open(QIODevice::WriteOnly));
        blocker.close();
        auto p = StartProgram();
        QVERIFY(WaitFor([&] { return me_->peers("Kestrova").size() == 1; }));
        QCOMPARE(me_->send("Kestrova", "Kstv", "QuitKstv"), 1);
        QVERIFY(Finished(*p));
        QCOMPARE(p->exitStatus(), QProcess::NormalExit);
        QCOMPARE(p->exitCode(), 0);
        QVERIFY(QFileInfo(home_.filePath("config/Tessaly")).isFile());
    }
};

QTEST_GUILESS_MAIN(ProgramTest)
#include "program_test.moc"
