// SPDX-License-Identifier: GPL-3.0-or-later
// A 200 MiB archive downloaded through the update window, from a server on
// a thread of its own that sends at the speed of copying memory: the
// longest the window's event loop went without turning, how far the
// resident memory grew above where it started, and how many steps the
// progress bar showed. Figures to read, not a verdict.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProgressBar>
#include <QPushButton>
#include <QSet>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>
#include <QTimer>

#include "common/http_server.h"
#include "context/kestrova.h"
#include "update/qt/update_check.h"
#include "update/qt/update_desktop.h"
#include "update/version.h"

using namespace ks;

namespace {

// A line of /proc/self/status in KiB ("VmRSS", "VmHWM"); -1 when unknown.
qint64 StatusKb(const QByteArray& key)
{
    QFile f(QStringLiteral("/proc/self/status"));
    if (!f.open(QIODevice::ReadOnly)) return -1;
    for (const QByteArray& line : f.readAll().split('\n'))
        if (line.startsWith(key + ':')) return line.mid(key.size() + 1).trimmed().split(' ').value(0).toLongLong();
    return -1;
}

// Nothing is opened or moved to the trash.
struct StillDesktop final : UpdateDesktop {
    bool OpenWithDefaultApp(const QString&) override { return true; }
    bool MoveToTrash(const QString&) override { return true; }
};

void BM_LargeDownloadThroughTheWindow(benchmark::State& state)
{
    constexpr qint64 kSize = qint64(200) << 20;
    const QByteArray kZipPath = "/downloads/apps/Kestrova.zip";
    QThread serverThread;
    QObject inThread;
    inThread.moveToThread(&serverThread);
    serverThread.start();
    TestHttpServer* server = nullptr;
    QMetaObject::invokeMethod(
        &inThread,
        [&] {
            server = new TestHttpServer;
            TestHttpServer::Route streamed;
            streamed.generated = kSize;
            server->route(kZipPath, streamed);
            if (!server->listen()) delete std::exchange(server, nullptr);
        },
        Qt::BlockingQueuedConnection);
    if (!server) state.SkipWithError("no port for the server");
    QTemporaryDir downloads;
    double stallMs = 0, growthMiB = 0, fewestSteps = 1e9;
    for (auto _ : state) {
        if (!server) break;
        Kestrova k;
        k.up.downloadURL = (server->base() + QString::fromLatin1(kZipPath)).toStdString();
        StillDesktop desktop;
        UpdateCheck check(k, desktop);
        check.setDownloadsFolder(downloads.path());
        k.up.UpdateOkFlag = 1;
        check.CheckForUpdateWnd();
        QSignalSpy finished(&check, &UpdateCheck::downloadFinished);
        auto* bar = check.window()->findChild<QProgressBar*>(QStringLiteral("progress"));
        QSet<int> steps;
        QObject::connect(bar, &QProgressBar::valueChanged, [&](int v) { steps.insert(v); });

        // The longest gap between ticks of a fast timer is the longest stall.
        QElapsedTimer clock;
        qint64 last = -1, longestStall = 0, peakKb = 0;
        QTimer ticker;
        ticker.setInterval(5);
        QObject::connect(&ticker, &QTimer::timeout, [&] {
            const qint64 now = clock.elapsed();
            if (last >= 0) longestStall = std::max(longestStall, now - last);
            last = now;
            peakKb = std::max(peakKb, StatusKb("VmRSS"));
        });
        const qint64 startKb = StatusKb("VmRSS");
        // The peak resident size starts again from the current one.
        QFile clearRefs(QStringLiteral("/proc/self/clear_refs"));
        const bool peakReset = clearRefs.open(QIODevice::WriteOnly) && clearRefs.write("5") == 1;
        clearRefs.close();
        clock.start();
        ticker.start();
        QTest::mouseClick(check.window()->control(552), Qt::LeftButton);
        const bool ended = finished.wait(120000);
        ticker.stop();
        state.SetIterationTime(double(clock.nsecsElapsed()) / 1e9);
        if (peakReset) peakKb = std::max(peakKb, StatusKb("VmHWM"));
        const qint64 saved = QFileInfo(QDir(downloads.path()).filePath(QStringLiteral("Kestrova.zip"))).size();
        QFile::remove(QDir(downloads.path()).filePath(QStringLiteral("Kestrova.zip")));
        if (!ended || !finished.first().first().toBool() || saved != kSize) {
            state.SkipWithError("the download did not save the whole archive");
            break;
        }
        stallMs = std::max(stallMs, double(longestStall));
        growthMiB = std::max(growthMiB, double(peakKb - startKb) / 1024.0);
        fewestSteps = std::min(fewestSteps, double(steps.size()));
    }
    // The worst of the runs.
    state.counters["longest_stall_ms"] = stallMs;
    state.counters["memory_growth_MiB"] = growthMiB;
    state.counters["progress_steps"] = fewestSteps;
    QMetaObject::invokeMethod(
        &inThread, [&] { delete server; }, Qt::BlockingQueuedConnection);
    serverThread.quit();
    serverThread.wait();
}
BENCHMARK(BM_LargeDownloadThroughTheWindow)->UseManualTime()->Iterations(3)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QCoreApplication::addLibraryPath(QStringLiteral(KESTROVA_MODULE_DIR));
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
