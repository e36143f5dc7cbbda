// The printed page's date stamp and the snapshot's file name; the pages
// themselves are pictures in graphs/golden.
#include "reports/print_page.h"
#include "reports/snapshot_name.h"

#include <gtest/gtest.h>

#include "common/display_list.h"

using namespace ks;
using namespace ks::test;

namespace {

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

TEST(SnapShotFileName, NamesFileSystemsCanHold)
{
    EXPECT_EQ(SnapShotFileName("AB/C", "Phase", 3).str(), "AB-C_Phase_3.png");
    EXPECT_EQ(SnapShotFileName(PStr(std::string_view("A\0B", 3)), "Phase", 1).str(), "A-B_Phase_1.png");
    EXPECT_EQ(SnapShotFileName("", "Amplitude", 1).str(), "_Amplitude_1.png");
    const PStr cut = SnapShotFileName(PStr(std::string(255, 'x')), "System Profile", 12);
    EXPECT_EQ(cut.size(), 255u);
    EXPECT_TRUE(cut.str().ends_with("_System Profile_12.png"));
}

}  // namespace
