// The update check as the shell runs it: the menu command and the check on
// the companion's first driver record, against a local HTTP server.
#include <QPushButton>
#include <QTest>

#include "common/http_server.h"
#include "common/shell_rig.h"
#include "update/qt/update_check.h"
#include "context/update_state.h"

using namespace ks::menu;
using kt::ShellRig;

class ShellUpdateTest : public QObject {
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

    void menuCommandShowsTheWindowWithBusyMenus()
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

QTEST_MAIN(ShellUpdateTest)
#include "shell_update_test.moc"
