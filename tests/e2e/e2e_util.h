// Helpers for tests with real processes on the private session bus.
#pragma once

#include <QCoreApplication>
#include <QProcess>
#include <QString>
#include <QStringList>
#include <memory>

#include "common/wait_for.h"

namespace kt {

inline const QString kSendPath = QStringLiteral(KESTROVA_SEND_PATH);
inline const QString kProgramPath = QStringLiteral(KESTROVA_PATH);


// A kestrova-send run to its end: exit status and output.
struct SendRun {
    int code = -1;
    QString out;
};

inline SendRun RunSend(const QStringList& args)
{
    QProcess p;
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
    bool waitForLine(const QString& line, int ms = 10000)
    {
        return WaitFor([&] { return lines().contains(line); }, ms);
    }
    QProcess& process() { return p_; }

private:
    QProcess p_;
    QString buffer_;
};

}  // namespace kt
