// SPDX-License-Identifier: GPL-3.0-or-later
#include "exchange/qt/dbus_messenger.h"

#include <poll.h>
#include <signal.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDeadlineTimer>
#include <QFile>
#include <QProcess>
#include <QScopeGuard>
#include <algorithm>
#include <cerrno>
#include <cstddef>
#include <cstring>
#include <optional>
#include <string>

#include "support/qt/resource_dir.h"

namespace ks {
namespace {

const QString kPrefix = QStringLiteral("com.tessaly.");
const QString kPath = QStringLiteral("/com/tessaly/Messages");
const QString kInterface = QStringLiteral("com.tessaly.Messages");
const QString kConnName = QStringLiteral("kestrova-messages");

// The socket a unix: address names (path= or abstract=, the first entry of
// a list); nullopt for other transports.
std::optional<std::string> UnixSocketAddress(const QString& address)
{
    const QString first = address.section(QLatin1Char(';'), 0, 0);
    if (!first.startsWith(QLatin1String("unix:"))) return std::nullopt;
    for (const QString& kv : first.mid(5).split(QLatin1Char(','))) {
        const QByteArray value = QByteArray::fromPercentEncoding(kv.section(QLatin1Char('='), 1).toUtf8());
        if (kv.startsWith(QLatin1String("path="))) return value.toStdString();
        if (kv.startsWith(QLatin1String("abstract=")))
            return std::string(1, '\0').append(value.constData(), value.size());
    }
    return std::nullopt;
}

// The bus daemon's first method call, Hello, as the wire carries it (little
// endian, serial 1, no body).
QByteArray HelloMessage()
{
    QByteArray m("l\x01\x00\x01", 4);
    auto u32 = [&m](quint32 v) {
        while (m.size() % 4) m += '\0';
        for (int i = 0; i < 4; ++i) m += char((v >> (8 * i)) & 0xFF);
    };
    u32(0);  // body length
    u32(1);  // serial
    u32(0);  // header fields length, set below
    const qsizetype fieldsStart = m.size();
    const struct {
        char code;
        char type;
        const char* value;
    } fields[] = {{1, 'o', "/org/freedesktop/DBus"},
                  {3, 's', "Hello"},
                  {2, 's', "org.freedesktop.DBus"},
                  {6, 's', "org.freedesktop.DBus"}};
    for (const auto& f : fields) {
        while (m.size() % 8) m += '\0';
        m += f.code;
        m += '\x01';
        m += f.type;
        m += '\0';
        u32(quint32(std::strlen(f.value)));
        m += f.value;
        m += '\0';
    }
    const quint32 len = quint32(m.size() - fieldsStart);
    for (int i = 0; i < 4; ++i) m[fieldsStart - 4 + i] = char((len >> (8 * i)) & 0xFF);
    while (m.size() % 8) m += '\0';
    return m;
}

// Whether a bus daemon answers at the unix socket within ms: the
// authentication and Hello exchange the library would make, but bounded.
// The library itself waits long or for ever on a peer that accepts the
// connection and then says nothing.
bool BusAnswers(const std::string& socketAddress, int ms)
{
    const QDeadlineTimer deadline(ms);
    sockaddr_un sa{};
    sa.sun_family = AF_UNIX;
    if (socketAddress.empty() || socketAddress.size() >= sizeof sa.sun_path) return false;
    std::memcpy(sa.sun_path, socketAddress.data(), socketAddress.size());
    const socklen_t saLen =
        socklen_t(offsetof(sockaddr_un, sun_path) + socketAddress.size() + (socketAddress[0] == '\0' ? 0 : 1));
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
    if (fd < 0) return false;
    const auto closeFd = qScopeGuard([fd] { ::close(fd); });
    auto wait = [&](short events) {
        pollfd p{fd, events, 0};
        for (;;) {
            const int left = int(std::max<qint64>(0, deadline.remainingTime()));
            const int n = ::poll(&p, 1, left);
            if (n > 0) return (p.revents & events) != 0;
            if (n == 0 || errno != EINTR) return false;
        }
    };
    if (::connect(fd, reinterpret_cast<const sockaddr*>(&sa), saLen) != 0) {
        if (errno != EINPROGRESS && errno != EAGAIN) return false;
        if (!wait(POLLOUT)) return false;
    }
    auto sendAll = [&](const QByteArray& bytes) {
        for (qsizetype done = 0; done < bytes.size();) {
            if (!wait(POLLOUT)) return false;
            const ssize_t n = ::send(fd, bytes.constData() + done, std::size_t(bytes.size() - done), MSG_NOSIGNAL);
            if (n < 0 && errno != EAGAIN && errno != EINTR) return false;
            if (n > 0) done += n;
        }
        return true;
    };
    // Reads until `until` holds for what has arrived.
    QByteArray in;
    auto receive = [&](const std::function<bool()>& until) {
        while (!until()) {
            if (!wait(POLLIN) || in.size() > 4096) return false;
            char buf[512];
            const ssize_t n = ::recv(fd, buf, sizeof buf, 0);
            if (n == 0 || (n < 0 && errno != EAGAIN && errno != EINTR)) return false;
            if (n > 0) in.append(buf, qsizetype(n));
        }
        return true;
    };
    const QByteArray uid = QByteArray::number(qulonglong(::geteuid())).toHex();
    if (!sendAll(QByteArray(1, '\0') + "AUTH EXTERNAL " + uid + "\r\n")) return false;
    if (!receive([&] { return in.contains("\r\n"); }) || !in.startsWith("OK ")) return false;
    in.clear();
    if (!sendAll("BEGIN\r\n" + HelloMessage())) return false;
    // Any reply: a header is 16 bytes.
    return receive([&] { return in.size() >= 16; });
}

QDBusConnection OpenSessionBus()
{
    // Only the address the environment names: without one there is no
    // session bus (no fallback discovery), and it is read at each start
    // rather than remembered from an earlier connection.
    const QString address = qEnvironmentVariable("DBUS_SESSION_BUS_ADDRESS");
    if (address.isEmpty() || address.size() > 4096) return QDBusConnection(QString());
    if (const auto socket = UnixSocketAddress(address); socket && !BusAnswers(*socket, kBusWaitMs))
        return QDBusConnection(QString());
    QDBusConnection bus = QDBusConnection::connectToBus(address, kConnName);
    // Every call the program waits on gives up in time.
    if (bus.isConnected() && bus.interface()) bus.interface()->setTimeout(kBusWaitMs);
    return bus;
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

// Whether pid is a live process. One that has ended may wait as a zombie
// for a parent that never reaps it (a detached start has none of ours).
bool ProcessRunning(qint64 pid)
{
    QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
    if (stat.open(QIODevice::ReadOnly)) {
        const QByteArray line = stat.read(512);
        const qsizetype close = line.lastIndexOf(')');
        if (close < 0 || close + 2 >= line.size()) return false;
        const char state = line[close + 2];
        return state != 'Z' && state != 'X';
    }
    return ::kill(pid_t(pid), 0) == 0 || errno == EPERM;
}

}  // namespace

DbusMessenger::DbusMessenger(const QString& processName, const QString& ownClass, QObject* parent)
    : QObject(parent), bus_(OpenSessionBus()), ownClass_(ownClass)
{
    next_.setSingleShot(true);
    next_.setInterval(0);
    connect(&next_, &QTimer::timeout, this, &DbusMessenger::HandleNext);
    nextDesign_.setSingleShot(true);
    nextDesign_.setInterval(0);
    connect(&nextDesign_, &QTimer::timeout, this, &DbusMessenger::HandleNextDesign);
    if (!bus_.isConnected()) return;
    busName_ = kPrefix + processName + QStringLiteral(".p") + QString::number(QCoreApplication::applicationPid());
    if (!bus_.registerObject(kPath, kInterface, this,
                             QDBusConnection::ExportScriptableSlots | QDBusConnection::ExportAllSlots))
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

int DbusMessenger::send(std::string_view processName, std::string_view eventClass, std::string_view text)
{
    if (!connected_) return 0;
    const QString name = QString::fromUtf8(processName.data(), qsizetype(processName.size()));
    const QString cls = QString::fromLatin1(eventClass.data(), qsizetype(eventClass.size()));
    const QByteArray body(text.data(), qsizetype(std::min<std::size_t>(text.size(), kMaxMessageBytes)));
    int sent = 0;
    for (const QString& peer : peers(name)) {
        QDBusMessage m = QDBusMessage::createMethodCall(peer, kPath, kInterface, QStringLiteral("Deliver"));
        m.setAutoStartService(false);
        m << cls << BusText(kTextEventId) << body;
        if (bus_.send(m)) ++sent;
    }
    return sent;
}

void DbusMessenger::flush()
{
    // The connection writes in order, so once the bus daemon has answered a
    // round trip everything queued before it has reached the daemon.
    if (!connected_) return;
    QDBusMessage ping =
        QDBusMessage::createMethodCall(QStringLiteral("org.freedesktop.DBus"), QStringLiteral("/org/freedesktop/DBus"),
                                       QStringLiteral("org.freedesktop.DBus.Peer"), QStringLiteral("Ping"));
    bus_.call(ping, QDBus::Block, kBusWaitMs);
}

void DbusMessenger::Deliver(const QString& eventClass, const QString& eventId, const QByteArray& text)
{
    if (eventClass != ownClass_ || eventId != BusText(kTextEventId)) return;
    // Handled later, so the bus call returns first; a timer rather than one
    // posted call per message, because a burst of posted calls is handled in
    // a single pass that starves painting and deferred deletes.
    if (inbox_.push(text.left(kMaxMessageBytes)) && !next_.isActive()) next_.start();
}

void DbusMessenger::HandleNext()
{
    const std::optional<QByteArray> bytes = inbox_.pop();
    if (!bytes) return;
    // Armed first: a receiver that opens a modal loop still gets the rest.
    if (!inbox_.empty()) next_.start();
    if (receiver_) receiver_(*bytes);
}

void DbusMessenger::OpenDesign(const QString& path)
{
    if (path.isEmpty() || path.size() > kMaxDesignPathChars || !path.startsWith(QLatin1Char('/')) ||
        path.contains(QChar(0)))
        return;
    if (designs_.push(path) && !nextDesign_.isActive()) nextDesign_.start();
}

void DbusMessenger::HandleNextDesign()
{
    const std::optional<QString> path = designs_.pop();
    if (!path) return;
    if (!designs_.empty()) nextDesign_.start();
    if (designReceiver_) designReceiver_(*path);
}

bool HandOverDesign(const QString& processName, const QString& path)
{
    const QString address = qEnvironmentVariable("DBUS_SESSION_BUS_ADDRESS");
    if (address.isEmpty() || address.size() > 4096) return false;
    if (const auto socket = UnixSocketAddress(address); socket && !BusAnswers(*socket, kBusWaitMs)) return false;
    const QString connName = QStringLiteral("kestrova-handover");
    const auto disconnect = qScopeGuard([&connName] { QDBusConnection::disconnectFromBus(connName); });
    QDBusConnection bus = QDBusConnection::connectToBus(address, connName);
    if (!bus.isConnected() || !bus.interface()) return false;
    bus.interface()->setTimeout(kBusWaitMs);
    const QDBusReply<QStringList> names = bus.interface()->registeredServiceNames();
    if (!names.isValid()) return false;
    QStringList running;
    for (const QString& n : names.value())
        if (IsPeerName(n, processName)) running << n;
    // Any one of them will do; the same one each time.
    running.sort();
    for (const QString& peer : running) {
        QDBusMessage m = QDBusMessage::createMethodCall(peer, kPath, kInterface, QStringLiteral("OpenDesign"));
        m.setAutoStartService(false);
        m << path;
        if (bus.call(m, QDBus::Block, kBusWaitMs).type() == QDBusMessage::ReplyMessage) return true;
    }
    return false;
}

bool CompanionLauncher::Launch()
{
    if (!m_.peers(BusText(kVantrelName)).isEmpty()) {
        pid_ = 0;
        return false;
    }
    // The one started last may still be on its way to the bus; a process
    // that has ended, or has not joined in time, may be started again.
    if (pid_ > 0 && !joinBy_.hasExpired() && ProcessRunning(pid_)) return false;
    pid_ = 0;
    const QString exe = SiblingProgram(QStringLiteral("vantrel"));
    if (exe.isEmpty()) return false;
    qint64 pid = 0;
    if (!QProcess::startDetached(exe, {}, QString(), &pid)) return false;
    pid_ = pid;
    joinBy_ = QDeadlineTimer(kJoinWaitMs);
    return true;
}

}  // namespace ks
