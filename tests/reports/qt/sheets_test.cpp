// The snapshot and print sheets as a user goes through them and what each
// tells the window (the menus' busy state is the shell suite's); the sound
// resources, the player without one or an audio output (or a server), and
// the program's player loaded from its module.
#include <unistd.h>

#include <QCompleter>
#include <QFileDialog>
#include <QFileSystemModel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPainter>
#include <QPrinter>
#include <QProcess>
#include <QRadioButton>
#include <QSpinBox>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>
#include <cerrno>
#include <cstring>

#include "common/drivers.h"
#include "reports/qt/printing.h"
#include "reports/qt/response_export.h"
#include "reports/qt/snapshot.h"
#include "sound/player/sound_player.h"
#include "sound/qt/module_sound.h"
#include "sound/sound.h"
#include "support/qt/file_dialogs.h"

using namespace ks;

// A stand-in design window, graph area red and edit region blue so a saved
// picture shows which part it holds; it counts what the sheets report and
// the sounds played.
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

    void saveAs(Snapshot& s, const QString& path)
    {
        QVERIFY(s.saveDialog());
        s.saveDialog()->selectFile(path);
        QMetaObject::invokeMethod(s.saveDialog(), "accept", Qt::DirectConnection);
    }

private slots:
    // Without an audio server the first sound, which is the first question
    // for an audio output in this process, is silent and says nothing. What
    // a query prints is passed on when it finds what it asked for.
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

    // A resource decodes; missing (said once), outside the resource folder
    // or undecodable is -43 or silence; without an audio output, silence too
    // and the program goes on.
    void resourcesFoundRefusedOrSilent()
    {
        MediaSoundPlayer real(QStringLiteral(KESTROVA_SUPPORT_ROOT));
        QString path;
        QCOMPARE(real.FSSpecFromSupportFileName("Click.aif", "Images", path), 0);
        DecodedSound s;
        QVERIFY(DecodeSoundFile(path, s) && s.seconds() >= 0.01 && s.seconds() <= 0.1);

        QTemporaryDir dir;
        QDir(dir.path()).mkpath("Images");
        QFile junk(dir.filePath("Images/Junk.aif"));
        QVERIFY(junk.open(QIODevice::WriteOnly) && junk.write("FORM this is not a sound") > 0);
        junk.close();
        QFile::copy(junk.fileName(), dir.filePath("secret.aif"));
        MediaSoundPlayer player(dir.path());
        // A missing sound is named once; the refused names are not resources.
        for (const char* missing : {"Images/Nothing.aif", "NoFolder/Shutter.aif"})
            QTest::ignoreMessage(QtWarningMsg, QStringLiteral("missing resource %1/%2; going on without it")
                                                   .arg(dir.path(), QLatin1String(missing))
                                                   .toUtf8()
                                                   .constData());
        QTest::failOnWarning(QRegularExpression("resource"));
        for (const auto& [name, folder] : {std::pair{"Nothing.aif", "Images"},
                                           {"Nothing.aif", "Images"},
                                           {"../secret.aif", "Images"},
                                           {"secret.aif", ".."},
                                           {"", "Images"},
                                           {"Images", "."}}) {
            path = QStringLiteral("stale");
            QCOMPARE(player.FSSpecFromSupportFileName(name, folder, path), -43);
            QVERIFY(path.isEmpty());
        }
        QCOMPARE(player.PlayMovieSoundFromSupportFilename("Shutter.aif", "NoFolder"), -43);
        QVERIFY(!DecodeSoundFile(junk.fileName(), s));
        QCOMPARE(player.PlayMovieSoundFromSupportFilename("Junk.aif", "Images"), 0);
        QCOMPARE(player.playedCount(), 0);
    }

    // The module's player answers from the first sound on (it knows a
    // missing folder); without the module, silence, said once.
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

    // The worked closed box as the set-up sequence leaves it.
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

    // The graph area is saved under a numbered name, with the shutter only
    // when asked; a cancelled number is offered again; a name a file system
    // cannot hold is made plain, in UTF-8. A failed write's alert names the
    // system's reason and leaves no file; Continue goes on, Quit stops, and
    // either way the window comes back once.
    void snapshotSavesTheGraphOrSaysWhyNot()
    {
        k.prefs.SnapSoundCheck = 1, k.prefs.SnapRegionCheck = 0;
        Snapshot s(k, host, host);
        host.watch(s);
        s.SnapShot();
        QCOMPARE(proposedName(s), QString("Box 10_Amplitude_1.png"));
        QCOMPARE(host.busy, 1);
        saveAs(s, dir.filePath("one.png"));
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
            saveAs(s, blocked);
            QMessageBox* alert = s.failureAlert();
            QVERIFY(alert && alert->text() == "SaveImageFile failed");
            QCOMPARE(alert->informativeText(), QString::fromLocal8Bit(std::strerror(ENOTDIR)));
            QVERIFY(!QFile::exists(blocked));
            QCOMPARE(host.idle, 0);  // the alert is still up
            for (QAbstractButton* b : alert->buttons())
                if (b->text() == button) b->click();
            QCOMPARE(std::pair(host.idle, host.quits), std::pair(1, quits));
        }
        QVERIFY(!WritePngFile(QImage(), dir.filePath("null.png")).isEmpty() &&
                !QFile::exists(dir.filePath("null.png")));
    }

    // The typed suffix decides the format, in any case; a name without a
    // known one gets the file type's suffix and format. When that names a
    // file that exists, the dialog comes back to ask, and nothing is written.
    void exportFormatFollowsTheTypedSuffix()
    {
        using F = ResponseFormat;
        const std::tuple<const char*, F, const char*, F> rows[] = {{"/d/seas.zma", F::Frd, "/d/seas.zma", F::Zma},
                                                                   {"/d/seas.Csv", F::Zma, "/d/seas.Csv", F::Csv},
                                                                   {"/d.zma/seas", F::Zma, "/d.zma/seas.zma", F::Zma},
                                                                   {"/d/seas.txt", F::Csv, "/d/seas.txt.csv", F::Csv}};
        for (const auto& [chosen, type, path, format] : rows)
            QVERIFY(ExportTargetFor(chosen, type).path == path && ExportTargetFor(chosen, type).format == format);

        ResponseExport ex(k, host);
        host.watch(ex);
        ex.Export();
        QFileDialog* first = ex.saveDialog();
        QFile(dir.filePath("seas.txt.frd")).open(QIODevice::WriteOnly);  // empty
        first->selectFile(dir.filePath("seas.txt"));
        QMetaObject::invokeMethod(first, "accept", Qt::DirectConnection);
        QVERIFY(ex.saveDialog() && ex.saveDialog() != first);
        QCOMPARE(ex.saveDialog()->selectedFiles().value(0), dir.filePath("seas.txt.frd"));
        ex.saveDialog()->reject();
        QVERIFY(QFileInfo(dir.filePath("seas.txt.frd")).size() == 0 && !QFile::exists(dir.filePath("seas.txt")));
        QCOMPARE(std::pair(host.busy, host.idle), std::pair(1, 1));
    }

    // Dialogs never open on the kernel's folders, and a path typed into a
    // save or print dialog lists /proc without reading a file: a read of
    // /proc/kmsg waits for ever (for root), which the alarm would end.
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

    // The whole page (a display list in graphs/golden), down to the date
    // stamp, lies inside the printable area and reaches the document.
    // Orientation and scale chosen in the page setup then stay with the
    // window and reach the next sheet and the print; with no window, a beep.
    void printedPageAndPageSetupCarriedOver()
    {
        Printing printing(k, host);
        printing.clock = [] { return DateStamp{2026, 12, 5, 14, 30, 0}; };
        QPrinter pdf(QPrinter::HighResolution);
        pdf.setPageSize(QPageSize(QPageSize::Letter));
        pdf.setOutputFileName(dir.filePath("amp-box.pdf"));
        QVERIFY(printing.MyDoPrintLoop(pdf));
        const QRectF paint = pdf.pageLayout().paintRect(QPageLayout::Point);
        QVERIFY(paint.top() >= 1.0 && printing.pageScale() * 780.0 <= paint.height() + 1e-9);

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
        QVERIFY2(text.contains("Amplitude") && text.contains("Closed Box Parameters") &&
                     text.contains("Kestrova Box 10 Dec/05/2026 14:30:00"),
                 qPrintable(text));
    }
};

QTEST_MAIN(SheetsTest)
#include "sheets_test.moc"
