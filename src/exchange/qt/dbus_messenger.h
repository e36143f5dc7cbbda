// SPDX-License-Identifier: GPL-3.0-or-later
// The message transport over the session bus. Each process owns
// com.tessaly.NAME.pPID and serves Deliver(s, s, ay) on /com/tessaly/Messages;
// sending calls every other process of a name once, without waiting.
#pragma once

#include <QByteArray>
#include <QDBusConnection>
#include <QDeadlineTimer>
#include <QObject>
#include <QString>
#include <QTimer>
#include <functional>

#include "exchange/messenger.h"
#include "exchange/words.h"
#include "support/bounded_queue.h"

namespace ks {

inline constexpr int kMaxMessageBytes = 255;
// How long joining the bus, and each bus call the program waits on, may
// take: a bus that says nothing for this long counts as none.
inline constexpr int kBusWaitMs = 1500;
// Design files handed over and not yet opened; the longest path taken.
inline constexpr std::size_t kMaxPendingDesigns = 100;
inline constexpr qsizetype kMaxDesignPathChars = 4096;

// A protocol word (words.h, ASCII) as the bus's text.
inline QString BusText(std::string_view word) { return QString::fromLatin1(word.data(), qsizetype(word.size())); }

class DbusMessenger final : public QObject, public Messenger {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "com.tessaly.Messages")
public:
    using Receiver = std::function<void(QByteArray)>;
    using DesignReceiver = std::function<void(QString)>;

    // One per process: the bus name is made from the process id.
    // processName: our own NAME on the bus; ownClass: the four-character class
    // a message must carry to be accepted. Without a session bus this still
    // succeeds and simply reaches nobody.
    DbusMessenger(const QString& processName, const QString& ownClass, QObject* parent = nullptr);
    ~DbusMessenger() override;

    // Called on the main loop, once per accepted message, in arrival order,
    // one message per pass of the loop so windows closed while handling one
    // are gone, and the screen repainted, before the next.
    void setReceiver(Receiver r) { receiver_ = std::move(r); }
    // Called on the main loop with each design file a second launch hands
    // over (an absolute path), in arrival order.
    void setDesignReceiver(DesignReceiver r) { designReceiver_ = std::move(r); }

    // Accepted messages not yet handed to the receiver, and those dropped
    // because too many were waiting.
    std::size_t pending() const { return inbox_.size(); }
    std::size_t dropped() const { return inbox_.dropped(); }

    int send(std::string_view processName, std::string_view eventClass, std::string_view text) override;

    // Bus names com.tessaly.NAME.pN, ours left out.
    QStringList peers(const QString& processName) const;

    bool connected() const { return connected_; }
    QString busName() const { return busName_; }

    // Blocks until what was sent has been written to the bus.
    void flush();

public Q_SLOTS:
    Q_NOREPLY void Deliver(const QString& eventClass, const QString& eventId, const QByteArray& text);
    // A design file to open, from a second launch of the program; answered
    // at once, opened on the main loop. Only an absolute path of at most
    // kMaxDesignPathChars is taken.
    void OpenDesign(const QString& path);

private:
    void HandleNext();
    void HandleNextDesign();

    QDBusConnection bus_;
    bool connected_ = false;
    QString busName_;
    QString ownClass_;
    Receiver receiver_;
    DesignReceiver designReceiver_;
    BoundedQueue<QByteArray> inbox_;
    BoundedQueue<QString> designs_{kMaxPendingDesigns};
    QTimer next_;
    QTimer nextDesign_;
};

// What a second launch of a program does with a design file: hands the path
// to a process named processName already on the session bus, waiting at
// most kBusWaitMs for its answer. False when none took it (no bus, nobody
// running, no answer), so the caller opens it itself. Joins the bus under
// no name of its own.
bool HandOverDesign(const QString& processName, const QString& path);

// Starts "vantrel" (beside the running executable, else from PATH),
// detached, unless one already is on the bus or the one started last is still running and not yet on it: at most one
// launch is in flight. After kJoinWaitMs without joining it may be started
// again.
class CompanionLauncher {
public:
    static constexpr int kJoinWaitMs = 10000;
    explicit CompanionLauncher(DbusMessenger& m) : m_(m) {}
    // True when a process was started.
    bool Launch();

private:
    DbusMessenger& m_;
    qint64 pid_ = 0;
    QDeadlineTimer joinBy_;
};

}  // namespace ks
