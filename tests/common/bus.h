// SPDX-License-Identifier: GPL-3.0-or-later
// Real processes on the private session bus dbus-run-session gives each test
// program: kestrova-send runs and listeners, and raw calls.
#pragma once

#include <QtDBus>

#include "common/wait_for.h"

namespace kt {

inline const QString kSendPath = QStringLiteral(KESTROVA_SEND_PATH);

// A kestrova-send run to its end (the event loop running, so the program under
// test answers): exit status and output.
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

// One raw call, without the sender's checks. A blocking one is answered only
// once the receiver has handled it, so it also orders the calls before it.
inline void RawDeliver(const QString& to, const QVariantList& args, bool block = true)
{
    QDBusMessage m = QDBusMessage::createMethodCall(to, QStringLiteral("/com/tessaly/Messages"),
                                                    QStringLiteral("com.tessaly.Messages"), QStringLiteral("Deliver"));
    m.setArguments(args);
    m.setAutoStartService(false);
    block ? void(QDBusConnection::sessionBus().call(m, QDBus::Block, 20000))
          : void(QDBusConnection::sessionBus().send(m));
}

}  // namespace kt
