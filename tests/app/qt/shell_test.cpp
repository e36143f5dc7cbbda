// The program as a user drives it, checked for its wiring: a key or click
// reaches its routine and the result shows. The values and texts shown are
// the toolkit-free suites' to pin.
#include <tuple>

#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>

#include "app/design_actions.h"
#include "app/qt/design_window.h"
#include "common/http_server.h"
#include "common/shell_rig.h"
#include "graphs/qt/image_canvas.h"
#include "support/qt/qt_text.h"
#include "update/qt/update_check.h"

using namespace ks::menu;
using kt::ShellRig;

namespace {

// A menu as "on" or "off", then each item asked for as +N (enabled) or -N
// (disabled), with a * when marked.
QString State(ks::Menus& m, int menu, std::initializer_list<int> items = {})
{
    QString s = m.menuEnabled(menu) ? "on" : "off";
    for (int i : items)
        s += QString(" %1%2%3").arg(m.itemEnabled(menu, i) ? '+' : '-').arg(i).arg(m.marked(menu, i) ? "*" : "");
    return s;
}

// Which of the box entries take typing, and which buttons are on.
QString Entries(ShellRig& r)
{
    QString s;
    for (int id : {311, 313}) s += r.field(id)->isEnabled() ? "+" : "-";
    for (int id : {1, 102, 13}) s += r.design()->control(id)->isEnabled() ? "+" : "-";
    return s;
}

}  // namespace

class ShellTest : public QObject {
    Q_OBJECT
    TestHttpServer server_;

    // The shell's check asks the local server through the real helper.
    void Serve(const QByteArray& version, ShellRig& r)
    {
        TestHttpServer::Route route;
        route.body = version;
        server_.route("/versions/Kestrova_version.txt", route);
        ks::SetUpdateServer(r.k.up, server_.base().toStdString());
        r.shell->update().setFetchProgram(QStringLiteral(KESTROVA_FETCH_PATH));
    }

private slots:
    void initTestCase() { QVERIFY(server_.listen()); }


    // One session from launch to quit. The default window opens once and its
    // OK opens the design at its saved place; the Qa pop-up, the views and
    // the menus follow the design, a busy window and Close; New Box Design
    // reopens it as it was left. The companion's words reach the shell;
    // Speaker Select hands over, or gives the menus back when there is nobody
    // to hand over to. Help and About answer, the links open, and a help file
    // is looked for only among the program's own. The preferences window's
    // changes are written only by the quit that closing the menu window runs.
    void sessionFromLaunchToQuit()
    {
        ShellRig r;
        ks::Menus& m = r.menus();
        int launches = 0;
        r.platform.launch = [&launches] { return ++launches, true; };
        r.settings->setValue("Bounds", " 100, 200, 660, 740");
        r.shell->Start();
        QTRY_VERIFY_WITH_TIMEOUT(r.shell->defaultWindow() != nullptr, 5000);
        auto* first = r.shell->defaultWindow();
        r.shell->CarbonTimerAction();  // the timer acts once
        QVERIFY(r.shell->defaultWindow() == first);
        QTest::mouseClick(first->findChild<QPushButton*>("5"), Qt::LeftButton);
        QTRY_VERIFY(!r.shell->defaultWindow());
        QVERIFY(r.text(311) == "N/A" && r.k.d.boxSys == 3);  // the default driver has no Vas: a rear-closed unit
        const auto origin = [&] { return r.design()->content()->mapToGlobal(QPoint(0, 0)); };
        QCOMPARE(origin(), QPoint(200, 100));
        r.design()->move(r.design()->pos() + QPoint(30, 40));
        QTRY_COMPARE(r.k.prefs.Bounds.left, 230);

        r.receive(kt::ClosedBoxRecord());
        const QString vb10 = r.text(311);
        emit r.design()->findChild<QComboBox*>("320")->activated(4);
        QVERIFY(r.k.d.QA == 20.0f && r.text(311) != vb10);
        for (int view : {2, 4, 5, 6, 8, 3}) {  // every view item reaches its view
            r.shell->Command(kResponse, view);
            QCOMPARE(r.k.d.respID, view);
        }

        // Busy while the preferences window is open: a disabled menu stops its keys too.
        r.shell->Command(kApp, 4);
        QCOMPARE(State(m, kApp, {4, kQuitItem}) + " " + State(m, kFile), "on -4 -99 off");
        QTest::mouseClick(r.shell->preferencesWindow()->findChild<QCheckBox*>("503"), Qt::LeftButton);
        QTest::keyClick(r.shell->preferencesWindow(), Qt::Key_Return);
        QTRY_VERIFY(!r.shell->preferencesWindow());
        QCOMPARE(State(m, kApp, {kQuitItem}) + " " + State(m, kFile), "on +99 on");

        // Closed (the close box runs the close sequence): New Box Design only;
        // commands that need a design do nothing.
        r.design()->close();
        QCOMPARE(State(m, kFile, {1, 2}) + " " + State(m, kResponse), "on +1 -2 off");
        QVERIFY(!r.design() && r.shell->menuWindow()->isVisible() && r.platform.exits.empty());
        r.shell->Command(kMisc, 2);
        QCOMPARE(r.k.d.boxSys, 1);
        r.shell->Command(kFile, 1);  // hides the companion
        QVERIFY(r.design() && !r.shell->menuWindow()->isVisible() && r.messenger.texts().back() == "HideVtrl");
        QCOMPARE(origin(), QPoint(230, 140));
        QCOMPARE(r.design()->findChild<QComboBox*>("320")->currentIndex(), 4);

        // A driver without Qms has no impedance; without Vas no box at all.
        r.receive(std::string(ks::MakeDriverRecord({.model = "NoRe", .fs = 800, .qts = 0.6, .qes = 0.9, .re = 6}).view()));
        QCOMPARE(State(m, kResponse, {2, 3}), "on -2 +3");
        QVERIFY(r.k.d.boxSys == 3 && !m.itemEnabled(kMisc, 1) && !m.itemEnabled(kMisc, 2));

        r.receive("HideKstv");
        QVERIFY(!r.design() && !m.menuEnabled(kResponse) && !r.shell->menuWindow()->isVisible());
        r.receive(kt::ClosedBoxRecord());
        QTest::mouseClick(r.design()->findChild<QWidget*>("13"), Qt::LeftButton);
        QVERIFY(!r.design() && launches == 1 && r.messenger.texts().back() == "ShowVtrl");
        QVERIFY(!m.menuEnabled(kFile));  // busy until the companion answers
        r.receive(kt::ClosedBoxRecord());
        QVERIFY(r.design() && m.menuEnabled(kResponse));
        r.platform.launch = [] { return false; };
        r.messenger.receivers = 0;
        r.shell->Command(kMisc, 4);
        QVERIFY(!r.design() && m.itemEnabled(kFile, 1) && r.shell->menuWindow()->isVisible());

        for (int item : {1, 2, 4, 5}) r.shell->Command(kHelp, item);  // help, release notes, web site, mail
        r.shell->Command(kApp, 1);
        QCOMPARE(r.shell->CreateURLFromBundleResourceAndLaunch("../x", "Images"), -50);
        QVERIFY(r.shell->helpAlert() && r.shell->aboutBox() && r.platform.opened.size() == 3);
        QVERIFY(!r.settings->contains("SnapSoundCheck"));
        r.shell->menuWindow()->close();
        QCOMPARE(r.platform.exits, std::vector<int>{0});
        QCOMPARE(r.messenger.texts().back(), std::string("QuitVtrl"));
        QCOMPARE(QSettings(r.settingsPath, QSettings::IniFormat).value("SnapSoundCheck").toString(), QString("0"));
    }

    // One closed-box design through its controls: Copy Parameters (button,
    // and item when silent); the snapshot's save dialog and the print dialog
    // as sheets; the response data written in the chosen type, or why not;
    // the selectors by menu and by key, the entries and Calc. following.
    void designThroughItsControls()
    {
        ShellRig r;
        r.receive(kt::ClosedBoxRecord());
        ks::Menus& m = r.menus();
        QTest::mouseClick(r.design()->findChild<QPushButton*>("2"), Qt::LeftButton);
        QCOMPARE(QGuiApplication::clipboard()->text(), ks::FromMacRoman(r.k.sh.ClipText.view()));
        r.k.prefs.CopySoundCheck = 0;
        r.shell->Command(kResponse, 12);
        QCOMPARE(r.sound.played, std::vector<std::string>{"Click.aif"});  // the second copy is silent

        r.shell->Command(kResponse, 10);
        QFileDialog* snap = r.shell->snapshot().saveDialog();
        QVERIFY(snap && snap->parentWidget() == r.design() && snap->close());
        r.shell->Command(kFile, 5);
        QVERIFY(r.shell->printing().printDialog()->windowModality() == Qt::WindowModal);
        r.shell->printing().printDialog()->reject();

        r.design()->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(r.design()));
        QTest::keyClick(r.design(), Qt::Key_E, Qt::ControlModifier);
        ks::ResponseExport& ex = r.shell->responseExport();
        QFileDialog* dlg = ex.saveDialog();
        QVERIFY(dlg && dlg->windowModality() == Qt::WindowModal && !m.menuEnabled(kFile));  // busy while open
        QCOMPARE(dlg->selectedFiles().value(0).section('/', -1), QString("Mid-13W.frd"));
        // The file type chooses the format; the folder is offered again.
        const QString zma = r.dir.filePath("mid.zma");
        dlg->selectNameFilter("Impedance (*.zma)");
        dlg->selectFile(zma);
        QMetaObject::invokeMethod(dlg, "accept", Qt::DirectConnection);
        QTRY_VERIFY(m.menuEnabled(kFile));
        QFile file(zma);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray bytes = file.readAll();
        QVERIFY2(bytes.contains(": modelled electrical impedance\n"), bytes.left(80));
        r.shell->Command(kFile, 7);
        dlg = ex.saveDialog();
        QCOMPARE(dlg->directory().absolutePath(), QDir(r.dir.path()).absolutePath());
        // Nothing can create a file below a plain file, not even root.
        QFile(r.dir.filePath("plain")).open(QIODevice::WriteOnly);
        const QString blocked = r.dir.filePath("plain/kestrova-export.frd");
        dlg->selectFile(blocked);
        QMetaObject::invokeMethod(dlg, "accept", Qt::DirectConnection);
        QMessageBox* alert = ex.failureAlert();
        QVERIFY(alert && !alert->informativeText().isEmpty());
        QVERIFY2(alert->text().contains("\"" + blocked + "\""), qPrintable(alert->text()));
        alert->accept();
        QTRY_VERIFY(m.menuEnabled(kFile) && m.itemEnabled(kFile, 7));

        QCOMPARE(r.text(311) + " " + Entries(r), QString(" 2.8 ---++"));  // the optimum box
        const QImage before = r.shell->graph().image().copy();
        r.shell->Command(kAlignment, 2);
        QCOMPARE(Entries(r) + " " + State(m, kAlignment, {1, 2}) + " " + State(m, kEdit), "+-+++ on +1 +2* on");
        QVERIFY(r.k.sh.edtFldID == 311 && r.shell->graph().image() == before);  // choosing recalculates nothing
        r.enter(311, "20");
        QVERIFY(r.k.d.VB == 20.0f && r.text(311) == " 20" && r.shell->graph().image() != before);
        r.shell->Command(kAlignment, 3);
        r.enter(313, "0.3");  // too small a Qtc: the sheet says so, the least is taken
        QMessageBox* sheet = r.design()->sheet();
        QVERIFY(sheet && sheet->windowModality() == Qt::WindowModal && r.k.sh.edtFldID == 313);
        QCOMPARE(r.text(313), QString(" 0.382"));
        QCOMPARE(sheet->text(), ks::FromMacRoman(ks::kQtcSmallMessage));
        sheet->button(QMessageBox::Ok)->click();
        QTRY_VERIFY(!r.design()->sheet());

        // Infinite baffle, from the optimum: no box, no Alignment menu; Return still validates.
        r.shell->Command(kAlignment, 1);
        r.shell->Command(kMisc, 2);
        QCOMPARE(r.text(311) + r.text(313) + " " + Entries(r) + " " + State(m, kAlignment), "N/AN/A ----+ off");
        QTest::keyClick(r.design(), Qt::Key_Return);
        QVERIFY(r.platform.beeps == 0 && r.text(311) == "N/A");
        ks::DesignWindow* w = r.design();
        w->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(w));
        const auto C = Qt::ControlModifier, S = Qt::ShiftModifier, A = Qt::AltModifier;
        // Each key, then alignment, scale, magnification, view and system.
        const std::tuple<Qt::Key, Qt::KeyboardModifiers, const char*> keys[] = {
            {Qt::Key_L, C, "1 5 1 1 1"},  // a new closed box sets up afresh
            {Qt::Key_2, C, "2 5 1 1 1"},  {Qt::Key_1, C | S, "2 10 1 1 1"}, {Qt::Key_1, C, "1 10 1 1 1"},
            {Qt::Key_5, C | S, "1 5 1 1 1"}, {Qt::Key_K, C, "1 5 2 1 1"},   {Qt::Key_P, C | A, "1 5 2 8 1"},
            {Qt::Key_A, C | A, "1 5 2 1 1"}, {Qt::Key_I, C, "1 5 2 1 2"},   {Qt::Key_W, C, "1 5 2 1 2"}};
        for (const auto& [key, mods, want] : keys) {
            QTest::keyClick(w, key, mods);
            const ks::Design& d = r.k.d;
            QCOMPARE(QString("%1 %2 %3 %4 %5").arg(d.alin).arg(d.scale).arg(d.magni).arg(d.respID).arg(d.boxSys), want);
        }
        QVERIFY(!r.design());  // Ctrl+W closed it
    }

    // The update check on the companion's first driver record, after the
    // window shows, and by the menu command, with busy menus until its window
    // closes; both ask the local server through the real helper.
    void updateCheckOnTheFirstDriverAndByTheMenu()
    {
        ShellRig r;
        Serve("1.0.0", r);
        r.receive(kt::ClosedBoxRecord());  // UpdateForCheck is 1: the automatic check starts
        QVERIFY(r.design()->isVisible());  // the window first, then the check
        QVERIFY(!r.shell->update().judgementPending());
        QTRY_VERIFY(r.shell->update().judgementPending());
        QTRY_VERIFY_WITH_TIMEOUT(!r.shell->update().judgementPending(), 3000);
        // Not newer: no window, but the check counts as done.
        QVERIFY(!r.shell->update().window() && r.k.sh.CheckForUpFlag == 1 && r.menus().menuEnabled(kResponse));

        r.shell->Command(kApp, 2);
        QVERIFY(!r.menus().menuEnabled(kFile));
        QTRY_VERIFY_WITH_TIMEOUT(r.shell->update().window() != nullptr, 3000);
        auto* ok = qobject_cast<QPushButton*>(r.shell->update().window()->control(551));  // not newer
        QVERIFY(ok && !r.menus().menuEnabled(kFile));
        QTest::mouseClick(ok, Qt::LeftButton);
        QTRY_VERIFY(r.menus().menuEnabled(kFile) && r.menus().itemEnabled(kFile, 5));
    }
};

QTEST_MAIN(ShellTest)
#include "shell_test.moc"
