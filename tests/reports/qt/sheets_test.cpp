// SPDX-License-Identifier: GPL-3.0-or-later
// The snapshot, export and print sheets as a user goes through them and what
// each tells the window; the sounds, with and without an output or a module.
#include <unistd.h>

#include <QtPrintSupport>
#include <QtTest>
#include <QtWidgets>
#include <cerrno>
#include <cstring>

#include "common/drivers.h"
#include "common/files.h"
#include "reports/qt/printing.h"
#include "reports/qt/response_export.h"
#include "reports/qt/snapshot.h"
#include "sound/player/sound_player.h"
#include "sound/qt/module_sound.h"
#include "sound/sound.h"
#include "support/qt/file_dialogs.h"

using namespace ks;

// A design window (graph area red) counting what the sheets report and the sounds played.
struct Host : QWidget, SheetWindow, SoundPlayer {
    bool hasWindow = true;
    int busy = 0, idle = 0, beeps = 0, quits = 0;
    std::vector<std::string> played;
    Host() { setFixedSize(540, 560); }
    QWidget* designWindow() override { return hasWindow ? this : nullptr; }
    void paintEvent(QPaintEvent*) override
    {
        QPainter p(this);
        p.fillRect(0, 0, 540, 380, Qt::red);
        p.fillRect(0, 380, 540, 180, Qt::blue);
    }
    int PlayMovieSoundFromSupportFilename(std::string_view name, std::string_view folder) override
    {
        return played.push_back(std::string(name) + "@" + std::string(folder)), 0;
    }
    void watch(DesignSheet& s)
    {
        QObject::connect(&s, &DesignSheet::busy, [this] { ++busy; });
        QObject::connect(&s, &DesignSheet::idle, [this] { ++idle; });
        QObject::connect(&s, &DesignSheet::beepRequested, [this] { ++beeps; });
        QObject::connect(&s, &DesignSheet::quitRequested, [this] { ++quits; });
    }
};

class SheetsTest : public QObject {
    Q_OBJECT

    Kestrova k;
    Host host;
    QTemporaryDir dir;

    QString proposedName(Snapshot& s) { return s.saveDialog()->selectedFiles().value(0).section('/', -1); }

    void saveAs(QFileDialog* d, const QString& path)
    {
        QVERIFY(d);
        d->selectFile(path);
        QMetaObject::invokeMethod(d, "accept", Qt::DirectConnection);
    }

private slots:
    // Without an audio server the first sound (the first query for an output) is silent and
    // says nothing; what a query prints is passed on when it finds what it asked for.
    void noAudioServerNoSoundAndNoMessage()
    {
        qputenv("PULSE_SERVER", "unix:/nonexistent/kestrova-test/native");
        QTest::failOnWarning(QRegularExpression("."));
        MediaSoundPlayer player(QStringLiteral(KESTROVA_SUPPORT_ROOT));
        for (int i = 0; i < 2; ++i) QCOMPARE(player.PlayMovieSoundFromSupportFilename("Click.aif", "Images"), 0);
        QCOMPARE(player.playedCount(), 0);
        QVERIFY(!QueryHoldingMessages([] { return qWarning("no output"), false; }));
        QTest::ignoreMessage(QtWarningMsg, "kept");
        QVERIFY(QueryHoldingMessages([] { return qWarning("kept"), true; }));
    }

    // A resource decodes; one missing (named once) or undecodable is -43 or silence, and the program goes on.
    void resourcesFoundOrSilent()
    {
        MediaSoundPlayer real(QStringLiteral(KESTROVA_SUPPORT_ROOT));
        QString path;
        QCOMPARE(real.FSSpecFromSupportFileName("Click.aif", "Images", path), 0);
        DecodedSound s;
        QVERIFY(DecodeSoundFile(path, s));
        QVERIFY2(s.seconds() >= 0.01 && s.seconds() <= 0.1, qPrintable(QString::number(s.seconds())));

        QTemporaryDir dir;
        QDir(dir.path()).mkpath("Images");
        const QString junk = dir.filePath("Images/Junk.aif");
        QVERIFY(kt::WriteBytes(junk, "FORM this is not a sound"));
        MediaSoundPlayer player(dir.path());
        QTest::ignoreMessage(QtWarningMsg, qPrintable("missing resource " + dir.filePath("Images/Nothing.aif") +
                                                      "; going on without it"));
        QTest::failOnWarning(QRegularExpression("resource"));
        path = QStringLiteral("stale");
        QCOMPARE(player.FSSpecFromSupportFileName("Nothing.aif", "Images", path), -43);
        QVERIFY(path.isEmpty());
        QVERIFY(!DecodeSoundFile(junk, s));
        QCOMPARE(player.PlayMovieSoundFromSupportFilename("Junk.aif", "Images"), 0);
        QCOMPARE(player.playedCount(), 0);
    }

    // The module's player answers from the first sound on; without the module, silence, said once.
    void moduleLoadsOnTheFirstSoundOrStaysSilent()
    {
        QCoreApplication::addLibraryPath(QStringLiteral(KESTROVA_MODULE_DIR));
        ModuleSoundPlayer loaded;
        QCOMPARE(loaded.PlayMovieSoundFromSupportFilename("Shutter.aif", "NoFolder"), -43);
        ModuleSoundPlayer missing(QStringLiteral("kestrova-none"));
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression("^kestrova: module kestrova-none not loaded"));
        QTest::failOnWarning(QRegularExpression("."));
        for (int i = 0; i < 2; ++i) QCOMPARE(missing.PlayMovieSoundFromSupportFilename("Shutter.aif", "NoFolder"), 0);
    }

    void init()
    {
        k = Kestrova{};
        k.d.s_SP2 = "Box 10";
        kt::SetUpDriver(k, 50.0f, 10.0f, 0.35f, 0.4f, 3.0f);
        host.busy = host.idle = host.beeps = host.quits = 0;
        host.hasWindow = true;
        host.played.clear();
        host.show();
        QVERIFY(QTest::qWaitForWindowExposed(&host));
    }

    // The graph area saved under a numbered, plain UTF-8 name, the shutter only when asked; a
    // cancelled number is offered again. A failed write's alert names the system's reason and
    // leaves no file; Continue goes on, Quit stops, the window coming back once either way.
    void snapshotSavesTheGraphOrSaysWhyNot()
    {
        k.prefs.SnapSoundCheck = 1, k.prefs.SnapRegionCheck = 0;
        Snapshot s(k, host, host);
        host.watch(s);
        s.SnapShot();
        QCOMPARE(proposedName(s), QString("Box 10_Amplitude_1.png"));
        QCOMPARE(host.busy, 1);
        saveAs(s.saveDialog(), dir.filePath("one.png"));
        const QImage img(dir.filePath("one.png"));
        QCOMPARE(img.size() / img.devicePixelRatio(), QSize(540, 380));
        QCOMPARE(img.pixelColor(10, img.height() - 2), QColor(Qt::red));
        k.prefs.SnapSoundCheck = 0;
        k.d.s_Resp = "gd";
        k.d.s_SP = "Dome\xA5/1";  // Mac Roman bullet
        s.SnapShot();
        QCOMPARE(proposedName(s), QString::fromUtf8("Dome\u2022-1_Group Delay_2.png"));
        s.saveDialog()->reject();
        QCOMPARE(std::pair(int(k.sh.SnapNum), host.idle), std::pair(1, 2));
        QCOMPARE(host.played, std::vector<std::string>{"Shutter.aif@Images"});

        // Nothing can create a file below a plain file, not even root.
        QFile(dir.filePath("plain")).open(QIODevice::WriteOnly);
        const QString blocked = dir.filePath("plain/kestrova-snapshot.png");
        for (const auto& [button, quits] : {std::pair{"Continue", 0}, std::pair{"Quit", 1}}) {
            host.idle = 0;
            s.SnapShot();
            saveAs(s.saveDialog(), blocked);
            QMessageBox* alert = s.failureAlert();
            QVERIFY(alert);
            QCOMPARE(alert->text() + ": " + alert->informativeText(),
                     "SaveImageFile failed: " + QString::fromLocal8Bit(std::strerror(ENOTDIR)));
            QVERIFY(!QFile::exists(blocked));
            QCOMPARE(host.idle, 0);  // the alert is still up
            for (QAbstractButton* b : alert->buttons())
                if (b->text() == button) b->click();
            QCOMPARE(std::pair(host.idle, host.quits), std::pair(1, quits));
        }
        QVERIFY(!WritePngFile(QImage(), dir.filePath("null.png")).isEmpty());
        QVERIFY(!QFile::exists(dir.filePath("null.png")));
    }

    // The typed suffix decides the format, else the file type's is added, and when that names a
    // file that exists the dialog asks again. The next export offers the same folder; a write
    // that fails or is refused (no Re, no impedance) gives an alert naming the file, and no file.
    void exportFormatFollowsTheTypedSuffix()
    {
        using F = ResponseFormat;
        const std::tuple<const char*, F, const char*, F> rows[] = {{"/d/seas.zma", F::Frd, "/d/seas.zma", F::Zma},
                                                                   {"/d/seas.Csv", F::Zma, "/d/seas.Csv", F::Csv},
                                                                   {"/d.zma/seas", F::Zma, "/d.zma/seas.zma", F::Zma},
                                                                   {"/d/seas.txt", F::Csv, "/d/seas.txt.csv", F::Csv}};
        for (const auto& [chosen, type, path, format] : rows) {
            const ExportTarget t = ExportTargetFor(chosen, type);
            QCOMPARE(std::pair(t.path, int(t.format)), std::pair(QString(path), int(format)));
        }

        ResponseExport ex(k, host);
        host.watch(ex);
        ex.Export();
        QFileDialog* first = ex.saveDialog();
        QFile(dir.filePath("seas.txt.frd")).open(QIODevice::WriteOnly);  // empty
        saveAs(first, dir.filePath("seas.txt"));
        QVERIFY(ex.saveDialog());
        QVERIFY(ex.saveDialog() != first);
        QCOMPARE(ex.saveDialog()->selectedFiles().value(0), dir.filePath("seas.txt.frd"));
        ex.saveDialog()->reject();
        QCOMPARE(QFileInfo(dir.filePath("seas.txt.frd")).size(), 0);
        QVERIFY(!QFile::exists(dir.filePath("seas.txt")));
        QCOMPARE(std::pair(host.busy, host.idle), std::pair(1, 1));

        ex.Export();
        ex.saveDialog()->selectNameFilter("Frequency response (*.frd)");
        saveAs(ex.saveDialog(), dir.filePath("mid.zma"));
        const QByteArray bytes = kt::ReadBytes(dir.filePath("mid.zma"));
        QVERIFY2(bytes.contains(": modelled electrical impedance\n"), bytes.left(80));
        ex.Export();
        QCOMPARE(ex.saveDialog()->directory().absolutePath(), QDir(dir.path()).absolutePath());
        QFile(dir.filePath("plain")).open(QIODevice::WriteOnly);  // nothing can be made below it, not even by root
        const QString blocked = dir.filePath("plain/kestrova-export.frd");
        saveAs(ex.saveDialog(), blocked);
        QMessageBox* alert = ex.failureAlert();
        QVERIFY(alert);
        QVERIFY2(alert->text().contains("\"" + blocked + "\""), qPrintable(alert->text()));
        QVERIFY(!alert->informativeText().isEmpty());
        alert->accept();
        k.d.RE = 0.0f;
        ex.Export();
        saveAs(ex.saveDialog(), dir.filePath("nore.zma"));
        QVERIFY(ex.failureAlert());
        QVERIFY2(ex.failureAlert()->informativeText().contains("no Re"),
                 qPrintable(ex.failureAlert()->informativeText()));
        QVERIFY(!QFile::exists(dir.filePath("nore.zma")));
        ex.failureAlert()->accept();
        QCOMPARE(std::pair(host.busy, host.idle), std::pair(4, 4));
    }

    // Dialogs never open on the kernel's folders, and /proc typed into a save or print dialog is
    // listed without reading a file: a read of /proc/kmsg (as root) would wait for the alarm.
    void fileDialogsStayOffTheKernelsFiles()
    {
        const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
        const QString fallback = QFileInfo(documents).isDir() ? documents : QDir::homePath();
        QVERIFY(QFile::link("/proc/self", dir.filePath("into-proc")));
        for (const QString& f : {QString("/proc"), QString("/sys/kernel"), QString("/dev/shm"),
                                 dir.filePath("into-proc"), dir.filePath("missing"), QString()})
            QCOMPARE(DialogFolder(f), fallback);
        QCOMPARE(DialogFolder(dir.path()), dir.path());

        QFileDialog(nullptr, QString(), "/proc/self");  // where Qt starts the next dialog
        QCOMPARE(QFileDialog().directory().absolutePath(), QString("/proc/self"));
        Snapshot snap(k, host, host);
        snap.SnapShot();
        QFileDialog* save = snap.saveDialog();
        QCOMPARE(save->directory().absolutePath(), QDir(fallback).absolutePath());
        Printing printing(k, host);
        printing.MyDoPrint();
        auto* printFile = printing.printDialog()->findChild<QLineEdit*>("filename");
        alarm(120);
        for (const auto& [typed, model] :
             {std::pair{save->findChild<QLineEdit*>("fileNameEdit"), save->findChild<QFileSystemModel*>()},
              {printFile, qobject_cast<QFileSystemModel*>(printFile->completer()->model())}}) {
            QTest::keyClicks(typed, "/proc/k");
            QTRY_VERIFY_WITH_TIMEOUT(!model->type(model->index("/proc/kmsg")).isEmpty(), 20000);
        }
        alarm(0);
        save->reject();
        printing.printDialog()->reject();
    }

    // The whole page lies inside the printable area and reaches the document; the page setup's
    // orientation and scale stay for the next sheet and the print; with no window, a beep.
    void printedPageAndPageSetupCarriedOver()
    {
        Printing printing(k, host);
        printing.clock = [] { return DateStamp{2026, 12, 5, 14, 30, 0}; };
        QPrinter pdf(QPrinter::HighResolution);
        pdf.setPageSize(QPageSize(QPageSize::Letter));
        pdf.setOutputFileName(dir.filePath("amp-box.pdf"));
        QVERIFY(printing.MyDoPrintLoop(pdf));
        const QRectF paint = pdf.pageLayout().paintRect(QPageLayout::Point);
        QVERIFY(paint.top() >= 1.0);
        QVERIFY(printing.pageScale() * 780.0 <= paint.height() + 1e-9);

        host.watch(printing);
        for (const bool again : {false, true}) {
            printing.MyDoPageSetup();
            PageSetupSheet* sheet = printing.pageSetupDialog();
            QVERIFY(sheet);
            auto* landscape = sheet->findChild<QRadioButton*>("landscape");
            auto* scale = sheet->findChild<QSpinBox*>("scale");
            QCOMPARE(std::pair(landscape->isChecked(), scale->value() == 50), std::pair(again, again));
            landscape->setChecked(true);
            scale->setValue(50);
            again ? sheet->reject() : sheet->accept();
            QCOMPARE(k.sh.GPrintScale, 50.0);
        }
        printing.MyDoPrint();
        QVERIFY(printing.printDialog());
        QCOMPARE(printing.printer()->docName(), QString("Box 10 Amplitude"));
        QCOMPARE(printing.printer()->pageLayout().orientation(), QPageLayout::Landscape);
        printing.printDialog()->reject();
        QCOMPARE(std::pair(host.busy, host.idle), std::pair(3, 3));
        host.hasWindow = false;
        printing.MyDoPrint();
        QCOMPARE(std::pair(host.beeps, host.busy), std::pair(1, 3));

        if (QStandardPaths::findExecutable("pdftotext").isEmpty()) QSKIP("pdftotext is missing");
        QProcess p;
        p.start("pdftotext", {"-layout", pdf.outputFileName(), "-"});
        QVERIFY(p.waitForFinished(30000));
        const QString text = QString::fromUtf8(p.readAllStandardOutput()).simplified();
        for (const char* shown : {"Amplitude", "Closed Box Parameters", "Kestrova Box 10 Dec/05/2026 14:30:00"})
            QVERIFY2(text.contains(shown), qPrintable(shown + (": " + text)));
    }
};

QTEST_MAIN(SheetsTest)
#include "sheets_test.moc"
