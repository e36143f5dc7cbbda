#include "render_session.h"

#include <gtest/gtest.h>

#include "common/display_list.h"
#include "graphs/null_canvas.h"

using namespace ks;
using namespace ks::test;

namespace {

constexpr const char* kWoofer = "DUMMY#  W  Woofer  16  50  10  0.35  0.4  3  0  6  50  100  3  10  0.5  ";

RenderOptions Opts(std::vector<std::string_view> a)
{
    auto p = ParseRenderOptions(a);
    EXPECT_TRUE(p.options) << p.error;
    return p.options.value_or(RenderOptions{});
}

TEST(RenderSession, DefaultDriverIsARearClosedUnitInTheAmplitudeView)
{
    Kestrova k;
    NullCanvas scratch;
    ASSERT_TRUE(RunRenderSequence(k, Opts({}), scratch).ok);
    EXPECT_EQ(k.d.boxSys, 3);
    EXPECT_EQ(k.d.s_Resp, "amp");
    EXPECT_EQ(k.d.s_SP, "Test2.5-07");
    EXPECT_NEAR(k.d.SPL, 89.998f, 1e-3);
}

TEST(RenderSession, DriverRecordIsAdoptedAndItsSystemChosen)
{
    NullCanvas scratch;
    Kestrova k;
    ASSERT_TRUE(RunRenderSequence(k, Opts({"--driver", kWoofer}), scratch).ok);
    EXPECT_EQ(k.d.s_SP, "W");
    EXPECT_EQ(k.d.FS, 50.0f);
    EXPECT_EQ(k.d.boxSys, 1);
    Kestrova k2;
    ASSERT_TRUE(RunRenderSequence(k2, Opts({"--driver", kWoofer, "--system", "ib"}), scratch).ok);
    EXPECT_EQ(k2.d.boxSys, 2);
    // A closed box needs Vas, which the default driver lacks.
    Kestrova k3;
    RenderRun r = RunRenderSequence(k3, Opts({"--system", "cb"}), scratch);
    EXPECT_FALSE(r.ok);
    EXPECT_NE(r.error.find("Vas"), std::string::npos);
}

TEST(RenderSession, OptimumAlignmentAfterABoxVolume)
{
    Kestrova k;
    NullCanvas scratch;
    ASSERT_TRUE(RunRenderSequence(k, Opts({"--driver", kWoofer, "--qa", "20", "--align", "opt"}), scratch).ok);
    EXPECT_EQ(k.d.alin, 1);
    EXPECT_EQ(k.sh.EditMenuFlag, 0);
    EXPECT_EQ(k.d.QA, 20.0f);
    EXPECT_GT(k.d.VB, 0.0f);
}

TEST(RenderSession, IntermediateRedrawsGoToTheScratchSurfaceOnly)
{
    Kestrova k;
    RecordingCanvas scratch, out;
    auto o = Opts({"--view", "ph"});
    ASSERT_TRUE(RunRenderSequence(k, o, scratch).ok);
    const std::size_t before = scratch.lines().size();
    EXPECT_GT(before, 0u);  // set-up amplitude and the Response view's redraw
    DrawFinalView(k, o, out, DateStamp{});
    EXPECT_EQ(scratch.lines().size(), before);
    auto p = Parse(out);
    ASSERT_FALSE(p.empty());
    EXPECT_EQ(p.front().kind, "erase");
    EXPECT_NE(FindText(p, "Phase"), nullptr);
}

TEST(RenderSession, PrintDrawsThePageWithTheStamp)
{
    Kestrova k;
    NullCanvas scratch;
    RecordingCanvas out;
    auto o = Opts({"--print", "--date", "2026-12-05T14:30:00"});
    ASSERT_TRUE(RunRenderSequence(k, o, scratch).ok);
    DrawFinalView(k, o, out, *o.date);
    auto p = Parse(out);
    ASSERT_FALSE(p.empty());
    EXPECT_EQ(p.back().text, "Kestrova  Test2.5-07  Dec/05/2026 14:30:00");
    EXPECT_EQ(k.ds.doPrint, 0);
}

}  // namespace
