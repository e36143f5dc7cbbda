// The design sequence's own facts; the pictures it ends in are the golden
// display lists' to pin.
#include "render_session.h"

#include <gtest/gtest.h>

#include <array>

#include "common/display_list.h"
#include "common/drivers.h"
#include "graphs/null_canvas.h"

using namespace ks;
using namespace ks::test;

namespace {

RenderOptions Opts(std::vector<std::string_view> a)
{
    auto p = ParseRenderOptions(a);
    EXPECT_TRUE(p.options) << p.error;
    return p.options.value_or(RenderOptions{});
}

TEST(RenderSession, QaThenOptimumAndNoBoxWithoutVas)
{
    NullCanvas scratch;
    Kestrova k;
    ASSERT_TRUE(RunRenderSequence(k, Opts({"--driver", kt::kWooferRecord, "--qa", "20", "--align", "opt"}), scratch).ok);
    EXPECT_EQ((std::array{int(k.d.boxSys), int(k.d.alin), int(k.sh.EditMenuFlag)}), (std::array{1, 1, 0}));
    EXPECT_EQ(k.d.QA, 20.0f);
    // A closed box needs Vas, which the default driver lacks.
    Kestrova none;
    RenderRun r = RunRenderSequence(none, Opts({"--system", "cb"}), scratch);
    EXPECT_FALSE(r.ok);
    EXPECT_NE(r.error.find("Vas"), std::string::npos);
}

TEST(RenderSession, IntermediateRedrawsGoToTheScratchSurfaceOnly)
{
    Kestrova k;
    RecordingCanvas scratch, out;
    auto o = Opts({"--view", "ph"});
    ASSERT_TRUE(RunRenderSequence(k, o, scratch).ok);
    const std::size_t before = scratch.lines().size();
    DrawFinalView(k, o, out, DateStamp{});
    EXPECT_EQ(scratch.lines().size(), before);
    auto p = Parse(out);
    ASSERT_FALSE(p.empty());
    EXPECT_EQ(p.front().kind, "erase");
    EXPECT_NE(FindText(p, "Phase"), nullptr);
}

}  // namespace
