// The snapshot command through its save dialog, as a user goes through it.
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <QFileDialog>
#include <QMessageBox>
#include <QPainter>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>

#include "context/kestrova.h"
#include "reports/qt/snapshot.h"
#include "reports/snapshot_name.h"
#include "reports/sound.h"

using namespace ks;

namespace {

// A stand-in design window: 540 × 560, graph area red, edit region blue, so
// the captured picture shows which part it holds.
class FakeWindow : public QWidget {
public:
    FakeWindow() { setFixedSize(540, 560); }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter p(this);
        p.fillRect(0, 0, 540, 380, Qt::red);
        p.fillRect(0, 380, 540, 180, Qt::blue);
    }
};

struct Host : SheetWindow {
    FakeWindow window;
    int disabled = 0, restored = 0, quits = 0;
    QWidget* designWindow() override { return &window; }
    // Counts what the sheet reports.
    void watch(DesignSheet& s)
    {
        QObject::connect(&s, &DesignSheet::busy, [this] { ++disabled; });
        QObject::connect(&s, &DesignSheet::idle, [this] { ++restored; });
        QObject::connect(&s, &DesignSheet::quitRequested, [this] { ++quits; });
    }
};

struct CountingSound : SoundPlayer {
    QStringList played;
    int PlayMovieSoundFromSupportFilename(std::string_view name, std::string_view folder) override
    {
        played << QString::fromUtf8(name.data(), qsizetype(name.size())) + "@" +
                      QString::fromUtf8(folder.data(), qsizetype(folder.size()));
        return 0;
    }
};

}  // namespace

class SnapshotTest : public QObject {
    Q_OBJECT

    Kestrova k;
    Host host;
    CountingSound sound;
    QTemporaryDir dir;

    QString proposedName(Snapshot& s)
    {
        return s.saveDialog() ? s.saveDialog()->selectedFiles().value(0).section('/', -1) : QString();
    }

    void saveAs(Snapshot& s, const QString& path)
    {
        QFileDialog* dlg = s.saveDialog();
        QVERIFY(dlg);
        dlg->selectFile(path);
        QMetaObject::invokeMethod(dlg, "accept", Qt::DirectConnection);
    }

private slots:
    void init()
    {
        k = Kestrova{};
        k.d.s_SP = "Test2.5-07";
        k.d.s_Resp = "amp";
        host.disabled = host.restored = host.quits = 0;
        sound.played.clear();
        host.window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&host.window));
    }

    void proposedNamesCountUpAndReuseACancelledNumber()
    {
        Snapshot s(k, sound, host);
        host.watch(s);
        s.SnapShot();
        QCOMPARE(proposedName(s), QString("Test2.5-07_Amplitude_1.png"));
        QCOMPARE(s.saveDialog()->windowModality(), Qt::WindowModal);
        QCOMPARE(s.saveDialog()->windowTitle(), QString("Save This Png File As..."));
        QCOMPARE(host.disabled, 1);
        saveAs(s, dir.filePath("one.png"));
        QCOMPARE(host.restored, 1);
        QVERIFY(QFile::exists(dir.filePath("one.png")));

        s.SnapShot();
        QCOMPARE(proposedName(s), QString("Test2.5-07_Amplitude_2.png"));
        s.saveDialog()->reject();
        QCOMPARE(k.sh.SnapNum, 1);
        QCOMPARE(host.restored, 2);

        k.d.s_Resp = "gd";
        s.SnapShot();
        QCOMPARE(proposedName(s), QString("Test2.5-07_Group Delay_2.png"));
        s.saveDialog()->reject();
    }

    void imageHeightFollowsTheEditRegionPreference()
    {
        Snapshot s(k, sound, host);
        host.watch(s);
        k.prefs.SnapRegionCheck = 0;
        s.SnapShot();
        saveAs(s, dir.filePath("graph.png"));
        QImage graph(dir.filePath("graph.png"));
        QCOMPARE(graph.height() / graph.devicePixelRatio(), 380.0);
        QCOMPARE(graph.width() / graph.devicePixelRatio(), 540.0);
        QCOMPARE(graph.pixelColor(10, graph.height() - 2), QColor(Qt::red));

        k.prefs.SnapRegionCheck = 1;
        s.SnapShot();
        saveAs(s, dir.filePath("whole.png"));
        QImage whole(dir.filePath("whole.png"));
        QCOMPARE(whole.height() / whole.devicePixelRatio(), 560.0);
        QCOMPARE(whole.pixelColor(10, whole.height() - 2), QColor(Qt::blue));
    }

    void shutterSoundOnlyWhenAsked()
    {
        Snapshot s(k, sound, host);
        host.watch(s);
        k.prefs.SnapSoundCheck = 1;
        s.SnapShot();
        QCOMPARE(sound.played, QStringList{"Shutter.aif@Images"});
        s.saveDialog()->reject();
        k.prefs.SnapSoundCheck = 0;
        s.SnapShot();
        QCOMPARE(sound.played.size(), 1);
        s.saveDialog()->reject();
    }

    void failedWriteShowsTheAlertAndLeavesNoFile()
    {
        // Nothing can create files in /proc, not even root.
        Snapshot s(k, sound, host);
        host.watch(s);
        s.SnapShot();
        saveAs(s, "/proc/kestrova-snapshot.png");
        QVERIFY(s.failureAlert());
        QCOMPARE(s.failureAlert()->text(), QString("SaveImageFile failed"));
        // With the system's reason, the one creating a file there gives.
        errno = 0;
        QCOMPARE(::open("/proc/kestrova-probe", O_WRONLY | O_CREAT, 0600), -1);
        QCOMPARE(s.failureAlert()->informativeText(), QString::fromLocal8Bit(std::strerror(errno)));
        QVERIFY(!QFile::exists("/proc/kestrova-snapshot.png"));
        QCOMPARE(host.restored, 0);  // the alert is still up
        QPushButton* cont = nullptr;
        for (QAbstractButton* b : s.failureAlert()->buttons())
            if (b->text() == "Continue") cont = qobject_cast<QPushButton*>(b);
        QVERIFY(cont);
        cont->click();
        QCOMPARE(host.restored, 1);
        QCOMPARE(host.quits, 0);

        // The same failure, and the user stops the program.
        s.SnapShot();
        saveAs(s, "/proc/kestrova-snapshot.png");
        QVERIFY(s.failureAlert());
        for (QAbstractButton* b : s.failureAlert()->buttons())
            if (b->text() == "Quit") b->click();
        QCOMPARE(host.quits, 1);
    }

    void writtenFileIsAValidPngOrNothing()
    {
        QVERIFY(!WritePngFile(QImage(), dir.filePath("null.png")).isEmpty());
        QVERIFY(!QFile::exists(dir.filePath("null.png")));
        QImage img(4, 3, QImage::Format_RGB32);
        img.fill(Qt::green);
        QCOMPARE(WritePngFile(img, dir.filePath("ok.png")), QString());
        QCOMPARE(QImage(dir.filePath("ok.png")).size(), QSize(4, 3));
    }

    void namesFileSystemsCannotHold()
    {
        // Proposed through the dialog: a plain file name, in UTF-8.
        k.d.s_SP = "Dome\xA5/1";  // Mac Roman bullet
        Snapshot s(k, sound, host);
        host.watch(s);
        s.SnapShot();
        QCOMPARE(proposedName(s), QString::fromUtf8("Dome\u2022-1_Amplitude_1.png"));
        s.saveDialog()->reject();
    }
};

QTEST_MAIN(SnapshotTest)
#include "snapshot_test.moc"
