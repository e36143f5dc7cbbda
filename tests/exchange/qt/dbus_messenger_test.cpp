// SPDX-License-Identifier: GPL-3.0-or-later
// The transport between real processes on a private session bus; the programs' runs over it are e2e's.
#include "exchange/qt/dbus_messenger.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QEventLoop>
#include <QPointer>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTimer>
#include <csignal>
#include <list>
#include <vector>

#include "common/bus.h"
#include "common/files.h"

namespace ks {
namespace {

using kt::Listener;
using kt::RunSend;
using kt::WaitFor;

class Transport : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(me.connected()) << "run under dbus-run-session"; }
    Listener& Listen(const QStringList& extra) { return listeners.emplace_back(extra); }
    bool WaitForPeers(int n)
    {
        return WaitFor([&] { return me.peers(QStringLiteral("Vantrel")).size() == n; });
    }

    DbusMessenger me{QStringLiteral("Kestrova"), QStringLiteral("Kstv")};
    std::list<Listener> listeners;  // ended before the messenger
};

// Every listener but the sender gets every message, in order, cut at 255 bytes, and the count is the answer;
// one of the wrong class, id or signature is ignored and the listener lives on.
TEST_F(Transport, EveryReceiverButTheSenderGetsEachMessageInOrder)
{
    Listener &a = Listen({"--count", "5", "--timeout", "20"}), &b = Listen({"--count", "5", "--timeout", "20"});
    ASSERT_TRUE(WaitForPeers(2));
    for (const QString& to : me.peers(QStringLiteral("Vantrel")))
        for (const QVariantList& args : std::vector<QVariantList>{{"Kstv", "TEXT", QByteArray("wrong class")},
                                                                  {"Vtrl", "DATA", QByteArray("wrong id")},
                                                                  {"vtrl", "TEXT", QByteArray("case")},
                                                                  {"Vtrl", "TEXT", QStringLiteral("a string")},
                                                                  {"Vtrl", "TEXT", QByteArray(1000, 'a')}})
            kt::RawDeliver(to, args);
    for (const char* t : {"one", "caf\xC3\xA9"})
        EXPECT_EQ(RunSend({"--to", "Vantrel", QString::fromUtf8(t)}).out, "2\n");
    EXPECT_EQ(RunSend({"--as", "Vantrel", "--to", "Vantrel", "hi"}).out, "2\n");  // not to itself
    EXPECT_EQ(me.send("Vantrel", "Vtrl", std::string(400, 'z')), 2);
    me.flush();
    ASSERT_TRUE(a.finished() && b.finished());
    const QStringList want = {"Vtrl TEXT " + QString(255, QLatin1Char('a')), "Vtrl TEXT one",
                              QString::fromUtf8("Vtrl TEXT caf\xC3\xA9"), "Vtrl TEXT hi",
                              "Vtrl TEXT " + QString(255, QLatin1Char('z'))};
    EXPECT_EQ(a.lines(), want);
    EXPECT_EQ(b.lines(), want);
    // Nobody to send to is exit 1, "0".
    const kt::SendRun none = RunSend({"--to", "Nobody", "hello"});
    EXPECT_EQ(std::pair(none.code, none.out), std::pair(1, QString("0\n")));
}

// A design file handed over is taken as an absolute path of bounded length and comes to the receiver on the
// loop, in order; a launch with nobody to take its file keeps it.
TEST_F(Transport, DesignFilesAreTakenAsAbsolutePathsInOrder)
{
    std::vector<QString> got;
    me.setDesignReceiver([&got](const QString& path) { got.push_back(path); });
    const QString longest = "/" + QString(kMaxDesignPathChars - 1, QLatin1Char('x'));
    for (const QString& path :
         {QStringLiteral("/a.kestrova"), QStringLiteral("b.kestrova"), QString(), longest + "x", longest}) {
        QDBusConnection::sessionBus().send(  // answered on our own loop
            QDBusMessage::createMethodCall(me.busName(), QStringLiteral("/com/tessaly/Messages"),
                                           QStringLiteral("com.tessaly.Messages"), QStringLiteral("OpenDesign"))
            << path);
    }
    ASSERT_TRUE(WaitFor([&] { return got.size() == 2; }));
    EXPECT_EQ(got, (std::vector<QString>{"/a.kestrova", longest}));
    EXPECT_FALSE(HandOverDesign(QStringLiteral("Nobody"), QStringLiteral("/a.kestrova")));
}

// A burst already waiting when the loop runs: what one message closes (deleteLater, as a replaced window is) is
// gone before the next.
TEST_F(Transport, EachMessageGetsItsOwnPassOfTheLoop)
{
    const int n = 40;
    std::vector<QPointer<QObject>> made;
    int stale = 0;
    std::size_t waitingAtFirst = 0;
    QEventLoop loop;
    me.setReceiver([&](QByteArray) {
        if (made.empty()) waitingAtFirst = me.pending();
        if (made.size() >= 2 && made[made.size() - 2]) ++stale;
        if (!made.empty()) made.back()->deleteLater();
        made.emplace_back(new QObject);
        if (int(made.size()) == n) loop.quit();
    });
    for (int i = 0; i < n; ++i) kt::RawDeliver(me.busName(), {"Kstv", "TEXT", QByteArray::number(i)}, false);
    // Our connection answers a ping only after taking in every message sent before it: the burst is all here.
    QDBusConnection::sessionBus().call(QDBusMessage::createMethodCall(
        me.busName(), "/", QStringLiteral("org.freedesktop.DBus.Peer"), QStringLiteral("Ping")));
    QTimer::singleShot(30000, &loop, &QEventLoop::quit);
    loop.exec();
    ASSERT_EQ(int(made.size()), n);
    EXPECT_EQ(std::tuple(waitingAtFirst, stale, me.pending() + me.dropped()), std::tuple(std::size_t(n - 1), 0, 0u));
    delete made.back();
}

// One launch in flight: not started again while the last one runs without having joined the bus, nor while one
// is on the bus or there is none to start; once it has ended it may be.
TEST_F(Transport, CompanionLaunchedOnceUntilItJoinsOrEnds)
{
    // A stand-in vantrel that notes its process id and waits, never joining the bus.
    QTemporaryDir dir;
    const QString marker = dir.filePath("started"), script = dir.filePath("vantrel");
    const QString waiter = QStandardPaths::findExecutable("sleep");  // lives on, as a companion would
    const QByteArray text = ("#!/bin/sh\necho $$ >> '" + marker + "'\nexec '" + waiter + "' 60\n").toUtf8();
    ASSERT_TRUE(kt::WriteBytes(marker, "") && kt::WriteBytes(script, text) &&
                QFile::setPermissions(script, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
    const auto started = [&] { return QString(kt::ReadBytes(marker)).split('\n', Qt::SkipEmptyParts); };
    const QByteArray oldPath = qgetenv("PATH");
    qputenv("PATH", QByteArray("/nonexistent"));
    CompanionLauncher launcher(me);
    EXPECT_FALSE(launcher.Launch());  // none to start
    qputenv("PATH", dir.path().toUtf8());
    EXPECT_TRUE(launcher.Launch());
    for (int i = 0; i < 39; ++i) EXPECT_FALSE(launcher.Launch());
    ASSERT_TRUE(WaitFor([&] { return started().size() == 1; }));
    // It ended without joining (killed, then reaped by whoever adopted it): the next request starts another.
    const qint64 first = started().value(0).toLongLong();
    ::kill(pid_t(first), SIGKILL);
    ASSERT_TRUE(WaitFor([&] { return kt::Ended(first); }));
    EXPECT_TRUE(launcher.Launch());
    ASSERT_TRUE(WaitFor([&] { return started().size() == 2; }));
    ::kill(started().value(1).toInt(), SIGKILL);
    Listen({"--timeout", "20"});
    ASSERT_TRUE(WaitForPeers(1));
    EXPECT_FALSE(launcher.Launch());
    qputenv("PATH", oldPath);
    EXPECT_EQ(started().size(), 2);  // a start of the 39 refused would be a third
}

}  // namespace
}  // namespace ks

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
