// The snapshot and print commands through their sheets, as a user goes
// through them: the page drawn into a PDF and read back with pdftotext, the
// picture saved through the save dialog, and what each does to the window.
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <QFileDialog>
#include <QMessageBox>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

#include "context/kestrova.h"
#include "model/response.h"
#include "reports/print_job.h"
#include "reports/qt/printing.h"
#include "reports/qt/snapshot.h"
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

// Counts what the sheets report.
struct Host : SheetWindow {
    FakeWindow window;
    bool hasWindow = true;
    int disabled = 0, restored = 0, beeps = 0, quits = 0;
    QWidget* designWindow() override { return hasWindow ? &window : nullptr; }
    void watch(DesignSheet& s)
    {
        QObject::connect(&s, &DesignSheet::busy, [this] { ++disabled; });
        QObject::connect(&s, &DesignSheet::idle, [this] { ++restored; });
        QObject::connect(&s, &DesignSheet::beepRequested, [this] { ++beeps; });
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

DateStamp FixedDate() { return DateStamp{2026, 12, 5, 14, 30, 0}; }

}  // namespace

class SheetsTest : public QObject {
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

    QMessageBox* failedSave(Snapshot& s)
    {
        s.SnapShot();
        saveAs(s, "/proc/kestrova-snapshot.png");  // nothing can create files in /proc, not even root
        return s.failureAlert();
    }

private slots:
    // The worked closed box as the set-up sequence leaves it.
    void init()
    {
        k = Kestrova{};
        k.d.s_SP2 = "Box 10";
        k.d.FS2 = 50.0f, k.d.VAS2 = 10.0f, k.d.QTS2 = 0.35f;
        ParameterPass(k.d);
        InitSetUpMenuParam(k.d);
        SPLcal(k.d);
        host.disabled = host.restored = host.beeps = host.quits = 0;
        host.hasWindow = true;
        sound.played.clear();
        host.window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&host.window));
    }

    void snapshotNamesCountUpAndReuseACancelledNumber()
    {
        k.prefs.SnapSoundCheck = 1;
        Snapshot s(k, sound, host);
        host.watch(s);
        s.SnapShot();
        QCOMPARE(proposedName(s), QString("Box 10_Amplitude_1.png"));
        QCOMPARE(s.saveDialog()->windowModality(), Qt::WindowModal);
        QCOMPARE(host.disabled, 1);
        saveAs(s, dir.filePath("one.png"));
        QCOMPARE(host.restored, 1);
        QVERIFY(QFile::exists(dir.filePath("one.png")));

        s.SnapShot();
        QCOMPARE(proposedName(s), QString("Box 10_Amplitude_2.png"));
        s.saveDialog()->reject();
        QCOMPARE(k.sh.SnapNum, 1);
        QCOMPARE(host.restored, 2);

        // The shutter only when asked; a name a file system cannot hold is
        // made plain, in UTF-8.
        QCOMPARE(sound.played, QStringList(2, "Shutter.aif@Images"));
        k.prefs.SnapSoundCheck = 0;
        k.d.s_Resp = "gd";
        k.d.s_SP = "Dome\xA5/1";  // Mac Roman bullet
        s.SnapShot();
        QCOMPARE(proposedName(s), QString::fromUtf8("Dome\u2022-1_Group Delay_2.png"));
        s.saveDialog()->reject();
        QCOMPARE(sound.played.size(), 2);
    }

    void snapshotHeightFollowsTheEditRegionPreference()
    {
        Snapshot s(k, sound, host);
        for (const auto& [region, height, bottom] : {std::tuple{0, 380.0, QColor(Qt::red)},
                                                     std::tuple{1, 560.0, QColor(Qt::blue)}}) {
            k.prefs.SnapRegionCheck = static_cast<i16>(region);
            s.SnapShot();
            const QString file = dir.filePath(QString("region%1.png").arg(region));
            saveAs(s, file);
            const QImage img(file);
            QCOMPARE(img.height() / img.devicePixelRatio(), height);
            QCOMPARE(img.width() / img.devicePixelRatio(), 540.0);
            QCOMPARE(img.pixelColor(10, img.height() - 2), bottom);
        }
    }

    // The alert names the system's reason; Continue goes on, Quit stops.
    void failedSnapshotWriteShowsTheReasonAndLeavesNoFile()
    {
        Snapshot s(k, sound, host);
        host.watch(s);
        QMessageBox* alert = failedSave(s);
        QVERIFY(alert);
        QCOMPARE(alert->text(), QString("SaveImageFile failed"));
        errno = 0;
        QCOMPARE(::open("/proc/kestrova-probe", O_WRONLY | O_CREAT, 0600), -1);
        QCOMPARE(alert->informativeText(), QString::fromLocal8Bit(std::strerror(errno)));
        QVERIFY(!QFile::exists("/proc/kestrova-snapshot.png"));
        QCOMPARE(host.restored, 0);  // the alert is still up
        for (const auto& [button, restored, quits] : {std::tuple{"Continue", 1, 0}, std::tuple{"Quit", 2, 1}}) {
            if (!alert) alert = failedSave(s);
            QVERIFY(alert);
            for (QAbstractButton* b : alert->buttons())
                if (b->text() == button) b->click();
            QCOMPARE(host.restored, restored);
            QCOMPARE(host.quits, quits);
            alert = nullptr;
        }
        QVERIFY(!WritePngFile(QImage(), dir.filePath("null.png")).isEmpty());
        QVERIFY(!QFile::exists(dir.filePath("null.png")));
    }

    void printedPageReachesTheDocument()
    {
        if (QStandardPaths::findExecutable("pdftotext").isEmpty()) QSKIP("pdftotext is missing");
        k.prefs.PrintDateCheck = 1;
        Printing printing(k, host);
        printing.clock = FixedDate;
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setPageSize(QPageSize(QPageSize::Letter));
        printer.setOutputFileName(dir.filePath("amp-box.pdf"));
        QVERIFY(printing.MyDoPrintLoop(printer));
        // The whole page, down to the date stamp, lies inside the printable area.
        const QRectF paint = printer.pageLayout().paintRect(QPageLayout::Point);
        QVERIFY(paint.top() >= 1.0 && printing.pageScale() * 780.0 <= paint.height() + 1e-9);
        QProcess p;
        p.start("pdftotext", {"-layout", printer.outputFileName(), "-"});
        QVERIFY(p.waitForFinished(30000));
        // The page (pinned as a display list in graphs/golden) reaches the
        // document: the graph, the list and the stamp.
        const QString text = QString::fromUtf8(p.readAllStandardOutput()).simplified();
        QVERIFY2(text.contains("Amplitude") && text.contains("Closed Box Parameters"), qPrintable(text));
        QVERIFY(text.contains("Kestrova Box 10 Dec/05/2026 14:30:00"));
    }

    void noDesignWindowBeeps()
    {
        host.hasWindow = false;
        Printing printing(k, host);
        host.watch(printing);
        printing.MyDoPrint();
        printing.MyDoPageSetup();
        QCOMPARE(host.beeps, 2);
        QCOMPARE(host.disabled, 0);
        QVERIFY(!printing.printDialog());
    }

    // Paper, orientation and scale chosen in the sheet stay with the window
    // and reach the next sheet and the window-modal print dialog.
    void pageSetupKeepsOrientationAndScaleForThePrint()
    {
        Printing printing(k, host);
        host.watch(printing);
        printing.MyDoPageSetup();
        PageSetupSheet* sheet = printing.pageSetupDialog();
        QVERIFY(sheet);
        QCOMPARE(sheet->windowModality(), Qt::WindowModal);
        QCOMPARE(sheet->findChild<QSpinBox*>("scale")->maximum(), 1000);
        sheet->findChild<QRadioButton*>("landscape")->setChecked(true);
        sheet->findChild<QSpinBox*>("scale")->setValue(50);
        sheet->accept();
        QCOMPARE(host.restored, 1);
        QCOMPARE(k.sh.GPrintScale, 50.0);

        printing.MyDoPageSetup();
        sheet = printing.pageSetupDialog();
        QVERIFY(sheet->findChild<QRadioButton*>("landscape")->isChecked());
        QCOMPARE(sheet->findChild<QSpinBox*>("scale")->value(), 50);
        sheet->reject();
        QCOMPARE(k.sh.GPrintScale, 50.0);

        printing.MyDoPrint();
        QPrintDialog* dlg = printing.printDialog();
        QVERIFY(dlg);
        QCOMPARE(dlg->windowModality(), Qt::WindowModal);
        QCOMPARE(host.disabled, 3);
        QCOMPARE(printing.printer()->docName(), QString("Box 10 Amplitude"));
        QCOMPARE(printing.printer()->fromPage(), 1);
        QCOMPARE(printing.printer()->toPage(), 1);
        QCOMPARE(printing.printer()->pageLayout().orientation(), QPageLayout::Landscape);
        dlg->reject();
        QCOMPARE(host.restored, 3);
        QVERIFY(!printing.printDialog());
    }
};

QTEST_MAIN(SheetsTest)
#include "sheets_test.moc"
