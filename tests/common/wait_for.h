// Pumps the event loop until a condition holds or the time is up: for tests
// that wait on other processes or on timers.
#pragma once

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QThread>

namespace kt {

template <typename F>
bool WaitFor(F cond, int ms = 10000)
{
    QDeadlineTimer t(ms);
    while (!cond()) {
        if (t.hasExpired()) return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        QThread::msleep(2);
    }
    return true;
}

}  // namespace kt
