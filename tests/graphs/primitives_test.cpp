// What the drawing primitives leave out and reset, which no display list
// shows; the shapes themselves are in every golden display list.
#include "graphs/primitives.h"

#include <gtest/gtest.h>

#include <cmath>

#include "graphs/recording_canvas.h"

using namespace ks;

namespace {

// A dash other than 1 or 2 draws plain and a width of zero or less one point
// wide; a dash or a fill lasts one shape, whether drawn, left out (not
// finite, not a mode) or without a surface.
TEST(Primitives, StateLastsOneShapeAndShapesWithoutAPlaceAreLeftOut)
{
    Kestrova k;
    RecordingCanvas screen, page;
    k.screen = &screen, k.page = &page;
    k.ds.DashLineType = 7, k.ds.LineW = -3.0f;
    DrawLineAt(k, 1, 2, 3, 4);
    EXPECT_EQ(k.ds.DashLineType, 0);
    k.ds.DashLineType = 1;
    DrawLineAt(k, 0, NAN, 10, 10);
    EXPECT_EQ(k.ds.DashLineType, 0);
    DrawRectAt(k, 0, 0, INFINITY, 10, "Fill");
    EXPECT_EQ(k.ds.s_RectDraw, "Frame");
    for (const char* mode : {"fill", "Frame ", ""}) DrawRectAt(k, 1, 1, 2, 2, mode);
    DrawTextAt(k, NAN, 20, "x");
    DrawTextAt(k, 1, 1, "");          // nothing to show: not listed
    DrawLineAt(k, 0, 1e30f, 10, 10);  // far away but finite: drawn
    ASSERT_EQ(screen.lines().size(), 2u);
    EXPECT_EQ(screen.lines()[0], "line 1.0000 2.0000 3.0000 4.0000 0.0000 0.0000 0.0000 1.0000 0.0000");

    k.ds.doPrint = 1;  // printing draws on the page only
    DrawTextAt(k, 238, 20, "Amplitude");
    EXPECT_EQ(std::pair(page.lines().size(), screen.lines().size()), std::pair(1ul, 2ul));
    k.ds.doPrint = 0;
    k.screen = nullptr;
    k.ds.DashLineType = 2;
    DrawLineAt(k, 0, 0, 1, 1);
    DrawRectAt(k, 0, 0, 1, 1, "Fill");
    EXPECT_EQ(k.ds.DashLineType, 0);
    EXPECT_EQ(k.ds.s_RectDraw, "Frame");
}

// Text carries its font, size and colour, in UTF-8, on one line of the list.
TEST(Primitives, TextCarriesFontSizeColourAndUtf8OnOneLine)
{
    Kestrova k;
    RecordingCanvas screen;
    k.screen = &screen;
    SetFont(k, 3, 15.0f);
    SetGrey(k, 0.2f);
    DrawTextAt(k, 75, 157, "Vb \xB5");  // Mac Roman micro sign
    DrawTextAt(k, 1, 2, "a\rb");         // a line break would split the list
    EXPECT_EQ(screen.str(), "text 75.0000 157.0000 3.0000 15.0000 0.2000 0.2000 0.2000 Vb \xC2\xB5\n"
                            "text 1.0000 2.0000 3.0000 15.0000 0.2000 0.2000 0.2000 a b\n");
}

}  // namespace
