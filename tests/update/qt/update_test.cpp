// SPDX-License-Identifier: GPL-3.0-or-later
// The version check, its window and the download against a real HTTP server on 127.0.0.1.
#include <sys/wait.h>

#include <QtNetwork>
#include <QtTest>
#include <QtWidgets>
#include <cerrno>
#include <functional>

#include "common/files.h"
#include "common/http_server.h"
#include "context/kestrova.h"
#include "update/archive_download.h"
#include "update/download/network_download.h"
#include "update/qt/fetch_process.h"
#include "update/qt/update_check.h"
#include "update/qt/update_desktop.h"
#include "update/version.h"

using namespace ks;
using kt::ReadBytes;
using kt::WriteBytes;

namespace {

const QByteArray kVersionPath = "/versions/Kestrova_version.txt";
const QByteArray kZipPath = "/downloads/apps/Kestrova.zip";
const QString kFetch = QStringLiteral(KESTROVA_FETCH_PATH);

// The shell: records the check's signals, named as what the shell runs, and the files opened.
struct FakeUpdateDesktop : ks::UpdateDesktop {
    QStringList calls;
    void watch(ks::UpdateCheck& u)
    {
        QObject::connect(&u, &ks::UpdateCheck::menusBusy, [this] { calls << "MenuDisable"; });
        QObject::connect(&u, &ks::UpdateCheck::menusOpen, [this] { calls << "InitMenu16"; });
        QObject::connect(&u, &ks::UpdateCheck::menusClosed, [this] { calls << "InitMenu11"; });
        QObject::connect(&u, &ks::UpdateCheck::closeDesignWindow, [this] { calls << "CloseDesignWindow"; });
        QObject::connect(&u, &ks::UpdateCheck::quitRequested, [this] { calls << "QuitSequence"; });
    }
    bool OpenWithDefaultApp(const QString& path) override { return calls << "Open " + path, true; }
};

QByteArray RandomBytes(int n)
{
    QByteArray b(n, '\0');
    for (char& c : b) c = char(QRandomGenerator::global()->bounded(256));
    return b;
}

// No child process of this test is left, reaped or not.
bool NoChildLeft() { return waitpid(-1, nullptr, WNOHANG) == -1 && errno == ECHILD; }

// What the server answers (status -1: a port nobody listens on), the helper,
// the network probe's word and who asked; then the verdict and the window.
struct Judgement {
    const char* name;
    QByteArray body;
    int status, delayMs;
    bool helper, netUp, byMenu;
    int newer;
    QByteArray avail;
    QStringList window;
};

std::vector<Judgement> Judgements()
{
    const QStringList current{"This Version is Currently.", "Current Version : 1.2.9", "551* OK"};
    const QStringList failed{"Network Connection Failed.", "Please confirm the network connection.", "551* OK"};
    const auto newer = [](const QString& line) {
        return QStringList{"Newer Version is Available.", "Newer Version : " + line, "552* Download...",
                           "553 Don't Download"};
    };
    const QByteArray longLine = "1.2.10" + QByteArray(1000, '7');
    const QByteArray notes = "1.2.10\r\nRelease notes: <b>big</b>\n" + QByteArray(600, 'x');
    const QByteArray big = "9.9.9" + QByteArray(kVersionFileMaxBytes, '0');
    return {
        {"newer", "1.2.10", 200, 0, true, true, false, 1, "1.2.10", newer("1.2.10")},
        {"equal", "1.2.9", 200, 0, true, true, false, 0, "1.2.9", {}},
        {"empty file", "", 200, 0, true, true, false, 0, "", {}},
        {"menu, not newer", "1.0", 200, 0, true, true, true, 0, "1.0", current},
        {"long line saturates", longLine, 200, 0, true, true, true, 1, longLine.left(255),
         newer("1.2.10" + QString(233, '7'))},
        {"first line only", notes, 200, 0, true, true, true, 1, notes.left(255), newer("1.2.10")},
        {"late", "9.0", 200, 1600, true, true, false, 0, "", {}},
        {"not found", "9.9.9", 404, 0, true, true, false, 0, "", {}},
        {"over the cap", big, 200, 0, true, true, false, 0, "", {}},
        {"no helper", "9.9.9", 200, 0, false, true, false, 0, "", {}},
        {"menu, late", "1.0", 200, 1600, true, true, true, 0, "1.0", current},
        {"menu, no answer", "1.0", 200, 4000, true, true, true, 0, "", failed},
        {"menu, not found", "9.9.9", 404, 0, true, true, true, 0, "", failed},
        {"menu, refused", "9.9.9", -1, 0, true, true, true, 0, "", failed},
        {"menu, no helper", "9.9.9", 200, 0, false, true, true, 0, "", failed},
        {"network reported down", "9.9.9", 200, 0, true, false, true, 1, "9.9.9", failed},
    };
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

    bool Judge(bool byMenu)
    {
        QSignalSpy judged(uc_.get(), &UpdateCheck::judged);
        byMenu ? uc_->CheckForUpdatesCommand() : uc_->StartUpdateCheck();
        return judged.wait(20000) && judged.count() == 1;
    }
    // "Download..." pressed in a newer version's window: 1 saved, 0 failed, -1 no window or no end.
    int DownloadFromWindow()
    {
        server_.route(kVersionPath, {.body = "9.9.9"});
        if (!Judge(false) || !uc_->window()) return -1;
        auto* download = qobject_cast<QPushButton*>(uc_->window()->control(552));
        if (!download) return -1;
        QSignalSpy finished(uc_.get(), &UpdateCheck::downloadFinished);
        QTest::mouseClick(download, Qt::LeftButton);
        return finished.wait(30000) ? int(finished.first().first().toBool()) : -1;
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
    // The window as the user reads it: title, line, buttons ("*" the default).
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
    void initTestCase() { QVERIFY(root_.isValid() && server_.listen()); }

    void init()
    {
        k_ = std::make_unique<Kestrova>();
        host_ = std::make_unique<FakeUpdateDesktop>();
        SetUpdateServer(k_->up, server_.base().toStdString());
        uc_ = std::make_unique<UpdateCheck>(*k_, *host_);
        host_->watch(*uc_);
        uc_->setNetworkProbe([] { return true; });
        uc_->setFetchProgram(kFetch);
        uc_->setBundleVersion(QStringLiteral("1.2.9"));
        static int n = 0;
        downloads_ = root_.filePath(QStringLiteral("Downloads%1").arg(++n));
        QVERIFY(QDir().mkpath(downloads_));
        uc_->setDownloadsFolder(downloads_);
    }

    void cleanup() { uc_.reset(), host_.reset(), k_.reset(); }

    // The automatic check shows only a newer version and is silent on any failure; the menu check
    // waits for a late answer (here 2.5 s) and says the connection failed rather than call the
    // version current. A network reported down still asks; an answer not waited for is dropped.
    void judgement_data()
    {
        QTest::addColumn<int>("row");
        const std::vector<Judgement> rows = Judgements();
        for (std::size_t i = 0; i < rows.size(); ++i) QTest::newRow(rows[i].name) << int(i);
    }
    void judgement()
    {
        QFETCH(int, row);
        const Judgement j = Judgements().at(std::size_t(row));
        server_.route(kVersionPath, {.status = std::max(j.status, 200), .body = j.body, .delayMs = j.delayMs});
        if (j.status < 0) SetUpdateServer(k_->up, "http://127.0.0.1:1");
        uc_->setAnswerLimit(2500);
        if (!j.helper) uc_->setFetchProgram(root_.filePath("none"));
        uc_->setNetworkProbe([up = j.netUp] { return up; });
        const int before = server_.hits(kVersionPath), droppedBefore = server_.dropped(kVersionPath);
        QVERIFY(Judge(j.byMenu));
        if (j.delayMs > 0 && j.avail.isEmpty())
            QTRY_VERIFY_WITH_TIMEOUT(server_.dropped(kVersionPath) > droppedBefore, 20000);
        QCOMPARE(server_.hits(kVersionPath) > before, j.helper && j.status >= 0);
        QCOMPARE(k_->up.UpdateOkFlag, j.newer);
        QCOMPARE(QByteArray::fromStdString(k_->up.availStr.str()), j.avail);
        QCOMPARE(j.byMenu ? k_->sh.CheckByMenuFlag : k_->sh.CheckForUpFlag, 1);
        QCOMPARE(Window(), j.window);
        QCOMPARE(host_->calls.value(0), j.window.isEmpty() ? QString() : QStringLiteral("MenuDisable"));
    }

    // The helper's answer, a refusal before connecting, a runaway stopped at the cap: each run
    // reported once and reaped.
    void fetchHelperRuns()
    {
        // The answer as a pattern; empty: failed.
        const std::tuple<QString, QStringList, QString> runs[] = {{kFetch, {"--network-status"}, "^(up|down)\n$"},
                                                                  {kFetch, {"file:///etc/passwd"}, ""},
                                                                  {"/usr/bin/yes", {"x"}, ""}};
        for (const auto& [program, arguments, answer] : runs) {
            const QByteArray name = (program + " " + arguments.join(' ')).toUtf8();
            FetchProcess run(program, arguments);
            QSignalSpy answered(&run, &FetchProcess::finishedLoading), failed(&run, &FetchProcess::failed);
            QTRY_VERIFY2_WITH_TIMEOUT(answered.count() + failed.count() > 0, name.constData(), 20000);
            QTRY_VERIFY2_WITH_TIMEOUT(NoChildLeft(), name.constData(), 20000);  // reaped: its reports are all in
            QVERIFY2(answered.count() + failed.count() == 1 && !run.running(), name.constData());
            const QString said = failed.count() ? QStringLiteral("failed") : answered.value(0).value(0).toString();
            QVERIFY2(answer.isEmpty() ? said == "failed" : QRegularExpression(answer).match(said).hasMatch(),
                     (name + ": " + said.toUtf8()).constData());
        }
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
        const QSslCertificate certificate(ReadBytes(crt));
        QSslConfiguration serverTls = QSslConfiguration::defaultConfiguration();
        serverTls.setLocalCertificate(certificate);
        serverTls.setPrivateKey(QSslKey(ReadBytes(key), QSsl::Rsa));
        TestHttpServer tls(serverTls);
        QVERIFY(tls.listen());
        tls.route(kVersionPath, {.body = "9.9.9"});
        QProcess fetch;  // the helper the check runs, saying why: the certificate, not the connection
        fetch.start(kFetch, {tls.base() + QString::fromLatin1(kVersionPath)});
        QTRY_VERIFY_WITH_TIMEOUT(fetch.state() == QProcess::NotRunning, 10000);  // the server answers meanwhile
        QCOMPARE(fetch.exitCode(), 1);
        const QByteArray why = fetch.readAllStandardError();
        QVERIFY2(why.toLower().contains("certificate"), why.constData());
        QCOMPARE(tls.hits(kVersionPath), 0);
    }

    void automaticCheckWaitsForAPendingOne()
    {
        server_.route(kVersionPath, {.body = "1.0"});
        QSignalSpy judged(uc_.get(), &UpdateCheck::judged);
        uc_->CheckForUpdatesCommand();
        uc_->StartUpdateCheck();  // a driver record arriving meanwhile
        QCOMPARE(k_->sh.CheckByMenuFlag, 1);
        QVERIFY(judged.wait(20000));
        QVERIFY(uc_->window());  // the menu check kept its window
        uc_->StartUpdateCheck();
        QVERIFY(!uc_->judgementPending());
    }

    // The archive (past the write-behind step) is saved whole under the server's name into a
    // Downloads folder made on the way, the bar moving; the installer opens it, later the package
    // it unpacked, and quits.
    void downloadSavesThenInstallOpensAndQuits()
    {
        const QByteArray archive = RandomBytes(int(ArchiveDownload::kWriteBehind + 300 * 1024));
        const QList<QPair<QByteArray, QByteArray>> named{
            {"Content-Disposition", "attachment; filename=\"../K-9.zip\""}};
        server_.route(kZipPath, {.body = archive, .headers = named});
        downloads_ += "/not/yet";
        uc_->setDownloadsFolder(downloads_);
        QSet<int> steps;  // the bar's values between empty and full
        connect(uc_.get(), &UpdateCheck::judged, this, [&] {
            if (auto* bar = uc_->window() ? uc_->window()->findChild<QProgressBar*>("progress") : nullptr)
                connect(bar, &QProgressBar::valueChanged, this, [&steps, bar](int v) {
                    if (v > 0 && v < bar->maximum()) steps.insert(v);
                });
        });
        QCOMPARE(DownloadFromWindow(), 1);
        // Each read is at most a 256 KiB buffer, a thirtieth of the archive.
        QVERIFY2(steps.size() >= 30, qPrintable(QString::number(steps.size())));
        const QString first = QDir(downloads_).filePath("K-9.zip");
        QCOMPARE(ReadBytes(first), archive);
        QCOMPARE(DownloadsListing(), QStringList{"K-9.zip"});
        QCOMPARE(QString::fromStdString(k_->up.downloadedPath), first);
        QCOMPARE(Window(), QStringList({"Download is Successful.", "Download file is in the downloads folder.",
                                        "554* OK", "555 Launch Installer and Quit"}));
        QVERIFY(!uc_->window()->findChild<QWidget*>("progress")->isVisible());
        const QString pkg = QDir(downloads_).filePath("Kestrova.pkg");  // what the archive unpacks
        QVERIFY(WriteBytes(pkg, ""));
        host_->calls.clear();
        QTest::mouseClick(uc_->window()->control(555), Qt::LeftButton);
        QCOMPARE(host_->calls, QStringList{"Open " + first});
        QVERIFY(!uc_->window()->control(554)->isEnabled());
        QCoreApplication::processEvents();  // the window paints; the package waits for its timer
        QCOMPARE(host_->calls.size(), 1);
        QTRY_COMPARE_WITH_TIMEOUT(host_->calls.size(), 4, 20000);
        QCOMPARE(host_->calls, QStringList({"Open " + first, "Open " + pkg, "CloseDesignWindow", "QuitSequence"}));
    }

    // A download that fails claims nothing and leaves no partial or temporary file; asked for (Qt Network may send
    // a GET again itself), but not when the folder lies below a plain file.
    void downloadFailures_data()
    {
        QTest::addColumn<int>("status");
        QTest::addColumn<int>("cutAfter");
        QTest::addColumn<qint64>("announce");
        QTest::addColumn<bool>("badFolder");
        QTest::newRow("not found") << 404 << -1 << qint64(-1) << false;
        QTest::newRow("cut off halfway") << 200 << 100 * 1024 << qint64(-1) << false;
        QTest::newRow("announced beyond the bound") << 200 << -1 << qint64(ArchiveDownload::kMaxArchive + 1) << false;
        QTest::newRow("folder below a plain file") << 200 << -1 << qint64(-1) << true;
    }
    void downloadFailures()
    {
        QFETCH(int, status);
        QFETCH(int, cutAfter);
        QFETCH(qint64, announce);
        QFETCH(bool, badFolder);
        server_.route(kZipPath,
                      {.status = status, .body = RandomBytes(200 * 1024), .cutAfter = cutAfter, .announce = announce});
        QVERIFY(WriteBytes(downloads_ + "/file", ""));
        if (badFolder) uc_->setDownloadsFolder(downloads_ + "/file/sub");
        const int before = server_.hits(kZipPath);
        QCOMPARE(DownloadFromWindow(), 0);
        QVERIFY(k_->up.downloadedPath.empty());
        QCOMPARE(DownloadsListing(), QStringList{"file"});
        QCOMPARE(server_.hits(kZipPath) > before, !badFolder);
        QCOMPARE(Window(), QStringList({"Download is Failed.", "Please try again later.", "554* OK"}));
    }

    // Earlier files go to the trash, made (owner only) when missing; where it cannot be made the
    // earlier archive stays, the new one takes the next name, and nothing is written elsewhere.
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
        const QString zip = QDir(downloads_).filePath("Kestrova.zip"), pkg = QDir(downloads_).filePath("Kestrova.pkg");
        const QString fresh = root_.filePath("fresh-data/share");
        qputenv("XDG_DATA_HOME", fresh.toUtf8());
        QVERIFY(WriteBytes(zip, "old"));
        QVERIFY(WriteBytes(pkg, "old pkg"));
        server_.route(kZipPath, {.body = "new one"});
        QCOMPARE(DownloadFromWindow(), 1);
        QCOMPARE(ReadBytes(fresh + "/Trash/files/Kestrova.zip") + "|" + ReadBytes(fresh + "/Trash/files/Kestrova.pkg"),
                 QByteArray("old|old pkg"));
        QCOMPARE(DownloadsListing(), QStringList{"Kestrova.zip"});
        QCOMPARE(ReadBytes(zip), QByteArray("new one"));
        QVERIFY(QFileInfo(fresh + "/Trash/info").isDir());
        QCOMPARE(QFileInfo(fresh + "/Trash").permissions() & 0x0077, QFileDevice::Permissions());

        QVERIFY(WriteBytes(root_.filePath("plain"), ""));
        qputenv("XDG_DATA_HOME", root_.filePath("plain/data").toUtf8());
        QVERIFY(WriteBytes(zip, "old"));
        uc_->CheckForUpdateWndOkButton();  // a fresh window, the same downloads
        QCOMPARE(DownloadFromWindow(), 1);
        QCOMPARE(ReadBytes(zip), QByteArray("old"));
        QCOMPARE(ReadBytes(QDir(downloads_).filePath("Kestrova (1).zip")), QByteArray("new one"));
        QCOMPARE(QDir(elsewhere.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden),
                 QStringList());
    }

    // The archive takes the first free name in one step: a file or dangling link that appeared
    // meanwhile is never replaced; with every name taken nothing moves.
    void commitNeverReplacesANameTakenMeanwhile()
    {
        const QDir d(downloads_);
        const QString zip = d.filePath("Kestrova.zip"), link = d.filePath("Kestrova (1).zip"),
                      partial = d.filePath(".partial");
        QVERIFY(WriteBytes(zip, "someone else's"));
        QVERIFY(QFile::link(root_.filePath("nowhere"), link));
        QVERIFY(WriteBytes(partial, "archive"));
        QCOMPARE(CommitUnderFreeName(partial, downloads_, "Kestrova.zip", 99), d.filePath("Kestrova (2).zip"));
        QCOMPARE(ReadBytes(zip), QByteArray("someone else's"));
        QCOMPARE(QFileInfo(link).symLinkTarget(), root_.filePath("nowhere"));
        QCOMPARE(ReadBytes(d.filePath("Kestrova (2).zip")), QByteArray("archive"));
        QVERIFY(!QFileInfo::exists(partial));

        QVERIFY(WriteBytes(partial, "second"));
        QCOMPARE(CommitUnderFreeName(partial, downloads_, "Kestrova.zip", 2), QString());
        QCOMPARE(ReadBytes(partial), QByteArray("second"));
    }

    // The window's content, not its frame, stands at the centre of the screen; the server's text is
    // plain Mac Roman text; the check box sets the preference at once; a second window replaces the first.
    void contentCentredOnTheScreen()
    {
        k_->up.availStr = "9<b>x</b>&amp;\xA5";
        k_->prefs.UpdateForCheck = 1;
        UpdateWindow* w = Open(0, 1);
        QVERIFY(QTest::qWaitForWindowExposed(w));
        QRect centred(0, 0, 420, 150);
        centred.moveCenter(QGuiApplication::primaryScreen()->availableGeometry().center());
        QCOMPARE(w->geometry(), centred);
        QCOMPARE(qobject_cast<QLabel*>(w->control(557))->textFormat(), Qt::PlainText);
        QCOMPARE(Text(557), QStringLiteral("Newer Version : 9<b>x</b>&amp;\u2022"));
        auto* check = qobject_cast<QCheckBox*>(w->control(558));
        QVERIFY(check->isChecked());
        for (int want : {0, 1}) {
            QTest::mouseClick(check, Qt::LeftButton, {}, QPoint(8, check->height() / 2));
            QCOMPARE(k_->prefs.UpdateForCheck, want);
        }
        k_->prefs.UpdateForCheck = 0;
        QVERIFY(!qobject_cast<QCheckBox*>(Open(0, 0)->control(558))->isChecked());
        const QWidgetList tops = QApplication::topLevelWidgets();
        QCOMPARE(std::count_if(tops.begin(), tops.end(),
                               [](QWidget* t) { return qobject_cast<UpdateWindow*>(t) && t->isVisible(); }),
                 qsizetype(1));
    }

    // Every way of closing gives the menus back as the check and the design window call for;
    // Return presses the default button, and does nothing when it closes nothing.
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

    // A second press while downloading starts nothing; Don't Download drops it, saving nothing.
    void secondDownloadPressIsIgnoredAndDontDownloadStopsIt()
    {
        server_.route(kZipPath, {.body = QByteArray(1000, 'z'), .delayMs = 600000});  // answered only if waited for
        UpdateWindow* w = Open(0, 1);
        const int before = server_.hits(kZipPath), droppedBefore = server_.dropped(kZipPath);
        QSignalSpy finished(uc_.get(), &UpdateCheck::downloadFinished);
        QTest::mouseClick(w->control(552), Qt::LeftButton);
        QTest::mouseClick(w->control(552), Qt::LeftButton);
        QTRY_COMPARE_WITH_TIMEOUT(server_.hits(kZipPath), before + 1, 20000);
        QVERIFY(uc_->downloading());
        QVERIFY(w->findChild<QWidget*>("progress")->isVisible());
        QCOMPARE(Text(556), QStringLiteral("Newer Version is Available."));
        QTest::mouseClick(w->control(553), Qt::LeftButton);
        QVERIFY(!uc_->window());
        QTRY_COMPARE_WITH_TIMEOUT(server_.dropped(kZipPath), droppedBefore + 1, 20000);
        QCOMPARE(server_.hits(kZipPath), before + 1);
        QCOMPARE(finished.count(), 0);
        QVERIFY(DownloadsListing().isEmpty());
    }
};

int main(int argc, char** argv)
{
    // The trash lives under XDG_DATA_HOME.
    QTemporaryDir data;
    qputenv("XDG_DATA_HOME", data.path().toUtf8());
    QApplication app(argc, argv);
    QCoreApplication::addLibraryPath(QStringLiteral(KESTROVA_MODULE_DIR));
    UpdateTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "update_test.moc"
