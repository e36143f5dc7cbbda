// The update window as the user sees it: texts, controls and their places
// for each case, Return by the default button, the launch check box, the
// menus restored on closing.
#include <QCheckBox>
#include <QDir>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

#include "fake_host.h"
#include "http_server.h"
#include "context/kestrova.h"
#include "update/qt/update_check.h"

using namespace ks;

namespace {

QRect Box(int left, int top, int right, int bottom)
{
    return QRect(left, top, right - left, bottom - top);
}

}  // namespace

class UpdateWindowTest : public QObject {
    Q_OBJECT

    QTemporaryDir root_;
    TestHttpServer server_;
    std::unique_ptr<Kestrova> k_;
    std::unique_ptr<FakeUpdateDesktop> host_;
    std::unique_ptr<UpdateCheck> uc_;

    UpdateWindow* Open(std::uint8_t net, std::uint8_t newer)
    {
        k_->up.NetConnectFlag = net;
        k_->up.UpdateOkFlag = newer;
        uc_->CheckForUpdateWnd();
        return uc_->window();
    }
    QString Text(int id) const
    {
        auto* l = qobject_cast<QLabel*>(uc_->window()->control(id));
        return l ? l->text() : QStringLiteral("<no label>");
    }
    QStringList Buttons() const
    {
        QStringList out;
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
        uc_ = std::make_unique<UpdateCheck>(*k_, *host_);
        host_->watch(*uc_);
        uc_->setDownloadsFolder(root_.filePath("Downloads"));
        k_->up.bundleStr = "1.0.0";
        k_->up.availStr = "1.2.10";
    }

    void cleanup()
    {
        uc_.reset();
        host_.reset();
        k_.reset();
    }

    void windowFrame()
    {
        UpdateWindow* w = Open(0, 0);
        QVERIFY(w->isVisible());
        QCOMPARE(w->windowTitle(), QStringLiteral("Kestrova Check for Update"));
        QCOMPARE(w->size(), QSize(420, 150));
        QVERIFY(!(w->windowFlags() & Qt::WindowCloseButtonHint));
        const QRect area = QGuiApplication::primaryScreen()->availableGeometry();
        QVERIFY(qAbs(w->geometry().center().x() - area.center().x()) <= 1);
        QVERIFY(qAbs(w->geometry().center().y() - area.center().y()) <= 1);
        QCOMPARE(w->control(556)->geometry(), Box(128, 25, 400, 50));
        QCOMPARE(w->control(557)->geometry(), Box(128, 55, 400, 80));
        QCOMPARE(w->control(558)->geometry(), Box(129, 80, 380, 99));
        QCOMPARE(w->control(551)->geometry(), Box(320, 110, 400, 130));
        const QFont first = w->control(556)->font(), second = w->control(557)->font();
        QCOMPARE(first.pixelSize(), 20);
        QVERIFY(first.bold());
        QCOMPARE(second.pixelSize(), 15);
        QVERIFY(!second.bold());
        QCOMPARE(QFontInfo(first).styleHint() == QFont::Monospace, false);
        auto* check = qobject_cast<QCheckBox*>(w->control(558));
        QVERIFY(check);
        QCOMPARE(check->text(), QStringLiteral(" Check for New Updates on Launch."));
        QVERIFY(!w->control(550));  // no application icon: no icon control
    }

    void applicationIcon()
    {
        QPixmap pixmap(128, 128);
        pixmap.fill(Qt::darkCyan);
        QApplication::setWindowIcon(QIcon(pixmap));
        UpdateWindow* w = Open(0, 0);
        auto* icon = qobject_cast<QLabel*>(w->control(550));
        QApplication::setWindowIcon(QIcon());
        QVERIFY(icon);
        QCOMPARE(icon->geometry(), Box(24, 20, 104, 100));
        QVERIFY(!icon->pixmap().isNull());
        QCOMPARE(icon->pixmap().toImage().pixelColor(40, 40), QColor(Qt::darkCyan));
    }

    void theThreeCases()
    {
        Open(0, 0);
        QCOMPARE(Text(556), QStringLiteral("This Version is Currently."));
        QCOMPARE(Text(557), QStringLiteral("Current Version : 1.0.0"));
        QCOMPARE(Buttons(), QStringList{"551* OK"});
        QCOMPARE(k_->up.checkUpdateBtn, std::int16_t(551));

        UpdateWindow* w = Open(0, 1);
        QCOMPARE(Text(556), QStringLiteral("Newer Version is Available."));
        QCOMPARE(Text(557), QStringLiteral("Newer Version : 1.2.10"));
        QCOMPARE(Buttons(), QStringList({"552* Download...", "553 Don't Download"}));
        QCOMPARE(w->control(552)->geometry(), Box(275, 110, 400, 130));
        QCOMPARE(w->control(553)->geometry(), Box(130, 110, 255, 130));
        QCOMPARE(k_->up.checkUpdateBtn, std::int16_t(552));

        Open(1, 0);
        QCOMPARE(Text(556), QStringLiteral("Network Connection Failed."));
        QCOMPARE(Text(557), QStringLiteral("Please confirm the network connection."));
        QCOMPARE(Buttons(), QStringList{"551* OK"});
        // Only one window at a time.
        const QWidgetList tops = QApplication::topLevelWidgets();
        QCOMPARE(std::count_if(tops.begin(), tops.end(),
                               [](QWidget* t) { return qobject_cast<UpdateWindow*>(t) && t->isVisible(); }),
                 qsizetype(1));
    }

    void serverTextIsShownAsPlainText()
    {
        k_->up.availStr = "9<b>x</b>&amp;";
        Open(0, 1);
        auto* l = qobject_cast<QLabel*>(uc_->window()->control(557));
        QCOMPARE(l->textFormat(), Qt::PlainText);
        QCOMPARE(l->text(), QStringLiteral("Newer Version : 9<b>x</b>&amp;"));
        // Mac Roman bytes are shown as their characters.
        k_->up.availStr = "2.0\xA5";
        Open(0, 1);
        QCOMPARE(Text(557), QStringLiteral("Newer Version : 2.0\u2022"));
    }

    void downloadResults()
    {
        UpdateWindow* w = Open(0, 1);
        k_->up.DownLoadOkFlag = 0;
        uc_->ShowDownLoadFinished();
        QCOMPARE(Text(556), QStringLiteral("Download is Successful."));
        QCOMPARE(Text(557), QStringLiteral("Download file is in the downloads folder."));
        QCOMPARE(Buttons(), QStringList({"554* OK", "555 Launch Installer and Quit"}));
        QCOMPARE(w->control(555)->geometry(), Box(130, 110, 310, 130));
        QCOMPARE(w->control(554)->geometry(), Box(330, 110, 400, 130));
        QCOMPARE(k_->up.checkUpdateBtn, std::int16_t(554));

        Open(0, 1);
        k_->up.DownLoadOkFlag = 1;
        uc_->ShowDownLoadFinished();
        QCOMPARE(Text(556), QStringLiteral("Download is Failed."));
        QCOMPARE(Text(557), QStringLiteral("Please try again later."));
        QCOMPARE(Buttons(), QStringList{"554* OK"});
    }

    void checkBoxSetsThePreferenceAtOnce()
    {
        k_->prefs.UpdateForCheck = 1;
        UpdateWindow* w = Open(0, 0);
        auto* check = qobject_cast<QCheckBox*>(w->control(558));
        QVERIFY(check->isChecked());
        QTest::mouseClick(check, Qt::LeftButton, {}, QPoint(8, check->height() / 2));
        QCOMPARE(k_->prefs.UpdateForCheck, 0);
        QTest::mouseClick(check, Qt::LeftButton, {}, QPoint(8, check->height() / 2));
        QCOMPARE(k_->prefs.UpdateForCheck, 1);
        k_->prefs.UpdateForCheck = 0;
        Open(0, 0);
        QVERIFY(!qobject_cast<QCheckBox*>(uc_->window()->control(558))->isChecked());
    }

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
        for (int id : {551, 553}) {
            host_->calls.clear();
            UpdateWindow* w = Open(0, id == 553 ? 1 : 0);
            QPointer<UpdateWindow> alive(w);
            QTest::mouseClick(w->control(id), Qt::LeftButton);
            QCOMPARE(host_->calls, QStringList{menus});
            QVERIFY(!uc_->window());
            QTRY_VERIFY(alive.isNull());
        }
        // Closed by the window manager: the same as OK, never stuck busy.
        host_->calls.clear();
        QPointer<UpdateWindow> w = Open(0, 0);
        w->close();
        QCOMPARE(host_->calls, QStringList{menus});
        QVERIFY(!uc_->window());
        QVERIFY(w.isNull() || !w->isVisible());
    }

    void returnPressesTheDefaultButton()
    {
        k_->sh.CheckByMenuFlag = 1;
        UpdateWindow* w = Open(0, 0);
        QTest::keyClick(w, Qt::Key_Return);
        QVERIFY(!uc_->window());
        QCOMPARE(host_->calls, QStringList{"InitMenu16"});

        // 552: the download starts (this server has no archive: it fails).
        w = Open(0, 1);
        const int before = server_.hits("/downloads/apps/Kestrova.zip");
        QSignalSpy finished(uc_.get(), &UpdateCheck::downloadFinished);
        QTest::keyClick(w, Qt::Key_Enter);
        QVERIFY(finished.wait(5000));
        QCOMPARE(finished.first().first().toBool(), false);
        QCOMPARE(server_.hits("/downloads/apps/Kestrova.zip"), before + 1);
        QCOMPARE(Text(556), QStringLiteral("Download is Failed."));
        // Now 554 is the default.
        host_->calls.clear();
        QTest::keyClick(uc_->window(), Qt::Key_Return);
        QVERIFY(!uc_->window());
        QCOMPARE(host_->calls, QStringList{"InitMenu16"});

        // Any other default id does nothing.
        w = Open(0, 0);
        k_->up.checkUpdateBtn = 555;
        host_->calls.clear();
        QTest::keyClick(w, Qt::Key_Return);
        QVERIFY(uc_->window());
        QVERIFY(host_->calls.isEmpty());
    }

    void secondDownloadPressIsIgnoredAndDontDownloadStopsIt()
    {
        TestHttpServer::Route slow;
        slow.body = QByteArray(1000, 'z');
        slow.delayMs = 500;
        server_.route("/downloads/apps/Kestrova.zip", slow);
        UpdateWindow* w = Open(0, 1);
        const int before = server_.hits("/downloads/apps/Kestrova.zip");
        QSignalSpy finished(uc_.get(), &UpdateCheck::downloadFinished);
        QTest::mouseClick(w->control(552), Qt::LeftButton);
        QTest::mouseClick(w->control(552), Qt::LeftButton);
        QTest::qWait(200);
        QVERIFY(uc_->downloading());
        QVERIFY(w->findChild<QWidget*>("progress")->isVisible());
        QVERIFY(w->control(552)->isEnabled());  // texts and buttons stay as they are
        QCOMPARE(Text(556), QStringLiteral("Newer Version is Available."));
        QCOMPARE(server_.hits("/downloads/apps/Kestrova.zip"), before + 1);
        QTest::mouseClick(w->control(553), Qt::LeftButton);
        QVERIFY(!uc_->window());
        QTest::qWait(700);
        QCOMPARE(finished.count(), 0);
        QVERIFY(QDir(root_.filePath("Downloads")).entryList(QDir::Files | QDir::Hidden).isEmpty());
    }
};

int main(int argc, char** argv)
{
    QTemporaryDir data;
    qputenv("XDG_DATA_HOME", data.path().toUtf8());
    QApplication app(argc, argv);
    UpdateWindowTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "update_window_test.moc"
