// Helpers for tests with real processes on the private session bus that
// dbus-run-session gives each test program: kestrova-send runs and
// listeners, and raw calls that bypass the messenger's own checks.
#pragma once

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QProcess>
#include <QString>
#include <QStringList>

#include "common/wait_for.h"

namespace kt {

inline const QString kSendPath = QStringLiteral(KESTROVA_SEND_PATH);

// A kestrova-send run to its end: exit status and output.
struct SendRun {
    int code = -1;
    QString out;
};

inline SendRun RunSend(const QStringList& args, const QProcessEnvironment* env = nullptr)
{
    QProcess p;
    if (env) p.setProcessEnvironment(*env);
    p.start(kSendPath, args);
    SendRun r;
    // The event loop keeps running, so the program under test answers.
    if (!WaitFor([&] { return p.state() == QProcess::NotRunning; }, 20000)) return r;
    r.code = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    r.out = QString::fromUtf8(p.readAllStandardOutput());
    return r;
}

// A listener that collects its printed lines.
class Listener {
public:
    explicit Listener(const QStringList& extra = {})
    {
        p_.start(kSendPath, QStringList{QStringLiteral("--listen")} + extra);
        p_.waitForStarted(5000);
    }
    ~Listener()
    {
        if (p_.state() != QProcess::NotRunning) {
            p_.terminate();
            p_.waitForFinished(5000);
        }
    }
    QStringList lines()
    {
        buffer_ += QString::fromUtf8(p_.readAllStandardOutput());
        QStringList l = buffer_.split(QLatin1Char('\n'));
        l.removeLast();  // the unfinished rest
        return l;
    }
    bool finished(int ms = 15000)
    {
        return WaitFor([&] { return p_.state() == QProcess::NotRunning; }, ms);
    }

private:
    QProcess p_;
    QString buffer_;
};

// Sends one raw call the way another program might, without the sender's
// checks. A blocking call is answered (or refused) only after the receiver
// has handled it, so it also orders the calls sent before it.
inline void RawDeliver(const QString& to, const QVariantList& args, bool block = true)
{
    QDBusMessage m = QDBusMessage::createMethodCall(to, QStringLiteral("/com/tessaly/Messages"),
                                                    QStringLiteral("com.tessaly.Messages"), QStringLiteral("Deliver"));
    m.setArguments(args);
    m.setAutoStartService(false);
    if (block)
        QDBusConnection::sessionBus().call(m, QDBus::Block, 20000);
    else
        QDBusConnection::sessionBus().send(m);
}

}  // namespace kt
