// SPDX-License-Identifier: GPL-3.0-or-later
// The program as a user drives it, for its wiring (the values and texts shown
// are the toolkit-free suites'), and the faults users met, in the real shell.
#include <sys/stat.h>
#include <unistd.h>

#include <QtTest>
#include <QtWidgets>
#include <tuple>

#include "app/design_actions.h"
#include "app/design_apply.h"
#include "app/qt/default_window.h"
#include "app/qt/design_window.h"
#include "common/files.h"
#include "common/http_server.h"
#include "common/shell_rig.h"
#include "graphs/qt/image_canvas.h"
#include "support/qt/file_dialogs.h"
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

// Which of the shell's windows are up, and how the process was told to end.
QString Up(ShellRig& r)
{
    QStringList up;
    if (r.design()) up << "design";
    if (r.shell->menuWindow() && r.shell->menuWindow()->isVisible()) up << "menus";
    if (r.shell->defaultWindow()) up << "default";
    if (r.shell->preferencesWindow()) up << "preferences";
    if (r.shell->helpAlert()) up << "help";
    if (r.shell->aboutBox()) up << "about";
    for (int status : r.platform.exits) up << QString("exit %1").arg(status);
    return up.join(' ');
}

}  // namespace

class ShellTest : public QObject {
    Q_OBJECT
    TestHttpServer server_;

    // The shell's check asks the local server (not newer: 1.0.0) through the real helper.
    void Serve(ShellRig& r)
    {
        server_.route("/versions/Kestrova_version.txt", {.body = "1.0.0"});
        ks::SetUpdateServer(r.k.up, server_.base().toStdString());
        r.shell->update().setFetchProgram(QStringLiteral(KESTROVA_FETCH_PATH));
    }

private slots:
    void initTestCase() { QVERIFY(server_.listen()); }

    // Launch to quit: the default window once, the design where and as it was left after Close; menus following
    // the design and busy windows; the companion's words, Speaker Select, Help, About, links; prefs saved by quit.
    void sessionFromLaunchToQuit()
    {
        ShellRig r;
        ks::Menus& m = r.menus();
        int launches = 0;
        r.platform.launch = [&launches] { return ++launches, true; };
        r.settings->setValue("Bounds", " 100, 200, 660, 740");
        r.shell->Start();
        QTRY_VERIFY_WITH_TIMEOUT(r.shell->defaultWindow() != nullptr, 20000);  // the start-up timer ran
        auto* first = r.shell->defaultWindow();
        r.shell->CarbonTimerAction();  // the timer acts once
        QCOMPARE(r.shell->defaultWindow(), first);
        QTest::mouseClick(first->findChild<QPushButton*>("5"), Qt::LeftButton);
        QTRY_VERIFY(!r.shell->defaultWindow());
        // The default driver has no Vas: a rear-closed unit.
        QCOMPARE(r.text(311) + QString(" system %1").arg(r.k.d.boxSys), QString("N/A system 3"));
        const auto origin = [&] { return r.design()->content()->mapToGlobal(QPoint(0, 0)); };
        QCOMPARE(origin(), QPoint(200, 100));
        r.design()->move(r.design()->pos() + QPoint(30, 40));
        QTRY_COMPARE(r.k.prefs.Bounds.left, 230);

        r.receive(kt::ClosedBoxRecord());
        const QString vb10 = r.text(311);
        emit r.design()->findChild<QComboBox*>("320")->activated(4);
        QCOMPARE(r.k.d.QA, 20.0f);
        QVERIFY(r.text(311) != vb10);
        for (int view : {2, 4, 5, 6, 8, 13, 14, 3}) {  // every view item reaches its view
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
        // Closed by its close box: New Box Design only, commands needing a design do nothing.
        r.design()->close();
        QCOMPARE(State(m, kFile, {1, 2}) + " " + State(m, kResponse), "on +1 -2 off");
        QCOMPARE(Up(r), QString("menus"));
        r.shell->Command(kMisc, 2);
        QCOMPARE(r.k.d.boxSys, 1);
        r.shell->Command(kFile, 1);  // hides the companion
        QCOMPARE(Up(r), QString("design"));
        QCOMPARE(r.messenger.texts().back(), "HideVtrl");
        QCOMPARE(origin(), QPoint(230, 140));
        QCOMPARE(r.design()->findChild<QComboBox*>("320")->currentIndex(), 4);
        // Without Re no impedance; without Vas no box.
        r.receive(std::string(ks::MakeDriverRecord({.model = "NoRe", .fs = 800, .qts = 0.6, .qes = 0.9}).view()));
        QCOMPARE(State(m, kResponse, {2, 3}), "on -2 +3");
        QCOMPARE(State(m, kMisc, {1, 2}) + QString(" system %1").arg(r.k.d.boxSys), "on -1* -2 system 3");
        r.receive("HideKstv");
        QCOMPARE(Up(r) + " " + State(m, kResponse), QString(" off"));
        r.receive(kt::ClosedBoxRecord());
        QTest::mouseClick(r.design()->findChild<QWidget*>("13"), Qt::LeftButton);
        QCOMPARE(Up(r) + QString(" launched %1 ").arg(launches) + State(m, kFile), " launched 1 off");  // busy
        QCOMPARE(r.messenger.texts().back(), "ShowVtrl");
        r.receive(kt::ClosedBoxRecord());  // the companion answers
        QCOMPARE(Up(r) + " " + State(m, kResponse, {2}), QString("design on +2"));
        r.platform.launch = [] { return false; };
        r.messenger.receivers = 0;
        r.shell->Command(kMisc, 4);
        QCOMPARE(Up(r) + " " + State(m, kFile, {1}), QString("menus on +1"));
        const QString guide = r.dir.filePath("user-guide.html");
        r.shell->setUserGuide(guide);                                 // not installed: the alert
        for (int item : {1, 2, 4, 5}) r.shell->Command(kHelp, item);  // help, release notes, web site, mail
        r.shell->Command(kApp, 1);
        QCOMPARE(Up(r) + QString(" opened %1").arg(r.platform.opened.size()), QString("menus help about opened 3"));
        QVERIFY(kt::WriteBytes(guide, ""));  // installed: the browser, or without one an alert saying where
        r.shell->helpAlert()->close();
        QTRY_VERIFY(!r.shell->helpAlert());
        r.shell->Command(kHelp, 1);
        QVERIFY(!r.shell->helpAlert());
        QCOMPARE(r.platform.opened.back(), QUrl::fromLocalFile(guide));
        r.platform.opens = false;
        r.shell->Command(kHelp, 1);
        auto* alert = qobject_cast<QMessageBox*>(r.shell->helpAlert());
        QVERIFY(alert);
        QVERIFY2(alert->informativeText().contains(guide), qPrintable(alert->informativeText()));
        QVERIFY(!r.settings->contains("SnapSoundCheck"));
        r.shell->menuWindow()->close();
        QCOMPARE(r.platform.exits, std::vector<int>{0});
        QCOMPARE(r.messenger.texts().back(), std::string("QuitVtrl"));
        QCOMPARE(QSettings(r.settingsPath, QSettings::IniFormat).value("SnapSoundCheck").toString(), QString("0"));
    }

    // One design through its controls: Copy Parameters, the sheets, the export, the selectors by
    // menu and by key, the entries and Calc. following; Preferences reachable with Edit off.
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
        QVERIFY(snap);
        QCOMPARE(snap->parentWidget(), r.design());
        snap->close();
        r.shell->Command(kFile, 5);
        QVERIFY(r.shell->printing().printDialog()->windowModality() == Qt::WindowModal);
        r.shell->printing().printDialog()->reject();

        r.design()->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(r.design()));
        QTest::keyClick(r.design(), Qt::Key_E, Qt::ControlModifier);
        ks::ResponseExport& ex = r.shell->responseExport();
        QFileDialog* dlg = ex.saveDialog();
        QVERIFY(dlg);
        QCOMPARE(dlg->windowModality(), Qt::WindowModal);
        QCOMPARE(State(m, kFile), QString("off"));  // busy while open
        QCOMPARE(dlg->selectedFiles().value(0).section('/', -1), QString("Mid-13W.frd"));
        dlg->selectFile(r.dir.filePath("mid.frd"));
        QMetaObject::invokeMethod(dlg, "accept", Qt::DirectConnection);
        QTRY_COMPARE(State(m, kFile, {7}), QString("on +7"));
        QVERIFY(QFile::exists(r.dir.filePath("mid.frd")));

        QCOMPARE(r.text(311) + " " + Entries(r), QString(" 2.8 ---++"));  // the optimum box
        const QImage before = r.shell->graph().image().copy();
        r.shell->Command(kAlignment, 2);
        QCOMPARE(Entries(r) + " " + State(m, kAlignment, {1, 2}) + " " + State(m, kEdit), "+-+++ on +1 +2* on");
        QCOMPARE(r.k.sh.edtFldID, 311);
        QVERIFY(r.shell->graph().image() == before);  // choosing recalculates nothing
        r.enter(311, "20");
        QCOMPARE(QString("Vb %1 shown%2").arg(r.k.d.VB).arg(r.text(311)), QString("Vb 20 shown 20"));
        QVERIFY(r.shell->graph().image() != before);
        r.shell->Command(kAlignment, 3);
        r.enter(313, "0.3");  // too small a Qtc: the sheet says so, the least is taken
        QMessageBox* sheet = r.design()->sheet();
        QVERIFY(sheet);
        QCOMPARE(sheet->windowModality(), Qt::WindowModal);
        QCOMPARE(r.k.sh.edtFldID, 313);
        QCOMPARE(r.text(313), QString(" 0.382"));
        QCOMPARE(sheet->text(), ks::FromMacRoman(ks::kQtcSmallMessage));
        sheet->button(QMessageBox::Ok)->click();
        QTRY_VERIFY(!r.design()->sheet());
        // The optimum turns the Edit items off, the menu still opening and Preferences reachable.
        r.shell->Command(kAlignment, 1);
        QCOMPARE(State(m, kEdit, {5}) + " " + State(m, kApp, {4}), QString("off -5 on +4"));
        QVERIFY(m.menu(kEdit)->menuAction()->isEnabled());
        ks::DesignWindow* w = r.design();
        w->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(w));
        const auto C = Qt::ControlModifier, S = Qt::ShiftModifier, A = Qt::AltModifier;
        QTest::keyClick(w, Qt::Key_Comma, C);
        QVERIFY(r.shell->preferencesWindow());
        QTest::keyClick(r.shell->preferencesWindow(), Qt::Key_Return);
        QTRY_VERIFY(!r.shell->preferencesWindow());
        // Infinite baffle: no box, no Alignment menu; Return still validates.
        r.shell->Command(kMisc, 2);
        QCOMPARE(r.text(311) + r.text(313) + " " + Entries(r) + " " + State(m, kAlignment), "N/AN/A ----+ off");
        QTest::keyClick(w, Qt::Key_Return);
        QCOMPARE(QString("%1 beeps, %2").arg(r.platform.beeps).arg(r.text(311)), QString("0 beeps, N/A"));
        w->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(w));
        // Each key, then alignment, scale, magnification, view and system.
        const std::tuple<Qt::Key, Qt::KeyboardModifiers, const char*> keys[] = {
            {Qt::Key_L, C, "1 5 1 1 1"},  // a new closed box sets up afresh
            {Qt::Key_2, C, "2 5 1 1 1"},     {Qt::Key_1, C | S, "2 10 1 1 1"}, {Qt::Key_1, C, "1 10 1 1 1"},
            {Qt::Key_5, C | S, "1 5 1 1 1"}, {Qt::Key_K, C, "1 5 2 1 1"},      {Qt::Key_P, C | A, "1 5 2 8 1"},
            {Qt::Key_A, C | A, "1 5 2 1 1"}, {Qt::Key_I, C, "1 5 2 1 2"},      {Qt::Key_W, C, "1 5 2 1 2"}};
        for (const auto& [key, mods, want] : keys) {
            QTest::keyClick(w, key, mods);
            const ks::Design& d = r.k.d;
            QCOMPARE(QString("%1 %2 %3 %4 %5").arg(d.alin).arg(d.scale).arg(d.magni).arg(d.respID).arg(d.boxSys), want);
        }
        QVERIFY(!r.design());  // Ctrl+W closed it
    }

    // The default window carries the closed menus, its listing below the bar; Escape and the
    // window manager's close quit at once, nothing sent or saved; Ctrl+Q is the quit sequence.
    void defaultWindowCarriesTheClosedMenusAndQuits()
    {
        // clang-format off
        const std::tuple<const char*, Qt::Key, Qt::KeyboardModifiers, const char*> ways[] = {  // no key: closed
            {"Ctrl+,", Qt::Key_Comma, Qt::ControlModifier, "default preferences"},
            {"close", Qt::Key_unknown, {}, "default exit 0"}, {"Escape", Qt::Key_Escape, {}, "default exit 0"},
            {"Ctrl+Q", Qt::Key_Q, Qt::ControlModifier, "default exit 0, told, saved"}};
        // clang-format on
        for (const auto& [name, key, mods, want] : ways) {
            ShellRig r;
            r.shell->Start();
            r.shell->CarbonTimerAction();
            ks::DefaultParamWindow* w = r.shell->defaultWindow();
            auto* bar = w ? w->findChild<QMenuBar*>() : nullptr;
            QVERIFY(bar);
            QCOMPARE(bar->actions().size(), 8);
            QVERIFY(QTest::qWaitForWindowActive(w));
            QCOMPARE(State(r.menus(), kApp, {1, 2, 4, kQuitItem}) + " " + State(r.menus(), kResponse) + " " +
                         State(r.menus(), kHelp),
                     QString("on +1 +2 +4 +99 off on"));
            QCOMPARE(w->content()->mapTo(w, QPoint(0, 0)).y(), bar->height());
            key == Qt::Key_unknown ? void(w->close()) : QTest::keyClick(w, key, mods);
            const std::vector<std::string> sent = r.messenger.texts();
            const bool told = !sent.empty() && sent.back() == "QuitVtrl";
            QCOMPARE(QString("%1: ").arg(name) + Up(r) + (told ? ", told" : "") +
                         (QFile::exists(r.settingsPath) ? ", saved" : ""),
                     QString("%1: %2").arg(name, want));
        }
    }

    // With only the default window, Check for Updates ends with the menus of no design, and
    // commands that need one do nothing (Print beeps, the clipboard keeps its text).
    void defaultWindowKeepsTheMenusWithoutADesign()
    {
        ShellRig r;
        Serve(r);
        r.shell->Start();
        r.shell->CarbonTimerAction();
        r.shell->Command(kApp, 2);
        QTRY_VERIFY_WITH_TIMEOUT(r.shell->update().window() != nullptr, 20000);
        QTest::mouseClick(r.shell->update().window()->control(551), Qt::LeftButton);
        ks::Menus& m = r.menus();
        QCOMPARE(State(m, kFile, {1, 2, 4, 5, 7}) + " " + State(m, kResponse) + " " + State(m, kView),
                 "off -1 -2 -4 -5 -7 off off");
        QGuiApplication::clipboard()->setText("kept");
        for (const auto& [menu, item] : {std::pair{kFile, 5}, {kFile, 2}, {kFile, 1}, {kResponse, 12}})
            r.shell->Command(menu, item);
        QCOMPARE(Up(r), QString("default"));
        QCOMPARE(QGuiApplication::clipboard()->text(), QString("kept"));
        QCOMPARE(r.platform.beeps, 1);
    }

    // A dialog Qt makes itself (as the print dialog's "..." does) gets the file models that
    // never read a file, once the shell runs.
    void dialogsQtMakesReadNoFiles()
    {
        ShellRig r;
        QFileDialog ours, other;
        ks::KeepFileModelsFromReading(ours);
        other.setOption(QFileDialog::DontUseNativeDialog);
        other.show();
        QCOMPARE(other.findChild<QFileSystemModel*>()->iconProvider(),
                 ours.findChild<QFileSystemModel*>()->iconProvider());
    }

    // The update check starts once the first driver's window shows, its timer pausing for a sound; a message
    // meanwhile waits for the sound's end, so the record copied is the design the user saw. By the menu, busy
    // menus until its window closes. The whole-window snapshot leaves out the menu bar.
    void updateCheckAndMessagesWaitForTheSound()
    {
        ShellRig r;
        Serve(r);
        r.receive(kt::ClosedBoxRecord());  // UpdateForCheck is 1: the automatic check starts
        QVERIFY(r.design()->isVisible());  // the window first, then the check
        QVERIFY(!r.shell->update().judgementPending());
        r.k.prefs.SnapRegionCheck = 1;
        QCOMPARE(r.shell->snapshot().CaptureDesignWindow().size(), QSize(540, 560));
        r.k.prefs.CopySoundCheck = 1;
        ks::DesignWindow* first = r.design();
        QTRY_VERIFY(r.shell->update().judgementPending());
        r.sound.whilePlaying = [&] {  // the companion sends while the sound plays
            QEventLoop loop;
            QTimer::singleShot(0, [&] { r.receive(kt::TweeterRecord()); });
            QTimer::singleShot(0, &loop, &QEventLoop::quit);
            loop.exec();
            QCOMPARE(r.design(), first);
        };
        r.shell->Command(kResponse, 12);
        r.sound.whilePlaying = {};
        QVERIFY(QGuiApplication::clipboard()->text().contains("Mid-13W"));
        QTRY_VERIFY(r.k.d.s_SP.str() == "Tw-25");
        QTRY_VERIFY_WITH_TIMEOUT(!r.shell->update().judgementPending(), 20000);
        QVERIFY(r.menus().menuEnabled(kResponse));
        r.shell->Command(kApp, 2);
        QTRY_VERIFY_WITH_TIMEOUT(r.shell->update().window() != nullptr, 20000);
        QVERIFY(!r.menus().menuEnabled(kFile));
        QTest::mouseClick(r.shell->update().window()->control(551), Qt::LeftButton);  // not newer: OK
        QTRY_COMPARE(State(r.menus(), kFile, {5}), QString("on +5"));
    }

    // Saved (a name asked the first time), replaced by another driver, reopened from Open Recent as it was, its
    // name in the title, then saved in place; a file gone leaves Open Recent with a message; the list lasts.
    void designSavedAndReopened()
    {
        ShellRig r;
        ks::Menus& m = r.menus();
        r.receive(kt::ClosedBoxRecord());
        r.shell->ChooseQa(1);
        r.shell->Command(kAlignment, 3);
        r.enter(313, "1.2");
        r.shell->Command(kResponse, 2);
        QVERIFY(!m.itemEnabled(kResponse, kClearKeptItem));
        r.shell->Command(kResponse, kKeepItem);
        r.shell->Command(kResponse, 4);
        QVERIFY(m.itemEnabled(kResponse, kClearKeptItem));
        QVERIFY(!m.itemEnabled(kFile, kOpenRecentItem));

        r.shell->Command(kFile, kSaveDesignItem);
        QFileDialog* dlg = r.shell->designDialog();
        QVERIFY(dlg);
        QCOMPARE(dlg->windowModality(), Qt::WindowModal);
        QCOMPARE(State(m, kFile), QString("off"));
        QCOMPARE(dlg->selectedFiles().value(0).section('/', -1), QString("Mid-13W.kestrova"));
        const QString path = r.dir.filePath("mid.kestrova");
        dlg->selectFile(path);
        QMetaObject::invokeMethod(dlg, "accept", Qt::DirectConnection);
        QTRY_VERIFY(m.menuEnabled(kFile));
        QVERIFY(QFile::exists(path));
        QCOMPARE(r.design()->windowTitle(), QString("mid.kestrova \u2014 Kestrova"));
        const QImage picture = r.shell->graph().image().copy();
        const std::string record(ks::MakeClipText(r.k).view());

        r.receive(kt::TweeterRecord());
        QCOMPARE(r.shell->designPath(), QString());
        QCOMPARE(r.design()->windowTitle(), QString("Kestrova"));
        r.shell->Command(kFile, kSaveDesignItem);  // no file now: Save As
        QVERIFY(r.shell->designDialog());
        r.shell->designDialog()->reject();
        QTRY_VERIFY(m.menuEnabled(kFile));
        QVERIFY(m.itemEnabled(kFile, kOpenRecentItem));

        QCOMPARE(m.recentMenu()->actions().size(), 1);
        m.recentMenu()->actions().at(0)->trigger();
        QCOMPARE(std::string(ks::MakeClipText(r.k).view()), record);
        QCOMPARE(r.shell->graph().image(), picture);
        QCOMPARE(QString("kept %1, Qa item %2, ")
                         .arg(r.k.kept.size())
                         .arg(r.design()->findChild<QComboBox*>("320")->currentIndex()) +
                     State(m, kResponse, {4}) + ", " + State(m, kAlignment, {3}) + "," + r.text(313),
                 QString("kept 1, Qa item 0, on +4*, on +3*, 1.2"));
        QCOMPARE(r.design()->windowTitle(), QString("mid.kestrova \u2014 Kestrova"));

        QFile::remove(path);
        r.shell->Command(kFile, kSaveDesignItem);  // in place, no dialog
        QVERIFY(!r.shell->designDialog());
        QVERIFY(QFile::exists(path));
        r.shell->SavePrefs();
        ks::Prefs stored;
        r.store->LoadPrefs(stored);
        QCOMPARE(stored.RecentDesigns, std::vector<std::string>{path.toStdString()});

        r.shell->Command(kResponse, kClearKeptItem);
        QCOMPARE(QString("kept %1, ").arg(r.k.kept.size()) + State(m, kResponse, {kClearKeptItem}), "kept 0, on -21");
        QFile::remove(path);
        m.recentMenu()->actions().at(0)->trigger();
        QVERIFY(r.shell->designAlert());
        QVERIFY2(r.shell->designAlert()->text().contains("no longer there"),
                 qPrintable(r.shell->designAlert()->text()));
        QCOMPARE(QString("recent %1, ").arg(r.k.prefs.RecentDesigns.size()) + State(m, kFile, {kOpenRecentItem}),
                 "recent 0, on -21");
        QCOMPARE(std::string(ks::MakeClipText(r.k).view()), record);
        r.shell->designAlert()->close();

        r.shell->Command(kFile, kOpenDesignItem);
        QVERIFY(r.shell->designDialog());
        QCOMPARE(r.shell->designDialog()->directory().absolutePath(), r.dir.path());
        r.shell->designDialog()->reject();
    }

    // Each kind of bad file gives one alert naming it and why, leaving the design and its file as
    // they were; so does a save that cannot be made, leaving no file.
    void badFilesAndFailedSavesLeaveTheDesign()
    {
        ShellRig r;
        r.receive(kt::ClosedBoxRecord());
        r.shell->Command(kResponse, kKeepItem);
        const QString good = r.dir.filePath("good.kestrova");
        QVERIFY(r.shell->SaveDesignTo(good));
        const QByteArray text = kt::ReadBytes(good);
        const auto write = [&r](const char* name, const QByteArray& bytes) {
            return kt::WriteBytes(r.dir.filePath(name), bytes) ? r.dir.filePath(name) : QString();
        };
        QDir(r.dir.path()).mkdir("folder.kestrova");
        QVERIFY(::mkfifo(QFile::encodeName(r.dir.filePath("pipe.kestrova")).constData(), 0600) == 0);
        const std::pair<QString, QString> files[] = {
            {write("text.kestrova", "a box of notes"), "It is not a JSON document (syntax error"},
            {write("large.kestrova", text + QByteArray(1 << 20, ' ')), "It is larger than 1 MiB."},
            {QStringLiteral("/proc/self/mem"), "Input/output error."},  // a file whose reading fails for anyone
            {r.dir.filePath("gone.kestrova"), "No such file or directory."},
            {r.dir.filePath("folder.kestrova"), "It is a folder."},
            {r.dir.filePath("pipe.kestrova"), "It is not a regular file."},
        };
        const QByteArray before = QByteArray::fromStdString(ks::WriteDesignDocument(ks::CaptureDesign(r.k)));
        const QImage picture = r.shell->graph().image().copy();
        ks::DesignWindow* window = r.design();
        for (const auto& [file, why] : files) {
            QVERIFY(!file.isEmpty());
            QVERIFY(!r.shell->OpenDesignFile(file));
            QMessageBox* alert = r.shell->designAlert();
            QVERIFY2(alert, qPrintable(file));
            QVERIFY2(alert->text().contains(file), qPrintable(alert->text()));
            QVERIFY2(alert->informativeText().startsWith(why), qPrintable(file + ": " + alert->informativeText()));
            alert->close();
            QCOMPARE(r.design(), window);
            QCOMPARE(r.shell->designPath(), good);
            QVERIFY2(r.shell->graph().image() == picture, qPrintable(file));
            QCOMPARE(QByteArray::fromStdString(ks::WriteDesignDocument(ks::CaptureDesign(r.k))), before);
        }
        // Root may write anywhere it has permission to, so it is given /sys.
        QString locked = "/sys";
        if (::geteuid() != 0) {
            locked = r.dir.filePath("locked");
            QVERIFY(QDir().mkdir(locked));
            QVERIFY(QFile::setPermissions(locked, QFile::ReadOwner | QFile::ExeOwner));
        }
        for (const QString& target : {locked + "/a.kestrova", r.dir.filePath("folder.kestrova")}) {
            QVERIFY(!r.shell->SaveDesignTo(target));
            QMessageBox* alert = r.shell->designAlert();
            QVERIFY(alert);
            QVERIFY2(alert->text().contains(target), qPrintable(alert->text()));
            QVERIFY2(alert->informativeText() == (target.startsWith(locked)
                                                      ? "Permission denied."
                                                      : "It is a folder, not a regular file, and is left as it is."),
                     qPrintable(alert->informativeText()));
            alert->close();
            QCOMPARE(r.shell->designPath(), good);
            QVERIFY2(!QFileInfo(target).isFile(), qPrintable(target));
        }
        QVERIFY(QFileInfo(r.dir.filePath("folder.kestrova")).isDir());
    }

    // `kestrova FILE` opens the design, not the default window, fully on the screen though its
    // saved place lies partly off; a file handed over while a sound plays waits for its end.
    void fileAtStartAndHandedOverAfterTheSound()
    {
        ShellRig r;
        r.receive(kt::ClosedBoxRecord());
        const QString first = r.dir.filePath("first.kestrova"), second = r.dir.filePath("second.kestrova");
        QVERIFY(r.shell->SaveDesignTo(first));
        r.receive(kt::TweeterRecord());
        QVERIFY(r.shell->SaveDesignTo(second));

        ShellRig start;
        const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
        const int left = screen.right() - 100, top = screen.top() + 100;  // 100 points left of the right edge
        start.settings->setValue("BoundsCheck", 1);
        start.settings->setValue("Bounds",
                                 QString(" %1, %2, %3, %4").arg(top).arg(left).arg(top + 560).arg(left + 540));
        start.shell->Start();
        start.shell->OpenDesignAtStart(first);
        QTRY_COMPARE(start.shell->designPath(), first);
        QCOMPARE(Up(start), QString("design"));
        QVERIFY(screen.contains(start.design()->frameGeometry()));
        QCOMPARE(start.design()->content()->mapToGlobal(QPoint(0, 0)).y(), top);
        QVERIFY(!start.shell->startUpTimerActive());

        start.k.prefs.CopySoundCheck = 1;
        start.sound.whilePlaying = [&] {
            start.shell->OpenHandedDesign(second);
            QCOMPARE(start.shell->designPath(), first);
        };
        start.shell->Command(kResponse, 12);
        QTRY_COMPARE(start.shell->designPath(), second);
        QCOMPARE(start.k.d.s_SP.str(), std::string("Tw-25"));
    }
};

QTEST_MAIN(ShellTest)
#include "shell_test.moc"
