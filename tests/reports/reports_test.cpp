// The printed page's stamp, scale and error texts, the snapshot's name, values
// placed on the sheets (the pages are pictures in graphs/golden), and drivers
// whose values break the formulas yet draw every view.
#include <gtest/gtest.h>

#include <string>
#include <vector>

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

TEST(DrawDateTime, StampTextCutAt255AndLeftOutWhenNotWanted)
{
    Kestrova k;
    kt::SetUpDriver(k);
    EXPECT_EQ(DateTimeText(k, DateStamp{2031, 1, 9, 0, 0, 7}), "Kestrova  Test2.5-07  Jan/09/2031 00:00:07");
    k.d.s_SP = std::string(255, 'M');
    const PStr t = DateTimeText(k, kWhen);
    EXPECT_EQ(t.size(), 255u);
    EXPECT_EQ(t.view().substr(0, 10), "Kestrova  ");

    kt::SetUpDriver(k);
    k.ds.doPrint = 1;
    k.prefs.PrintDateCheck = 0;
    auto q = Record(k, [&] { DrawPrintPage(k, kWhen); });
    ASSERT_FALSE(q.empty());
    EXPECT_EQ(FindText(q, "Kestrova  Test2.5-07  Dec/05/2026 14:30:00"), nullptr);
}

TEST(PrintJob, PageScaleFitsTheShorterSideAndErrorsAreNamed)
{
    EXPECT_NEAR(CalcPrintPageScale(0, 0, 734, 576), 105.62, 0.01);
    EXPECT_NEAR(CalcPrintPageScale(0, 0, 576, 734), 73.674, 0.001);  // landscape fits the height
    for (const auto& [code, message] :
         {std::pair{-30872, "No default printer specified"}, std::pair{-1, "Printing error"}}) {
        const PrintErrorText t = PrintErrorTexts(code);
        EXPECT_EQ(t.message.str(), message);
        EXPECT_EQ(t.informative.str(), "Error code " + std::to_string(code));
    }
}

TEST(SnapShotFileName, NamesFileSystemsCanHold)
{
    EXPECT_EQ(SnapShotFileName("AB/C", "Phase", 3).str(), "AB-C_Phase_3.png");
    EXPECT_EQ(SnapShotFileName(PStr(std::string_view("A\0B", 3)), "Phase", 1).str(), "A-B_Phase_1.png");
    EXPECT_EQ(SnapShotFileName("", "Amplitude", 1).str(), "_Amplitude_1.png");
    const PStr cut = SnapShotFileName(PStr(std::string(255, 'x')), "System Profile", 12);
    EXPECT_EQ(cut.size(), 255u);
    EXPECT_TRUE(cut.str().ends_with("_System Profile_12.png"));
}

// A value is placed by its length and its point; an unknown system draws no
// figure.
TEST(SystemProfile, ValuePlacementAndNoFigureForAnUnknownSystem)
{
    EXPECT_EQ(CharactCheck(" 40"), 3);
    EXPECT_EQ(CommaCheck(" 40"), 0);
    EXPECT_EQ(CommaCheck(" 40.5"), 4);
    EXPECT_EQ(CommaCheck("1.2.3"), 2);
    const std::string longText(80, '7');
    EXPECT_EQ(CharactCheck(longText), 63);
    EXPECT_EQ(CommaCheck(longText + "."), 0);  // the point lies beyond the cut
    Kestrova k;
    const auto p = Record(k, [&] {
        for (const float v : {40.0f, 40.5f, -40.5f}) DrawPlacedValue(k, v, 2, 150);
    });
    std::vector<std::pair<std::string, double>> placed;
    for (const Prim& q : p) placed.emplace_back(q.text, q.x());
    EXPECT_EQ(placed, (decltype(placed){{" 40", 432}, {" 40.5", 426}, {"-40.5", 426}}));  // a sign for the blank

    kt::SetUpDriver(k);
    k.d.boxSys = 0;
    const auto sys = Record(k, [&] { SystemProfile(k); });
    EXPECT_TRUE(Filter(sys, [](const Prim& q) { return q.kind == "image"; }).empty());
    EXPECT_EQ(FindText(sys, "Fs"), nullptr);
    EXPECT_NE(FindText(sys, "System Figure"), nullptr);
}

// Every view draws on screen and page and shows the texts chosen for infinite
// and not-a-number values; under the sanitizer build none reaches an integer.
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
                k.screen = &screen, k.page = &page;
                ResponsePlot(k);
                k.ds.doPrint = 1;
                DrawPrintPage(k, kWhen);
                EXPECT_FALSE(screen.lines().empty() || page.lines().empty());
                for (const std::string& line : screen.lines())
                    EXPECT_TRUE(line.starts_with("text ") ||
                                (line.find("nan") == std::string::npos && line.find("inf") == std::string::npos))
                        << line;
            }
        }
    }
    EXPECT_EQ(RoundedText(kt::Adopt(kt::kBadDrivers[0]).d.SPL, 1), "-inf");  // Fs 0: the efficiency is 0
    Kestrova n = kt::Adopt(kt::kBadDrivers[5]);
    EXPECT_EQ(RoundedText(n.d.FS, 2), " nan");
    const PStr rec = MakeClipText(n);
    EXPECT_LE(rec.size(), 255u);
    EXPECT_NE(rec.str().find(" nan"), std::string::npos);
}

}  // namespace
}  // namespace ks
