// The numbers behind the views that their pictures do not show on their own:
// the frequency mapping, the scale bands chosen from a value, the titles and
// the batching of a redraw. The pictures themselves are display_list_test's.
#include <gtest/gtest.h>

#include <cmath>

#include "common/drivers.h"
#include "graphs/amp.h"
#include "graphs/dispatch.h"
#include "graphs/freq_axis.h"
#include "graphs/group_delay.h"
#include "graphs/imp.h"
#include "graphs/recording_canvas.h"
#include "model/ib.h"

using namespace ks;

namespace {

TEST(FreqAxis, FrequencyMappingEnds)
{
    EXPECT_DOUBLE_EQ(FreqToX(20.0), 45.0);
    EXPECT_NEAR(FreqToX(20000.0), 506.2, 0.05);
    EXPECT_NEAR(LogFreqToX(3.0f), FreqToX(1000.0), 1e-4);
}

// The amplitude bands are pictures (golden/amp_band_*); these two are
// chosen from a peak no picture names.
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
}

TEST(ScaleBands, ScansFindThePeaks)
{
    Kestrova k;
    kt::SetUpDriver(k);
    k.d.s_Resp = "imp";
    ImpOpt(k);
    // Re 6 ohm, Qms/Qes = 2.57: the resonance peak is about 21 ohms.
    EXPECT_GT(k.ds.G1, 15.0f);
    EXPECT_LT(k.ds.G1, 25.0f);
    EXPECT_EQ(k.ds.IMPscal, 4.0f);

    // A resonance far below 10 Hz: the delay only falls over the scan, so
    // the value at 10 Hz is the peak.
    Kestrova low;
    kt::SetUpDriver(low);
    low.d.FS = 2.0f;
    low.d.QTS = 0.5f;
    GdOpt(low);
    low.d.ff = 10.0f;
    low.d.f = low.d.ff / low.d.FS;
    CofCal(low.d);
    IBGDcal(low.d);
    EXPECT_EQ(low.ds.G2, std::fabs(low.d.yy));
    EXPECT_EQ(low.ds.GdOptFlg, 1);
}

TEST(ResponsePlot, ErasesTheScreenOnlyAndWrapsTheRedrawInABatch)
{
    struct CountingCanvas : RecordingCanvas {
        int begins = 0, ends = 0;
        void beginBatch() override { ++begins; }
        void endBatch() override { ++ends; }
    };
    Kestrova k;
    kt::SetUpDriver(k);
    CountingCanvas screen, page;
    k.screen = &screen;
    k.page = &page;
    ResponsePlot(k);
    EXPECT_EQ(screen.begins, 1);
    EXPECT_EQ(screen.ends, 1);
    EXPECT_TRUE(page.lines().empty());
    k.ds.doPrint = 1;
    ResponsePlot(k);
    ASSERT_FALSE(page.lines().empty());
    EXPECT_EQ(page.lines()[0].rfind("erase", 0), std::string::npos);
    EXPECT_EQ(page.begins, 1);

    k.ds.doPrint = 0;
    k.d.s_Resp = "bogus";
    screen.clear();
    ResponsePlot(k);
    ASSERT_EQ(screen.lines().size(), 1u);  // the erased area only
}

TEST(ResponsePlot, TitlesOfTheViews)
{
    Design d;
    const std::pair<const char*, const char*> titles[] = {
        {"amp", "Amplitude"}, {"imp", "Impedance"},       {"ph", "Phase"},         {"gd", "Group Delay"},
        {"nq", "Nyquist Diagram"}, {"st", "Step Response"}, {"sys", "System Profile"}, {"amp ", ""}};
    for (const auto& [key, title] : titles) {
        d.s_Resp = key;
        EXPECT_EQ(SetResponseTitle(d), title) << key;
    }
}

}  // namespace
