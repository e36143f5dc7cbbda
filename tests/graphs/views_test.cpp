// What no picture shows: the state the drawing primitives leave out and
// reset, the scale bands chosen from a peak, the batching of a redraw. The
// pictures, the frequency axis and the bands' labels are display_list_test's.
#include <gtest/gtest.h>

#include <cmath>
#include <tuple>

#include "common/drivers.h"
#include "graphs/dispatch.h"
#include "graphs/group_delay.h"
#include "graphs/imp.h"
#include "graphs/primitives.h"
#include "graphs/recording_canvas.h"

using namespace ks;

namespace {

// A dash other than 1 or 2 draws plain and a width of zero or less one point
// wide; a dash or a fill lasts one shape, whether drawn, left out (not
// finite, not a mode) or without a surface. Text carries its font, size and
// colour, in UTF-8, on one line of the list.
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
    SetFont(k, 3, 15.0f);
    SetGrey(k, 0.2f);
    DrawTextAt(k, 75, 157, "Vb \xB5");  // Mac Roman micro sign
    DrawTextAt(k, 1, 2, "a\rb");         // a line break would split the list
    ASSERT_EQ(screen.lines().size(), 4u);
    EXPECT_EQ(screen.lines()[0], "line 1.0000 2.0000 3.0000 4.0000 0.0000 0.0000 0.0000 1.0000 0.0000");
    EXPECT_EQ(screen.lines()[2], "text 75.0000 157.0000 3.0000 15.0000 0.2000 0.2000 0.2000 Vb \xC2\xB5");
    EXPECT_EQ(screen.lines()[3], "text 1.0000 2.0000 3.0000 15.0000 0.2000 0.2000 0.2000 a b");

    k.ds.doPrint = 1;  // printing draws on the page only
    DrawTextAt(k, 238, 20, "Amplitude");
    EXPECT_EQ(std::pair(page.lines().size(), screen.lines().size()), std::pair(1ul, 4ul));
    k.ds.doPrint = 0;
    k.screen = nullptr;
    k.ds.DashLineType = 2;
    DrawLineAt(k, 0, 0, 1, 1);
    DrawRectAt(k, 0, 0, 1, 1, "Fill");
    EXPECT_EQ(k.ds.DashLineType, 0);
    EXPECT_EQ(k.ds.s_RectDraw, "Frame");
}

TEST(ScaleBands, ChosenFromThePeakAndClosedBelow)
{
    Kestrova k;
    // The impedance band from G1, the delay band from G2; not a number: unchanged.
    const std::tuple<bool, float, float> bands[] = {
        {false, 9.99f, 10}, {false, 10.0f, 4}, {false, 24.99f, 4}, {false, 25.0f, 2}, {false, 50.0f, 1},
        {false, 99.99f, 1}, {false, 100.0f, 0.1f}, {false, NAN, 0.1f}, {true, 0.049f, 0.005f}, {true, 0.05f, 0.01f},
        {true, 0.1f, 0.025f}, {true, 0.25f, 0.05f}, {true, 0.5f, 0.1f}, {true, 1.0f, 0.25f}, {true, 2.5f, 0.5f},
        {true, 5.0f, 1.0f}, {true, 24.9f, 2.5f}, {true, 25.0f, 5.0f}, {true, 50.0f, 10.0f}, {true, NAN, 10.0f}};
    for (const auto& [gd, peak, scl] : bands) {
        (gd ? k.ds.G2 : k.ds.G1) = peak;
        gd ? GdOpt2(k) : impSetScale(k);
        EXPECT_EQ(gd ? k.ds.GDscl : k.ds.IMPscal, scl) << gd << " " << peak;
    }
}

TEST(ResponsePlot, WrapsTheRedrawInABatchAndNamesTheViews)
{
    struct CountingCanvas : RecordingCanvas {
        int begins = 0, ends = 0;
        void beginBatch() override { ++begins; }
        void endBatch() override { ++ends; }
    };
    Kestrova k;
    kt::SetUpDriver(k);
    CountingCanvas screen;
    k.screen = &screen;
    ResponsePlot(k);
    EXPECT_EQ(std::pair(screen.begins, screen.ends), std::pair(1, 1));
    k.d.s_Resp = "amp ";  // no view: the erased area only, no title
    screen.clear();
    ResponsePlot(k);
    EXPECT_EQ(screen.lines().size(), 1u);
    EXPECT_EQ(SetResponseTitle(k.d), "");
}

}  // namespace
