#include "exchange/dbus_messenger.h"

#include <QCoreApplication>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QProcess>
#include <QStandardPaths>

namespace ks {
namespace {

const QString kPrefix = QStringLiteral("com.tessaly.");
const QString kPath = QStringLiteral("/com/tessaly/Messages");
const QString kInterface = QStringLiteral("com.tessaly.Messages");
const QString kConnName = QStringLiteral("kestrova-messages");

QDBusConnection OpenSessionBus()
{
    // Only the address the environment names: without one there is no
    // session bus (no fallback discovery), and it is read at each start
    // rather than remembered from an earlier connection.
    const QString address = qEnvironmentVariable("DBUS_SESSION_BUS_ADDRESS");
    if (address.isEmpty() || address.size() > 4096) return QDBusConnection(QString());
    return QDBusConnection::connectToBus(address, kConnName);
}

// A name is one of ours when it is PREFIX NAME ".p" followed by digits only.
bool IsPeerName(const QString& name, const QString& processName)
{
    const QString head = kPrefix + processName + QStringLiteral(".p");
    if (!name.startsWith(head) || name.size() == head.size()) return false;
    for (qsizetype i = head.size(); i < name.size(); ++i)
        if (!name[i].isDigit()) return false;
    return true;
}

}  // namespace

DbusMessenger::DbusMessenger(const QString& processName, const QString& ownClass,
                             QObject* parent)
    : QObject(parent), bus_(OpenSessionBus()), ownClass_(ownClass)
{
    next_.setSingleShot(true);
    next_.setInterval(0);
    connect(&next_, &QTimer::timeout, this, &DbusMessenger::HandleNext);
    if (!bus_.isConnected()) return;
    busName_ = kPrefix + processName + QStringLiteral(".p") +
               QString::number(QCoreApplication::applicationPid());
    if (!bus_.registerObject(kPath, kInterface, this, QDBusConnection::ExportScriptableSlots |
                                                          QDBusConnection::ExportAllSlots))
        return;
    if (!bus_.registerService(busName_)) {
        bus_.unregisterObject(kPath);
        return;
    }
    connected_ = true;
}

DbusMessenger::~DbusMessenger()
{
    if (connected_) {
        flush();
        bus_.unregisterObject(kPath);
        bus_.unregisterService(busName_);
    }
    QDBusConnection::disconnectFromBus(kConnName);
}

QStringList DbusMessenger::peers(const QString& processName) const
{
    QStringList out;
    if (!connected_) return out;
    QDBusConnectionInterface* iface = bus_.interface();
    if (!iface) return out;
    const QDBusReply<QStringList> names = iface->registeredServiceNames();
    if (!names.isValid()) return out;
    for (const QString& n : names.value())
        if (n != busName_ && IsPeerName(n, processName)) out << n;
    return out;
}

int DbusMessenger::send(std::string_view processName, std::string_view eventClass,
                        std::string_view text)
{
    if (!connected_) return 0;
    const QString name = QString::fromUtf8(processName.data(), qsizetype(processName.size()));
    const QString cls = QString::fromLatin1(eventClass.data(), qsizetype(eventClass.size()));
    const QByteArray body(text.data(),
                          qsizetype(std::min<std::size_t>(text.size(), kMaxMessageBytes)));
    int sent = 0;
    for (const QString& peer : peers(name)) {
        QDBusMessage m = QDBusMessage::createMethodCall(peer, kPath, kInterface,
                                                        QStringLiteral("Deliver"));
        m.setAutoStartService(false);
        m << cls << QStringLiteral("TEXT") << body;
        if (bus_.send(m)) ++sent;
    }
    return sent;
}

void DbusMessenger::flush()
{
    // The connection writes in order, so once the bus daemon has answered a
    // round trip everything queued before it has reached the daemon.
    if (!connected_) return;
    QDBusMessage ping = QDBusMessage::createMethodCall(
        QStringLiteral("org.freedesktop.DBus"), QStringLiteral("/org/freedesktop/DBus"),
        QStringLiteral("org.freedesktop.DBus.Peer"), QStringLiteral("Ping"));
    bus_.call(ping, QDBus::Block, 5000);
}

void DbusMessenger::Deliver(const QString& eventClass, const QString& eventId,
                            const QByteArray& text)
{
    if (eventClass != ownClass_ || eventId != QLatin1String("TEXT")) return;
    // Handled later, so the bus call returns first; a timer rather than one
    // posted call per message, because a burst of posted calls is handled in
    // a single pass that starves painting and deferred deletes.
    if (inbox_.size() >= kMaxPendingMessages) {
        ++dropped_;
        return;
    }
    inbox_.push_back(text.left(kMaxMessageBytes));
    if (!next_.isActive()) next_.start();
}

void DbusMessenger::HandleNext()
{
    if (inbox_.empty()) return;
    const QByteArray bytes = std::move(inbox_.front());
    inbox_.pop_front();
    // Armed first: a receiver that opens a modal loop still gets the rest.
    if (!inbox_.empty()) next_.start();
    if (receiver_) receiver_(bytes);
}

bool LaunchVantrel(DbusMessenger& m)
{
    if (!m.peers(QStringLiteral("Vantrel")).isEmpty()) return false;
    // Beside the running program first, so a build or install tree keeps
    // its own pair together; then PATH.
    QString exe = QStandardPaths::findExecutable(QStringLiteral("vantrel"),
                                                 {QCoreApplication::applicationDirPath()});
    if (exe.isEmpty()) exe = QStandardPaths::findExecutable(QStringLiteral("vantrel"));
    if (exe.isEmpty()) return false;
    return QProcess::startDetached(exe, {});
}

}  // namespace ks
