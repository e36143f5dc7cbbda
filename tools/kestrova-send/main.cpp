// SPDX-License-Identifier: GPL-3.0-or-later
// kestrova-send: sends one text (or a driver record) to every process of a
// name, or listens as a process of a name and prints what arrives.
#include <QCoreApplication>
#include <QTimer>
#include <csignal>
#include <cstdio>
#include <string>
#include <vector>

#include "exchange/qt/dbus_messenger.h"
#include "send_options.h"
#include "support/macroman.h"
#include "support/program_lines.h"

namespace {

volatile std::sig_atomic_t g_stop = 0;

void OnSignal(int) { g_stop = 1; }

int Listen(QCoreApplication& app, const ks::SendOptions& o)
{
    // Before the name is on the bus: whoever sees it may signal at once.
    std::signal(SIGINT, OnSignal);
    std::signal(SIGTERM, OnSignal);
    const std::string cls = ks::ReceiverClass(o.as);
    ks::DbusMessenger m(QString::fromStdString(o.as), QString::fromStdString(cls));
    int printed = 0;
    m.setReceiver([&](const QByteArray& bytes) {
        if (o.count > 0 && printed >= o.count) return;
        const std::string line = cls + " " + std::string(ks::kTextEventId) + " " +
                                 ks::MacRomanToUtf8(std::string_view(bytes.constData(), std::size_t(bytes.size()))) +
                                 "\n";
        std::fwrite(line.data(), 1, line.size(), stdout);
        std::fflush(stdout);
        if (o.count > 0 && ++printed >= o.count) app.quit();
    });
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, &app, [&] {
        if (g_stop) app.quit();
    });
    poll.start(50);
    if (o.timeout > 0) QTimer::singleShot(int(o.timeout * 1000.0), &app, [&] { app.quit(); });
    app.exec();
    return 0;
}

int Send(const ks::SendOptions& o)
{
    ks::DbusMessenger m(QString::fromStdString(o.as), QString::fromStdString(ks::ReceiverClass(o.as)));
    if (!m.connected()) std::fputs("kestrova-send: no session bus answered; sent to nobody\n", stderr);
    const int n = m.send(o.to, ks::ReceiverClass(o.to), o.text);
    // Written out before the process ends, or short runs would lose them.
    m.flush();
    std::printf("%d\n", n < 0 ? 0 : n);
    std::fflush(stdout);
    return n > 0 ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv)
{
    std::vector<std::string> args(argv + 1, argv + argc);
    ks::SendOptions o;
    std::string error;
    if (!ks::ParseSendOptions(args, o, error)) {
        std::fprintf(stderr, "kestrova-send: %s\n", ks::OneLine(error).c_str());
        return 2;
    }
    if (o.help || o.version) {
        const std::string text = o.help ? std::string(ks::kSendUsage) : ks::VersionText("kestrova-send");
        std::fputs(text.c_str(), stdout);
        return std::fflush(stdout) == 0 ? 0 : 1;
    }
    QCoreApplication app(argc, argv);
    return o.listen ? Listen(app, o) : Send(o);
}
