#include "render_session.h"

#include <gtest/gtest.h>

#include "exchange/records.h"
#include "graphs/display_list.h"
#include "graphs/surfaces/null_canvas.h"

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
    RenderRun r = RunRenderSequence(k, Opts({}), scratch);
    ASSERT_TRUE(r.ok);
    EXPECT_EQ(k.d.boxSys, 3);
    EXPECT_EQ(k.d.s_Resp, "amp");
    EXPECT_EQ(k.d.s_SP, "Test2.5-07");
    EXPECT_NEAR(k.d.SPL, 89.998f, 1e-3);
}

TEST(RenderSession, DriverRecordIsAdopted)
{
    Kestrova k;
    NullCanvas scratch;
    ASSERT_TRUE(RunRenderSequence(k, Opts({"--driver", kWoofer}), scratch).ok);
    EXPECT_EQ(k.d.s_SP, "W");
    EXPECT_EQ(k.d.FS, 50.0f);
    EXPECT_EQ(k.d.boxSys, 1);
    EXPECT_EQ(k.d.CBactive, 1);
}

TEST(RenderSession, NotADriverRecordIsRefused)
{
    Kestrova k;
    NullCanvas scratch;
    RenderRun r = RunRenderSequence(k, Opts({"--driver", "DUMMY%  W  "}), scratch);
    EXPECT_FALSE(r.ok);
    EXPECT_NE(r.error.find("DUMMY#"), std::string::npos);
    r = RunRenderSequence(k, Opts({"--driver", "DUMMY#  \xE2\x82\xAC\xE2\x80\x8B  "}), scratch);  // U+200B: no Mac Roman
    EXPECT_FALSE(r.ok);
}

TEST(RenderSession, ClosedBoxNeedsVas)
{
    Kestrova k;
    NullCanvas scratch;
    RenderRun r = RunRenderSequence(k, Opts({"--system", "cb"}), scratch);
    EXPECT_FALSE(r.ok);
    EXPECT_NE(r.error.find("Vas"), std::string::npos);
    Kestrova k2;
    r = RunRenderSequence(k2, Opts({"--driver", kWoofer, "--system", "ib"}), scratch);
    ASSERT_TRUE(r.ok);
    EXPECT_EQ(k2.d.boxSys, 2);
    Kestrova k3;
    r = RunRenderSequence(k3, Opts({"--driver", kWoofer, "--system", "cb"}), scratch);
    ASSERT_TRUE(r.ok);
    EXPECT_EQ(k3.d.boxSys, 1);
    EXPECT_EQ(k3.d.alin, 1);
}

TEST(RenderSession, TooSmallQtcRaisesTheSheetWithTheLimit)
{
    Kestrova k;
    NullCanvas scratch;
    RenderRun r = RunRenderSequence(k, Opts({"--driver", kWoofer, "--align", "qtc=0.3"}), scratch);
    ASSERT_TRUE(r.ok);
    ASSERT_EQ(r.alerts.size(), 1u);
    EXPECT_EQ(r.alerts[0],
              "ALERT!   Impossible alignment.  Qtc is too small. | Enter larger Qtc.  ( Possible Qtc >=  0.382 )");
    EXPECT_NEAR(k.d.VB, 47.619f, 1e-3);
    EXPECT_NEAR(k.d.FC, 55.0f, 1e-3);
    EXPECT_EQ(k.d.CBAlart, 1);
}

TEST(RenderSession, RejectedEntriesEndTheRun)
{
    for (const char* entry : {"vb=0", "vb=-3", "vb=abc", "vb=", "qtc=0"}) {
        Kestrova k;
        NullCanvas scratch;
        RenderRun r = RunRenderSequence(k, Opts({"--driver", kWoofer, "--align", entry}), scratch);
        EXPECT_FALSE(r.ok) << entry;
        EXPECT_NE(r.error.find("greater than 0"), std::string::npos);
    }
    Kestrova k;
    NullCanvas scratch;
    ASSERT_TRUE(RunRenderSequence(k, Opts({"--driver", kWoofer, "--align", "vb=20"}), scratch).ok);
    EXPECT_EQ(k.d.VB, 20.0f);
    EXPECT_EQ(k.d.alin, 2);
    EXPECT_EQ(k.d.s_VB, "20");
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

TEST(RenderSession, ViewSettingsAndQa)
{
    Kestrova k;
    NullCanvas scratch;
    ASSERT_TRUE(RunRenderSequence(k, Opts({"--driver", kWoofer, "--qa", "5", "--absolute", "--scale", "10",
                                           "--view", "imp", "--imp-log"}),
                                  scratch)
                    .ok);
    EXPECT_EQ(k.d.QA, 5.0f);
    EXPECT_EQ(k.d.magni, 2);
    EXPECT_EQ(k.d.scale, 10);
    EXPECT_EQ(k.d.s_Resp, "imp");
    EXPECT_EQ(k.d.respID, 2);
    EXPECT_EQ(k.prefs.ImpVertScale, 2);
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
