// Placing a value on the sheet by its length and its point; the sheets
// themselves are pictures in graphs/golden.
#include "graphs/system_profile.h"

#include <gtest/gtest.h>

#include "common/display_list.h"

using namespace ks;
using namespace ks::test;

namespace {

TEST(ValuePlacement, CountAndPointRule)
{
    EXPECT_EQ(CharactCheck(" 40"), 3);
    EXPECT_EQ(CommaCheck(" 40"), 0);
    EXPECT_EQ(CommaCheck(" 40.5"), 4);
    EXPECT_EQ(CommaCheck("1.2.3"), 2);
    const std::string longText(80, '7');
    EXPECT_EQ(CharactCheck(longText), 63);
    EXPECT_EQ(CommaCheck(longText + "."), 0);  // the point lies beyond the cut
    Kestrova k;
    auto p = Record(k, [&] {
        DrawPlacedValue(k, 40.0f, 2, 150);
        DrawPlacedValue(k, 40.5f, 2, 170);
        DrawPlacedValue(k, -40.5f, 2, 190);
    });
    ASSERT_EQ(p.size(), 3u);
    EXPECT_EQ(p[0].text, " 40");
    EXPECT_EQ(p[0].x(), 432);
    EXPECT_EQ(p[1].text, " 40.5");
    EXPECT_EQ(p[1].x(), 426);
    EXPECT_EQ(p[2].text, "-40.5");
    EXPECT_EQ(p[2].x(), 426);  // the sign takes the blank's place
}

TEST(SystemProfile, UnknownSystemDrawsNoFigure)
{
    Kestrova k;
    kt::SetUpDriver(k);
    k.d.boxSys = 0;
    auto p = Record(k, [&] { SystemProfile(k); });
    EXPECT_TRUE(Filter(p, [](const Prim& q) { return q.kind == "image"; }).empty());
    EXPECT_EQ(FindText(p, "Fs"), nullptr);
    EXPECT_NE(FindText(p, "System Figure"), nullptr);
}

}  // namespace
