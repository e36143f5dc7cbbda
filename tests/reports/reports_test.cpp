// The printed page's texts, the snapshot's name, values placed on the sheets
// (the pages are pictures in graphs/golden), and drivers that break the formulas.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <sstream>
#include <string>
#include <tuple>

#include "common/drivers.h"
#include "exchange/records.h"
#include "graphs/dispatch.h"
#include "graphs/recording_canvas.h"
#include "graphs/system_profile.h"
#include "reports/print_job.h"
#include "reports/print_page.h"
#include "reports/snapshot_name.h"

namespace ks {
namespace {

const DateStamp kWhen{2026, 12, 5, 14, 30, 0};

// What fn draws on the screen and the page, as display list lines.
std::vector<std::string> Drawn(Kestrova& k, const std::function<void()>& fn)
{
    RecordingCanvas rc;
    k.screen = k.page = &rc;
    fn();
    k.screen = k.page = nullptr;
    return rc.lines();
}

// Whether one of the lines is a text that reads exactly so: "text", seven
// numbers, then the text.
bool Shows(const std::vector<std::string>& lines, const std::string& text)
{
    return std::any_of(lines.begin(), lines.end(), [&](const std::string& line) {
        std::istringstream in(line);
        std::string word, shown;
        for (int i = 0; i < 8; ++i) in >> word;
        in.get();
        std::getline(in, shown);
        return line.starts_with("text ") && shown == text;
    });
}

// The date stamp, cut at 255 and left out when not wanted; the page scale
// fits the shorter side; print errors are named; snapshot names are ones
// file systems can hold.
TEST(PageTexts, StampScaleErrorsAndSnapshotNames)
{
    Kestrova k;
    kt::SetUpDriver(k);
    EXPECT_EQ(DateTimeText(k, DateStamp{2031, 1, 9, 0, 0, 7}), "Kestrova  Test2.5-07  Jan/09/2031 00:00:07");
    k.ds.doPrint = 1;
    k.prefs.PrintDateCheck = 0;
    const auto page = Drawn(k, [&] { DrawPrintPage(k, kWhen); });
    EXPECT_TRUE(Shows(page, "Amplitude"));
    EXPECT_FALSE(Shows(page, "Kestrova  Test2.5-07  Dec/05/2026 14:30:00"));
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

// A value is placed by its length and its point; an unknown system draws no
// figure.
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
    const auto sys = Drawn(k, [&] { SystemProfile(k); });
    EXPECT_TRUE(std::none_of(sys.begin(), sys.end(), [](const std::string& l) { return l.starts_with("image "); }));
    EXPECT_FALSE(Shows(sys, "Fs"));
    EXPECT_TRUE(Shows(sys, "System Figure"));
}

// Every view draws on screen and page and shows the texts chosen for infinite
// and not-a-number values; under the sanitizer build none reaches an integer.
TEST(BadDriver, EveryViewDrawsOnScreenAndInPrint)
{
    for (const kt::BadDriver& b : kt::kBadDrivers)
        for (short sys : {1, 2, 3})
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
                EXPECT_FALSE(screen.lines().empty());
                EXPECT_FALSE(page.lines().empty());
                for (const std::string& line : screen.lines()) {  // a text may say so, a place may not
                    if (!line.starts_with("text ")) {
                        EXPECT_EQ(std::min(line.find("nan"), line.find("inf")), std::string::npos) << line;
                    }
                }
            }
    EXPECT_EQ(RoundedText(kt::Adopt(kt::kBadDrivers[0]).d.SPL, 1), "-inf");  // Fs 0: the efficiency is 0
    Kestrova n = kt::Adopt(kt::kBadDrivers[5]);  // an Fs not a number stays a text in the record
    const std::string rec = MakeClipText(n).str();
    EXPECT_LE(rec.size(), 255u);
    EXPECT_NE(rec.find("   nan   "), std::string::npos) << rec;
}

}  // namespace
}  // namespace ks
