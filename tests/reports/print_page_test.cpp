#include "reports/print_page.h"

#include <gtest/gtest.h>

#include "graphs/display_list.h"
#include "support/numtext.h"

using namespace ks;
using namespace ks::test;

namespace {

const DateStamp kWhen{2026, 12, 5, 14, 30, 0};

TEST(DrawDateTime, StampTextAndPlace)
{
    Kestrova k;
    SetUpDriver(k);
    EXPECT_EQ(DateTimeText(k, kWhen), "Kestrova  Test2.5-07  Dec/05/2026 14:30:00");
    EXPECT_EQ(DateTimeText(k, DateStamp{2031, 1, 9, 0, 0, 7}), "Kestrova  Test2.5-07  Jan/09/2031 00:00:07");
    auto p = Record(k, [&] { DrawDateTime(k, kWhen); });
    ASSERT_EQ(p.size(), 1u);
    EXPECT_EQ(p[0].x(), 25);
    EXPECT_EQ(p[0].y(), 775);
    EXPECT_EQ(p[0].v[2], 1);
    EXPECT_EQ(p[0].v[3], 13);
}

TEST(DrawDateTime, LongModelNameIsCutAt255Bytes)
{
    Kestrova k;
    SetUpDriver(k);
    k.d.s_SP = std::string(255, 'M');
    const PStr t = DateTimeText(k, kWhen);
    EXPECT_EQ(t.size(), 255u);
    EXPECT_EQ(t.view().substr(0, 10), "Kestrova  ");
}

class PrintParamTest : public ::testing::Test {
protected:
    Kestrova k;
    void SetUp() override
    {
        SetUpDriver(k, 50.0f, 10.0f, 0.35f, 0.4f, 3.0f);
        k.d.DIA2 = 0;
        CofCal(k.d);
        k.ds.doPrint = 1;
    }
};

TEST_F(PrintParamTest, RowsFramesAndValuesForAClosedBox)
{
    k.d.DIA = 16.25f;
    k.d.VAS = 10.1234f;
    auto p = Record(k, [&] { PrintParam(k); });
    const std::pair<const char*, double> rows[] = {
        {"Thiele/Small (Driver) Prameters", 380}, {"Model Name ..................", 410},
        {"Usable Frequency Range ...........", 430}, {"Dia ..............(Nominal Diameter)", 450},
        {"Fs ..............(Free Air Resonance)", 470}, {"Vas ................(Acoustic Volume)", 490},
        {"Qts ..............................(Total Q)", 510}, {"Qes ......................(Electorical Q)", 530},
        {"Qms ...................(Mechanical Q)", 550}, {"SPL(Sound Pressure Level 1W1m)", 570},
        {"Re ....................(D.C.Resistance)", 590}, {"Pemax .....(Thermal Limit Power)", 610},
        {"Closed Box Parameters", 640}, {"Vb ........................(Box Volume)", 670},
        {"Qtc (Closed Box System Total Q)", 710}, {"Qa ...............(Box Loss Factor Q)", 730}};
    for (const auto& [label, y] : rows) {
        const Prim* l = TextAt(p, label, y);
        ASSERT_NE(l, nullptr) << label;
        EXPECT_EQ(l->x(), 200) << label;
    }
    EXPECT_EQ(TextAt(p, "Fc .........(Box Tuning Frequency)", 690)->x(), 201);
    EXPECT_EQ(TextAt(p, "System Figure", 626)->x(), 57);
    EXPECT_EQ(FindText(p, "Effi ...........................(Efficiency)"), nullptr);
    EXPECT_EQ(FindText(p, "Le ........(Voice Coile Inductance)"), nullptr);
    // Dia to one decimal and Vas to three, unlike the sheet.
    EXPECT_NE(TextAt(p, " 16.2", 450), nullptr);  // 162.5 rounds to even
    EXPECT_NE(TextAt(p, " 10.123", 490), nullptr);
    EXPECT_NE(TextAt(p, RoundedText(k.d.SPL, 1).str(), 570), nullptr);
    const Prim* vb = TextAt(p, RoundedText(k.d.VB, 2).str(), 670);
    ASSERT_NE(vb, nullptr);
    EXPECT_EQ(vb->x(), 446 - 4 * static_cast<double>(vb->text.size()));
    // Frames: model name, ten values, four box values; rules at 390 and 649.
    auto frames = Filter(p, [](const Prim& q) { return q.kind == "frame" && q.x() >= 363; });
    ASSERT_EQ(frames.size(), 15u);
    EXPECT_EQ(frames[0].v, (std::vector<double>{363, 397, 476, 413, 0.229, 0.229, 0.229, 0.5}));
    EXPECT_EQ(frames[1].v, (std::vector<double>{410, 417, 476, 433, 0.229, 0.229, 0.229, 0.5}));
    EXPECT_EQ(frames[10].y(), 417 + 20 * 9);
    EXPECT_EQ(frames[11].y(), 657);
    auto rules = Filter(p, [](const Prim& q) { return q.kind == "line"; });
    ASSERT_EQ(rules.size(), 2u);
    EXPECT_EQ(rules[0].v, (std::vector<double>{200, 390, 520, 390, 0.229, 0.229, 0.229, 0.75, 0}));
    EXPECT_EQ(rules[1].y(), 649);
    // The figure 320 points lower, with no symbols.
    auto image = Filter(p, [](const Prim& q) { return q.kind == "image"; });
    ASSERT_EQ(image.size(), 1u);
    EXPECT_EQ(image[0].v, (std::vector<double>{403, 45, 599, 162}));
    auto panel = Filter(p, [](const Prim& q) { return q.kind == "frame" && q.x() == 20; });
    ASSERT_EQ(panel.size(), 1u);
    EXPECT_EQ(panel[0].v, (std::vector<double>{20, 392, 180, 610, 0.229, 0.229, 0.229, 0.5}));
    EXPECT_EQ(FindText(p, "Vb"), nullptr);
}

TEST_F(PrintParamTest, InfiniteBaffleEndsWithTheFigureCaption)
{
    k.d.boxSys = 2;
    auto p = Record(k, [&] { PrintParam(k); });
    EXPECT_EQ(FindText(p, "Closed Box Parameters"), nullptr);
    auto image = Filter(p, [](const Prim& q) { return q.kind == "image"; });
    ASSERT_EQ(image.size(), 1u);
    EXPECT_EQ(image[0].text, "Images/InfiniteImage.png");
    EXPECT_EQ(image[0].v, (std::vector<double>{403, 74, 599, 123}));
    EXPECT_EQ(Filter(p, [](const Prim& q) { return q.kind == "frame" && q.x() == 410; }).size(), 10u);
}

TEST_F(PrintParamTest, PageIsGraphThenListThenStamp)
{
    k.d.s_Resp = "amp";
    auto p = Record(k, [&] { DrawPrintPage(k, kWhen); });
    ASSERT_FALSE(p.empty());
    EXPECT_NE(p.front().kind, "erase");  // the page starts blank
    EXPECT_EQ(p.back().text, "Kestrova  Test2.5-07  Dec/05/2026 14:30:00");
    const Prim* title = FindText(p, "Amplitude");
    const Prim* heading = FindText(p, "Thiele/Small (Driver) Prameters");
    ASSERT_NE(title, nullptr);
    ASSERT_NE(heading, nullptr);
    EXPECT_LT(title, heading);
    EXPECT_EQ(heading->y(), 380);

    k.prefs.PrintDateCheck = 0;
    auto q = Record(k, [&] { DrawPrintPage(k, kWhen); });
    EXPECT_EQ(FindText(q, "Kestrova  Test2.5-07  Dec/05/2026 14:30:00"), nullptr);
}

TEST_F(PrintParamTest, SystemProfilePageIsThePrintedSheet)
{
    k.d.s_Resp = "sys";
    auto p = Record(k, [&] { DrawPrintPage(k, kWhen); });
    EXPECT_NE(TextAt(p, "SPL(Sound Pressure Level 1W1m)", 270), nullptr);
    EXPECT_NE(FindText(p, "Box Parameters"), nullptr);
    EXPECT_EQ(FindText(p, "Closed Box Parameters"), nullptr);
    auto image = Filter(p, [](const Prim& q) { return q.kind == "image"; });
    ASSERT_EQ(image.size(), 1u);
    EXPECT_EQ(image[0].v[0], 83);
    EXPECT_EQ(p.back().y(), 775);
}

}  // namespace
