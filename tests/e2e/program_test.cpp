// The kestrova program as a process on the private session bus, with this
// test as its companion, in hostile surroundings too.
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>
#include <functional>
#include <random>

#include "common/bus.h"
#include "common/sandbox.h"
#include "common/silent_socket.h"
#include "document/design_document.h"
#include "exchange/qt/dbus_messenger.h"
#include "exchange/records.h"

using kt::WaitFor;

namespace {

const QString kProgramPath = QStringLiteral(KESTROVA_PATH);

// One Deliver call as any peer could make it, without the sender's checks
// (so over-long texts really arrive over-long), and without waiting.
void RawDeliver(const QString& to, const QByteArray& text)
{
    QDBusMessage m = QDBusMessage::createMethodCall(to, QStringLiteral("/com/tessaly/Messages"),
                                                    QStringLiteral("com.tessaly.Messages"), QStringLiteral("Deliver"));
    m.setArguments({QStringLiteral("Kstv"), QStringLiteral("TEXT"), text});
    m.setAutoStartService(false);
    QDBusConnection::sessionBus().send(m);
}

}  // namespace

class ProgramTest : public QObject {
    Q_OBJECT

    std::unique_ptr<ks::DbusMessenger> me_;
    std::vector<QByteArray> got_;
    kt::SandboxHome home_;

    QString confPath() const { return home_.filePath("config/Tessaly/Kestrova.conf"); }
    int savedKeys() const { return QSettings(confPath(), QSettings::IniFormat).allKeys().size(); }

    std::unique_ptr<QProcess> StartProgram(const QProcessEnvironment& extra = {}, const QStringList& args = {})
    {
        auto p = std::make_unique<QProcess>();
        QProcessEnvironment env = home_.environment();
        for (const QString& key : extra.keys()) env.insert(key, extra.value(key));
        p->setProcessEnvironment(env);
        p->setProcessChannelMode(QProcess::ForwardedErrorChannel);
        p->start(kProgramPath, args);
        p->waitForStarted(5000);
        return p;
    }
    bool OnBus()
    {
        return WaitFor([&] { return me_->peers("Kestrova").size() == 1; });
    }
    int Count(const QByteArray& text) const { return int(std::count(got_.begin(), got_.end(), text)); }

    // Ends with the quit sequence: a normal exit with status 0.
    static bool EndedCleanly(QProcess& p, int ms = 15000)
    {
        return WaitFor([&] { return p.state() == QProcess::NotRunning; }, ms) &&
               p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0;
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

    void handshakeDriverThenQuitFromTheCompanion()
    {
        auto p = StartProgram();
        QVERIFY(WaitFor([&] { return Count("BootedVtrlFromKstv") == 1; }));
        QVERIFY(OnBus());
        QCOMPARE(me_->send("Kestrova", "Kstv", "YesBootedVtrl"), 1);
        QVERIFY(WaitFor([&] { return Count("SetMeDefaultVtrlFromKstv") == 1; }));
        QCOMPARE(me_->send("Kestrova", "Kstv", "BootedKstvFromVtrlByFile"), 1);
        QVERIFY(WaitFor([&] { return Count("SetMeDefaultVtrlFromKstv") == 2; }));
        // Messages of another class are not for it.
        QCOMPARE(me_->send("Kestrova", "Vtrl", "BootedKstvFromVtrlByFile"), 1);
        // kestrova-send delivers a driver record to the one running program.
        // clang-format off
        const kt::SendRun sent = kt::RunSend({"--driver", "model=E2E Mid", "fs=50", "vas=10", "qts=0.35",
                                              "qes=0.4", "qms=2.8", "re=6.2", "effi=0.5"});
        // clang-format on
        QCOMPARE(sent.code, 0);
        QCOMPARE(sent.out.trimmed(), QString("1"));
        QCOMPARE(me_->send("Kestrova", "Kstv", "QuitKstv"), 1);
        QVERIFY(EndedCleanly(*p));
        QCOMPARE(Count("SetMeDefaultVtrlFromKstv"), 2);
        QCOMPARE(Count("QuitVtrl"), 0);  // the companion asked; nothing to tell it
        QCOMPARE(savedKeys(), 9);
    }

    void burstOfTenThousandMessages()
    {
        auto p = StartProgram();
        QVERIFY(OnBus());
        const QString to = me_->peers("Kestrova").value(0);
        std::mt19937 rng(7);
        int asks = 0;
        for (int i = 0; i < 10000; ++i) {
            QByteArray text;
            if (i % 1000 == 999) {
                text = "BootedKstvFromVtrlByFile";  // answered: proves it keeps up, in order
                ++asks;
            } else if (i % 50 == 0) {
                const ks::PStr rec = ks::MakeDriverRecord(
                    {"Burst " + std::to_string(i), "", 10, 40.0 + i % 300, 8, 0.3, 0.4, 3, 0.5, 6});
                text = QByteArray(rec.view().data(), qsizetype(rec.view().size()));
            } else if (i % 3 == 0) {
                text.resize(int(rng() % 300));
                for (char& c : text) c = static_cast<char>(rng());
            } else {
                // Over-long: cut on arrival, and a cut text is no command word.
                text = (i % 2 ? QByteArray("QuitKstv") : QByteArray("DUMMY#  Long  ")) + QByteArray(600, 'y');
            }
            RawDeliver(to, text);
        }
        QVERIFY2(WaitFor([&] { return Count("SetMeDefaultVtrlFromKstv") == asks; }, 240000),
                 "not every question was answered");
        QCOMPARE(p->state(), QProcess::Running);
        QCOMPARE(me_->send("Kestrova", "Kstv", "QuitKstv"), 1);
        QVERIFY(EndedCleanly(*p, 30000));
    }

    // A termination signal runs the quit sequence, with a bus, without one,
    // on a bus that takes the connection and never answers, with preferences
    // that cannot be written, and from a damaged preferences file (whose
    // values start afresh).
    void terminationRunsTheQuitSequenceWhateverTheSurroundings()
    {
        kt::SilentSocket silent(home_.filePath("silent-bus"));
        QVERIFY(silent.ok());
        const QByteArray damaged =
            "[General]\nBounds=@Variant(\\0\\0\\0\\x7f\\0\\0\\0\\xff)\nBoundsCheck=abc\n"
            "SnapRegionCheck=99999999999999999999\nImpVertScale=\"\\x\n\xff\xfe[[[\n" +
            QByteArray(5000, '\0');
        const struct {
            const char* name;
            QString bus;  // empty: the test's own
            bool blocked;
            QByteArray conf;
        } cases[] = {{"own bus", {}, false, {}},
                     {"no bus", "unix:path=" + home_.filePath("no-bus-here"), false, {}},
                     {"silent bus", silent.address(), false, {}},
                     {"preferences folder is a plain file", {}, true, {}},
                     {"damaged preferences", {}, false, damaged}};
        for (const auto& c : cases) {
            QDir(home_.filePath("config")).removeRecursively();
            QDir().mkpath(home_.filePath(c.blocked ? "config" : "config/Tessaly"));
            if (c.blocked || !c.conf.isEmpty()) {
                QFile f(c.blocked ? home_.filePath("config/Tessaly") : confPath());
                QVERIFY(f.open(QIODevice::WriteOnly) && f.write(c.conf) == c.conf.size());
            }
            QProcessEnvironment env;
            if (!c.bus.isEmpty()) env.insert("DBUS_SESSION_BUS_ADDRESS", c.bus);
            got_.clear();
            auto p = StartProgram(env);
            if (c.bus.isEmpty())
                QVERIFY(WaitFor([&] { return Count("BootedVtrlFromKstv") == 1; }));
            else
                QTest::qWait(ks::kBusWaitMs + 1200 + 800);  // the bound, then the start-up timer
            QVERIFY2(p->state() == QProcess::Running, c.name);
            p->terminate();  // SIGTERM, as a logout sends it
            QVERIFY2(EndedCleanly(*p), c.name);
            if (c.blocked)
                QVERIFY(QFileInfo(home_.filePath("config/Tessaly")).isFile());
            else
                QCOMPARE(savedKeys(), 9);
            const QSettings saved(confPath(), QSettings::IniFormat);
            if (!c.conf.isEmpty())
                QVERIFY(saved.value("BoundsCheck").toInt() == 1 && saved.value("SnapRegionCheck").toInt() == 0 &&
                        saved.value("ImpVertScale").toInt() == 1);
            if (c.bus.isEmpty()) {
                QVERIFY2(WaitFor([&] { return Count("QuitVtrl") == 1; }), c.name);
                continue;
            }
            // kestrova-send gives up within the bound, saying so.
            QProcessEnvironment sendEnv = QProcessEnvironment::systemEnvironment();
            sendEnv.insert("DBUS_SESSION_BUS_ADDRESS", c.bus);
            const kt::SendRun sent = kt::RunSend({"--to", "Kestrova", "hello"}, &sendEnv);
            QCOMPARE(sent.code, 1);
            QCOMPARE(sent.out, QString("0\n"));
        }
    }

    // `kestrova FILE` opens the design; a second `kestrova FILE` hands its
    // file to the one running and ends at once. Both files are the first
    // program's: its Open Recent holds them when it quits.
    void secondLaunchHandsItsDesignOver()
    {
        ks::DesignDocument doc;
        doc.driver.model = "E2E Mid";
        doc.driver.values = {13, 50, 10, 0.35f, 0.4f, 2.8f, 0.5f, 6.2f, 60, 85, 4, 34, 0.4f};
        const QString first = home_.filePath("first.kestrova"), second = home_.filePath("second.kestrova");
        for (const QString& path : {first, second}) {
            QFile f(path);
            QVERIFY(f.open(QIODevice::WriteOnly) && f.write(ks::WriteDesignDocument(doc).c_str()) > 0);
        }
        auto p = StartProgram({}, {first});
        QVERIFY(OnBus());
        QProcess handing;  // named relative to its working folder
        handing.setProcessEnvironment(home_.environment());
        handing.setWorkingDirectory(home_.path());
        handing.start(kProgramPath, {QStringLiteral("second.kestrova")});
        QVERIFY(EndedCleanly(handing));
        QCOMPARE(p->state(), QProcess::Running);
        QCOMPARE(me_->send("Kestrova", "Kstv", "QuitKstv"), 1);
        QVERIFY(EndedCleanly(*p));
        QCOMPARE(QSettings(confPath(), QSettings::IniFormat).value("RecentDesigns").toStringList(),
                 QStringList({second, first}));
    }
};

QTEST_GUILESS_MAIN(ProgramTest)
#include "program_test.moc"
