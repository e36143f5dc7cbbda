// SPDX-License-Identifier: GPL-3.0-or-later
// Pumps the event loop until a condition holds or the time is up, for tests that wait on processes or timers.
#pragma once

#include <QtCore/qtestsupport_core.h>

namespace kt {

template <typename F>
bool WaitFor(F cond, int ms = 10000)
{
    return QTest::qWaitFor(cond, ms);
}

}  // namespace kt
