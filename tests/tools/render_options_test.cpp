// kestrova-render's options, and the design sequence's own facts; the
// pictures it ends in are the golden display lists' to pin.
#include "render_options.h"

#include <gtest/gtest.h>

#include <array>

#include "common/drivers.h"
#include "graphs/null_canvas.h"
#include "render_session.h"

using namespace ks;

namespace {

ParsedOptions Parse(std::vector<std::string_view> a) { return ParseRenderOptions(a); }

RenderOptions Opts(std::vector<std::string_view> a)
{
    auto p = ParseRenderOptions(a);
    EXPECT_TRUE(p.options) << p.error;
    return p.options.value_or(RenderOptions{});
}

TEST(RenderOptions, EveryOptionIsRead)
{
    // clang-format off
    auto p = Parse({"--driver", "DUMMY#  x  ", "--system", "ib", "--qa", "15", "--align", "qtc=0.5", "--view", "sys",
                    "--absolute", "--scale", "10", "--imp-log", "--print", "--date", "2026-12-05T14:30:00", "--out",
                    "a.PDF", "--trace", "--record", "-h", "--version"});
    // clang-format on
    ASSERT_TRUE(p.options) << p.error;
    const RenderOptions& o = *p.options;
    EXPECT_EQ(*o.driver + "|" + *o.system + "|" + o.align->entry + "|" + *o.out, "DUMMY#  x  |ib|0.5|a.PDF");
    EXPECT_EQ((std::array{*o.qaItem, o.align->item, *o.viewItem, *o.scale}), (std::array{4, 3, 8, 10}));
    EXPECT_TRUE(o.absolute && o.impLog && o.print && o.trace && o.record && o.help && o.version);
    EXPECT_EQ((std::array{o.date->year, o.date->month, o.date->day, o.date->hour, o.date->minute}),
              (std::array{2026, 12, 5, 14, 30}));
    // The export's range as given; the default one is the render process test's.
    auto e = Parse({"--export", "CSV", "--from", "1", "--to", "1e5", "--ppo", "384", "--out", "-"});
    ASSERT_TRUE(e.options);
    EXPECT_EQ((std::array{e.options->range.from, e.options->range.to, double(e.options->range.ppo)}),
              (std::array{1.0, 1e5, 384.0}));
    EXPECT_EQ(*e.options->exportFormat, ResponseFormat::Csv);
    auto d = Parse({"--design", "in.kestrova", "--view", "imp", "--save-design", "out.kestrova"});
    ASSERT_TRUE(d.options);
    EXPECT_EQ(*d.options->design + "|" + *d.options->saveDesign, "in.kestrova|out.kestrova");

    // The views' names are pinned by the golden display lists.
    const std::pair<const char*, int> qas[] = {{"5", 1}, {"7", 2}, {"10", 3}, {"15", 4}, {"20", 5}};
    for (const auto& [q, item] : qas) EXPECT_EQ(*Parse({"--qa", q}).options->qaItem, item) << q;
    EXPECT_EQ(Parse({"--align", "vb="}).options->align->item, 2);  // the empty entry is refused later
    for (const char* leap : {"2024-02-29T23:59:59", "2000-02-29T00:00:00"}) EXPECT_TRUE(ParseIsoDate(leap)) << leap;
    EXPECT_TRUE(Parse({}).options);
}

TEST(RenderOptions, MalformedOptionsGiveOneReason)
{
    // clang-format off
    const std::vector<std::vector<std::string_view>> bad = {
        {"--view"}, {"--view", "bode"}, {"--system", "CB"}, {"--qa", "8"}, {"--qa", "10.0"}, {"--scale", "20"},
        {"--align", "auto"}, {"--align", "fc=3"}, {"--date", "today"}, {"--date", "2026-02-29T10:00:00"},
        {"--date", "2100-02-29T00:00:00"}, {"--date", "2026-04-31T00:00:00"}, {"--date", "2026-00-10T00:00:00"},
        {"--date", "2026-1-10T00:00:00"}, {"--date", "2026-12-05T14:30:00Z"}, {"--date", "+026-12-05T14:30:00"},
        {"--date", "2026-12-05T14:60:00"}, {"--date", "2026-12-05 14:30:00"}, {"--date", "2026-12-05T24:00:00"},
        {"--out", "x.jpg"}, {"--out", "png"}, {"--out", ".png"}, {"--frobnicate"}, {"extra"}, {"--trace", "--trace"},
        {"--qa", "5", "--qa", "7"}, {"--out", "-"}, {"--ppo", "10"}, {"--export", "pdf", "--out", "-"},
        {"--export", "frd"}, {"--export", "frd", "--out", ""}, {"--export", "frd", "--out", "-", "--print"},
        {"--export", "frd", "--out", "-", "--ppo", "0"}, {"--export", "frd", "--out", "-", "--ppo", "385"},
        {"--export", "frd", "--out", "-", "--ppo", "1.5"}, {"--export", "frd", "--out", "-", "--from", "0.99"},
        {"--export", "frd", "--out", "-", "--to", "100001"}, {"--export", "frd", "--out", "-", "--from", "nan"},
        {"--export", "frd", "--out", "-", "--from", "2k"},
        {"--export", "frd", "--out", "-", "--from", "1000", "--to", "1000"},
        {"--design", "a.kestrova", "--driver", "DUMMY#  x  "}, {"--design", ""}, {"--save-design"}};
    // clang-format on
    for (const auto& args : bad) {
        auto p = Parse(args);  // one line of reason
        EXPECT_TRUE(!p.options && !p.error.empty() && p.error.find('\n') == std::string::npos)
            << args[0] << " " << args.back();
    }
}

TEST(RenderSession, QaThenOptimumAndNoBoxWithoutVas)
{
    NullCanvas scratch;
    Kestrova k;
    ASSERT_TRUE(
        RunRenderSequence(k, Opts({"--driver", kt::kWooferRecord, "--qa", "20", "--align", "opt"}), scratch).ok);
    EXPECT_EQ((std::array{int(k.d.boxSys), int(k.d.alin), int(k.sh.EditMenuFlag)}), (std::array{1, 1, 0}));
    EXPECT_EQ(k.d.QA, 20.0f);
    // A closed box needs Vas, which the default driver lacks.
    Kestrova none;
    RenderRun r = RunRenderSequence(none, Opts({"--system", "cb"}), scratch);
    EXPECT_TRUE(!r.ok && r.error.find("Vas") != std::string::npos) << r.error;
}

}  // namespace
