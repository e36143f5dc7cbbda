#include "graphs/primitives.h"

#include <gtest/gtest.h>

#include <cmath>

#include "common/display_list.h"

using namespace ks;
using namespace ks::test;

namespace {

class PrimitivesTest : public ::testing::Test {
protected:
    Kestrova k;
    RecordingCanvas screen, page;
    void SetUp() override
    {
        k.screen = &screen;
        k.page = &page;
    }
};

TEST_F(PrimitivesTest, DashResetsAfterEveryLineAndOnlyOneAndTwoDash)
{
    k.ds.DashLineType = 1;
    DrawLineAt(k, 1, 2, 3, 4);
    EXPECT_EQ(k.ds.DashLineType, 0);
    DrawLineAt(k, 1, 2, 3, 4);
    k.ds.DashLineType = 2;
    DrawLineAt(k, 1, 2, 3, 4);
    k.ds.DashLineType = 7;  // not a dash style: solid
    DrawLineAt(k, 1, 2, 3, 4);
    auto p = Parse(screen);
    ASSERT_EQ(p.size(), 4u);
    EXPECT_EQ(p[0].v[8], 1);
    EXPECT_EQ(p[1].v[8], 0);
    EXPECT_EQ(p[2].v[8], 2);
    EXPECT_EQ(p[3].v[8], 0);
}

TEST_F(PrimitivesTest, LineWidthZeroOrNegativeStrokesOnePoint)
{
    for (float w : {0.0f, -3.0f, 2.0f, 0.5f}) {
        k.ds.LineW = w;
        DrawLineAt(k, 0, 0, 10, 10);
        k.ds.xx = 0, k.ds.yy = 0, k.ds.xx1 = 5, k.ds.yy1 = 5;
        QuartzDrawRect(k, 1);
    }
    auto p = Parse(screen);
    ASSERT_EQ(p.size(), 8u);
    const double expected[] = {1.0, 1.0, 2.0, 0.5};
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(p[2 * i].v[7], expected[i]) << "line " << i;
        EXPECT_EQ(p[2 * i + 1].v[7], expected[i]) << "rect " << i;
    }
}

TEST_F(PrimitivesTest, RectModesAreExactAndFrameComesBackAfterFill)
{
    SetColor(k, 0.25f, 0.5f, 0.75f);
    DrawRectAt(k, 10, 20, 30, 40, "Fill");
    EXPECT_EQ(k.ds.s_RectDraw, "Frame");
    QuartzDrawRect(k, 1);  // no mode set again: an outline
    DrawRectAt(k, 1, 1, 2, 2, "fill");
    EXPECT_EQ(k.ds.s_RectDraw, "Frame");
    DrawRectAt(k, 1, 1, 2, 2, "Frame ");
    DrawRectAt(k, 1, 1, 2, 2, "");
    auto lines = screen.lines();
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0], "rect fill 10.0000 20.0000 30.0000 40.0000 0.2500 0.5000 0.7500");
    EXPECT_EQ(lines[1], "rect frame 10.0000 20.0000 30.0000 40.0000 0.2500 0.5000 0.7500 1.0000");
}

TEST_F(PrimitivesTest, NegativeWidthRectangleIsNotRejected)
{
    DrawRectAt(k, 50, 10, 20, 30);
    auto p = Parse(screen);
    ASSERT_EQ(p.size(), 1u);
    EXPECT_EQ(p[0].kind, "frame");
    EXPECT_EQ(p[0].v[0], 50);
    EXPECT_EQ(p[0].v[2], 20);
}

TEST_F(PrimitivesTest, PrintingDrawsOnThePageOnly)
{
    k.ds.doPrint = 1;
    DrawTextAt(k, 238, 20, "Amplitude");
    k.ds.doPrint = 0;
    DrawTextAt(k, 238, 20, "Screen");
    ASSERT_EQ(page.lines().size(), 1u);
    ASSERT_EQ(screen.lines().size(), 1u);
    EXPECT_NE(page.lines()[0].find("Amplitude"), std::string::npos);
    EXPECT_NE(screen.lines()[0].find("Screen"), std::string::npos);
}

TEST_F(PrimitivesTest, NoSurfaceStillAppliesTheResets)
{
    k.screen = nullptr;
    k.ds.DashLineType = 2;
    DrawLineAt(k, 0, 0, 1, 1);
    DrawRectAt(k, 0, 0, 1, 1, "Fill");
    EXPECT_EQ(k.ds.DashLineType, 0);
    EXPECT_EQ(k.ds.s_RectDraw, "Frame");
}

TEST_F(PrimitivesTest, NonFiniteShapesAreLeftOutButStillReset)
{
    const float inf = INFINITY, nan = NAN;
    k.ds.DashLineType = 1;
    DrawLineAt(k, 0, nan, 10, 10);
    EXPECT_EQ(k.ds.DashLineType, 0);
    DrawRectAt(k, 0, 0, inf, 10, "Fill");
    EXPECT_EQ(k.ds.s_RectDraw, "Frame");
    DrawTextAt(k, nan, 20, "x");
    DrawLineAt(k, 0, 1e30f, 10, 10);  // far away but finite: drawn
    ASSERT_EQ(screen.lines().size(), 1u);
    EXPECT_EQ(screen.lines()[0].rfind("line", 0), 0u);
}

TEST_F(PrimitivesTest, TextCarriesFontSizeColourAndUtf8)
{
    SetFont(k, 3, 15.0f);
    SetGrey(k, 0.2f);
    DrawTextAt(k, 75, 157, "Vb \xB5");  // Mac Roman micro sign
    DrawTextAt(k, 1, 1, "");              // nothing to show: not listed
    DrawTextAt(k, 1, 2, "a\rb");           // a line break would split the list
    ASSERT_EQ(screen.lines().size(), 2u);
    EXPECT_EQ(screen.lines()[0], "text 75.0000 157.0000 3.0000 15.0000 0.2000 0.2000 0.2000 Vb \xC2\xB5");
    EXPECT_EQ(screen.lines()[1].substr(screen.lines()[1].size() - 4), " a b");
}

}  // namespace
