// The numbers behind the views that no picture shows: the scale bands chosen
// from a peak, the titles and the batching of a redraw. The pictures, the
// frequency axis and the bands' labels are display_list_test's.
#include <gtest/gtest.h>

#include <cmath>

#include "common/drivers.h"
#include "graphs/dispatch.h"
#include "graphs/group_delay.h"
#include "graphs/imp.h"
#include "graphs/recording_canvas.h"
#include "model/ib.h"

using namespace ks;

namespace {

TEST(ScaleBands, ChosenFromThePeakAndClosedBelow)
{
    Kestrova k;
    const std::pair<float, float> imp[] = {{9.99f, 10}, {10.0f, 4},  {24.99f, 4},     {25.0f, 2},
                                           {50.0f, 1},  {99.99f, 1}, {100.0f, 0.1f}, {std::nanf(""), 0.1f}};
    for (const auto& [g1, scl] : imp) {
        k.ds.G1 = g1;
        impSetScale(k);
        EXPECT_EQ(k.ds.IMPscal, scl) << g1;  // not a number: unchanged
    }
    const std::pair<float, float> gd[] = {{0.049f, 0.005f}, {0.05f, 0.01f}, {0.1f, 0.025f}, {0.25f, 0.05f},
                                          {0.5f, 0.1f},     {1.0f, 0.25f},  {2.5f, 0.5f},   {5.0f, 1.0f},
                                          {24.9f, 2.5f},    {25.0f, 5.0f},  {50.0f, 10.0f}, {std::nanf(""), 10.0f}};
    for (const auto& [g2, scl] : gd) {
        k.ds.G2 = g2;
        GdOpt2(k);
        EXPECT_EQ(k.ds.GDscl, scl) << g2;
    }
    // A resonance far below 10 Hz: the delay only falls over the scan, so
    // the value at 10 Hz is the peak.
    kt::SetUpDriver(k);
    k.d.FS = 2.0f, k.d.QTS = 0.5f;
    GdOpt(k);
    k.d.ff = 10.0f, k.d.f = k.d.ff / k.d.FS;
    CofCal(k.d);
    IBGDcal(k.d);
    EXPECT_EQ(k.ds.G2, std::fabs(k.d.yy));
    EXPECT_EQ(k.ds.GdOptFlg, 1);
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
    k.d.s_Resp = "bogus";
    screen.clear();
    ResponsePlot(k);
    EXPECT_EQ(screen.lines().size(), 1u);  // the erased area only

    const std::pair<const char*, const char*> titles[] = {
        {"amp", "Amplitude"}, {"imp", "Impedance"},       {"ph", "Phase"},         {"gd", "Group Delay"},
        {"nq", "Nyquist Diagram"}, {"st", "Step Response"}, {"sys", "System Profile"}, {"amp ", ""}};
    for (const auto& [key, title] : titles) {
        k.d.s_Resp = key;
        EXPECT_EQ(SetResponseTitle(k.d), title) << key;
    }
}

}  // namespace
