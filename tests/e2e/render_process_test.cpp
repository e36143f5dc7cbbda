// kestrova-render as a process: pictures, trace, record and refusals.
#include <gtest/gtest.h>
#include <sys/mount.h>
#include <sys/stat.h>

#include <QFile>
#include <QImage>
#include <QProcess>
#include <QTemporaryDir>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>

#include "common/drivers.h"
#include "common/full_disk.h"
#include "graphs/null_canvas.h"
#include "graphs/response_data.h"
#include "render_session.h"

namespace fs = std::filesystem;
using namespace ks;

namespace {

struct Result {
    int rc = -1;
    std::string out, err;
};

std::string Slurp(const fs::path& p)
{
    QFile f(QString::fromStdString(p.string()));
    return f.open(QIODevice::ReadOnly) ? f.readAll().toStdString() : std::string();
}

class RenderProcess : public ::testing::Test {
protected:
    QTemporaryDir tmp;
    const fs::path dir = tmp.path().toStdString();

    static Result Run(const std::vector<std::string>& args)
    {
        QStringList list;
        for (const std::string& a : args) list << QString::fromStdString(a);
        QProcess p;
        p.start(QStringLiteral(KESTROVA_RENDER), list);
        Result r;
        if (!p.waitForFinished(60000)) return r;
        r.rc = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
        r.out = p.readAllStandardOutput().toStdString();
        r.err = p.readAllStandardError().toStdString();
        return r;
    }
};

int Lines(const std::string& s)
{
    int n = 0;
    for (char c : s) n += c == '\n';
    return n;
}

// What is drawn is the display lists' to pin; here: the view and the page
// reach their files, and the curve is painted in its colour.
TEST_F(RenderProcess, ViewsAndThePageWriteTheirFiles)
{
    const fs::path png = dir / "amp.png";
    Result r = Run({"--view", "amp", "--out", png.string()});
    ASSERT_EQ(r.rc, 0) << r.err;
    EXPECT_TRUE(r.out.empty());
    const QImage img(QString::fromStdString(png.string()));
    EXPECT_EQ(img.size(), QSize(540, 380));
    // The default tweeter is flat on the 0 dB line (y = 130) above 5 kHz.
    const QColor c = img.pixelColor(470, 130);
    EXPECT_TRUE(c.red() > 200 && c.green() > 100 && c.green() < 180 && c.blue() < 80);
    for (const std::string ext : {"png", "svg", "pdf"}) {
        const fs::path f = dir / ("page." + ext);
        ASSERT_EQ(Run({"--print", "--date", "2026-12-05T14:30:00", "--out", f.string()}).rc, 0) << ext;
        EXPECT_NE(Slurp(f).find(ext == "svg" ? "<svg" : ext == "pdf" ? "%PDF" : "PNG"), std::string::npos) << ext;
    }
    EXPECT_EQ(QImage(QString::fromStdString((dir / "page.png").string())).size(), QSize(612, 792));
}

TEST_F(RenderProcess, RecordIsOneUtf8Line)
{
    Result r = Run({"--driver", "DUMMY#  W\xC3\xA9  Woofer  16  50  10  0.35  0.4  3  0  6  50  100  3  10  0.5  ",
                    "--align", "vb=20", "--record"});
    ASSERT_EQ(r.rc, 0) << r.err;
    EXPECT_EQ(Lines(r.out), 1);
    EXPECT_EQ(r.out.rfind("DUMMY%  W\xC3\xA9  ", 0), 0u) << r.out;
    EXPECT_NE(r.out.find("  20  "), std::string::npos) << r.out;

    // A received name with line ends and a tab still gives one line.
    r = Run({"--driver", "DUMMY#  Two\nLines\r\t  Woofer  16  50  10  0.35  0.4  3  0  6  50  100  3  10  0.5  ",
             "--record"});
    ASSERT_EQ(r.rc, 0) << r.err;
    EXPECT_EQ(Lines(r.out), 1) << r.out;
    EXPECT_EQ(r.out.rfind("DUMMY%  Two Lines    ", 0), 0u) << r.out;

    // An alert goes to standard error; the record still comes.
    r = Run({"--driver", kt::kWooferRecord, "--align", "qtc=0.3", "--record"});
    ASSERT_EQ(r.rc, 0);
    EXPECT_EQ(Lines(r.out), 1);
    EXPECT_EQ(
        r.err,
        "alert: ALERT!   Impossible alignment.  Qtc is too small. | Enter larger Qtc.  ( Possible Qtc >=  0.382 )\n");
}

TEST_F(RenderProcess, RefusalsExitTwoWithOneLineAndWriteNothing)
{
    const std::string woofer = kt::kWooferRecord;
    const std::vector<std::vector<std::string>> cases = {
        {"--driver", woofer, "--align", "qtc=0"},  // refused by the entry's check
        {"--system", "cb"},                        // no Vas for a box
        {"--view", "bode"},                        // refused by the options
        {"--ppo", "400"},                          // beyond the export's bound
    };
    const fs::path png = dir / "never.png";
    for (auto args : cases) {
        args.insert(args.end(), {"--trace", "--record", "--out", png.string()});
        Result r = Run(args);
        EXPECT_EQ(r.rc, 2) << args[0];
        EXPECT_TRUE(r.out.empty()) << args[0] << ": " << r.out;
        EXPECT_EQ(Lines(r.err), 1) << args[0] << ": " << r.err;
        EXPECT_EQ(r.err.rfind("kestrova-render: ", 0), 0u) << r.err;
        EXPECT_FALSE(fs::exists(png)) << args[0];
    }
}

// --save-design writes the design as drawn, --design draws it again and the
// options after it still apply; a file that is no design, and a design that
// cannot be written, end the run with one line.
TEST_F(RenderProcess, DesignFilesAreWrittenAndDrawnAgain)
{
    const std::string a = (dir / "a.kestrova").string(), b = (dir / "b.kestrova").string();
    const Result saved = Run({"--driver", kt::kWooferRecord, "--qa", "5", "--align", "qtc=1.1", "--view", "gd",
                              "--trace", "--record", "--save-design", a});
    ASSERT_EQ(saved.rc, 0) << saved.err;
    const Result again = Run({"--design", a, "--trace", "--record", "--save-design", b});
    EXPECT_EQ(again.rc, 0) << again.err;
    EXPECT_TRUE(again.out == saved.out);
    EXPECT_EQ(Slurp(b), Slurp(a));
    const Result amp = Run({"--design", a, "--view", "amp", "--trace"});
    EXPECT_NE(amp.out.find(" Amplitude\n"), std::string::npos);

    std::ofstream(dir / "c.kestrova") << "{\"format\": \"kestrova-design\", \"version\": 9}";
    const std::vector<std::vector<std::string>> refused = {
        {"--design", (dir / "c.kestrova").string()},                  // 2: newer than this program
        {"--save-design", (dir / "missing" / "d.kestrova").string()}  // 1: no such folder
    };
    for (const std::vector<std::string>& args : refused) {
        const Result r = Run(args);
        EXPECT_EQ(r.rc, args[0] == "--design" ? 2 : 1) << r.err;
        EXPECT_EQ(Lines(r.err), 1) << r.err;
        EXPECT_NE(r.err.find(args[0] == "--design" ? "newer Kestrova" : std::strerror(ENOENT)), std::string::npos)
            << r.err;
    }
}

// What is not a regular file is never replaced: a pipe refuses the run in
// one line before anything is drawn; so does a ZMA file for a driver
// without Re, which has no impedance.
TEST_F(RenderProcess, OutputThatIsNotARegularFileOrNoImpedanceIsRefused)
{
    const fs::path fifo = dir / "pipe.png";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    const std::string noRe = "DUMMY#  W  Woofer  16  50  10  0.35  0.4  3  0  0  50  100  3  10  0.5  ";
    for (const std::vector<std::string>& args :
         {std::vector<std::string>{"--out", fifo.string()},
          {"--export", "csv", "--out", fifo.string()},
          {"--driver", noRe, "--export", "zma", "--out", (dir / "w.zma").string()}}) {
        const Result r = Run(args);
        EXPECT_TRUE(r.rc == 2 && Lines(r.err) == 1) << r.err;
        EXPECT_NE(r.err.find(args[0] == "--driver" ? "no Re" : "not a regular file"), std::string::npos) << r.err;
    }
    EXPECT_TRUE(fs::is_fifo(fifo) && !fs::exists(dir / "w.zma"));
}

// The one line names the system's reason, and nothing is left behind.
TEST_F(RenderProcess, UnwritableOutputSaysWhyWithoutAPartialFile)
{
    Result r;
    for (const std::vector<std::string>& args : {std::vector<std::string>{}, {"--export", "zma"}}) {
        const fs::path missing = dir / "missing-folder" / "a.png";
        std::vector<std::string> a = args;
        a.insert(a.end(), {"--out", missing.string()});
        r = Run(a);
        EXPECT_EQ(r.rc, 1);
        EXPECT_FALSE(fs::exists(missing));
        EXPECT_EQ(Lines(r.err), 1) << r.err;
        EXPECT_NE(r.err.find(std::strerror(ENOENT)), std::string::npos) << r.err;
    }

    const fs::path full = dir / "full";
    const std::string why = kt::MountFullFilesystem(full);
    if (!why.empty()) GTEST_SKIP() << "full file system case: " << why;
    for (const char* name : {"a.png", "a.svg", "a.pdf"}) {
        r = Run({"--out", (full / name).string()});
        EXPECT_EQ(r.rc, 1) << name;
        EXPECT_EQ(Lines(r.err), 1) << r.err;
        EXPECT_NE(r.err.find(std::strerror(ENOSPC)), std::string::npos) << r.err;
        EXPECT_EQ(fs::directory_iterator(full)->path().filename(), "fill");
        EXPECT_EQ(std::distance(fs::directory_iterator(full), fs::directory_iterator()), 1) << name;
    }
    ::umount2(full.c_str(), MNT_DETACH);
}

TEST_F(RenderProcess, ExportWritesTheSampledDesignToAFileOrStandardOutput)
{
    const std::string woofer = kt::kWooferRecord;
    const fs::path zma = dir / "w.zma";
    Result file = Run({"--driver", woofer, "--system", "ib", "--export", "zma", "--from", "20", "--to", "20000",
                       "--ppo", "24", "--date", "2026-12-05T14:30:00", "--out", zma.string()});
    ASSERT_EQ(file.rc, 0) << file.err;
    EXPECT_TRUE(file.out.empty() && file.err.empty()) << file.err;
    // The same steps in process give the same file.
    Kestrova k;
    NullCanvas scratch;
    RenderOptions o;
    o.driver = woofer;
    o.system = "ib";
    ASSERT_TRUE(RunRenderSequence(k, o, scratch).ok);
    EXPECT_EQ(Slurp(zma),
              ResponseText(SampleResponse(k.d, {20, 20000, 24}), ResponseFormat::Zma, "2026-12-05T14:30:00"));
    // The default range, on standard output: the comment lines, then
    // 10 Hz .. 40 kHz at 48 per octave.
    const Result out = Run({"--export", "frd", "--out", "-"});
    ASSERT_EQ(out.rc, 0) << out.err;
    EXPECT_EQ(Lines(out.out), 6 + 575);
}

}  // namespace
