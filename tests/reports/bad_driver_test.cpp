// Drivers whose values break the formulas still draw every view on screen
// and on the page, and show the texts chosen for infinite and not-a-number
// values. Under the sanitizer build this also proves that no non-finite
// value reaches an integer conversion.
#include <gtest/gtest.h>

#include <string>

#include "common/drivers.h"
#include "exchange/records.h"
#include "graphs/dispatch.h"
#include "graphs/recording_canvas.h"
#include "reports/print_page.h"

namespace ks {
namespace {

TEST(BadDriver, EveryViewDrawsOnScreenAndInPrint)
{
    for (const kt::BadDriver& b : kt::kBadDrivers) {
        for (short sys : {1, 2, 3}) {
            for (const char* view : {"amp", "imp", "ph", "gd", "nq", "st", "sys"}) {
                SCOPED_TRACE(std::string(b.name) + " system " + std::to_string(sys) + " " + view);
                Kestrova k = kt::Adopt(b);
                k.d.boxSys = sys;
                k.d.s_Resp = view;
                RecordingCanvas screen, page;
                k.screen = &screen;
                k.page = &page;
                ResponsePlot(k);
                EXPECT_FALSE(screen.lines().empty());
                k.ds.doPrint = 1;
                DrawPrintPage(k, DateStamp{2026, 12, 5, 14, 30, 0});
                EXPECT_FALSE(page.lines().empty());
                for (const std::string& line : screen.lines())
                    if (line.rfind("text ", 0) != 0) {
                        EXPECT_EQ(line.find("nan"), std::string::npos) << line;
                        EXPECT_EQ(line.find("inf"), std::string::npos) << line;
                    }
            }
        }
    }
}

TEST(BadDriver, FieldsAndTheRecordShowTheNonFiniteTexts)
{
    const Kestrova k = kt::Adopt(kt::kBadDrivers[0]);  // Fs 0: the efficiency is 0
    EXPECT_EQ(RoundedText(k.d.SPL, 1), "-inf");
    Kestrova n = kt::Adopt(kt::kBadDrivers[5]);
    EXPECT_EQ(RoundedText(n.d.FS, 2), " nan");
    const PStr rec = MakeClipText(n);
    EXPECT_LE(rec.size(), 255u);
    EXPECT_NE(rec.str().find(" nan"), std::string::npos);
}

}  // namespace
}  // namespace ks
