// SPDX-License-Identifier: GPL-3.0-or-later
// The kestrova program as a process on the private bus, this test its companion.
#include <QtNetwork>
#include <QtTest>
#include <csignal>
#include <random>

#include "common/bus.h"
#include "common/files.h"
#include "common/sandbox.h"
#include "document/design_document.h"
#include "exchange/qt/dbus_messenger.h"
#include "exchange/records.h"

using kt::WaitFor;

namespace {

const QString kProgramPath = QStringLiteral(KESTROVA_PATH);

// Whether the process has its own SIGTERM handler in place (caught signals in /proc).
bool CatchesTermination(qint64 pid)
{
    QFile status(QStringLiteral("/proc/%1/status").arg(pid));
    if (!status.open(QIODevice::ReadOnly)) return false;
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith("SigCgt:")) return (line.mid(7).trimmed().toULongLong(nullptr, 16) >> (SIGTERM - 1)) & 1;
    return false;
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

    // How the process ended: "exit N", "crashed", or "running" when it did not within the time.
    static QString End(QProcess& p, int ms = 30000)
    {
        if (!WaitFor([&] { return p.state() == QProcess::NotRunning; }, ms)) return "running";
        return p.exitStatus() == QProcess::NormalExit ? QString("exit %1").arg(p.exitCode()) : "crashed";
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

    // The handshake, a driver record from kestrova-send, then ten thousand messages of every kind
    // and length, the questions among them answered in order; the companion's quit ends it.
    void handshakeBurstAndQuitFromTheCompanion()
    {
        auto p = StartProgram();
        QVERIFY(WaitFor([&] { return Count("BootedVtrlFromKstv") == 1; }));
        QVERIFY(OnBus());
        QCOMPARE(me_->send("Kestrova", "Kstv", "YesBootedVtrl"), 1);
        QVERIFY(WaitFor([&] { return Count("SetMeDefaultVtrlFromKstv") == 1; }));
        const kt::SendRun sent = kt::RunSend({"--driver", "model=E2E Mid", "fs=50", "vas=10", "qts=0.35", "re=6.2"});
        QCOMPARE(QString("%1 %2").arg(sent.code).arg(sent.out.trimmed()), QString("0 1"));  // the one program
        const QString to = me_->peers("Kestrova").value(0);
        std::mt19937 rng(7);
        for (int i = 0; i < 10000; ++i) {
            QByteArray text;
            if (i % 1000 == 999) {
                text = "BootedKstvFromVtrlByFile";  // one of the ten questions
            } else if (i % 50 == 0) {
                text = QByteArray::fromStdString(
                    ks::MakeDriverRecord({"Burst " + std::to_string(i), "", 10, 40.0 + i % 300, 8, 0.3, 0.4, 3, 0.5, 6})
                        .str());
            } else if (i % 3 == 0) {
                text.resize(int(rng() % 300));
                for (char& c : text) c = static_cast<char>(rng());
            } else {  // over-long: cut on arrival, and a cut text is no command word
                text = (i % 2 ? QByteArray("QuitKstv") : QByteArray("DUMMY#  Long  ")) + QByteArray(600, 'y');
            }
            kt::RawDeliver(to, {"Kstv", "TEXT", text}, false);  // so over-long texts arrive over-long
        }
        QVERIFY2(WaitFor([&] { return Count("SetMeDefaultVtrlFromKstv") == 11; }, 240000),
                 "not every question was answered");
        QCOMPARE(me_->send("Kestrova", "Kstv", "QuitKstv"), 1);
        QCOMPARE(End(*p), QString("exit 0"));
        QCOMPARE(Count("SetMeDefaultVtrlFromKstv"), 11);
        QCOMPARE(Count("QuitVtrl"), 0);  // the companion asked; nothing to tell it
        QCOMPARE(savedKeys(), 9);
    }

    // A termination signal runs the quit sequence with a bus, without one, on a bus that never
    // answers, and with preferences that cannot be written.
    void terminationRunsTheQuitSequenceWhateverTheSurroundings()
    {
        QLocalServer silent;  // takes connections and never says a word: a bus that hangs whoever waits on it
        QVERIFY(silent.listen(home_.filePath("silent-bus")));
        const struct {
            const char* name;
            QString bus;  // empty: the test's own
            bool blocked;
        } cases[] = {{"own bus", {}, false},
                     {"no bus", "unix:path=" + home_.filePath("no-bus-here"), false},
                     {"silent bus", "unix:path=" + silent.fullServerName(), false},
                     {"preferences folder is a plain file", {}, true}};
        for (const auto& c : cases) {
            QDir(home_.filePath("config")).removeRecursively();
            QDir().mkpath(home_.filePath("config"));
            if (c.blocked) QVERIFY(kt::WriteBytes(home_.filePath("config/Tessaly"), {}));
            QProcessEnvironment env;
            if (!c.bus.isEmpty()) env.insert("DBUS_SESSION_BUS_ADDRESS", c.bus);
            got_.clear();
            auto p = StartProgram(env);
            // On its bus it says it started; elsewhere the signal waits in its handler for the loop.
            if (c.bus.isEmpty())
                QVERIFY2(WaitFor([&] { return Count("BootedVtrlFromKstv") == 1; }), c.name);
            else
                QVERIFY2(WaitFor([&] { return CatchesTermination(p->processId()); }), c.name);
            p->terminate();  // SIGTERM, as a logout sends it
            QCOMPARE(c.name + (": " + End(*p)), c.name + QString(": exit 0"));
            if (c.blocked)
                QVERIFY(QFileInfo(home_.filePath("config/Tessaly")).isFile());
            else
                QCOMPARE(savedKeys(), 9);
            if (c.bus.isEmpty()) {
                QVERIFY2(WaitFor([&] { return Count("QuitVtrl") == 1; }), c.name);
                continue;
            }
            // kestrova-send gives up within the bound, saying so.
            QProcessEnvironment sendEnv = QProcessEnvironment::systemEnvironment();
            sendEnv.insert("DBUS_SESSION_BUS_ADDRESS", c.bus);
            const kt::SendRun sent = kt::RunSend({"--to", "Kestrova", "hello"}, &sendEnv);
            QCOMPARE(c.name + QString(": %1 %2").arg(sent.code).arg(sent.out), c.name + QString(": 1 0\n"));
        }
    }

    // A second `kestrova FILE` hands its file to the one running and ends at once: the first
    // program's Open Recent holds both when it quits.
    void secondLaunchHandsItsDesignOver()
    {
        ks::DesignDocument doc;
        doc.driver.model = "E2E Mid";
        doc.driver.values = {13, 50, 10, 0.35f, 0.4f, 2.8f, 0.5f, 6.2f, 60, 85, 4, 34, 0.4f};
        const QString first = home_.filePath("first.kestrova"), second = home_.filePath("second.kestrova");
        for (const QString& path : {first, second})
            QVERIFY(kt::WriteBytes(path, QByteArray::fromStdString(ks::WriteDesignDocument(doc))));
        auto p = StartProgram({}, {first});
        QVERIFY(OnBus());
        QProcess handing;  // named relative to its working folder
        handing.setProcessEnvironment(home_.environment());
        handing.setWorkingDirectory(home_.path());
        handing.start(kProgramPath, {QStringLiteral("second.kestrova")});
        QCOMPARE(End(handing), QString("exit 0"));
        QCOMPARE(p->state(), QProcess::Running);
        QCOMPARE(me_->send("Kestrova", "Kstv", "QuitKstv"), 1);
        QCOMPARE(End(*p), QString("exit 0"));
        QCOMPARE(QSettings(confPath(), QSettings::IniFormat).value("RecentDesigns").toStringList(),
                 QStringList({second, first}));
    }
};

QTEST_GUILESS_MAIN(ProgramTest)
#include "program_test.moc"
