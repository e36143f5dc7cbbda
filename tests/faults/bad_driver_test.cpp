// Drivers whose parameters break the formulas (Fs 0, Qts 0, negative Vas,
// nothing at all) still draw every view and show the texts chosen for
// infinite and not-a-number values. Under the sanitizer build this also
// proves that no non-finite value reaches an integer conversion.
#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "exchange/records.h"
#include "graphs/dispatch.h"
#include "graphs/recording_canvas.h"
#include "model/response.h"
#include "reports/print_page.h"
#include "support/numtext.h"

namespace ks {
namespace {

struct BadDriver {
    const char* name;
    float fs, vas, qts, qes, qms, re, le;
};

const BadDriver kDrivers[] = {
    {"fs0", 0.0f, 10.0f, 0.35f, 0.4f, 3.0f, 6.0f, 0.5f},
    {"qts0", 50.0f, 10.0f, 0.0f, 0.0f, 3.0f, 6.0f, 0.5f},
    {"vasNegative", 50.0f, -5.0f, 0.35f, 0.4f, 3.0f, 6.0f, 0.5f},
    {"allZero", 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f},
    {"huge", 3e38f, 3e38f, 3e38f, 3e38f, 3e38f, 3e38f, 3e38f},
    {"nan", NAN, NAN, NAN, NAN, NAN, NAN, NAN},
};

const char* kViews[] = {"amp", "imp", "ph", "gd", "nq", "st", "sys"};

Kestrova Adopt(const BadDriver& b)
{
    Kestrova k;
    k.d.FS2 = b.fs;
    k.d.VAS2 = b.vas;
    k.d.QTS2 = b.qts;
    k.d.QES2 = b.qes;
    k.d.QMS2 = b.qms;
    k.d.RE2 = b.re;
    k.d.LE2 = b.le;
    k.d.EFI2 = 0.0f;
    ParameterPass(k.d);
    InitSetUpMenuParam(k.d);
    SPLcal(k.d);
    return k;
}

TEST(BadDriver, EveryViewDrawsOnScreenAndInPrint)
{
    for (const BadDriver& b : kDrivers) {
        for (short sys : {1, 2, 3}) {
            for (const char* view : kViews) {
                SCOPED_TRACE(std::string(b.name) + " system " + std::to_string(sys) + " " + view);
                Kestrova k = Adopt(b);
                k.d.boxSys = sys;
                k.d.s_Resp = view;
                RecordingCanvas screen, page;
                k.screen = &screen;
                k.page = &page;
                ResponsePlot(k);
                EXPECT_FALSE(screen.lines().empty());
                k.ds.doPrint = 1;
                DrawPrintPage(k, DateStamp{2026, 12, 5, 14, 30, 0});
                k.ds.doPrint = 0;
                EXPECT_FALSE(page.lines().empty());
                // Every number in the display list is a number.
                for (const std::string& line : screen.lines())
                    if (line.rfind("text ", 0) != 0) {
                        EXPECT_EQ(line.find("nan"), std::string::npos) << line;
                        EXPECT_EQ(line.find("inf"), std::string::npos) << line;
                    }
            }
        }
    }
}

TEST(BadDriver, FieldsShowTheNonFiniteTexts)
{
    Kestrova k = Adopt(kDrivers[0]);  // Fs 0: the box resonance is 0, the efficiency 0
    EXPECT_EQ(RoundedText(k.d.SPL, 1), "-inf");
    Kestrova n = Adopt(kDrivers[5]);
    EXPECT_EQ(RoundedText(n.d.FS, 2), " nan");
    // The design record carries the same texts and stays one line of 255.
    const PStr rec = MakeClipText(n);
    EXPECT_LE(rec.size(), 255u);
    EXPECT_NE(rec.str().find(" nan"), std::string::npos);
}

}  // namespace
}  // namespace ks
