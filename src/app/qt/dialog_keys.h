// The keys of the program's small modal windows: Return and Enter are the
// default button, Escape does nothing (neither window has a cancel).
#pragma once

#include <QKeyEvent>

namespace ks {

// True when the key was one of them and has been handled.
template <typename Ok>
bool HandleDialogKeys(QKeyEvent* event, Ok&& ok)
{
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        event->accept();
        ok();
        return true;
    case Qt::Key_Escape: event->accept(); return true;
    default: return false;
    }
}

}  // namespace ks
