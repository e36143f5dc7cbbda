// The drawing primitives' resets and the shapes they leave out; the shapes
// themselves are in every golden display list.
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
    void SetUp() override { k.screen = &screen, k.page = &page; }
};

// A dash (1 or 2 only) lasts one line; a width of zero or less strokes one
// point; a fill lasts one rectangle, whatever its case or corners.
TEST_F(PrimitivesTest, DashWidthAndFillLastOneShape)
{
    const std::tuple<int, float, int, float> lines[] = {{1, 0.0f, 1, 1.0f}, {0, -3.0f, 0, 1.0f},
                                                        {2, 2.0f, 2, 2.0f}, {7, 0.5f, 0, 0.5f}};
    for (const auto& [dash, width, drawnDash, drawnWidth] : lines) {
        k.ds.DashLineType = static_cast<i16>(dash);
        k.ds.LineW = width;
        DrawLineAt(k, 1, 2, 3, 4);
        EXPECT_EQ(k.ds.DashLineType, 0);
        const auto p = Parse(screen);
        EXPECT_EQ(p.back().v[8], drawnDash);
        EXPECT_EQ(p.back().v[7], drawnWidth);
    }
    k.ds.LineW = 1.0f;
    SetColor(k, 0.25f, 0.5f, 0.75f);
    DrawRectAt(k, 50, 20, 30, 40, "Fill");
    EXPECT_EQ(k.ds.s_RectDraw, "Frame");
    QuartzDrawRect(k, 1);  // no mode set again: an outline
    for (const char* mode : {"fill", "Frame ", ""}) DrawRectAt(k, 1, 1, 2, 2, mode);  // not a mode: nothing
    const auto lines2 = screen.lines();
    ASSERT_EQ(lines2.size(), 6u);
    EXPECT_EQ(lines2[4], "rect fill 50.0000 20.0000 30.0000 40.0000 0.2500 0.5000 0.7500");
    EXPECT_EQ(lines2[5], "rect frame 50.0000 20.0000 30.0000 40.0000 0.2500 0.5000 0.7500 1.0000");
}

TEST_F(PrimitivesTest, PrintingDrawsOnThePageOnlyAndNoSurfaceStillResets)
{
    k.ds.doPrint = 1;
    DrawTextAt(k, 238, 20, "Amplitude");
    k.ds.doPrint = 0;
    DrawTextAt(k, 238, 20, "Screen");
    ASSERT_EQ(page.lines().size(), 1u);
    ASSERT_EQ(screen.lines().size(), 1u);
    EXPECT_NE(page.lines()[0].find("Amplitude"), std::string::npos);
    k.screen = nullptr;
    k.ds.DashLineType = 2;
    DrawLineAt(k, 0, 0, 1, 1);
    DrawRectAt(k, 0, 0, 1, 1, "Fill");
    EXPECT_EQ(k.ds.DashLineType, 0);
    EXPECT_EQ(k.ds.s_RectDraw, "Frame");
}

TEST_F(PrimitivesTest, NonFiniteShapesAreLeftOutButStillReset)
{
    k.ds.DashLineType = 1;
    DrawLineAt(k, 0, NAN, 10, 10);
    EXPECT_EQ(k.ds.DashLineType, 0);
    DrawRectAt(k, 0, 0, INFINITY, 10, "Fill");
    EXPECT_EQ(k.ds.s_RectDraw, "Frame");
    DrawTextAt(k, NAN, 20, "x");
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
    EXPECT_TRUE(screen.lines()[1].ends_with(" a b"));
}

}  // namespace
