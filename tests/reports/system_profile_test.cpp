#include "graphs/system_profile.h"

#include <gtest/gtest.h>

#include "graphs/display_list.h"
#include "support/numtext.h"

using namespace ks;
using namespace ks::test;

namespace {

// The value texts of the sheet: 12-point font 5 from x 400 on.
std::vector<Prim> Values(const std::vector<Prim>& p)
{
    return Filter(p, [](const Prim& q) { return q.kind == "text" && q.v[2] == 5 && q.v[3] == 12 && q.x() > 400; });
}

class SheetTest : public ::testing::Test {
protected:
    Kestrova k;
    void SetUp() override
    {
        SetUpDriver(k, 50.0f, 10.0f, 0.35f, 0.4f, 3.0f);  // a closed box
        k.d.s_Resp = "sys";
        CofCal(k.d);
    }
};

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

TEST_F(SheetTest, ScreenRowsWithoutSplAndBox)
{
    auto p = Record(k, [&] { SystemProfile(k); });
    const std::pair<const char*, double> rows[] = {
        {"Dia ..............(Nominal Diameter)", 130}, {"Fs ..............(Free Air Resonance)", 150},
        {"Vas ................(Acoustic Volume)", 170}, {"Qts ..............................(Total Q)", 190},
        {"Qes ......................(Electorical Q)", 210}, {"Qms ...................(Mechanical Q)", 230},
        {"Effi ...........................(Efficiency)", 250}, {"Re ....................(D.C.Resistance)", 270},
        {"Pemax .....(Thermal Limit Power)", 290}, {"Sd ......................(Effective Area)", 310},
        {"Xmax (Peak Liner Displacement)", 330}, {"Vd .........(Displacement Volume)", 350},
        {"Le ........(Voice Coile Inductance)", 370}};
    for (const auto& [label, y] : rows) {
        const Prim* l = TextAt(p, label, y);
        ASSERT_NE(l, nullptr) << label;
        EXPECT_EQ(l->x(), 200);
        EXPECT_EQ(l->v[3], 13);
    }
    EXPECT_EQ(FindText(p, "SPL(Sound Pressure Level 1W1m)"), nullptr);
    EXPECT_EQ(FindText(p, "Box Parameters"), nullptr);
    ASSERT_NE(TextAt(p, "System Profile", 20), nullptr);
    EXPECT_EQ(TextAt(p, "System Profile", 20)->x(), 226);
    EXPECT_EQ(TextAt(p, "2", 306)->x(), 504);
    EXPECT_EQ(TextAt(p, "2", 306)->v[3], 9);
    EXPECT_EQ(TextAt(p, "3", 346)->x(), 504);
    EXPECT_EQ(TextAt(p, "'Closed Box System'", 39)->x(), 208);
    // 14 value frames on screen plus the model-name frame, one pixel wide.
    auto frames = Filter(p, [](const Prim& q) { return q.kind == "frame" && q.x() > 360; });
    ASSERT_EQ(frames.size(), 15u);
    EXPECT_EQ(frames[0].v, (std::vector<double>{363.5, 77.5, 476.5, 93.5, 0.229, 0.229, 0.229, 1}));
    EXPECT_EQ(frames.back().y(), 97.5 + 20 * 13);
    // The panel is filled, then framed.
    auto fills = Filter(p, [](const Prim& q) { return q.kind == "fill"; });
    ASSERT_EQ(fills.size(), 1u);
    EXPECT_EQ(fills[0].v, (std::vector<double>{20.5, 72.5, 180.5, 290.5, 0.93, 0.93, 0.93}));
    // 13 values from Dia down, placed by their length.
    auto values = Values(p);
    ASSERT_EQ(values.size(), 14u);  // the range text and 13 numbers
    const Prim& fs = values[2];
    EXPECT_EQ(fs.text, " 50");
    EXPECT_EQ(fs.y(), 150);
    EXPECT_EQ(fs.x(), 444 - 4 * 3);
    const Prim& qts = values[4];
    EXPECT_EQ(qts.text, " 0.35");
    EXPECT_EQ(qts.x(), 446 - 4 * 5);
}

TEST_F(SheetTest, PrintedSheetAddsSplAndTheBoxSection)
{
    k.ds.doPrint = 1;
    auto p = Record(k, [&] { SystemProfile(k); });
    // SPL to one decimal on its row; the box values in the section.
    const std::pair<std::string, double> rows[] = {
        {"SPL(Sound Pressure Level 1W1m)", 270}, {"Le ........(Voice Coile Inductance)", 390}, {"2", 326}, {"3", 366},
        {"Box Parameters", 420}, {"Qa ...............(Box Loss Factor Q)", 510}, {RoundedText(k.d.SPL, 1).str(), 270},
        {" 2.8", 450}, {" 0.707", 490}, {" 10", 510}};
    for (const auto& [text, y] : rows) EXPECT_NE(TextAt(p, text, y), nullptr) << text;
    EXPECT_EQ(TextAt(p, "Fc .........(Box Tuning Frequency)", 470)->x(), 201);
    // Only framed panel, 0.5 wide, at the sheet's place.
    EXPECT_TRUE(Filter(p, [](const Prim& q) { return q.kind == "fill"; }).empty());
    auto panel = Filter(p, [](const Prim& q) { return q.kind == "frame" && q.x() == 20; });
    ASSERT_EQ(panel.size(), 1u);
    EXPECT_EQ(panel[0].v, (std::vector<double>{20, 72, 180, 290, 0.229, 0.229, 0.229, 0.5}));
    auto frames = Filter(p, [](const Prim& q) { return q.kind == "frame" && q.x() == 410.5; });
    ASSERT_EQ(frames.size(), 15u + 4u);
    auto rules = Filter(p, [](const Prim& q) { return q.kind == "line" && q.x() == 200; });
    ASSERT_EQ(rules.size(), 2u);
    EXPECT_EQ(rules[0].y(), 70.5);
    EXPECT_EQ(rules[0].v[7], 0.75);
    EXPECT_EQ(rules[1].y(), 429.5);
    auto image = Filter(p, [](const Prim& q) { return q.kind == "image"; });
    ASSERT_EQ(image.size(), 1u);
    EXPECT_EQ(image[0].text, "Images/ClosedImage.png");
    EXPECT_EQ(image[0].v, (std::vector<double>{83, 45, 279, 162}));
}

TEST_F(SheetTest, InfiniteBaffleShowsItsFigureAndNoBoxSectionEvenInPrint)
{
    k.d.boxSys = 2;
    k.ds.doPrint = 1;
    auto p = Record(k, [&] { SystemProfile(k); });
    EXPECT_EQ(FindText(p, "Box Parameters"), nullptr);
    auto image = Filter(p, [](const Prim& q) { return q.kind == "image"; });
    ASSERT_EQ(image.size(), 1u);
    EXPECT_EQ(image[0].text, "Images/InfiniteImage.png");
    EXPECT_EQ(image[0].v, (std::vector<double>{83, 74, 279, 123}));
    const Prim* fs = TextAt(p, "Fs", 227);
    ASSERT_NE(fs, nullptr);
    EXPECT_EQ(fs->x(), 60);
    EXPECT_EQ(fs->v[2], 2);
    EXPECT_EQ(fs->v[3], 15);
    EXPECT_TRUE(IsGrey(*fs, 0.2, 4));
    EXPECT_EQ(FindText(p, "Vb"), nullptr);
}

TEST_F(SheetTest, EmptyNameAndRangeKeepTheirFrames)
{
    k.d.s_SP = "";
    k.d.s_RANG = "";
    auto p = Record(k, [&] { SystemProfile(k); });
    EXPECT_EQ(TextAt(p, "", 90), nullptr);
    auto frames = Filter(p, [](const Prim& q) { return q.kind == "frame" && q.x() > 360; });
    EXPECT_EQ(frames.size(), 15u);
}

TEST_F(SheetTest, UnknownSystemDrawsNoFigure)
{
    k.d.boxSys = 0;
    auto p = Record(k, [&] { SystemProfile(k); });
    EXPECT_TRUE(Filter(p, [](const Prim& q) { return q.kind == "image"; }).empty());
    EXPECT_EQ(FindText(p, "Fs"), nullptr);
    EXPECT_NE(FindText(p, "System Figure"), nullptr);
}

}  // namespace
