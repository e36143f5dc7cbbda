// The version check, its window and the download against a real HTTP server
// on 127.0.0.1.
#include <sys/wait.h>

#include <QCheckBox>
#include <QDir>
#include <QElapsedTimer>
#include <QLabel>
#include <QProcess>
#include <QProgressBar>
#include <QPushButton>
#include <QRandomGenerator>
#include <QScopeGuard>
#include <QSet>
#include <QSignalSpy>
#include <QSslCertificate>
#include <QSslConfiguration>
#include <QSslKey>
#include <QTemporaryDir>
#include <QThread>
#include <QtTest>
#include <cerrno>
#include <functional>

#include "common/http_server.h"
#include "context/kestrova.h"
#include "update/archive_download.h"
#include "update/download/network_download.h"
#include "update/qt/fetch_process.h"
#include "update/qt/update_check.h"
#include "update/qt/update_desktop.h"
#include "update/version.h"

using namespace ks;

namespace {

const QByteArray kVersionPath = "/versions/Kestrova_version.txt";
const QByteArray kZipPath = "/downloads/apps/Kestrova.zip";
const QString kFetch = QStringLiteral(KESTROVA_FETCH_PATH);

// A shell stand-in: records, in order, what the check reports and the files
// it opens; moving to the trash is the real one.
struct FakeUpdateDesktop : ks::UpdateDesktop {
    QStringList calls;    // "MenuDisable", "InitMenu16", "QuitSequence", "Open PATH" ...
    QStringList trashed;  // paths given to MoveToTrash

    // Records the check's signals under the names of what the shell runs.
    void watch(ks::UpdateCheck& u)
    {
        QObject::connect(&u, &ks::UpdateCheck::menusBusy, [this] { calls << "MenuDisable"; });
        QObject::connect(&u, &ks::UpdateCheck::menusOpen, [this] { calls << "InitMenu16"; });
        QObject::connect(&u, &ks::UpdateCheck::menusClosed, [this] { calls << "InitMenu11"; });
        QObject::connect(&u, &ks::UpdateCheck::closeDesignWindow, [this] { calls << "CloseDesignWindow"; });
        QObject::connect(&u, &ks::UpdateCheck::quitRequested, [this] { calls << "QuitSequence"; });
    }
    bool OpenWithDefaultApp(const QString& path) override
    {
        calls << "Open " + path;
        return true;
    }
    bool MoveToTrash(const QString& path) override
    {
        trashed << path;
        return ks::UpdateDesktop::MoveToTrash(path);
    }
};

QByteArray RandomBytes(int n)
{
    QByteArray b(n, '\0');
    for (char& c : b) c = char(QRandomGenerator::global()->bounded(256));
    return b;
}

QByteArray ReadAll(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

void WriteFile(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

// A line of /proc/self/status in KiB ("VmRSS", "VmHWM"); -1 when unknown.
qint64 StatusKb(const QByteArray& key)
{
    QFile f(QStringLiteral("/proc/self/status"));
    if (!f.open(QIODevice::ReadOnly)) return -1;
    for (const QByteArray& line : f.readAll().split('\n'))
        if (line.startsWith(key + ':')) return line.mid(key.size() + 1).trimmed().split(' ').value(0).toLongLong();
    return -1;
}

}  // namespace

class UpdateTest : public QObject {
    Q_OBJECT

    QTemporaryDir root_;
    TestHttpServer server_;
    std::unique_ptr<Kestrova> k_;
    std::unique_ptr<FakeUpdateDesktop> host_;
    std::unique_ptr<UpdateCheck> uc_;
    QString downloads_;

    void ServeVersion(const QByteArray& text) { server_.route(kVersionPath, {.body = text}); }
    void ServeZip(TestHttpServer::Route r) { server_.route(kZipPath, std::move(r)); }
    void NewChecker()
    {
        uc_ = std::make_unique<UpdateCheck>(*k_, *host_);
        host_->watch(*uc_);
        uc_->setNetworkProbe([] { return true; });
        uc_->setFetchProgram(kFetch);
        uc_->setBundleVersion(QStringLiteral("1.2.9"));
    }
    bool Judge(bool byMenu)
    {
        QSignalSpy judged(uc_.get(), &UpdateCheck::judged);
        if (byMenu)
            uc_->CheckForUpdatesCommand();
        else
            uc_->StartUpdateCheck();
        return judged.wait(5000) && judged.count() == 1;
    }
    // A newer version found and its window open, then "Download..." pressed.
    bool DownloadFromWindow(bool& ok, int timeoutMs = 10000)
    {
        ServeVersion("9.9.9");
        if (!Judge(false) || !uc_->window()) return false;
        auto* download = qobject_cast<QPushButton*>(uc_->window()->control(552));
        if (!download) return false;
        QSignalSpy finished(uc_.get(), &UpdateCheck::downloadFinished);
        QTest::mouseClick(download, Qt::LeftButton);
        if (!finished.wait(timeoutMs)) return false;
        ok = finished.first().first().toBool();
        return true;
    }
    QStringList DownloadsListing() const
    {
        return QDir(downloads_).entryList(QDir::Files | QDir::Hidden | QDir::System, QDir::Name);
    }
    UpdateWindow* Open(std::uint8_t net, std::uint8_t newer)
    {
        k_->up.bundleStr = "1.0.0";
        if (k_->up.availStr.empty()) k_->up.availStr = "1.2.10";
        k_->up.NetConnectFlag = net;
        k_->up.UpdateOkFlag = newer;
        uc_->CheckForUpdateWnd();
        return uc_->window();
    }
    QString Text(int id) const
    {
        auto* l = uc_->window() ? qobject_cast<QLabel*>(uc_->window()->control(id)) : nullptr;
        return l ? l->text() : QStringLiteral("<no label>");
    }
    // The window as the user reads it: title, line and buttons.
    QStringList Window() const
    {
        if (!uc_->window()) return {};
        QStringList out{Text(556), Text(557)};
        for (int id = 551; id <= 555; ++id)
            if (auto* b = qobject_cast<QPushButton*>(uc_->window()->control(id)))
                out << QString::number(id) + (b->isDefault() ? "* " : " ") + b->text();
        return out;
    }

private slots:
    void initTestCase()
    {
        QVERIFY(root_.isValid());
        QVERIFY(server_.listen());
    }

    void init()
    {
        k_ = std::make_unique<Kestrova>();
        host_ = std::make_unique<FakeUpdateDesktop>();
        SetUpdateServer(k_->up, server_.base().toStdString());
        NewChecker();
        static int n = 0;
        downloads_ = root_.filePath(QStringLiteral("Downloads%1").arg(++n));
        QVERIFY(QDir().mkpath(downloads_));
        uc_->setDownloadsFolder(downloads_);
    }

    void cleanup()
    {
        uc_.reset();
        host_.reset();
        k_.reset();
    }

    // The answer judged at the timer; the automatic check shows only a newer
    // version, the menu check always shows its window; texts cut at 255.
    // Whatever fails (a late, missing, refused or oversized answer, no
    // helper) changes nothing and the automatic check stays silent; the menu
    // check waits for a late answer, and says the connection failed rather
    // than call the version current. A network reported down still asks.
    // A status of -1 points the check at a port nobody listens on; the menu
    // check waits 2.5 seconds here.
    void judgement_data()
    {
        QTest::addColumn<QByteArray>("body");
        QTest::addColumn<int>("status");
        QTest::addColumn<int>("delayMs");
        QTest::addColumn<bool>("helper");
        QTest::addColumn<bool>("netUp");
        QTest::addColumn<bool>("byMenu");
        QTest::addColumn<int>("newer");
        QTest::addColumn<QByteArray>("avail");
        QTest::addColumn<QStringList>("window");  // title, line, buttons ("*": the default); empty: none
        const QStringList current{"This Version is Currently.", "Current Version : 1.2.9", "551* OK"};
        const auto newerWindow = [](const QString& line) {
            return QStringList{"Newer Version is Available.", "Newer Version : " + line, "552* Download...",
                               "553 Don't Download"};
        };
        const QByteArray longLine = "1.2.10" + QByteArray(1000, '7');
        const QByteArray notes = "1.2.10\r\nRelease notes: <b>big</b>\n" + QByteArray(600, 'x');
        const QByteArray big = "9.9.9" + QByteArray(kVersionFileMaxBytes, '0');
        QTest::newRow("newer") << QByteArray("1.2.10") << 200 << 0 << true << true << false << 1 << QByteArray("1.2.10")
                               << newerWindow("1.2.10");
        QTest::newRow("equal") << QByteArray("1.2.9") << 200 << 0 << true << true << false << 0 << QByteArray("1.2.9")
                               << QStringList();
        QTest::newRow("empty file") << QByteArray() << 200 << 0 << true << true << false << 0 << QByteArray()
                                    << QStringList();
        QTest::newRow("menu, not newer") << QByteArray("1.0") << 200 << 0 << true << true << true << 0
                                         << QByteArray("1.0") << current;
        QTest::newRow("long line saturates") << longLine << 200 << 0 << true << true << true << 1 << longLine.left(255)
                                             << newerWindow("1.2.10" + QString(233, '7'));
        QTest::newRow("first line only") << notes << 200 << 0 << true << true << true << 1 << notes.left(255)
                                         << newerWindow("1.2.10");
        QTest::newRow("late") << QByteArray("9.0") << 200 << 1600 << true << true << false << 0 << QByteArray()
                              << QStringList();
        QTest::newRow("not found") << QByteArray("9.9.9") << 404 << 0 << true << true << false << 0 << QByteArray()
                                   << QStringList();
        QTest::newRow("over the cap") << big << 200 << 0 << true << true << false << 0 << QByteArray() << QStringList();
        QTest::newRow("no helper") << QByteArray("9.9.9") << 200 << 0 << false << true << false << 0 << QByteArray()
                                   << QStringList();
        const QStringList failed{"Network Connection Failed.", "Please confirm the network connection.", "551* OK"};
        QTest::newRow("menu, late") << QByteArray("1.0") << 200 << 1600 << true << true << true << 0
                                    << QByteArray("1.0") << current;
        QTest::newRow("menu, no answer") << QByteArray("1.0") << 200 << 4000 << true << true << true << 0
                                         << QByteArray() << failed;
        QTest::newRow("menu, not found") << QByteArray("9.9.9") << 404 << 0 << true << true << true << 0 << QByteArray()
                                         << failed;
        QTest::newRow("menu, refused") << QByteArray("9.9.9") << -1 << 0 << true << true << true << 0 << QByteArray()
                                       << failed;
        QTest::newRow("menu, no helper") << QByteArray("9.9.9") << 200 << 0 << false << true << true << 0
                                         << QByteArray() << failed;
        QTest::newRow("network reported down")
            << QByteArray("9.9.9") << 200 << 0 << true << false << true << 1 << QByteArray("9.9.9")
            << QStringList{"Network Connection Failed.", "Please confirm the network connection.", "551* OK"};
    }
    void judgement()
    {
        QFETCH(QByteArray, body);
        QFETCH(int, status);
        QFETCH(int, delayMs);
        QFETCH(bool, helper);
        QFETCH(bool, netUp);
        QFETCH(bool, byMenu);
        QFETCH(int, newer);
        QFETCH(QByteArray, avail);
        QFETCH(QStringList, window);
        server_.route(kVersionPath, {.status = std::max(status, 200), .body = body, .delayMs = delayMs});
        if (status < 0) SetUpdateServer(k_->up, "http://127.0.0.1:1");
        uc_->setAnswerLimit(2500);
        if (!helper) uc_->setFetchProgram(root_.filePath("none"));
        uc_->setNetworkProbe([netUp] { return netUp; });
        const int before = server_.hits(kVersionPath);
        QVERIFY(Judge(byMenu));
        if (delayMs > 0 && !byMenu) QTest::qWait(1200);  // the answer is due now
        QCOMPARE(server_.hits(kVersionPath) > before, helper && status >= 0);
        QCOMPARE(k_->up.UpdateOkFlag, newer);
        QCOMPARE(QByteArray::fromStdString(k_->up.availStr.str()), avail);
        QCOMPARE(byMenu ? k_->sh.CheckByMenuFlag : k_->sh.CheckForUpFlag, 1);
        QCOMPARE(Window(), window);
        QCOMPARE(host_->calls.value(0), window.isEmpty() ? QString() : QStringLiteral("MenuDisable"));
    }

    // The helper as the check runs it: its answers, the arguments it refuses
    // before connecting, a helper gone wrong stopped at the cap; each run
    // reported once and reaped, no child of this process left.
    void fetchHelperRuns_data()
    {
        QTest::addColumn<QString>("program");
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("answer");  // a pattern; empty: failed()
        QTest::newRow("network status") << kFetch << QStringList{"--network-status"} << "^(up|down)\n$";
        QTest::newRow("not http") << kFetch << QStringList{"file:///etc/passwd"} << "";
        QTest::newRow("endless output") << "/usr/bin/yes" << QStringList{"x"} << "";
    }
    void fetchHelperRuns()
    {
        QFETCH(QString, program);
        QFETCH(QStringList, arguments);
        QFETCH(QString, answer);
        FetchProcess run(program, arguments);
        QSignalSpy answered(&run, &FetchProcess::finishedLoading), failed(&run, &FetchProcess::failed);
        QTRY_VERIFY_WITH_TIMEOUT(answered.count() + failed.count() > 0, 5000);
        QTest::qWait(50);
        QCOMPARE(answered.count() + failed.count(), 1);
        QVERIFY(!run.running());
        QVERIFY(answer.isEmpty() ? failed.count() == 1
                                 : QRegularExpression(answer).match(answered.value(0).value(0).toString()).hasMatch());
        QCOMPARE(waitpid(-1, nullptr, WNOHANG) == -1 && errno == ECHILD, true);
    }

    void untrustedCertificateFailsTheRequest()
    {
        QTemporaryDir certs;
        const QString key = certs.filePath("key.pem"), crt = certs.filePath("cert.pem");
        QProcess openssl;
        openssl.start("openssl",
                      {"req", "-x509", "-newkey", "rsa:2048", "-nodes", "-days", "2", "-subj", "/CN=127.0.0.1",
                       "-addext", "subjectAltName=IP:127.0.0.1", "-keyout", key, "-out", crt});
        if (!openssl.waitForFinished(60000) || openssl.exitCode() != 0) QSKIP("openssl could not make a certificate");
        const QSslCertificate certificate(ReadAll(crt));
        QSslConfiguration serverTls = QSslConfiguration::defaultConfiguration();
        serverTls.setLocalCertificate(certificate);
        serverTls.setPrivateKey(QSslKey(ReadAll(key), QSsl::Rsa));
        TestHttpServer tls(serverTls);
        QVERIFY(tls.listen());
        tls.route(kVersionPath, {.body = "9.9.9"});
        SetUpdateServer(k_->up, tls.base().toStdString());
        QVERIFY(Judge(false));
        QCOMPARE(k_->up.UpdateOkFlag, 0);
        QCOMPARE(tls.hits(kVersionPath), 0);

        // The helper says why: the certificate, not the connection.
        QProcess fetch;
        fetch.start(kFetch, {tls.base() + QString::fromLatin1(kVersionPath)});
        QTRY_VERIFY_WITH_TIMEOUT(fetch.state() == QProcess::NotRunning, 10000);  // the server answers meanwhile
        QCOMPARE(fetch.exitCode(), 1);
        const QByteArray why = fetch.readAllStandardError();
        QVERIFY2(why.toLower().contains("certificate"), why.constData());
    }

    void automaticCheckWaitsForAPendingOne()
    {
        ServeVersion("1.0");
        QSignalSpy judged(uc_.get(), &UpdateCheck::judged);
        uc_->CheckForUpdatesCommand();
        uc_->StartUpdateCheck();  // a driver record arriving meanwhile
        QCOMPARE(k_->sh.CheckByMenuFlag, 1);
        QVERIFY(judged.wait(5000));
        QVERIFY(uc_->window());  // the menu check kept its window
        uc_->StartUpdateCheck();
        QVERIFY(!uc_->judgementPending());
    }

    // The archive, larger than the write-behind step so the flushing path
    // runs too, is saved byte for byte under the server's suggested name
    // (its folder part dropped) into a Downloads folder made on the way,
    // beside a file of that name it never overwrites; the installer then
    // opens the saved archive, the package it unpacked, and quits.
    void downloadSavesThenInstallOpensAndQuits()
    {
        const QByteArray archive = RandomBytes(int(ArchiveDownload::kWriteBehind + 300 * 1024));
        ServeZip({.body = archive, .headers = {{"Content-Disposition", "attachment; filename=\"../Kestrova-9.zip\""}}});
        downloads_ += "/not/yet";
        uc_->setDownloadsFolder(downloads_);
        bool ok = false;
        QVERIFY(DownloadFromWindow(ok) && ok);
        QCOMPARE(k_->up.DownLoadOkFlag, 0);
        const QString first = QDir(downloads_).filePath("Kestrova-9.zip");
        QCOMPARE(ReadAll(first), archive);
        QCOMPARE(DownloadsListing(), QStringList{"Kestrova-9.zip"});
        QCOMPARE(QString::fromStdString(k_->up.downloadedPath), first);
        // clang-format off
        QCOMPARE(Window(), QStringList({"Download is Successful.", "Download file is in the downloads folder.",
                                        "554* OK", "555 Launch Installer and Quit"}));
        // clang-format on
        QVERIFY(!uc_->window()->findChild<QWidget*>("progress")->isVisible());

        // Downloaded again: the first stays, the second takes the next name.
        uc_->CheckForUpdateWndOkButton();
        ServeZip(
            {.body = "second", .headers = {{"Content-Disposition", "attachment; filename=\"../Kestrova-9.zip\""}}});
        QVERIFY(DownloadFromWindow(ok) && ok);
        QCOMPARE(ReadAll(first), archive);
        const QString saved = QDir(downloads_).filePath("Kestrova-9 (1).zip");
        QCOMPARE(ReadAll(saved), QByteArray("second"));
        QCOMPARE(QString::fromStdString(k_->up.downloadedPath), saved);

        const QString pkg = QDir(downloads_).filePath("Kestrova.pkg");  // what the archive unpacks
        WriteFile(pkg, "");
        host_->calls.clear();
        QTest::mouseClick(uc_->window()->control(555), Qt::LeftButton);
        QCOMPARE(host_->calls, QStringList{"Open " + saved});
        QVERIFY(!uc_->window()->control(554)->isEnabled());
        QTest::qWait(1000);
        QCOMPARE(host_->calls.size(), 1);  // still waiting, the window painting
        QTRY_COMPARE_WITH_TIMEOUT(host_->calls.size(), 4, 5000);
        QCOMPARE(host_->calls, QStringList({"Open " + saved, "Open " + pkg, "CloseDesignWindow", "QuitSequence"}));
    }

    void largeDownloadKeepsTheWindowResponsiveAndMemoryFlat()
    {
#if defined(__SANITIZE_ADDRESS__)
        QSKIP("AddressSanitizer keeps freed memory in quarantine: the plain build measures this");
#endif
        constexpr qint64 kSize = qint64(200) << 20;
        QThread serverThread;
        QObject inThread;
        inThread.moveToThread(&serverThread);
        serverThread.start();
        TestHttpServer* fast = nullptr;
        QMetaObject::invokeMethod(
            &inThread,
            [&] {
                fast = new TestHttpServer;
                fast->route(kZipPath, {.generated = kSize});
                if (!fast->listen()) fast->deleteLater(), fast = nullptr;
            },
            Qt::BlockingQueuedConnection);
        QVERIFY(fast);
        const auto stopServer = qScopeGuard([&] {
            QMetaObject::invokeMethod(
                &inThread, [&] { delete fast; }, Qt::BlockingQueuedConnection);
            serverThread.quit();
            serverThread.wait();
        });
        k_->up.downloadURL = (fast->base() + QString::fromLatin1(kZipPath)).toStdString();

        // The longest gap between ticks of a fast timer is the longest stall.
        QElapsedTimer clock;
        qint64 last = -1, longestStall = 0, peakRssKb = 0;
        QSet<int> progressSeen;
        QTimer ticker;
        ticker.setInterval(5);
        connect(&ticker, &QTimer::timeout, this, [&] {
            const qint64 now = clock.elapsed();
            if (last >= 0) longestStall = std::max(longestStall, now - last);
            last = now;
            peakRssKb = std::max(peakRssKb, StatusKb("VmRSS"));
            if (auto* bar = uc_->window() ? uc_->window()->findChild<QProgressBar*>("progress") : nullptr)
                if (bar->isVisible() && bar->value() > 0 && bar->value() < bar->maximum())
                    progressSeen.insert(bar->value());
        });
        const qint64 startRssKb = StatusKb("VmRSS");
        QVERIFY(startRssKb > 0);
        // The peak resident size starts again from the current one.
        QFile clearRefs(QStringLiteral("/proc/self/clear_refs"));
        const bool peakReset = clearRefs.open(QIODevice::WriteOnly) && clearRefs.write("5") == 1;
        clock.start();
        ticker.start();
        bool ok = false;
        QVERIFY(DownloadFromWindow(ok, 60000));
        ticker.stop();
        if (peakReset) peakRssKb = std::max(peakRssKb, StatusKb("VmHWM"));
        qInfo("200 MiB in %lld ms: longest stall %lld ms, peak memory %lld KiB above the start",
              static_cast<long long>(clock.elapsed()), static_cast<long long>(longestStall),
              static_cast<long long>(peakRssKb - startRssKb));
        QVERIFY(ok);
        QVERIFY2(longestStall <= 400, qPrintable(QStringLiteral("stalled %1 ms").arg(longestStall)));
        QVERIFY2(peakRssKb - startRssKb <= 64 * 1024,
                 qPrintable(QStringLiteral("grew by %1 KiB").arg(peakRssKb - startRssKb)));
        QVERIFY2(progressSeen.size() >= 10, "the progress bar did not move during the download");

        QFile saved(QDir(downloads_).filePath("Kestrova.zip"));
        QCOMPARE(saved.size(), kSize);
        QVERIFY(saved.open(QIODevice::ReadOnly));
        QVERIFY(saved.seek(kSize - 65536));  // the end, past many periods of the pattern
        const QByteArray got = saved.read(65536);
        for (qsizetype i = 0; i < got.size(); ++i)
            if (got[i] != TestHttpServer::Generated(kSize - 65536 + i)) QFAIL(qPrintable(QString("byte %1").arg(i)));
        saved.remove();
    }

    void downloadFailures_data()
    {
        QTest::addColumn<int>("status");
        QTest::addColumn<int>("cutAfter");
        QTest::addColumn<qint64>("announce");
        QTest::addColumn<bool>("badFolder");
        QTest::newRow("not found") << 404 << -1 << qint64(-1) << false;
        QTest::newRow("cut off halfway") << 200 << 100 * 1024 << qint64(-1) << false;
        QTest::newRow("announced beyond the bound") << 200 << -1 << qint64(ArchiveDownload::kMaxArchive + 1) << false;
        QTest::newRow("folder below a plain file: fails before asking") << 200 << -1 << qint64(-1) << true;
    }
    void downloadFailures()
    {
        QFETCH(int, status);
        QFETCH(int, cutAfter);
        QFETCH(qint64, announce);
        QFETCH(bool, badFolder);
        ServeZip({.status = status, .body = RandomBytes(200 * 1024), .cutAfter = cutAfter, .announce = announce});
        if (badFolder) {
            WriteFile(downloads_ + "/file", "");
            uc_->setDownloadsFolder(downloads_ + "/file/sub");
        }
        const int before = server_.hits(kZipPath);
        bool ok = true;
        QVERIFY(DownloadFromWindow(ok));
        QVERIFY(!ok);
        QCOMPARE(k_->up.DownLoadOkFlag, 1);
        QVERIFY(k_->up.downloadedPath.empty());
        // Nothing claimed as downloaded, no partial or temporary file left.
        QCOMPARE(DownloadsListing(), badFolder ? QStringList{"file"} : QStringList());
        QCOMPARE(server_.hits(kZipPath), before + (badFolder ? 0 : 1));
        QCOMPARE(Window(), QStringList({"Download is Failed.", "Please try again later.", "554* OK"}));
    }

    // Earlier files go to the trash first. A data folder that does not exist
    // yet gets its trash (owner only); one that cannot be made leaves the
    // earlier archive where it is, the new one takes the next name, and
    // nothing is written anywhere else.
    void trashIsMadeWhenMissingElseTheFileStays()
    {
        const QByteArray xdgData = qgetenv("XDG_DATA_HOME");
        const QString cwd = QDir::currentPath();
        const auto restore = qScopeGuard([&] {
            qputenv("XDG_DATA_HOME", xdgData);
            QDir::setCurrent(cwd);
        });
        QTemporaryDir elsewhere;
        QVERIFY(QDir::setCurrent(elsewhere.path()));
        const QString zip = QDir(downloads_).filePath("Kestrova.zip");
        const QString pkg = QDir(downloads_).filePath("Kestrova.pkg");
        const QString fresh = root_.filePath("fresh-data/share");
        qputenv("XDG_DATA_HOME", fresh.toUtf8());
        WriteFile(zip, "old");
        WriteFile(pkg, "old pkg");
        ServeZip({.body = "new one"});
        bool ok = false;
        QVERIFY(DownloadFromWindow(ok) && ok);
        QCOMPARE(host_->trashed, QStringList({zip, pkg}));
        QCOMPARE(ReadAll(fresh + "/Trash/files/Kestrova.zip"), QByteArray("old"));
        QCOMPARE(ReadAll(fresh + "/Trash/files/Kestrova.pkg"), QByteArray("old pkg"));
        QCOMPARE(DownloadsListing(), QStringList{"Kestrova.zip"});
        QVERIFY(QFileInfo(fresh + "/Trash/info").isDir());
        QCOMPARE(QFileInfo(fresh + "/Trash").permissions() & 0x0077, QFileDevice::Permissions());
        QCOMPARE(ReadAll(zip), QByteArray("new one"));

        WriteFile(root_.filePath("plain"), "");
        qputenv("XDG_DATA_HOME", root_.filePath("plain/data").toUtf8());
        WriteFile(zip, "old");
        uc_->CheckForUpdateWndOkButton();  // a fresh window, the same downloads
        QVERIFY(DownloadFromWindow(ok) && ok);
        QCOMPARE(ReadAll(zip), QByteArray("old"));
        QCOMPARE(ReadAll(QDir(downloads_).filePath("Kestrova (1).zip")), QByteArray("new one"));
        QCOMPARE(QDir(elsewhere.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden),
                 QStringList());
    }

    // The finished archive takes the first free name in one step: a file or
    // a dangling link that appeared under a name meanwhile is never
    // replaced, and with every name taken nothing moves.
    void commitNeverReplacesANameTakenMeanwhile()
    {
        const QString zip = QDir(downloads_).filePath("Kestrova.zip");
        const QString link = QDir(downloads_).filePath("Kestrova (1).zip");
        QVERIFY(QDir().mkpath(downloads_));
        WriteFile(zip, "someone else's");
        QVERIFY(QFile::link(root_.filePath("nowhere"), link));
        const QString partial = QDir(downloads_).filePath(".partial");
        WriteFile(partial, "archive");
        QCOMPARE(CommitUnderFreeName(partial, downloads_, "Kestrova.zip", 99),
                 QDir(downloads_).filePath("Kestrova (2).zip"));
        QCOMPARE(ReadAll(zip), QByteArray("someone else's"));
        QCOMPARE(QFileInfo(link).symLinkTarget(), root_.filePath("nowhere"));
        QCOMPARE(ReadAll(QDir(downloads_).filePath("Kestrova (2).zip")), QByteArray("archive"));
        QVERIFY(!QFileInfo::exists(partial));

        WriteFile(partial, "second");
        QCOMPARE(CommitUnderFreeName(partial, downloads_, "Kestrova.zip", 2), QString());
        QCOMPARE(ReadAll(partial), QByteArray("second"));
    }

    // The server's text is shown as plain text, read as Mac Roman; the check
    // box sets the preference at once; a second window replaces the first.
    void serverTextAndTheCheckBox()
    {
        k_->up.availStr = "9<b>x</b>&amp;\xA5";
        k_->prefs.UpdateForCheck = 1;
        auto* check = qobject_cast<QCheckBox*>(Open(0, 1)->control(558));
        QCOMPARE(qobject_cast<QLabel*>(uc_->window()->control(557))->textFormat(), Qt::PlainText);
        QCOMPARE(Text(557), QStringLiteral("Newer Version : 9<b>x</b>&amp;\u2022"));
        QVERIFY(check->isChecked());
        for (int want : {0, 1}) {
            QTest::mouseClick(check, Qt::LeftButton, {}, QPoint(8, check->height() / 2));
            QCOMPARE(k_->prefs.UpdateForCheck, want);
        }
        k_->prefs.UpdateForCheck = 0;
        QVERIFY(!qobject_cast<QCheckBox*>(Open(0, 0)->control(558))->isChecked());
        const QWidgetList tops = QApplication::topLevelWidgets();  // only one window at a time
        QCOMPARE(std::count_if(tops.begin(), tops.end(),
                               [](QWidget* t) { return qobject_cast<UpdateWindow*>(t) && t->isVisible(); }),
                 qsizetype(1));
    }

    // The window's content, not its frame, stands at the centre of the screen.
    void contentCentredOnTheScreen()
    {
        UpdateWindow* w = Open(0, 0);
        QVERIFY(QTest::qWaitForWindowExposed(w));
        QRect want(0, 0, 420, 150);
        want.moveCenter(QGuiApplication::primaryScreen()->availableGeometry().center());
        QCOMPARE(w->geometry(), want);
    }

    // Every way of closing the window gives the menus back, in the state the
    // check and the design window call for; Return presses the default
    // button, and does nothing when the default is none of the closing ones.
    void closingRestoresTheMenus_data()
    {
        QTest::addColumn<int>("judged");
        QTest::addColumn<int>("byMenu");
        QTest::addColumn<int>("designClosed");
        QTest::addColumn<QString>("menus");
        QTest::newRow("automatic, design closed") << 1 << 0 << 1 << "InitMenu16";
        QTest::newRow("menu, design open") << 1 << 1 << 0 << "InitMenu16";
        QTest::newRow("menu, design closed") << 1 << 1 << 1 << "InitMenu11";
        QTest::newRow("not judged, design closed") << 0 << 0 << 1 << "InitMenu11";
    }
    void closingRestoresTheMenus()
    {
        QFETCH(int, judged);
        QFETCH(int, byMenu);
        QFETCH(int, designClosed);
        QFETCH(QString, menus);
        k_->sh.CheckForUpFlag = std::uint8_t(judged);
        k_->sh.CheckByMenuFlag = std::uint8_t(byMenu);
        k_->sh.RespWndCloseFlag = std::uint8_t(designClosed);
        // clang-format off
        const std::function<void(UpdateWindow*)> ways[] = {
            [](UpdateWindow* w) { QTest::mouseClick(w->control(551), Qt::LeftButton); },
            [](UpdateWindow* w) { QTest::mouseClick(w->control(553), Qt::LeftButton); },
            [](UpdateWindow* w) { QTest::keyClick(w, Qt::Key_Return); },
            [this](UpdateWindow* w) {
                k_->up.DownLoadOkFlag = 1;
                uc_->ShowDownLoadFinished();
                QTest::keyClick(w, Qt::Key_Return);  // 554
            },
            [](UpdateWindow* w) { w->close(); },  // by the window manager
        };
        // clang-format on
        int n = 0;
        for (const auto& close : ways) {
            host_->calls.clear();
            QPointer<UpdateWindow> w = Open(0, ++n == 2 ? 1 : 0);
            close(w);
            QCOMPARE(host_->calls, QStringList{menus});
            QVERIFY(!uc_->window());
            QTRY_VERIFY(w.isNull() || !w->isVisible());
        }
        UpdateWindow* w = Open(0, 0);
        k_->up.checkUpdateBtn = 555;
        host_->calls.clear();
        QTest::keyClick(w, Qt::Key_Return);
        QVERIFY(uc_->window());
        QVERIFY(host_->calls.isEmpty());
    }

    void secondDownloadPressIsIgnoredAndDontDownloadStopsIt()
    {
        ServeZip({.body = QByteArray(1000, 'z'), .delayMs = 500});
        UpdateWindow* w = Open(0, 1);
        const int before = server_.hits(kZipPath);
        QSignalSpy finished(uc_.get(), &UpdateCheck::downloadFinished);
        QTest::mouseClick(w->control(552), Qt::LeftButton);
        QTest::mouseClick(w->control(552), Qt::LeftButton);
        QTest::qWait(200);
        QVERIFY(uc_->downloading());
        QVERIFY(w->findChild<QWidget*>("progress")->isVisible());
        QCOMPARE(Text(556), QStringLiteral("Newer Version is Available."));
        QCOMPARE(server_.hits(kZipPath), before + 1);
        QTest::mouseClick(w->control(553), Qt::LeftButton);
        QVERIFY(!uc_->window());
        QTest::qWait(700);
        QCOMPARE(finished.count(), 0);
        QVERIFY(DownloadsListing().isEmpty());
    }
};

int main(int argc, char** argv)
{
    // The trash lives under XDG_DATA_HOME: keep it in a temporary folder.
    QTemporaryDir data;
    qputenv("XDG_DATA_HOME", data.path().toUtf8());
    QApplication app(argc, argv);
    QCoreApplication::addLibraryPath(QStringLiteral(KESTROVA_MODULE_DIR));
    UpdateTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "update_test.moc"
