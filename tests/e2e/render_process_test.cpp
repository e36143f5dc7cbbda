// SPDX-License-Identifier: GPL-3.0-or-later
// kestrova-render as a process: pictures, record, export and refusals.
#include <sys/mount.h>
#include <sys/stat.h>

#include <QDir>
#include <QFile>
#include <QImage>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <cerrno>
#include <cstring>
#include <filesystem>

#include "common/drivers.h"
#include "common/files.h"
#include "common/full_disk.h"
#include "graphs/null_canvas.h"
#include "graphs/response_data.h"
#include "render_session.h"

namespace fs = std::filesystem;
using namespace ks;

namespace {

struct Result {
    int rc = -1;
    QByteArray out, err;
};

Result Run(const QStringList& args)
{
    QProcess p;
    p.start(QStringLiteral(KESTROVA_RENDER), args);
    if (!p.waitForFinished(60000)) return {};
    return {p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1, p.readAllStandardOutput(),
            p.readAllStandardError()};
}

// Empty when the run exited rc with one line on standard error that holds why; else what it said.
QByteArray Unlike(const Result& r, int rc, const QByteArray& why)
{
    if (r.rc == rc && r.err.count('\n') == 1 && r.err.contains(why)) return {};
    return "exit " + QByteArray::number(r.rc) + ", wanted " + QByteArray::number(rc) + " and " + why + ": " + r.err;
}

}  // namespace

class RenderProcess : public QObject {
    Q_OBJECT
    QTemporaryDir tmp_;
    QString At(const QString& name) const { return tmp_.filePath(name); }

private slots:
    // The view and the page reach their files, the curve painted in its colour; so does the data export.
    void viewsThePageAndTheExportWriteTheirFiles()
    {
        const Result r = Run({"--view", "amp", "--out", At("amp.png")});
        QVERIFY2(r.rc == 0, r.err);
        QCOMPARE(r.out, QByteArray());
        const QImage img(At("amp.png"));
        QCOMPARE(img.size(), QSize(540, 380));
        const QColor c = img.pixelColor(470, 130);  // the default tweeter on the 0 dB line above 5 kHz: orange
        QVERIFY2(c.red() > 200 && c.green() > 100 && c.green() < 180 && c.blue() < 80, qPrintable(c.name()));
        for (const auto& [ext, magic] : {std::pair{"png", "PNG"}, {"svg", "<svg"}, {"pdf", "%PDF"}}) {
            const QString page = At(QStringLiteral("page.") + ext);
            QCOMPARE(Run({"--print", "--date", "2026-12-05T14:30:00", "--out", page}).rc, 0);
            QVERIFY2(kt::ReadBytes(page).contains(magic), ext);
        }
        QCOMPARE(QImage(At("page.png")).size(), QSize(612, 792));
        const Result file =
            Run({"--driver", kt::kWooferRecord, "--system", "ib", "--export", "zma", "--from", "20", "--to", "20000",
                 "--ppo", "24", "--date", "2026-12-05T14:30:00", "--out", At("w.zma")});
        QVERIFY2(file.rc == 0, file.err);
        QCOMPARE(file.out + file.err, QByteArray());
        Kestrova k;
        NullCanvas scratch;
        QVERIFY(RunRenderSequence(k, {.driver = kt::kWooferRecord, .system = "ib"}, scratch).ok);
        QCOMPARE(kt::ReadBytes(At("w.zma")),
                 QByteArray::fromStdString(
                     ResponseText(SampleResponse(k.d, {20, 20000, 24}), ResponseFormat::Zma, "2026-12-05T14:30:00")));
        // The default range on standard output: the comment lines, then 10 Hz .. 40 kHz at 48 per octave.
        const Result out = Run({"--export", "frd", "--out", "-"});
        QVERIFY2(out.rc == 0, out.err);
        QCOMPARE(out.out.count('\n'), 6 + 575);
    }

    // The record in UTF-8 on one line; an alert goes to standard error and the record still comes.
    void recordIsOneUtf8LineAndDesignFilesAreDrawnAgain()
    {
        const Result r =
            Run({"--driver", "DUMMY#  W\xC3\xA9  Woofer  16  50  10  0.35  0.4  3  0  6  50  100  3  10  0.5  ",
                 "--align", "qtc=0.3", "--record"});
        QCOMPARE(r.rc, 0);
        QCOMPARE(r.out.count('\n'), 1);
        QVERIFY2(r.out.startsWith("DUMMY%  W\xC3\xA9  ") && r.out.contains("  0.382  "), r.out);
        QCOMPARE(r.err, QByteArray("alert: ALERT!   Impossible alignment.  Qtc is too small. | Enter larger Qtc.  "
                                   "( Possible Qtc >=  0.382 )\n"));
        QVERIFY(Run({"--driver", kt::kWooferRecord, "--align", "vb=20", "--record"}).out.contains("  20  "));
        // --save-design writes the design as drawn, --design draws it again with the options after it; a file
        // that is no design ends the run with one line.
        const QString a = At("a.kestrova"), b = At("b.kestrova");
        const Result saved = Run({"--driver", kt::kWooferRecord, "--qa", "5", "--align", "qtc=1.1", "--view", "gd",
                                  "--trace", "--record", "--save-design", a});
        QVERIFY2(saved.rc == 0, saved.err);
        const Result again = Run({"--design", a, "--trace", "--record", "--save-design", b});
        QVERIFY2(again.rc == 0, again.err);
        QVERIFY(again.out == saved.out);  // the same display list and record
        QCOMPARE(kt::ReadBytes(b), kt::ReadBytes(a));
        QVERIFY(Run({"--design", a, "--view", "amp", "--trace"}).out.contains(" Amplitude\n"));
        QVERIFY(kt::WriteBytes(At("c.kestrova"), "{\"format\": \"kestrova-design\", \"version\": 9}"));
        QCOMPARE(Unlike(Run({"--design", At("c.kestrova")}), 2, "newer Kestrova"), QByteArray());
    }

    // A refused run (an entry, an option, a ZMA file without Re, an output that is no regular
    // file, which is never replaced) exits 2 with one line saying why and writes nothing.
    void outputThatIsNotARegularFileOrNoImpedanceIsRefused()
    {
        const QString fifo = At("pipe.png"), never = At("never.png");
        QCOMPARE(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
        const QString noRe = "DUMMY#  W  Woofer  16  50  10  0.35  0.4  3  0  0  50  100  3  10  0.5  ";
        const QStringList written = {"--trace", "--record", "--out", never};
        const std::pair<QStringList, const char*> cases[] = {
            {QStringList{"--driver", kt::kWooferRecord, "--align", "qtc=0"} + written, "must be greater than 0"},
            {QStringList{"--view", "bode"} + written, "--view must be amp, imp"},
            {{"--out", fifo}, "it is a named pipe (FIFO), not a regular file"},
            {{"--export", "csv", "--out", fifo}, "it is a named pipe (FIFO), not a regular file"},
            {{"--driver", noRe, "--export", "zma", "--out", never}, "the driver has no Re"},
        };
        for (const auto& [args, why] : cases) {
            const Result r = Run(args);
            const QByteArray said = args.join(' ').toUtf8() + ": exit " + QByteArray::number(r.rc) + ", " + r.err;
            QVERIFY2(Unlike(r, 2, why).isEmpty() && r.err.startsWith("kestrova-render: ") && r.out.isEmpty(), said);
            QVERIFY2(!QFile::exists(never), said);
        }
        QVERIFY(fs::is_fifo(fifo.toStdString()));
    }

    // An output or design that cannot be written: one line with the system's reason, nothing left behind.
    void unwritableOutputSaysWhyWithoutAPartialFile()
    {
        const QString missing = At("missing-folder/a.png");
        for (const QStringList& args :
             {QStringList{"--out", missing}, {"--export", "zma", "--out", missing}, {"--save-design", missing}}) {
            QCOMPARE(Unlike(Run(args), 1, std::strerror(ENOENT)), QByteArray());
            QVERIFY(!QFile::exists(missing));
        }
        const fs::path full = At("full").toStdString();
        const std::string why = kt::MountFullFilesystem(full);
        if (!why.empty()) QSKIP(qPrintable("full file system case: " + QString::fromStdString(why)));
        for (const char* name : {"a.png", "a.svg", "a.pdf"}) {
            QCOMPARE(Unlike(Run({"--out", QString::fromStdString((full / name).string())}), 1, std::strerror(ENOSPC)),
                     QByteArray());
            QCOMPARE(QDir(QString::fromStdString(full.string())).entryList(QDir::Files), QStringList{"fill"});
        }
        ::umount2(full.c_str(), MNT_DETACH);
    }
};

QTEST_GUILESS_MAIN(RenderProcess)
#include "render_process_test.moc"
