// SPDX-License-Identifier: GPL-3.0-or-later
// Vantrel's side of the messages with the design program: the words it
// answers and the picked driver it sends, starting the program when none
// runs and waiting (bounded, without blocking the loop) until it is on
// the bus.
#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QTimer>
#include <functional>
#include <optional>

#include "exchange/qt/dbus_messenger.h"
#include "library/driver.h"
#include "support/pstring.h"

namespace ks::vantrel {

class KestrovaLink final : public QObject {
    Q_OBJECT
public:
    // How long a started program may take to appear on the bus.
    static constexpr int kStartWaitMs = 8000;

    explicit KestrovaLink(DbusMessenger& bus, QObject* parent = nullptr);

    // What the window does with the words it is sent; unset ones are ignored.
    std::function<void()> show, hide, ready, quit;

    // A received message.
    void Receive(const QByteArray& text);
    // On start: tell a running program that we are here.
    void Announce();

    // Sends the driver's record to every running program, starting one
    // first when none runs. finished(...) says how it ended; a driver whose
    // record cannot be built, or with a value no driver has, is refused
    // before anything is sent.
    void SendDriver(const lib::Driver& d);
    bool busy() const { return waiting_.has_value(); }

Q_SIGNALS:
    void waitingChanged(bool waiting);
    void finished(bool sent, const QString& message);

private:
    void Poll();
    void Deliver(const QString& model);
    static QString FindProgram();

    DbusMessenger& bus_;
    QTimer poll_;
    QElapsedTimer clock_;
    std::optional<PStr> waiting_;  // the record waiting for the program
    QString waitingModel_;
};

}  // namespace ks::vantrel
