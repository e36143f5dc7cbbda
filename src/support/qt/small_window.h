// SPDX-License-Identifier: GPL-3.0-or-later
// What the program's small windows share (the default-parameter window, the
// preferences window, the update window), over whichever Qt window class
// each is:
// - Return and Enter are the default button wherever the focus is, even on
//   another button; Escape does only what the window says, as none of them
//   has a cancel.
// - The OK that closes the window closes it once, even when closing comes
//   back to it as a close event.
// - Whoever owns the window can close it quietly, without the handling a
//   close from the window manager gets.
// Only the window's key and close events are used here, so this needs no
// more of Qt than the events.
#pragma once

#include <QCloseEvent>
#include <QKeyEvent>

namespace ks {

template <typename Window>
class SmallWindow : public Window {
public:
    using Window::Window;

    // Closes the window without CloseFromOutside: the owner has done, or
    // will do, what closing asks for.
    void CloseQuietly()
    {
        quiet_ = true;
        this->close();
        quiet_ = false;
    }

protected:
    // The default button, for Return and Enter.
    virtual void Ok() = 0;
    // Escape: nothing unless the window says.
    virtual void Escape() {}
    // A close not made quietly (the window manager's, or close()): by
    // default the window closes as any would.
    virtual void CloseFromOutside(QCloseEvent* event) { Window::closeEvent(event); }

    // Runs close (a dialog's done()) unless it is running already: closing
    // may come back to Ok as a close event. True when this call closed.
    template <typename Close>
    bool CloseOnce(Close&& close)
    {
        if (closing_) return false;
        closing_ = true;
        close();
        closing_ = false;
        return true;
    }

    void keyPressEvent(QKeyEvent* event) override
    {
        switch (event->key()) {
        case Qt::Key_Return:
        case Qt::Key_Enter:
            event->accept();
            Ok();
            return;
        case Qt::Key_Escape:
            event->accept();
            Escape();
            return;
        default: Window::keyPressEvent(event);
        }
    }

    void closeEvent(QCloseEvent* event) override
    {
        if (quiet_)
            Window::closeEvent(event);
        else
            CloseFromOutside(event);
    }

private:
    bool quiet_ = false;
    bool closing_ = false;
};

}  // namespace ks
