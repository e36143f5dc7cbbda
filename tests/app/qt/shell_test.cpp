// The program as a user drives it, checked for its wiring: the values shown
// are the toolkit-free suites' to pin.
#include <functional>

#include <QClipboard>
#include <QComboBox>
#include <QFile>
#include <QFileDialog>
#include <QMessageBox>
#include <QPushButton>
#include <QCheckBox>
#include <QDir>
#include <QScreen>
#include <QTest>

#include "app/qt/design_window.h"
#include "graphs/qt/image_canvas.h"
#include "common/shell_rig.h"
#include "support/qt/qt_text.h"

using namespace ks::menu;
using kt::ShellRig;

namespace {

// Pixels of the orange response curve in the graph area.
int OrangePixels(const QImage& img)
{
    int n = 0;
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x) {
            const QColor c = img.pixelColor(x, y);
            if (c.red() > 230 && c.green() > 100 && c.green() < 170 && c.blue() < 60) ++n;
        }
    return n;
}

QPoint ContentOrigin(ks::DesignWindow* w) { return w->content()->mapToGlobal(QPoint(0, 0)); }

// Counts the paint events a widget gets.
class PaintCounter final : public QObject {
public:
    explicit PaintCounter(QWidget* w) { w->installEventFilter(this); }
    int paints = 0;

protected:
    bool eventFilter(QObject*, QEvent* e) override
    {
        if (e->type() == QEvent::Paint) ++paints;
        return false;
    }
};

QByteArray FileBytes(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

}  // namespace

class ShellTest : public QObject {
    Q_OBJECT
private slots:
    void startsAloneWithTheDefaultWindowOnce()
    {
        ShellRig r;
        r.shell->Start();
        QCOMPARE(r.messenger.texts(), std::vector<std::string>{"BootedVtrlFromKstv"});
        QCOMPARE(r.messenger.sent[0].to, std::string("Vantrel"));
        QCOMPARE(r.messenger.sent[0].cls, std::string("Vtrl"));
        QVERIFY(!r.design());
        QVERIFY(!r.shell->defaultWindow());
        // Closed-menu state at launch: no File menu until a design has been closed.
        QVERIFY(!r.menus().menuEnabled(kFile));
        QVERIFY(!r.menus().menuEnabled(kResponse));
        QVERIFY(r.menus().itemEnabled(kApp, kQuitItem));

        QTRY_VERIFY_WITH_TIMEOUT(r.shell->defaultWindow() != nullptr, 5000);
        QVERIFY(r.shell->defaultWindow()->isVisible());
        QCOMPARE(r.shell->defaultWindow()->windowTitle(), QString("Kestrova Default Parameters"));
        QCOMPARE(r.k.sh.ClickOpenFlag, 1);
        // The timer acts once.
        auto* first = r.shell->defaultWindow();
        r.shell->CarbonTimerAction();
        QCOMPARE(r.shell->defaultWindow(), first);

        auto* ok = first->findChild<QPushButton*>("5");
        QVERIFY(ok);
        QTest::mouseClick(ok, Qt::LeftButton);
        QTRY_VERIFY(!r.shell->defaultWindow());
        QVERIFY(r.design() && r.design()->isVisible());
        QVERIFY(r.k.d.s_Resp == "amp");
        // The default driver has no Vas: a rear-closed unit, box fields "N/A".
        QCOMPARE(r.k.d.boxSys, 3);
        for (int id : {311, 312, 313}) QCOMPARE(r.text(id), QString("N/A"));
        QVERIFY(!r.design()->control(102)->isEnabled());
        QVERIFY(OrangePixels(r.shell->graph().image()) > 100);
        QCOMPARE(r.text(301), QString("Test2.5-07"));
        QVERIFY(r.platform.exits.empty());
    }

    void closedBoxDriverShowsTheOptimumBox()
    {
        ShellRig r;
        r.shell->Start();
        r.receive(kt::ClosedBoxRecord());
        QCOMPARE(r.k.d.boxSys, 1);
        QCOMPARE(r.k.d.alin, 1);
        QCOMPARE(r.text(311), QString(" 2.8"));  // the box computed shows

        // A new view reaches the screen, not only the retained image.
        QWidget* area = r.design()->content()->findChild<QWidget*>("graph");
        QVERIFY(area);
        QVERIFY(QTest::qWaitForWindowExposed(r.design()));
        PaintCounter counter(area);
        r.shell->Command(kResponse, 8);
        QTRY_VERIFY(counter.paints > 0);
        const int afterView = counter.paints;
        r.shell->Command(kResponse, 1);
        QTRY_VERIFY(counter.paints > afterView);
        // Optimum: no entry is editable and Calc. is off.
        QVERIFY(!r.field(311)->isEnabled());
        QVERIFY(!r.field(313)->isEnabled());
        QVERIFY(!r.design()->control(1)->isEnabled());
        QVERIFY(r.design()->control(102)->isEnabled());
        QVERIFY(r.menus().marked(kMisc, 1));
        QVERIFY(!r.menus().marked(kMisc, 2));
        QVERIFY(r.design()->control(13)->isEnabled());  // reached by the companion
    }

    void boxVolumeEntryRejectsTextAndAcceptsANumber()
    {
        ShellRig r;
        r.receive(kt::ClosedBoxRecord());
        const QImage before = r.shell->graph().image().copy();
        r.shell->Command(kAlignment, 2);
        QVERIFY(r.field(311)->isEnabled());
        QVERIFY(!r.field(313)->isEnabled());
        QVERIFY(r.design()->control(1)->isEnabled());
        QCOMPARE(r.k.sh.edtFldID, 311);
        QVERIFY(r.menus().menuEnabled(kEdit));
        QVERIFY(r.menus().marked(kAlignment, 2) && !r.menus().marked(kAlignment, 1));
        // Choosing the mode recalculates nothing.
        QCOMPARE(r.shell->graph().image(), before);

        r.enter(311, "abc");
        QCOMPARE(r.platform.beeps, 1);
        QCOMPARE(r.text(311), QString(" 2.8"));
        QVERIFY(!r.design()->sheet());
        QCOMPARE(r.shell->graph().image(), before);

        r.enter(311, "20");
        QCOMPARE(r.platform.beeps, 1);
        QCOMPARE(r.k.d.VB, 20.0f);
        QCOMPARE(r.text(311), QString(" 20"));
        QVERIFY(r.text(313) != QString(" 0.707"));
        QVERIFY(r.shell->graph().image() != before);
    }

    void tooSmallQtcShowsTheSheetOnceThenNoMore()
    {
        ShellRig r;
        r.receive(kt::ClosedBoxRecord());
        r.shell->Command(kAlignment, 3);
        QCOMPARE(r.k.sh.edtFldID, 313);
        r.enter(313, "0.3");
        QMessageBox* sheet = r.design()->sheet();
        QVERIFY(sheet);
        QVERIFY(sheet->isVisible());
        QCOMPARE(sheet->windowModality(), Qt::WindowModal);
        QCOMPARE(sheet->text(), QString("ALERT!   Impossible alignment.  Qtc is too small."));
        QCOMPARE(sheet->informativeText(), QString("Enter larger Qtc.  ( Possible Qtc >=  0.382 )"));
        QCOMPARE(r.text(313), QString(" 0.382"));
        QCOMPARE(r.k.d.CBAlart, 1);
        sheet->button(QMessageBox::Ok)->click();
        QTRY_VERIFY(!r.design()->sheet());

        r.enter(313, "0.8");
        QVERIFY(!r.design()->sheet());
        QCOMPARE(r.text(313), QString(" 0.8"));
        QCOMPARE(r.platform.beeps, 0);
    }

    void infiniteBaffleShowsNotApplicable()
    {
        ShellRig r;
        r.receive(kt::ClosedBoxRecord());
        r.shell->Command(kMisc, 2);
        QCOMPARE(r.k.d.boxSys, 2);
        for (int id : {311, 312, 313}) QCOMPARE(r.text(id), QString("N/A"));
        QVERIFY(!r.design()->control(102)->isEnabled());
        QVERIFY(r.menus().marked(kMisc, 2) && !r.menus().marked(kMisc, 1));
        QVERIFY(!r.menus().menuEnabled(kAlignment));
        // Return still validates, and the fields keep "N/A".
        QTest::keyClick(r.design(), Qt::Key_Return);
        QCOMPARE(r.platform.beeps, 0);
        QCOMPARE(r.text(311), QString("N/A"));

        r.shell->Command(kMisc, 1);
        QCOMPARE(r.k.d.boxSys, 1);
        QVERIFY(r.design()->control(102)->isEnabled());
        QCOMPARE(r.text(311), QString(" 2.8"));
        QVERIFY(r.menus().menuEnabled(kAlignment));
    }

    void menuStatesFollowTheDesign()
    {
        ShellRig r;
        r.shell->Start();
        r.receive(kt::ClosedBoxRecord());
        ks::Menus& m = r.menus();
        // Open-menu state.
        QVERIFY(!m.itemEnabled(kFile, 1));
        for (int i : {2, 4, 5, 7}) QVERIFY(m.itemEnabled(kFile, i));
        QVERIFY(m.itemEnabled(kEdit, 5));
        for (int i : {1, 2, 4, 6, 7, 8}) QVERIFY(!m.itemEnabled(kEdit, i));
        for (int i : {1, 2, 3, 4, 5, 6, 8, 10, 12}) QVERIFY(m.itemEnabled(kResponse, i));
        QVERIFY(m.menuEnabled(kView) && m.menuEnabled(kAlignment));
        QVERIFY(m.itemEnabled(kMisc, 1) && m.itemEnabled(kMisc, 2) && m.itemEnabled(kMisc, 4));
        QVERIFY(m.marked(kResponse, 1) && m.marked(kAlignment, 1) && m.marked(kView, 1) && m.marked(kView, 4));
        // Commands carry no mark.
        QVERIFY(!m.item(kResponse, 10)->isCheckable() && !m.item(kResponse, 12)->isCheckable());
        QVERIFY(!m.item(kMisc, 4)->isCheckable() && m.item(kMisc, 1)->isCheckable());

        // Every view item reaches its view.
        for (int view : {2, 3, 4, 5, 6, 8, 1}) {
            r.shell->Command(kResponse, view);
            QCOMPARE(r.k.d.respID, view);
        }
        // A view other than amplitude: View off, one mark.
        r.shell->Command(kResponse, 3);
        QVERIFY(r.k.d.s_Resp == "ph");
        QVERIFY(!m.menuEnabled(kView));
        for (int i : {1, 2, 4, 5, 6, 8}) QCOMPARE(m.marked(kResponse, i), false);
        QVERIFY(m.marked(kResponse, 3));
        r.shell->Command(kResponse, 1);
        QVERIFY(m.menuEnabled(kView));

        // Busy state, while the preferences window is open.
        r.shell->Command(kApp, 4);
        QVERIFY(r.shell->preferencesWindow());
        for (int i : {1, 2, 4, kQuitItem}) QVERIFY(!m.itemEnabled(kApp, i));
        for (int id : {kFile, kResponse, kView, kAlignment, kMisc, kHelp}) QVERIFY(!m.menuEnabled(id));
        QVERIFY(m.menuEnabled(kEdit));
        QVERIFY(!m.itemEnabled(kResponse, 1));  // a disabled menu stops its keys too
        r.shell->PreferenceWndOKReturn();
        QVERIFY(!r.shell->preferencesWindow());
        QVERIFY(m.itemEnabled(kApp, kQuitItem));  // the user can quit again
        QVERIFY(m.itemEnabled(kFile, 5));

        // Closed-menu state after Close: New Box Design only, no system change.
        r.shell->Command(kFile, 2);
        QVERIFY(!r.design());
        QVERIFY(m.menuEnabled(kFile) && m.itemEnabled(kFile, 1));
        QVERIFY(!m.itemEnabled(kFile, 2) && !m.itemEnabled(kFile, 5) && !m.itemEnabled(kFile, 7));
        QVERIFY(!m.itemEnabled(kMisc, 1) && !m.itemEnabled(kMisc, 2));
        QVERIFY(!m.menuEnabled(kResponse));
        QVERIFY(r.shell->menuWindow() && r.shell->menuWindow()->isVisible());
        QCOMPARE(r.k.sh.RespWndCloseFlag, 1);
        QCOMPARE(r.k.sh.GPrintScale, 100.0);
        // Commands that need a design do nothing now.
        r.shell->Command(kMisc, 2);
        QCOMPARE(r.k.d.boxSys, 1);

        // New Box Design: hides the companion, same driver, fresh selectors.
        r.shell->Command(kFile, 1);
        QVERIFY(r.design());
        QCOMPARE(r.messenger.texts().back(), std::string("HideVtrl"));
        QVERIFY(!r.shell->menuWindow()->isVisible());
        QCOMPARE(r.text(311), QString(" 2.8"));
    }

    void impedanceNeedsResistanceAndMechanicalQ()
    {
        ShellRig r;
        // No Qms.
        r.receive(std::string(ks::MakeDriverRecord({.model = "NoRe", .range = "", .fs = 800, .qts = 0.6, .qes = 0.9, .re = 6}).view()));
        QVERIFY(!r.menus().itemEnabled(kResponse, 2));
        QVERIFY(r.menus().itemEnabled(kResponse, 3));
        r.shell->Command(kFile, 2);
        r.shell->Command(kFile, 1);
        QVERIFY(!r.menus().itemEnabled(kResponse, 2));
        // Without Vas: rear closed, Closed Box and Infinite Baffle unavailable.
        QCOMPARE(r.k.d.boxSys, 3);
        QVERIFY(!r.menus().itemEnabled(kMisc, 1) && !r.menus().itemEnabled(kMisc, 2));
    }

    void keyEquivalentsReachTheirItems()
    {
        ShellRig r;
        r.receive(kt::ClosedBoxRecord());
        ks::DesignWindow* w = r.design();
        w->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(w));
        const auto alin = [&] { return int(r.k.d.alin); };
        const auto scale = [&] { return int(r.k.d.scale); };
        const auto resp = [&] { return int(r.k.d.respID); };
        const auto box = [&] { return int(r.k.d.boxSys); };
        const struct {
            Qt::Key key;
            Qt::KeyboardModifiers mods;
            std::function<int()> got;
            int want;
        } keys[] = {
            {Qt::Key_2, Qt::ControlModifier, alin, 2},
            {Qt::Key_1, Qt::ControlModifier | Qt::ShiftModifier, scale, 10},
            {Qt::Key_1, Qt::ControlModifier, alin, 1},
            {Qt::Key_5, Qt::ControlModifier | Qt::ShiftModifier, scale, 5},
            {Qt::Key_K, Qt::ControlModifier, [&] { return int(r.k.d.magni); }, 2},
            {Qt::Key_P, Qt::ControlModifier | Qt::AltModifier, resp, 8},
            {Qt::Key_A, Qt::ControlModifier | Qt::AltModifier, resp, 1},
            {Qt::Key_I, Qt::ControlModifier, box, 2},
            {Qt::Key_L, Qt::ControlModifier, box, 1},
        };
        for (const auto& k : keys) {
            QTest::keyClick(w, k.key, k.mods);
            QCOMPARE(k.got(), k.want);
        }
        QTest::keyClick(w, Qt::Key_1, Qt::ControlModifier | Qt::ShiftModifier);  // the mark follows the key
        QVERIFY(r.menus().marked(kView, 5) && !r.menus().marked(kView, 4));
        // Ctrl+Q is the quit command.
        QTest::keyClick(w, Qt::Key_Q, Qt::ControlModifier);
        QCOMPARE(r.platform.exits, std::vector<int>{0});
        QCOMPARE(r.messenger.texts().back(), std::string("QuitVtrl"));
    }

    void qaPopupSetsQaAndShowsItWhenRebuilt()
    {
        ShellRig r;
        r.receive(kt::ClosedBoxRecord());
        auto* qa = r.design()->findChild<QComboBox*>("320");
        QVERIFY(qa);
        QCOMPARE(qa->count(), 5);
        QCOMPARE(qa->itemText(0), QString("      5"));
        QCOMPARE(qa->itemText(4), QString("    20"));
        QCOMPARE(qa->currentIndex(), 2);
        const QString vb10 = r.text(311);
        emit qa->activated(4);
        QCOMPARE(r.k.d.QA, 20.0f);
        QVERIFY(r.text(311) != vb10);
        r.shell->Command(kFile, 2);
        r.shell->Command(kFile, 1);
        QCOMPARE(r.design()->findChild<QComboBox*>("320")->currentIndex(), 4);
        QCOMPARE(r.k.d.QA, 20.0f);
    }

    void preferencesAreWrittenOnlyOnQuit()
    {
        ShellRig r;
        r.shell->Start();
        QTRY_VERIFY_WITH_TIMEOUT(r.shell->defaultWindow() != nullptr, 5000);
        QTest::mouseClick(r.shell->defaultWindow()->findChild<QPushButton*>("5"), Qt::LeftButton);
        QTRY_VERIFY(r.design());
        r.shell->Command(kApp, 4);
        auto* sound = r.shell->preferencesWindow()->findChild<QCheckBox*>("503");
        QVERIFY(sound && sound->isChecked());
        QTest::mouseClick(sound, Qt::LeftButton);
        QCOMPARE(r.k.prefs.SnapSoundCheck, 0);
        QTest::keyClick(r.shell->preferencesWindow(), Qt::Key_Return);
        QTRY_VERIFY(!r.shell->preferencesWindow());
        r.settings->sync();
        QVERIFY(!r.settings->contains("SnapSoundCheck"));

        r.shell->Command(kApp, kQuitItem);
        QCOMPARE(r.platform.exits, std::vector<int>{0});
        QCOMPARE(r.messenger.texts().back(), std::string("QuitVtrl"));
        QSettings back(r.settingsPath, QSettings::IniFormat);
        QCOMPARE(back.value("SnapSoundCheck").toInt(), 0);
        QCOMPARE(back.allKeys().size(), 9);
    }

    void defaultWindowQuitLeavesTheStoreAlone()
    {
        ShellRig r;
        r.settings->setValue("BoundsCheck", 0);
        r.settings->setValue("Bounds", " 10, 20, 570, 560");
        r.settings->sync();
        const QByteArray before = FileBytes(r.settingsPath);
        r.shell->Start();
        QCOMPARE(r.k.prefs.BoundsCheck, 0);
        QTRY_VERIFY_WITH_TIMEOUT(r.shell->defaultWindow() != nullptr, 5000);
        QTest::mouseClick(r.shell->defaultWindow()->findChild<QPushButton*>("6"), Qt::LeftButton);
        QCOMPARE(r.platform.exits, std::vector<int>{0});
        QCOMPARE(r.messenger.texts(), std::vector<std::string>{"BootedVtrlFromKstv"});
        QCOMPARE(FileBytes(r.settingsPath), before);
    }

    void windowOpensAtItsSavedPlace()
    {
        ShellRig r;
        r.settings->setValue("Bounds", " 100, 200, 660, 740");
        r.settings->sync();
        r.shell->Start();
        r.receive(kt::ClosedBoxRecord());
        QCOMPARE(ContentOrigin(r.design()), QPoint(200, 100));

        // Moved by the user: Bounds follows, and New Box Design reopens there.
        r.design()->move(r.design()->pos() + QPoint(30, 40));
        QTRY_COMPARE(r.k.prefs.Bounds.left, 230);
        QCOMPARE(r.k.prefs.Bounds.bottom, 700);
        QCOMPARE(r.k.sh.RePosiFlag, 1);
        r.shell->Command(kFile, 2);
        r.shell->Command(kFile, 1);
        QCOMPARE(ContentOrigin(r.design()), QPoint(230, 140));
    }

    void copyParametersPutsTheRecordOnTheClipboard()
    {
        ShellRig r;
        r.receive(kt::ClosedBoxRecord());
        QGuiApplication::clipboard()->setText("something else");
        QTest::mouseClick(r.design()->findChild<QPushButton*>("2"), Qt::LeftButton);
        const QString clip = QGuiApplication::clipboard()->text();
        QVERIFY(clip.startsWith("DUMMY%  Mid-13W  "));
        QCOMPARE(clip, ks::FromMacRoman(r.k.sh.ClipText.view()));
        QCOMPARE(r.sound.played, std::vector<std::string>{"Click.aif"});
        QCOMPARE(r.k.sh.copyFlag, 0);

        r.k.prefs.CopySoundCheck = 0;
        r.shell->Command(kAlignment, 3);
        r.enter(313, "0.9");
        r.shell->Command(kResponse, 12);
        QCOMPARE(r.sound.played.size(), std::size_t(1));
        QVERIFY(QGuiApplication::clipboard()->text().contains("  0.9  "));
    }

    void companionWordsAct()
    {
        ShellRig r;
        r.shell->Start();
        int launches = 0;
        r.platform.launch = [&launches] {
            ++launches;
            return true;
        };
        r.receive("YesBootedVtrl");
        QCOMPARE(r.messenger.texts().back(), std::string("SetMeDefaultVtrlFromKstv"));
        QCOMPARE(launches, 1);
        QVERIFY(r.k.sh.s_MasgMenu == "BootKstv");
        QVERIFY(r.menus().itemEnabled(kMisc, 4));
        r.receive("BootedKstvFromVtrlByFile");
        QCOMPARE(r.messenger.texts().back(), std::string("SetMeDefaultVtrlFromKstv"));

        r.receive(kt::ClosedBoxRecord());
        QVERIFY(r.design());
        r.receive("HideKstv");
        QVERIFY(!r.design());
        QVERIFY(!r.menus().menuEnabled(kResponse));
        QVERIFY(!r.shell->menuWindow() || !r.shell->menuWindow()->isVisible());

        r.receive("QuitKstv");
        QCOMPARE(r.platform.exits, std::vector<int>{0});
    }

    void speakerSelectHandsOverOrComesBack()
    {
        ShellRig r;
        r.receive(kt::ClosedBoxRecord());
        int launches = 0;
        r.platform.launch = [&launches] {
            ++launches;
            return true;
        };
        r.k.sh.GPrintScale = 50.0;
        QTest::mouseClick(r.design()->findChild<QWidget*>("13"), Qt::LeftButton);
        QVERIFY(!r.design());
        QCOMPARE(launches, 1);
        QCOMPARE(r.messenger.texts().back(), std::string("ShowVtrl"));
        QCOMPARE(r.k.sh.GPrintScale, 100.0);
        QVERIFY(!r.menus().menuEnabled(kFile));  // busy until the companion answers
        r.receive(kt::ClosedBoxRecord());
        QVERIFY(r.design());
        QVERIFY(r.menus().menuEnabled(kResponse));

        // Nobody to hand over to: the user gets the menus back.
        r.platform.launch = [] { return false; };
        r.messenger.receivers = 0;
        r.shell->Command(kMisc, 4);
        QVERIFY(!r.design());
        QVERIFY(r.menus().itemEnabled(kFile, 1));
        QVERIFY(r.shell->menuWindow() && r.shell->menuWindow()->isVisible());
    }

    void snapshotAndPrintRunAsSheetsWithBusyMenus()
    {
        ShellRig r;
        r.receive(kt::ClosedBoxRecord());
        r.shell->Command(kResponse, 10);
        QFileDialog* dlg = r.shell->snapshot().saveDialog();
        QVERIFY(dlg);
        QCOMPARE(dlg->parentWidget(), r.design());
        QVERIFY(!r.menus().menuEnabled(kFile));
        dlg->reject();
        QTRY_VERIFY(r.menus().menuEnabled(kFile));
        QCOMPARE(r.k.sh.SnapNum, 0);

        r.shell->Command(kFile, 5);
        QVERIFY(r.shell->printing().printDialog());
        QCOMPARE(r.shell->printing().printDialog()->windowModality(), Qt::WindowModal);
        QVERIFY(!r.menus().menuEnabled(kResponse));
        r.shell->printing().printDialog()->reject();
        QTRY_VERIFY(r.menus().menuEnabled(kResponse));
        QVERIFY(r.menus().itemEnabled(kApp, kQuitItem));
    }

    void exportResponseDataWritesTheChosenTypeOrSaysWhyNot()
    {
        ShellRig r;
        r.receive(kt::ClosedBoxRecord());
        ks::Menus& m = r.menus();
        QCOMPARE(m.item(kFile, 7)->text(), QString("Export Response Data..."));
        ks::DesignWindow* w = r.design();
        w->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(w));
        QTest::keyClick(w, Qt::Key_E, Qt::ControlModifier);
        ks::ResponseExport& ex = r.shell->responseExport();
        QFileDialog* dlg = ex.saveDialog();
        QVERIFY(dlg);
        QCOMPARE(dlg->windowModality(), Qt::WindowModal);
        QCOMPARE(dlg->selectedFiles().value(0).section('/', -1), QString("Mid-13W.frd"));
        QVERIFY(!m.menuEnabled(kFile));

        // The file type chooses the format; the folder is offered again.
        const QString zma = r.dir.filePath("mid.zma");
        dlg->selectNameFilter("Impedance (*.zma)");
        dlg->selectFile(zma);
        QMetaObject::invokeMethod(dlg, "accept", Qt::DirectConnection);
        QTRY_VERIFY(m.menuEnabled(kFile));
        const QByteArray bytes = FileBytes(zma);
        QVERIFY2(bytes.startsWith("* Kestrova " KESTROVA_VERSION ": modelled electrical impedance\n"), bytes.left(80));
        QVERIFY(bytes.contains("\n* Driver: Mid-13W\n* System: closed box\n"));

        r.shell->Command(kFile, 7);
        dlg = ex.saveDialog();
        QVERIFY(dlg);
        QCOMPARE(dlg->directory().absolutePath(), QDir(r.dir.path()).absolutePath());
        // Nothing can create files in /proc, not even root.
        dlg->selectFile("/proc/kestrova-export.frd");
        QMetaObject::invokeMethod(dlg, "accept", Qt::DirectConnection);
        QMessageBox* alert = ex.failureAlert();
        QVERIFY(alert);
        QVERIFY2(alert->text().contains("\"/proc/kestrova-export.frd\""), qPrintable(alert->text()));
        QVERIFY(!alert->informativeText().isEmpty());
        QVERIFY(!QFile::exists("/proc/kestrova-export.frd"));
        QVERIFY(!m.menuEnabled(kFile));
        alert->accept();
        QTRY_VERIFY(m.menuEnabled(kFile) && m.itemEnabled(kFile, 7));
    }

    void smallCommands()
    {
        ShellRig r;
        r.shell->Command(kHelp, 1);
        auto* help = qobject_cast<QMessageBox*>(r.shell->helpAlert());
        QVERIFY(help);
        QCOMPARE(help->text(), QString("Help isn't available for Kestrova."));

        r.shell->Command(kApp, 1);
        auto* about = qobject_cast<QMessageBox*>(r.shell->aboutBox());
        QVERIFY(about);
        QCOMPARE(about->text(), QString("Kestrova"));
        QVERIFY(about->informativeText().contains("Version " KESTROVA_VERSION));

        r.shell->Command(kHelp, 4);
        r.shell->Command(kHelp, 5);
        r.shell->Command(kHelp, 2);
        QCOMPARE(r.platform.opened.size(), std::size_t(3));
        QCOMPARE(r.platform.opened[0], QUrl(KESTROVA_WEB_SITE));
        QCOMPARE(r.platform.opened[1], QUrl("mailto:" KESTROVA_CONTACT_MAIL));
        QVERIFY(r.platform.opened[2].toLocalFile().endsWith("/Images/Kestrova_Release_Notes.pdf"));
        QVERIFY(QFile::exists(r.platform.opened[2].toLocalFile()));
        QCOMPARE(r.shell->CreateURLFromBundleResourceAndLaunch("Missing.pdf", "Images"), -50);
        QCOMPARE(r.shell->CreateURLFromBundleResourceAndLaunch("../x", "Images"), -50);
        QCOMPARE(r.shell->LSLaunchURL(""), -50);
        QCOMPARE(r.platform.opened.size(), std::size_t(3));
    }

    void closingTheMenuWindowQuits()
    {
        ShellRig r;
        r.receive(kt::ClosedBoxRecord());
        r.design()->close();  // the close box runs the close sequence
        QVERIFY(!r.design());
        QVERIFY(r.shell->menuWindow()->isVisible());
        QVERIFY(r.platform.exits.empty());
        r.shell->menuWindow()->close();
        QCOMPARE(r.platform.exits, std::vector<int>{0});
        QCOMPARE(r.messenger.texts().back(), std::string("QuitVtrl"));
    }
};

QTEST_MAIN(ShellTest)
#include "shell_test.moc"
