// SPDX-License-Identifier: GPL-3.0-or-later
// Start-up beside a bare Qt window: launches build/bin/kestrova and the bare
// window in turn under the display in DISPLAY, and reports the medians of
// the time from launch to the 540-point-wide window being mapped and of the
// resident memory two seconds later, with their ratios. Kestrova is started on
// the companion's road: a driver record goes to it as soon as its name is on
// the session bus. Run it under Xvfb without a window manager, on a bus of its
// own:
//   xvfb-run -a dbus-run-session -- build/bench/start_bench [ROUNDS] [--no-update-check]
//                                     [--kestrova PATH]
// With the preference " Check for New Updates on Launch" at its start value
// the first driver record starts the version check (its network work runs in
// the kestrova-fetch process, which is not counted); --no-update-check turns
// the preference off. --kestrova PATH runs that build of the program instead;
// given more than once, the builds take turns with the bare window, so they
// can be set side by side.
#include <sys/wait.h>
#include <unistd.h>
#include <xcb/xcb.h>

#include <QByteArray>
#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusServiceWatcher>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStringList>
#include <QTemporaryDir>
#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "exchange/records.h"

namespace {

using Clock = std::chrono::steady_clock;

struct Sample {
    double ms = -1;
    double rssMiB = -1;
};

double RssMiB(pid_t pid)
{
    std::ifstream in("/proc/" + std::to_string(pid) + "/status");
    std::string key;
    while (in >> key) {
        if (key == "VmRSS:") {
            double kib = 0;
            in >> kib;
            return kib / 1024.0;
        }
        in.ignore(1 << 12, '\n');
    }
    return -1;
}

// Waits for the next top-level window 540 wide to be mapped.
bool WaitForMap(xcb_connection_t* x, Clock::time_point deadline, const std::function<void()>& poll)
{
    while (Clock::now() < deadline) {
        poll();
        while (xcb_generic_event_t* e = xcb_poll_for_event(x)) {
            bool hit = false;
            if ((e->response_type & 0x7f) == XCB_MAP_NOTIFY) {
                auto* m = reinterpret_cast<xcb_map_notify_event_t*>(e);
                xcb_get_geometry_reply_t* g = xcb_get_geometry_reply(x, xcb_get_geometry(x, m->window), nullptr);
                hit = g && g->width == 540;
                free(g);
            }
            free(e);
            if (hit) return true;
        }
        std::this_thread::sleep_for(std::chrono::microseconds(200));
    }
    return false;
}

QByteArray Driver()
{
    const ks::PStr r = ks::MakeDriverRecord({.model = "Mid-13W",
                                             .range = "60-4000 Hz",
                                             .dia = 13,
                                             .fs = 50,
                                             .vas = 10,
                                             .qts = 0.35,
                                             .qes = 0.4,
                                             .qms = 2.8,
                                             .effi = 0.5,
                                             .re = 6.2,
                                             .pemax = 60,
                                             .sd = 85,
                                             .xmax = 4,
                                             .vd = 34,
                                             .le = 0.4});
    return QByteArray(r.view().data(), static_cast<qsizetype>(r.view().size()));
}

Sample RunOne(xcb_connection_t* x, const QString& program, bool kestrova, bool noUpdateCheck)
{
    QTemporaryDir home;
    QDir(home.path()).mkpath(QStringLiteral("config/Tessaly"));
    QDir(home.path()).mkpath(QStringLiteral("data"));
    if (kestrova && noUpdateCheck) {
        QFile prefs(home.filePath(QStringLiteral("config/Tessaly/Kestrova.conf")));
        if (prefs.open(QIODevice::WriteOnly)) prefs.write("[General]\nUpdateForCheck=0\n");
    }
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("HOME"), home.path());
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), home.path() + QStringLiteral("/config"));
    env.insert(QStringLiteral("XDG_DATA_HOME"), home.path() + QStringLiteral("/data"));
    env.remove(QStringLiteral("QT_QPA_PLATFORM"));
    p.setProcessEnvironment(env);
    p.setProgram(program);
    QDBusConnection bus = QDBusConnection::sessionBus();
    const auto t0 = Clock::now();
    p.start();
    if (!p.waitForStarted(5000)) return {};
    const QString name = QStringLiteral("com.tessaly.Kestrova.p%1").arg(p.processId());
    bool sent = !kestrova;
    bool onBus = false;
    // Told by the bus when the name appears, as a companion would be: asking
    // the bus over and over would load the cores the program starts on. The
    // bare window is left alone, so its figure carries none of this work.
    std::optional<QDBusServiceWatcher> watcher;
    if (kestrova) {
        watcher.emplace(name, bus, QDBusServiceWatcher::WatchForRegistration);
        QObject::connect(&*watcher, &QDBusServiceWatcher::serviceRegistered, [&onBus] { onBus = true; });
        // Registered before the watch began.
        onBus = bus.interface()->isServiceRegistered(name);
    }
    Sample s;
    const bool mapped = WaitForMap(x, t0 + std::chrono::seconds(10), [&] {
        if (sent) return;
        QCoreApplication::processEvents();
        if (!onBus) return;
        QDBusMessage m =
            QDBusMessage::createMethodCall(name, QStringLiteral("/com/tessaly/Messages"),
                                           QStringLiteral("com.tessaly.Messages"), QStringLiteral("Deliver"));
        m << QStringLiteral("Kstv") << QStringLiteral("TEXT") << Driver();
        bus.send(m);
        sent = true;
    });
    if (mapped) s.ms = std::chrono::duration<double, std::milli>(Clock::now() - t0).count();
    std::this_thread::sleep_for(std::chrono::seconds(2));
    s.rssMiB = RssMiB(static_cast<pid_t>(p.processId()));
    p.terminate();
    if (!p.waitForFinished(3000)) p.kill();
    p.waitForFinished(1000);
    return s;
}

double Median(std::vector<double> v)
{
    if (v.empty()) return -1;
    std::sort(v.begin(), v.end());
    return v.size() % 2 ? v[v.size() / 2] : (v[v.size() / 2 - 1] + v[v.size() / 2]) / 2;
}

}  // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    int rounds = 5;
    bool noUpdateCheck = false;
    QStringList builds;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--no-update-check")
            noUpdateCheck = true;
        else if (arg == "--kestrova" && i + 1 < argc)
            builds << QString::fromLocal8Bit(argv[++i]);
        else
            rounds = std::max(1, std::atoi(argv[i]));
    }
    if (builds.isEmpty()) builds << QStringLiteral(KESTROVA_PATH);
    if (!QDBusConnection::sessionBus().isConnected()) {
        std::fprintf(stderr, "start_bench: no session bus; run it under dbus-run-session\n");
        return 2;
    }
    int screenNo = 0;
    xcb_connection_t* x = xcb_connect(nullptr, &screenNo);
    if (xcb_connection_has_error(x)) {
        std::fprintf(stderr, "start_bench: no X display; run it under xvfb-run\n");
        return 2;
    }
    xcb_screen_iterator_t it = xcb_setup_roots_iterator(xcb_get_setup(x));
    for (int i = 0; i < screenNo; ++i) xcb_screen_next(&it);
    const uint32_t mask[] = {XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY};
    xcb_change_window_attributes(x, it.data->root, XCB_CW_EVENT_MASK, mask);
    xcb_flush(x);

    // The bare window first in the list, then each build of Kestrova.
    struct Program {
        QString path, label;
        bool kestrova;
        std::vector<double> ms, mem;
    };
    std::vector<Program> programs{{QStringLiteral(BARE_WINDOW_PATH), QStringLiteral("bare"), false, {}, {}}};
    for (qsizetype i = 0; i < builds.size(); ++i)
        programs.push_back({builds[i],
                            builds.size() == 1 ? QStringLiteral("kestrova") : QStringLiteral("kestrova%1").arg(i + 1),
                            true,
                            {},
                            {}});
    const std::size_t n = programs.size();
    for (int r = 0; r < rounds; ++r) {
        // Each round starts with the next program, so none always meets warm caches.
        for (std::size_t turn = 0; turn < n; ++turn) {
            Program& p = programs[(static_cast<std::size_t>(r) + turn) % n];
            const Sample s = RunOne(x, p.path, p.kestrova, noUpdateCheck);
            std::printf("round %d %-9s %7.1f ms %6.1f MiB\n", r + 1, qPrintable(p.label), s.ms, s.rssMiB);
            std::fflush(stdout);
            if (s.ms < 0) continue;
            p.ms.push_back(s.ms);
            p.mem.push_back(s.rssMiB);
        }
    }
    std::printf("\nmedians over %d rounds, update check on the first driver %s\n", rounds,
                noUpdateCheck ? "off" : "on");
    const double bm = Median(programs[0].ms), br = Median(programs[0].mem);
    for (std::size_t i = 1; i < n; ++i) {
        const Program& p = programs[i];
        if (n > 2) std::printf("%s: %s\n", qPrintable(p.label), qPrintable(p.path));
        const double km = Median(p.ms), kr = Median(p.mem);
        std::printf("  window mapped   kestrova %7.1f ms   bare %7.1f ms   ratio %.2f\n", km, bm, km / bm);
        std::printf("  resident (2 s)  kestrova %7.1f MiB  bare %7.1f MiB  ratio %.2f\n", kr, br, kr / br);
    }
    xcb_disconnect(x);
    return std::any_of(programs.begin(), programs.end(), [](const Program& p) { return p.ms.empty(); }) ? 1 : 0;
}
