// Faults a user met with the menus, the small windows, the box entries, the
// snapshot, the page setup and the sounds, driven through the real shell.
#include <QAction>
#include <QClipboard>
#include <QEventLoop>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QTest>
#include <QTimer>

#include "app/qt/default_window.h"
#include "app/qt/design_window.h"
#include "graphs/qt/image_canvas.h"
#include "common/shell_rig.h"

using namespace ks::menu;
using kt::ShellRig;

class ShellFaultTest : public QObject {
    Q_OBJECT
private slots:
    void preferencesStayReachableWhatEverTheEditMenuDoes()
    {
        ShellRig r;
        r.receive(kt::ClosedBoxRecord());
        r.shell->Command(kAlignment, 2);
        r.shell->Command(kAlignment, 1);  // Optimum turns the Edit items off
        QVERIFY(!r.menus().menuEnabled(kEdit) && !r.menus().itemEnabled(kEdit, 5));
        QVERIFY(r.menus().menu(kEdit)->menuAction()->isEnabled() && r.menus().itemEnabled(kApp, 4));
        QVERIFY(QTest::qWaitForWindowActive(r.design()));
        QTest::keyClick(r.design(), Qt::Key_Comma, Qt::ControlModifier);
        QVERIFY(r.shell->preferencesWindow());
    }

    // The default window carries the closed menus, Preferences reachable,
    // its listing's size kept below the bar. Escape and the window manager's
    // close are Quit (at once, nothing sent or saved); Ctrl+Q is the quit
    // sequence wherever the focus is.
    void defaultWindowCarriesTheClosedMenusAndQuits()
    {
        for (const std::string way : {"ctrl+comma", "close", "escape", "ctrl+q"}) {
            ShellRig r;
            r.shell->Start();
            r.shell->CarbonTimerAction();
            ks::DefaultParamWindow* w = r.shell->defaultWindow();
            auto* bar = w ? w->findChild<QMenuBar*>() : nullptr;
            QVERIFY(bar && bar->actions().size() == 8 && QTest::qWaitForWindowActive(w));
            for (int index : {1, 2, 4, kQuitItem}) QVERIFY(r.menus().itemEnabled(kApp, index));
            QVERIFY(!r.menus().menuEnabled(kResponse) && r.menus().menuEnabled(kHelp));
            QCOMPARE(w->content()->size(), QSize(270, 355));
            QCOMPARE(w->content()->mapTo(w, QPoint(0, 0)).y(), bar->height());
            if (way == "ctrl+comma") {
                QTest::keyClick(w, Qt::Key_Comma, Qt::ControlModifier);
                QVERIFY(r.shell->preferencesWindow() && r.platform.exits.empty());
                continue;
            }
            if (way == "close") w->close();
            else if (way == "escape") QTest::keyClick(w, Qt::Key_Escape);
            else QTest::keyClick(w, Qt::Key_Q, Qt::ControlModifier);
            QCOMPARE(r.platform.exits, std::vector<int>{0});
            const bool sequence = way == "ctrl+q";
            QCOMPARE(r.messenger.texts().back() == "QuitVtrl", sequence);
            QCOMPARE(QFile::exists(r.settingsPath), sequence);
        }
    }

    void savedPlacePartlyOffTheScreenComesFullyOn()
    {
        ShellRig r;
        const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
        // The content's top left 100 points left of the screen's right edge.
        const int left = screen.right() - 100, top = screen.top() + 100;
        r.settings->setValue("BoundsCheck", 1);
        r.settings->setValue("Bounds", QString(" %1, %2, %3, %4").arg(top).arg(left).arg(top + 560).arg(left + 540));
        r.shell->Start();
        r.receive(kt::ClosedBoxRecord());
        QVERIFY(screen.contains(r.design()->frameGeometry()));
        QCOMPARE(r.design()->content()->mapToGlobal(QPoint(0, 0)).y(), top);
    }

    // The box entries refuse what is not a finite number above zero; Qa 5
    // with a large Qtc shows a real limit and takes the next entry.
    void entriesRefuseNonNumbersAndQa5HasARealLimit()
    {
        ShellRig r;
        r.receive(kt::ClosedBoxRecord());
        for (const auto& [alignment, id] : {std::pair{2, 311}, std::pair{3, 313}}) {
            r.shell->Command(kAlignment, alignment);
            const QString before = r.text(id);
            const QImage picture = r.shell->graph().image().copy();
            for (const char* typed : {"nan", "inf", "-inf", "1e40", "abc"}) {
                const int beeps = r.platform.beeps;
                r.enter(id, typed);
                QVERIFY(r.platform.beeps == beeps + 1 && r.text(id) == before && !r.design()->sheet());
                QCOMPARE(r.shell->graph().image(), picture);
            }
        }
        QVERIFY(ks::SelectQa(r.k.d, 1));
        r.enter(313, "6");
        QMessageBox* sheet = r.design()->sheet();
        QVERIFY2(sheet && !sheet->informativeText().contains("nan") && !sheet->informativeText().contains("inf"),
                 qPrintable(sheet ? sheet->informativeText() : "no sheet"));
        for (int id : {311, 312, 313})
            QVERIFY2(!r.text(id).contains("nan") && !r.text(id).contains("inf"), qPrintable(r.text(id)));
        sheet->button(QMessageBox::Ok)->click();
        QTRY_VERIFY(!r.design()->sheet());
        const int beeps = r.platform.beeps;
        r.enter(313, "0.8");
        QVERIFY(r.platform.beeps == beeps && r.text(313) == " 0.8");
    }

    // The snapshot is the content region below the menu bar. A message that
    // comes while a sound plays waits for its end: the record copied after
    // the click is the design's the user saw.
    void snapshotRegionAndMessagesWaitForTheSound()
    {
        ShellRig r;
        r.receive(kt::ClosedBoxRecord());
        for (const auto& [check, height] : {std::pair{0, 380}, std::pair{1, 560}}) {
            r.k.prefs.SnapRegionCheck = static_cast<std::int16_t>(check);
            QCOMPARE(r.shell->snapshot().CaptureDesignWindow().size(), QSize(540, height));
        }
        r.k.prefs.CopySoundCheck = 1;
        ks::DesignWindow* first = r.design();
        r.sound.whilePlaying = [&] {
            QTimer::singleShot(10, [&] { r.receive(kt::TweeterRecord()); });
            QEventLoop loop;
            QTimer::singleShot(150, &loop, &QEventLoop::quit);
            loop.exec();
            QCOMPARE(r.design(), first);
        };
        r.shell->Command(kResponse, 12);
        r.sound.whilePlaying = {};
        QVERIFY(QGuiApplication::clipboard()->text().contains("Mid-13W"));
        QTRY_VERIFY(r.k.d.s_SP.str() == "Tw-25");
    }
};

QTEST_MAIN(ShellFaultTest)
#include "shell_fault_test.moc"
