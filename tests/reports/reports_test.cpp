// SPDX-License-Identifier: GPL-3.0-or-later
// The printed page's texts, the snapshot's name, values placed on the sheets (the
// pages are graphs/golden's), and drivers that break the formulas.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <tuple>

#include "common/display_list.h"
#include "common/drivers.h"
#include "exchange/records.h"
#include "graphs/dispatch.h"
#include "graphs/system_profile.h"
#include "reports/print_job.h"
#include "reports/print_page.h"
#include "reports/snapshot_name.h"

namespace ks {
namespace {

using namespace ks::test;

const DateStamp kWhen{2026, 12, 5, 14, 30, 0};

// The date stamp, cut at 255 and left out when not wanted; the page scale fits
// the shorter side; print errors named; snapshot names a file system can hold.
TEST(PageTexts, StampScaleErrorsAndSnapshotNames)
{
    Kestrova k;
    kt::SetUpDriver(k);
    EXPECT_EQ(DateTimeText(k, DateStamp{2031, 1, 9, 0, 0, 7}), "Kestrova  Test2.5-07  Jan/09/2031 00:00:07");
    k.ds.doPrint = 1;
    k.prefs.PrintDateCheck = 0;
    const auto page = Record(k, [&] { DrawPrintPage(k, kWhen); });
    EXPECT_TRUE(FindText(page, "Amplitude"));
    EXPECT_FALSE(FindText(page, "Kestrova  Test2.5-07  Dec/05/2026 14:30:00"));
    k.d.s_SP = std::string(255, 'M');
    EXPECT_EQ(DateTimeText(k, kWhen).str(), "Kestrova  " + std::string(245, 'M'));

    EXPECT_NEAR(CalcPrintPageScale(0, 0, 734, 576), 105.62, 0.01);
    EXPECT_NEAR(CalcPrintPageScale(0, 0, 576, 734), 73.674, 0.001);  // landscape fits the height
    for (const auto& [code, text] :
         {std::pair{-30872, "No default printer specified|Error code -30872"}, {-1, "Printing error|Error code -1"}})
        EXPECT_EQ(PrintErrorTexts(code).message.str() + "|" + PrintErrorTexts(code).informative.str(), text);
    EXPECT_EQ(SnapShotFileName(PStr(std::string_view("A\0B", 3)), "Phase", 1).str(), "A-B_Phase_1.png");
    EXPECT_EQ(SnapShotFileName("", "Amplitude", 1).str(), "_Amplitude_1.png");
    EXPECT_EQ(SnapShotFileName(PStr(std::string(255, 'x')), "System Profile", 12).str(),
              std::string(233, 'x') + "_System Profile_12.png");  // cut to 255 before the ending
}

// A value is placed by its length and its point; an unknown system draws no figure.
TEST(SystemProfile, ValuePlacementAndNoFigureForAnUnknownSystem)
{
    const std::string longText(80, '7');  // the point lies beyond the cut
    for (const auto& [text, length, point] :
         {std::tuple{std::string(" 40"), 3, 0}, {" 40.5", 5, 4}, {"1.2.3", 5, 2}, {longText + ".", 63, 0}}) {
        EXPECT_EQ(CharactCheck(text), length) << text;
        EXPECT_EQ(CommaCheck(text), point) << text;
    }
    Kestrova k;
    kt::SetUpDriver(k);
    k.d.boxSys = 0;
    const auto sys = Record(k, [&] { SystemProfile(k); });
    EXPECT_TRUE(std::none_of(sys.begin(), sys.end(), [](const Prim& q) { return q.kind == "image"; }));
    EXPECT_EQ(FindText(sys, "Fs"), nullptr);
    EXPECT_NE(FindText(sys, "System Figure"), nullptr);
}

// Every view draws on screen and page, infinite and not-a-number values as texts only.
TEST(BadDriver, EveryViewDrawsOnScreenAndInPrint)
{
    for (const kt::BadDriver& b : kt::kBadDrivers)
        for (short sys : {1, 2, 3})
            for (const char* view : {"amp", "imp", "ph", "gd", "nq", "st", "sys", "ex", "ms"}) {
                SCOPED_TRACE(std::string(b.name) + " system " + std::to_string(sys) + " " + view);
                Kestrova k = kt::Adopt(b);
                k.d.boxSys = sys;
                k.d.s_Resp = view;
                RecordingCanvas screen, page;
                k.screen = &screen, k.page = &page;
                ResponsePlot(k);
                k.ds.doPrint = 1;
                DrawPrintPage(k, kWhen);
                EXPECT_FALSE(screen.lines().empty());
                EXPECT_FALSE(page.lines().empty());
                for (const std::string& line : screen.lines())  // a text may say so, a place may not
                    EXPECT_TRUE(line.starts_with("text ") ||
                                std::min(line.find("nan"), line.find("inf")) == std::string::npos)
                        << line;
            }
    EXPECT_EQ(RoundedText(kt::Adopt(kt::kBadDrivers[0]).d.SPL, 1), "-inf");  // Fs 0: the efficiency is 0
    Kestrova n = kt::Adopt(kt::kBadDrivers[5]);  // an Fs not a number stays a text in the record
    const std::string rec = MakeClipText(n).str();
    EXPECT_LE(rec.size(), 255u);
    EXPECT_NE(rec.find("   nan   "), std::string::npos) << rec;
}

}  // namespace
}  // namespace ks
