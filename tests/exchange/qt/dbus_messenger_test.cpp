// The transport between real processes on a private session bus.
#include "exchange/qt/dbus_messenger.h"

#include <gtest/gtest.h>

#include "common/fake_companion.h"
#include "common/bus.h"
#include "common/silent_socket.h"

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QElapsedTimer>
#include <QFile>
#include <QEventLoop>
#include <QPointer>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QThread>
#include <QTimer>
#include <csignal>
#include <cstdio>
#include <sys/types.h>
#include <memory>
#include <vector>

namespace ks {
namespace {

using kt::Listener;
using kt::RawDeliver;
using kt::RunSend;
using kt::SendRun;
using kt::WaitFor;

class Transport : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_FALSE(qEnvironmentVariableIsEmpty("DBUS_SESSION_BUS_ADDRESS"))
            << "run under dbus-run-session";
        me = std::make_unique<DbusMessenger>(QStringLiteral("Kestrova"), QStringLiteral("Kstv"));
        ASSERT_TRUE(me->connected());
        me->setReceiver([this](QByteArray b) { got.push_back(b); });
    }
    void TearDown() override
    {
        listeners.clear();
        me.reset();
    }
    Listener& Listen(const QStringList& extra)
    {
        listeners.push_back(std::make_unique<Listener>(extra));
        return *listeners.back();
    }
    bool WaitForPeers(const QString& name, int n)
    {
        return WaitFor([&] { return me->peers(name).size() == n; });
    }

    std::unique_ptr<DbusMessenger> me;
    std::vector<QByteArray> got;
    std::vector<std::unique_ptr<Listener>> listeners;
};

// Every listener gets every message, in order and cut at 255 bytes; the
// sender is never among the receivers; the count sent to is the answer.
TEST_F(Transport, EveryReceiverButTheSenderGetsEachMessageInOrder)
{
    Listener& a = Listen({"--count", "4", "--timeout", "20"});
    Listener& b = Listen({"--count", "4", "--timeout", "20"});
    ASSERT_TRUE(WaitForPeers(QStringLiteral("Vantrel"), 2));
    for (const char* t : {"one", "caf\xC3\xA9"}) {
        const SendRun r = RunSend({"--to", "Vantrel", QString::fromUtf8(t)});
        EXPECT_EQ(r.code, 0);
        EXPECT_EQ(r.out, "2\n");
    }
    EXPECT_EQ(RunSend({"--as", "Vantrel", "--to", "Vantrel", "hi"}).out, "2\n");  // not to itself
    EXPECT_EQ(me->send("Vantrel", "Vtrl", std::string(400, 'z')), 2);
    me->flush();
    ASSERT_TRUE(a.finished());
    ASSERT_TRUE(b.finished());
    const QStringList want = {"Vtrl TEXT one", QString::fromUtf8("Vtrl TEXT caf\xC3\xA9"), "Vtrl TEXT hi",
                              "Vtrl TEXT " + QString(255, QLatin1Char('z'))};
    EXPECT_EQ(a.lines(), want);
    EXPECT_EQ(b.lines(), want);
    EXPECT_EQ(a.process().exitCode(), 0);

    for (const char* t : {"first", "second", "third"}) EXPECT_EQ(RunSend({QString::fromUtf8(t)}).out, "1\n");
    ASSERT_TRUE(WaitFor([&] { return got.size() == 3; }));
    EXPECT_EQ(got, (std::vector<QByteArray>{"first", "second", "third"}));
    // Our own messenger, alone under its name, reaches nobody.
    EXPECT_EQ(me->send("Kestrova", "Kstv", "self"), 0);
    WaitFor([] { return false; }, 100);
    EXPECT_EQ(got.size(), 3u);
}

TEST_F(Transport, EachMessageGetsItsOwnPassOfTheLoop)
{
    // A burst already waiting when the loop runs: what one message closes
    // (deleteLater, as a replaced window is) is gone before the next.
    const int n = 40;
    std::vector<QPointer<QObject>> made;
    int stale = 0;
    QEventLoop loop;
    me->setReceiver([&](QByteArray) {
        if (made.size() >= 2 && made[made.size() - 2]) ++stale;
        if (!made.empty()) made.back()->deleteLater();
        made.emplace_back(new QObject);
        if (int(made.size()) == n) loop.quit();
    });
    for (int i = 0; i < n; ++i) {
        QDBusMessage m = QDBusMessage::createMethodCall(
            me->busName(), QStringLiteral("/com/tessaly/Messages"),
            QStringLiteral("com.tessaly.Messages"), QStringLiteral("Deliver"));
        m.setArguments({QStringLiteral("Kstv"), QStringLiteral("TEXT"), QByteArray::number(i)});
        QDBusConnection::sessionBus().send(m);
    }
    QDBusConnection::sessionBus().call(QDBusMessage::createMethodCall(
        QStringLiteral("org.freedesktop.DBus"), QStringLiteral("/org/freedesktop/DBus"),
        QStringLiteral("org.freedesktop.DBus.Peer"), QStringLiteral("Ping")));
    QThread::msleep(300);  // all of them delivered to this process first
    QTimer::singleShot(10000, &loop, &QEventLoop::quit);
    loop.exec();
    ASSERT_EQ(int(made.size()), n);
    EXPECT_EQ(stale, 0);
    EXPECT_EQ(me->pending(), 0u);
    EXPECT_EQ(me->dropped(), 0u);
    delete made.back();
}

TEST_F(Transport, ReceiverIgnoresWrongClassOrIdAndCutsLongTexts)
{
    Listener& l = Listen({"--count", "3", "--timeout", "4"});
    ASSERT_TRUE(WaitForPeers(QStringLiteral("Vantrel"), 1));
    const QString to = me->peers(QStringLiteral("Vantrel")).value(0);
    RawDeliver(to, {QStringLiteral("Kstv"), QStringLiteral("TEXT"), QByteArray("wrong class")});
    RawDeliver(to, {QStringLiteral("Vtrl"), QStringLiteral("DATA"), QByteArray("wrong id")});
    RawDeliver(to, {QStringLiteral("vtrl"), QStringLiteral("TEXT"), QByteArray("case")});
    // Wrong signature: refused by the bus typing, the receiver lives on.
    RawDeliver(to, {QStringLiteral("Vtrl"), QStringLiteral("TEXT"), QStringLiteral("a string")});
    RawDeliver(to, {QStringLiteral("Vtrl"), QStringLiteral("TEXT"), QByteArray(1000, 'a')});
    RawDeliver(to, {QStringLiteral("Vtrl"), QStringLiteral("TEXT"), QByteArray("last")});
    ASSERT_TRUE(l.finished());
    const QStringList lines = l.lines();
    ASSERT_EQ(lines.size(), 2);
    EXPECT_EQ(lines[0], "Vtrl TEXT " + QString(255, QLatin1Char('a')));
    EXPECT_EQ(lines[1], "Vtrl TEXT last");
}

TEST_F(Transport, RefusalsAndNoReceiver)
{
    SendRun bad = RunSend({QString::fromUtf8("\xE4\xB8\xAD")});
    EXPECT_EQ(bad.code, 2);
    EXPECT_TRUE(bad.out.isEmpty());
    EXPECT_EQ(RunSend({QString(256, QLatin1Char('x'))}).code, 2);
    EXPECT_EQ(RunSend({"--driver", "nope=1"}).code, 2);
    EXPECT_TRUE(got.empty());  // nothing refused went out

    SendRun none = RunSend({"--to", "Nobody", "hello"});
    EXPECT_EQ(none.code, 1);
    EXPECT_EQ(none.out, "0\n");
}

TEST_F(Transport, ListenerEndsOnTimeoutAndOnSignal)
{
    QProcess& t = Listen({"--timeout", "0.3"}).process();
    ASSERT_TRUE(t.waitForFinished(10000));
    EXPECT_EQ(t.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(t.exitCode(), 0);

    for (int sig : {SIGTERM, SIGINT}) {
        QProcess& s = Listen({}).process();
        ASSERT_TRUE(WaitForPeers(QStringLiteral("Vantrel"), 1));
        ::kill(static_cast<pid_t>(s.processId()), sig);
        ASSERT_TRUE(s.waitForFinished(10000)) << sig;
        EXPECT_EQ(s.exitStatus(), QProcess::NormalExit) << sig;
        EXPECT_EQ(s.exitCode(), 0) << sig;
        EXPECT_TRUE(WaitForPeers(QStringLiteral("Vantrel"), 0));
    }
}

// At most one launch in flight: while the process started last runs and has
// not joined the bus it is not started again; once it has ended it may be.
// None is started while one is on the bus, nor when there is none to start.
TEST_F(Transport, CompanionLaunchedOnceUntilItJoinsOrEnds)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    kt::FakeCompanion fake;
    ASSERT_TRUE(fake.install(dir.path()));
    auto started = [&] { return fake.started(); };
    const QByteArray oldPath = qgetenv("PATH");
    qputenv("PATH", dir.path().toUtf8());
    CompanionLauncher launcher(*me);
    EXPECT_TRUE(launcher.Launch());
    for (int i = 0; i < 39; ++i) EXPECT_FALSE(launcher.Launch());
    ASSERT_TRUE(WaitFor([&] { return started().size() == 1; }));
    WaitFor([] { return false; }, 300);  // time for a second start, if any
    EXPECT_EQ(started().size(), 1);

    // It ended without joining: the next request starts another.
    ::kill(started().value(0).toInt(), SIGKILL);
    WaitFor([] { return false; }, 300);  // time for a second start, if any
    EXPECT_TRUE(launcher.Launch());
    ASSERT_TRUE(WaitFor([&] { return started().size() == 2; }));
    ::kill(started().value(1).toInt(), SIGKILL);

    qputenv("PATH", oldPath);
    Listen({"--timeout", "20"});
    ASSERT_TRUE(WaitForPeers(QStringLiteral("Vantrel"), 1));
    qputenv("PATH", dir.path().toUtf8());
    EXPECT_FALSE(launcher.Launch());
    qputenv("PATH", QByteArray("/nonexistent"));
    CompanionLauncher none(*me);
    EXPECT_FALSE(none.Launch());
    qputenv("PATH", oldPath);
    EXPECT_EQ(started().size(), 2);
}

TEST(NoBus, WorksAloneAndSendReportsNobody)
{
    const QByteArray addr = qgetenv("DBUS_SESSION_BUS_ADDRESS");
    // No address, or one that leads nowhere.
    for (const char* address : {"", "unix:path=/nonexistent/kestrova-bus"}) {
        qputenv("DBUS_SESSION_BUS_ADDRESS", address);
        if (!*address) qunsetenv("DBUS_SESSION_BUS_ADDRESS");
        DbusMessenger alone(QStringLiteral("Kestrova"), QStringLiteral("Kstv"));
        EXPECT_FALSE(alone.connected());
        EXPECT_EQ(alone.send("Vantrel", "Vtrl", "x"), 0);
        EXPECT_TRUE(alone.peers(QStringLiteral("Vantrel")).isEmpty());
        alone.flush();
    }
    // A bus that takes the connection and never answers is none either,
    // within the bound, and kestrova-send gives up saying so.
    QTemporaryDir dir;
    kt::SilentSocket silentBus(dir.filePath(QStringLiteral("bus")));
    ASSERT_TRUE(silentBus.ok());
    qputenv("DBUS_SESSION_BUS_ADDRESS", silentBus.address().toUtf8());
    QElapsedTimer clock;
    clock.start();
    {
        DbusMessenger silent(QStringLiteral("Kestrova"), QStringLiteral("Kstv"));
        EXPECT_FALSE(silent.connected());
        EXPECT_EQ(silent.send("Vantrel", "Vtrl", "x"), 0);
    }
    EXPECT_LT(clock.elapsed(), 3 * kBusWaitMs);
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    {
        QProcess p;
        p.setProcessEnvironment(env);
        clock.restart();
        p.start(kt::kSendPath, {"--to", "Kestrova", "hello"});
        ASSERT_TRUE(p.waitForFinished(20000));
        EXPECT_LT(clock.elapsed(), 3 * kBusWaitMs + 2000);
        EXPECT_EQ(p.exitCode(), 1);
        EXPECT_EQ(p.readAllStandardError(), "kestrova-send: no session bus answered; sent to nobody\n");
    }
    qputenv("DBUS_SESSION_BUS_ADDRESS", "unix:path=/nonexistent/kestrova-bus");
    env = QProcessEnvironment::systemEnvironment();
    QProcessEnvironment bogus = env;
    env.remove(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"));
    for (QProcessEnvironment* e : {&bogus, &env}) {
        const SendRun r = RunSend({"--to", "Vantrel", "hello"}, e);
        EXPECT_EQ(r.code, 1);
        EXPECT_EQ(r.out, "0\n");
    }
    QProcess l;
    l.setProcessEnvironment(env);
    l.start(kt::kSendPath, {"--listen", "--timeout", "0.2"});
    ASSERT_TRUE(l.waitForFinished(10000));
    EXPECT_EQ(l.exitCode(), 0);
    if (addr.isEmpty())
        qunsetenv("DBUS_SESSION_BUS_ADDRESS");
    else
        qputenv("DBUS_SESSION_BUS_ADDRESS", addr);
}

}  // namespace
}  // namespace ks

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
