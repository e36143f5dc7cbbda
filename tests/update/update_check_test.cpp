// The version check and the download against a real HTTP server on
// 127.0.0.1: judgement at the timer, late and oversized answers, the
// download's success, failures and the trash.
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QProcess>
#include <QPushButton>
#include <QSslCertificate>
#include <QSslConfiguration>
#include <QSslKey>
#include <QElapsedTimer>
#include <QProgressBar>
#include <QRandomGenerator>
#include <QScopeGuard>
#include <QSet>
#include <QThread>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

#include "fake_host.h"
#include "http_server.h"
#include "context/kestrova.h"
#include "update/qt/archive_download.h"
#include "update/qt/update_check.h"
#include "update/qt/version_request.h"

using namespace ks;

namespace {

const QByteArray kVersionPath = "/versions/Kestrova_version.txt";
const QByteArray kZipPath = "/downloads/apps/Kestrova.zip";

QByteArray RandomBytes(int n)
{
    QByteArray b(n, '\0');
    auto* g = QRandomGenerator::global();
    for (char& c : b) c = char(g->bounded(256));
    return b;
}

QByteArray ReadAll(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

QString Text(UpdateWindow* w, int id)
{
    auto* l = w ? qobject_cast<QLabel*>(w->control(id)) : nullptr;
    return l ? l->text() : QStringLiteral("<no label>");
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

// The peak resident size starts again from the current one.
bool ResetPeakMemory()
{
    QFile f(QStringLiteral("/proc/self/clear_refs"));
    return f.open(QIODevice::WriteOnly) && f.write("5") == 1;
}

}  // namespace

class UpdateCheckTest : public QObject {
    Q_OBJECT

    QTemporaryDir root_;
    TestHttpServer server_;
    // Fresh for every case.
    std::unique_ptr<Kestrova> k_;
    std::unique_ptr<FakeUpdateDesktop> host_;
    std::unique_ptr<UpdateCheck> uc_;
    QString downloads_;

    void ServeVersion(const QByteArray& text, int delayMs = 0)
    {
        TestHttpServer::Route r;
        r.body = text;
        r.delayMs = delayMs;
        server_.route(kVersionPath, r);
    }
    void ServeZip(const QByteArray& body, int status = 200, qsizetype cutAfter = -1,
                  QList<QPair<QByteArray, QByteArray>> headers = {}, qint64 announce = -1)
    {
        TestHttpServer::Route r;
        r.announce = announce;
        r.status = status;
        r.body = body;
        r.cutAfter = cutAfter;
        r.headers = std::move(headers);
        server_.route(kZipPath, r);
    }
    bool Judge(bool byMenu)
    {
        QSignalSpy judged(uc_.get(), &UpdateCheck::judged);
        if (byMenu) uc_->CheckForUpdatesCommand();
        else uc_->StartUpdateCheck();
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
        uc_ = std::make_unique<UpdateCheck>(*k_, *host_);
        host_->watch(*uc_);
        uc_->setNetworkProbe([] { return true; });
        uc_->setBundleVersion(QStringLiteral("1.2.9"));
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

    void newerVersionOpensTheWindowOnTheAutomaticCheck()
    {
        ServeVersion("1.2.10");
        QVERIFY(Judge(false));
        QCOMPARE(k_->up.UpdateOkFlag, 1);
        QCOMPARE(k_->up.availStr.str(), std::string("1.2.10"));
        QCOMPARE(k_->up.bundleStr.str(), std::string("1.2.9"));
        QCOMPARE(k_->sh.CheckForUpFlag, 1);
        QVERIFY(uc_->window() && uc_->window()->isVisible());
        QCOMPARE(Text(uc_->window(), 556), QStringLiteral("Newer Version is Available."));
        QCOMPARE(Text(uc_->window(), 557), QStringLiteral("Newer Version : 1.2.10"));
        QCOMPARE(host_->calls, QStringList{"MenuDisable"});
        QCOMPARE(server_.hits(kVersionPath), 1);
    }

    void notNewerShowsNothingOnTheAutomaticCheckButCountsAsDone_data()
    {
        QTest::addColumn<QByteArray>("server");
        QTest::addColumn<QString>("running");
        QTest::newRow("equal") << QByteArray("1.2.9") << "1.2.9";
        QTest::newRow("older") << QByteArray("1.2.8") << "1.2.9";
        QTest::newRow("fewer components") << QByteArray("2.0") << "1.9.1";
        QTest::newRow("letters first") << QByteArray("v9.9") << "1.0";
        QTest::newRow("empty file") << QByteArray("") << "1.0";
    }
    void notNewerShowsNothingOnTheAutomaticCheckButCountsAsDone()
    {
        QFETCH(QByteArray, server);
        QFETCH(QString, running);
        uc_->setBundleVersion(running);
        ServeVersion(server);
        QVERIFY(Judge(false));
        QCOMPARE(k_->up.UpdateOkFlag, 0);
        QCOMPARE(k_->up.availStr.str(), server.toStdString());
        QCOMPARE(k_->sh.CheckForUpFlag, 1);
        QVERIFY(!uc_->window());
        QVERIFY(host_->calls.isEmpty());
        // Done for the run: a second automatic check is the shell's to skip,
        // which it does by this flag.
    }

    void menuCheckAlwaysShowsTheWindow()
    {
        uc_->setBundleVersion(QStringLiteral("1.9.1"));
        ServeVersion("2.0");
        QVERIFY(Judge(true));
        QCOMPARE(k_->sh.CheckByMenuFlag, 1);
        QCOMPARE(k_->up.UpdateOkFlag, 0);
        QVERIFY(uc_->window());
        QCOMPARE(Text(uc_->window(), 556), QStringLiteral("This Version is Currently."));
        QCOMPARE(Text(uc_->window(), 557), QStringLiteral("Current Version : 1.9.1"));
        QCOMPARE(host_->calls.first(), QStringLiteral("MenuDisable"));
    }

    void longVersionFileIsCutAt255AndOnlyItsFirstLineShown()
    {
        ServeVersion("1.2.10" + QByteArray(1000, '7'));
        QVERIFY(Judge(true));
        QCOMPARE(k_->up.availStr.size(), std::size_t(255));
        // 1210 followed by hundreds of digits: saturated, still newer.
        QCOMPARE(k_->up.UpdateOkFlag, 1);
        // Like every text, the line is cut at 255 characters.
        QCOMPARE(Text(uc_->window(), 557), "Newer Version : 1.2.10" + QString(255 - 22, '7'));
        delete uc_->window();

        ServeVersion("1.2.10\r\nRelease notes: <b>big</b>\n" + QByteArray(600, 'x'));
        QVERIFY(Judge(true));
        QCOMPARE(k_->up.UpdateOkFlag, 1);
        QCOMPARE(k_->up.availStr.size(), std::size_t(255));
        QCOMPARE(Text(uc_->window(), 557), QStringLiteral("Newer Version : 1.2.10"));
    }

    void lateAnswerIsJudgedAsNothingNewerAndChangesNothing()
    {
        ServeVersion("9.0", 1600);
        QVERIFY(Judge(false));
        QCOMPARE(k_->up.UpdateOkFlag, 0);
        QVERIFY(!uc_->window());
        QCOMPARE(k_->sh.CheckForUpFlag, 1);
        QTest::qWait(1200);  // the answer is due now
        QCOMPARE(k_->up.UpdateOkFlag, 0);
        QVERIFY(k_->up.availStr.empty());
        QVERIFY(!uc_->window());
        QVERIFY(host_->calls.isEmpty());
    }

    void lateAnswerOnTheMenuCheckShowsTheRunningVersion()
    {
        ServeVersion("9.0", 1600);
        QVERIFY(Judge(true));
        QCOMPARE(Text(uc_->window(), 556), QStringLiteral("This Version is Currently."));
        QCOMPARE(Text(uc_->window(), 557), QStringLiteral("Current Version : 1.2.9"));
        QTest::qWait(1200);
        QCOMPARE(Text(uc_->window(), 556), QStringLiteral("This Version is Currently."));
        QVERIFY(uc_->window()->control(551));
    }

    void failedOrOversizedAnswersChangeNothing()
    {
        TestHttpServer::Route missing;
        missing.status = 404;
        missing.body = "9.9.9";  // an error page is not a version file
        server_.route(kVersionPath, missing);
        QVERIFY(Judge(false));
        QCOMPARE(k_->up.UpdateOkFlag, 0);
        QVERIFY(k_->up.availStr.empty());

        ServeVersion("9.9.9" + QByteArray(VersionRequest::kMaxBody, '0'));
        QVERIFY(Judge(false));
        QCOMPARE(k_->up.UpdateOkFlag, 0);
        QVERIFY(k_->up.availStr.empty());
        QVERIFY(!uc_->window());
    }

    void untrustedCertificateFailsTheRequest()
    {
        QTemporaryDir certs;
        const QString key = certs.filePath("key.pem"), crt = certs.filePath("cert.pem");
        QProcess openssl;
        openssl.start("openssl", {"req", "-x509", "-newkey", "rsa:2048", "-nodes", "-days", "2", "-subj",
                                  "/CN=127.0.0.1", "-addext", "subjectAltName=IP:127.0.0.1", "-keyout", key,
                                  "-out", crt});
        if (!openssl.waitForFinished(60000) || openssl.exitCode() != 0) QSKIP("openssl could not make a certificate");
        QFile keyFile(key), crtFile(crt);
        QVERIFY(keyFile.open(QIODevice::ReadOnly) && crtFile.open(QIODevice::ReadOnly));
        const QSslCertificate certificate(crtFile.readAll());
        QSslConfiguration serverTls = QSslConfiguration::defaultConfiguration();
        serverTls.setLocalCertificate(certificate);
        serverTls.setPrivateKey(QSslKey(keyFile.readAll(), QSsl::Rsa));
        TestHttpServer tls(serverTls);
        QVERIFY(tls.listen());
        TestHttpServer::Route version;
        version.body = "9.9.9";
        tls.route(kVersionPath, version);
        SetUpdateServer(k_->up, tls.base().toStdString());

        QVERIFY(Judge(false));
        QCOMPARE(k_->up.UpdateOkFlag, 0);
        QVERIFY(k_->up.availStr.empty());
        QCOMPARE(tls.hits(kVersionPath), 0);

        // The same server once its certificate is trusted: it answers, so the
        // failure above was the verification.
        const QSslConfiguration saved = QSslConfiguration::defaultConfiguration();
        QSslConfiguration trusting = saved;
        trusting.addCaCertificate(certificate);
        QSslConfiguration::setDefaultConfiguration(trusting);
        // A fresh checker: its network manager has no earlier handshake kept.
        uc_ = std::make_unique<UpdateCheck>(*k_, *host_);
        host_->watch(*uc_);
        uc_->setNetworkProbe([] { return true; });
        uc_->setBundleVersion(QStringLiteral("1.2.9"));
        const bool judged = Judge(false);
        QSslConfiguration::setDefaultConfiguration(saved);
        QVERIFY(judged);
        QCOMPARE(tls.hits(kVersionPath), 1);
        QCOMPARE(k_->up.UpdateOkFlag, 1);
    }

    void networkReportedDownSaysSoButStillAsks()
    {
        uc_->setNetworkProbe([] { return false; });
        ServeVersion("9.9.9");
        QVERIFY(Judge(true));
        QCOMPARE(k_->up.NetConnectFlag, 1);
        QCOMPARE(server_.hits(kVersionPath) > 0, true);
        QCOMPARE(Text(uc_->window(), 556), QStringLiteral("Network Connection Failed."));
    }

    void automaticCheckWaitsForAPendingOne()
    {
        ServeVersion("1.0", 0);
        QSignalSpy judged(uc_.get(), &UpdateCheck::judged);
        uc_->CheckForUpdatesCommand();
        uc_->StartUpdateCheck();  // a driver record arriving meanwhile
        QCOMPARE(k_->sh.CheckByMenuFlag, 1);
        QVERIFY(judged.wait(5000));
        QVERIFY(uc_->window());  // the menu check kept its window
        uc_->StartUpdateCheck();
        QVERIFY(!uc_->judgementPending());
    }

    void downloadSavesTheArchiveByteForByte()
    {
        const QByteArray archive = RandomBytes(300 * 1024);
        ServeZip(archive);
        bool ok = false;
        QVERIFY(DownloadFromWindow(ok));
        QVERIFY(ok);
        QCOMPARE(k_->up.DownLoadOkFlag, 0);
        const QString saved = QDir(downloads_).filePath("Kestrova.zip");
        QCOMPARE(ReadAll(saved), archive);
        QCOMPARE(DownloadsListing(), QStringList{"Kestrova.zip"});
        QCOMPARE(QString::fromStdString(k_->up.downloadedPath), saved);
        UpdateWindow* w = uc_->window();
        QCOMPARE(Text(w, 556), QStringLiteral("Download is Successful."));
        QVERIFY(w->control(555) && !w->control(552));
        QVERIFY(!w->findChild<QWidget*>("progress")->isVisible());
    }

    void downloadFailures_data()
    {
        QTest::addColumn<int>("status");
        QTest::addColumn<int>("cutAfter");
        QTest::addColumn<qint64>("announce");
        QTest::newRow("not found") << 404 << -1 << qint64(-1);
        QTest::newRow("cut off halfway") << 200 << 100 * 1024 << qint64(-1);
        QTest::newRow("announced beyond the bound") << 200 << -1 << ArchiveDownload::kMaxArchive + 1;
    }
    void downloadFailures()
    {
        QFETCH(int, status);
        QFETCH(int, cutAfter);
        QFETCH(qint64, announce);
        ServeZip(RandomBytes(200 * 1024), status, cutAfter, {}, announce);
        bool ok = true;
        QVERIFY(DownloadFromWindow(ok));
        QVERIFY(!ok);
        QCOMPARE(k_->up.DownLoadOkFlag, 1);
        QVERIFY(k_->up.downloadedPath.empty());
        // Nothing claimed as downloaded, no partial or temporary file left.
        QCOMPARE(DownloadsListing(), QStringList());
        QCOMPARE(Text(uc_->window(), 556), QStringLiteral("Download is Failed."));
        QVERIFY(!uc_->window()->control(555));
    }

    // A fast server in a thread of its own, as a fast link feeds the program:
    // the archive streams to its file, so the window stays responsive, the
    // memory flat and the progress bar moving, whatever the size.
    void largeDownloadKeepsTheWindowResponsiveAndMemoryFlat()
    {
        constexpr qint64 kSize = qint64(200) << 20;
        QThread serverThread;
        QObject inThread;
        inThread.moveToThread(&serverThread);
        serverThread.start();
        TestHttpServer* fast = nullptr;
        QMetaObject::invokeMethod(&inThread, [&] {
            fast = new TestHttpServer;
            TestHttpServer::Route r;
            r.generated = kSize;
            fast->route(kZipPath, r);
            if (!fast->listen()) fast->deleteLater(), fast = nullptr;
        }, Qt::BlockingQueuedConnection);
        QVERIFY(fast);
        const auto stopServer = qScopeGuard([&] {
            QMetaObject::invokeMethod(&inThread, [&] { delete fast; }, Qt::BlockingQueuedConnection);
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
            if (UpdateWindow* w = uc_->window())
                if (auto* bar = w->findChild<QProgressBar*>("progress"); bar && bar->isVisible())
                    if (bar->value() > 0 && bar->value() < bar->maximum()) progressSeen.insert(bar->value());
        });
        const qint64 startRssKb = StatusKb("VmRSS");
        QVERIFY(startRssKb > 0);
        const bool peakReset = ResetPeakMemory();
        clock.start();
        ticker.start();
        bool ok = false;
        QVERIFY(DownloadFromWindow(ok, 60000));
        ticker.stop();
        const qint64 ms = clock.elapsed();
        if (peakReset) peakRssKb = std::max(peakRssKb, StatusKb("VmHWM"));
        qInfo("200 MiB in %lld ms: longest stall %lld ms, peak memory %lld KiB above the start",
              static_cast<long long>(ms), static_cast<long long>(longestStall),
              static_cast<long long>(peakRssKb - startRssKb));
        QVERIFY(ok);
        QVERIFY2(longestStall <= 400, qPrintable(QStringLiteral("stalled %1 ms").arg(longestStall)));
        QVERIFY2(peakRssKb - startRssKb <= 64 * 1024,
                 qPrintable(QStringLiteral("grew by %1 KiB").arg(peakRssKb - startRssKb)));
        QVERIFY2(progressSeen.size() >= 10, "the progress bar did not move during the download");

        QFile saved(QDir(downloads_).filePath("Kestrova.zip"));
        QCOMPARE(saved.size(), kSize);
        QVERIFY(saved.open(QIODevice::ReadOnly));
        for (qint64 at : {qint64(0), kSize / 3, kSize - 65536}) {
            QVERIFY(saved.seek(at));
            const QByteArray got = saved.read(65536);
            QByteArray want(got.size(), Qt::Uninitialized);
            for (qsizetype i = 0; i < want.size(); ++i) want[i] = TestHttpServer::Generated(at + i);
            QCOMPARE(got, want);
        }
        saved.remove();
    }

    void earlierArchiveAndPackageGoToTheTrashFirst()
    {
        const QByteArray archive = RandomBytes(64 * 1024);
        ServeZip(archive);
        for (const char* name : {"Kestrova.zip", "Kestrova.pkg"}) {
            QFile f(QDir(downloads_).filePath(name));
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write(QByteArray("old ") + name);
        }
        bool ok = false;
        QVERIFY(DownloadFromWindow(ok));
        QVERIFY(ok);
        QCOMPARE(host_->trashed, QStringList({QDir(downloads_).filePath("Kestrova.zip"),
                                               QDir(downloads_).filePath("Kestrova.pkg")}));
        const QString trash = qEnvironmentVariable("XDG_DATA_HOME") + "/Trash/files/";
        QCOMPARE(ReadAll(trash + "Kestrova.zip"), QByteArray("old Kestrova.zip"));
        QCOMPARE(ReadAll(trash + "Kestrova.pkg"), QByteArray("old Kestrova.pkg"));
        QCOMPARE(ReadAll(QDir(downloads_).filePath("Kestrova.zip")), archive);
        QCOMPARE(DownloadsListing(), QStringList{"Kestrova.zip"});
    }

    // A data folder that does not exist yet gets its trash (owner only); one
    // that cannot be made leaves the earlier archive where it is, the new
    // one takes the next name, and nothing is written anywhere else.
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
        auto writeOld = [&] {
            QFile f(zip);
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write("old");
        };

        const QString fresh = root_.filePath("fresh-data/share");
        qputenv("XDG_DATA_HOME", fresh.toUtf8());
        writeOld();
        ServeZip("new one");
        bool ok = false;
        QVERIFY(DownloadFromWindow(ok));
        QVERIFY(ok);
        QCOMPARE(ReadAll(fresh + "/Trash/files/Kestrova.zip"), QByteArray("old"));
        QVERIFY(QFileInfo(fresh + "/Trash/info").isDir());
        QCOMPARE(QFileInfo(fresh + "/Trash").permissions() & 0x0077, QFileDevice::Permissions());
        QCOMPARE(ReadAll(zip), QByteArray("new one"));

        QFile blocker(root_.filePath("plain"));
        QVERIFY(blocker.open(QIODevice::WriteOnly));
        blocker.close();
        qputenv("XDG_DATA_HOME", (blocker.fileName() + "/data").toUtf8());
        writeOld();
        cleanup();
        init();  // a fresh window and folder, the same downloads
        uc_->setDownloadsFolder(QFileInfo(zip).path());
        downloads_ = QFileInfo(zip).path();
        QVERIFY(DownloadFromWindow(ok));
        QVERIFY(ok);
        QCOMPARE(ReadAll(zip), QByteArray("old"));
        QCOMPARE(ReadAll(QDir(downloads_).filePath("Kestrova (1).zip")), QByteArray("new one"));
        QCOMPARE(QDir(elsewhere.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden),
                 QStringList());
    }

    void suggestedNameIsUsedAndNeverOverwrites()
    {
        const QByteArray archive = RandomBytes(10 * 1024);
        ServeZip(archive, 200, -1, {{"Content-Disposition", "attachment; filename=\"../Kestrova-9.zip\""}});
        QFile existing(QDir(downloads_).filePath("Kestrova-9.zip"));
        QVERIFY(existing.open(QIODevice::WriteOnly));
        existing.write("keep me");
        existing.close();
        bool ok = false;
        QVERIFY(DownloadFromWindow(ok));
        QVERIFY(ok);
        QCOMPARE(ReadAll(existing.fileName()), QByteArray("keep me"));
        const QString saved = QDir(downloads_).filePath("Kestrova-9 (1).zip");
        QCOMPARE(ReadAll(saved), archive);
        QCOMPARE(QString::fromStdString(k_->up.downloadedPath), saved);
        // Nothing escaped the folder.
        QVERIFY(!QFile::exists(QDir(downloads_).filePath("../Kestrova-9.zip")));
    }

    void missingDownloadsFolderIsCreated()
    {
        const QString nested = downloads_ + "/not/yet";
        uc_->setDownloadsFolder(nested);
        ServeZip("PK\x03\x04 tiny");
        bool ok = false;
        QVERIFY(DownloadFromWindow(ok));
        QVERIFY(ok);
        QCOMPARE(ReadAll(nested + "/Kestrova.zip"), QByteArray("PK\x03\x04 tiny"));
    }

    void unusableFolderFailsAtOnce()
    {
        QFile blocker(downloads_ + "/file");
        QVERIFY(blocker.open(QIODevice::WriteOnly));
        blocker.close();
        uc_->setDownloadsFolder(blocker.fileName() + "/sub");  // below a plain file
        ServeZip("data");
        const int before = server_.hits(kZipPath);
        bool ok = true;
        QVERIFY(DownloadFromWindow(ok));
        QVERIFY(!ok);
        QCOMPARE(Text(uc_->window(), 556), QStringLiteral("Download is Failed."));
        QCOMPARE(server_.hits(kZipPath), before);
    }

    void installOpensArchiveThenPackageThenQuits()
    {
        ServeZip(RandomBytes(4096));
        bool ok = false;
        QVERIFY(DownloadFromWindow(ok));
        QVERIFY(ok);
        // What opening the archive would unpack.
        const QString pkg = QDir(downloads_).filePath("Kestrova.pkg");
        QFile f(pkg);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.close();
        host_->calls.clear();
        QTest::mouseClick(uc_->window()->control(555), Qt::LeftButton);
        const QString zip = QDir(downloads_).filePath("Kestrova.zip");
        QCOMPARE(host_->calls, QStringList{"Open " + zip});
        QVERIFY(!uc_->window()->control(554)->isEnabled());
        QTest::qWait(1000);
        QCOMPARE(host_->calls.size(), 1);  // still waiting, the window painting
        QTRY_COMPARE_WITH_TIMEOUT(host_->calls.size(), 4, 5000);
        QCOMPARE(host_->calls, QStringList({"Open " + zip, "Open " + pkg, "CloseDesignWindow", "QuitSequence"}));
    }
};

int main(int argc, char** argv)
{
    // The trash lives under XDG_DATA_HOME: keep it in a temporary folder.
    QTemporaryDir data;
    qputenv("XDG_DATA_HOME", data.path().toUtf8());
    QApplication app(argc, argv);
    UpdateCheckTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "update_check_test.moc"
