#include "render_options.h"

#include <gtest/gtest.h>

#include <array>

using namespace ks;

namespace {

ParsedOptions Parse(std::vector<std::string_view> a) { return ParseRenderOptions(a); }

TEST(RenderOptions, EveryOptionIsRead)
{
    auto p = Parse({"--driver", "DUMMY#  x  ", "--system", "ib", "--qa", "15", "--align", "qtc=0.5", "--view", "sys",
                    "--absolute", "--scale", "10", "--imp-log", "--print", "--date", "2026-12-05T14:30:00", "--out",
                    "a.PDF", "--trace", "--record"});
    ASSERT_TRUE(p.options) << p.error;
    const RenderOptions& o = *p.options;
    EXPECT_EQ(*o.driver, "DUMMY#  x  ");
    EXPECT_EQ(*o.system, "ib");
    EXPECT_EQ(*o.qaItem, 4);
    EXPECT_EQ(o.align->item, 3);
    EXPECT_EQ(o.align->entry, "0.5");
    EXPECT_EQ(*o.viewItem, 8);
    EXPECT_TRUE(o.absolute && o.impLog && o.print && o.trace && o.record);
    EXPECT_EQ(*o.scale, 10);
    EXPECT_EQ((std::array{o.date->year, o.date->month, o.date->day, o.date->hour, o.date->minute}),
              (std::array{2026, 12, 5, 14, 30}));
    EXPECT_EQ(*o.out, "a.PDF");
}

TEST(RenderOptions, ExportReadsItsRangeWithinTheBounds)
{
    auto p = Parse({"--export", "zma", "--from", "1", "--to", "1e5", "--ppo", "384", "--out", "-"});
    ASSERT_TRUE(p.options) << p.error;
    EXPECT_EQ(p.options->exportFormat, ResponseFormat::Zma);
    EXPECT_EQ(p.options->range.from, 1.0);
    EXPECT_EQ(p.options->range.to, 100000.0);
    EXPECT_EQ(p.options->range.ppo, 384);
    EXPECT_EQ(*p.options->out, "-");
    auto d = Parse({"--export", "CSV", "--out", "data.txt"});
    ASSERT_TRUE(d.options) << d.error;
    EXPECT_EQ(d.options->exportFormat, ResponseFormat::Csv);
    EXPECT_EQ((std::array{d.options->range.from, d.options->range.to}), (std::array{10.0, 40000.0}));
    EXPECT_EQ(d.options->range.ppo, 48);
}

TEST(RenderOptions, NothingGivenMeansTheDefaults)
{
    auto p = Parse({});
    ASSERT_TRUE(p.options);
    EXPECT_FALSE(p.options->driver || p.options->system || p.options->qaItem || p.options->align ||
                 p.options->viewItem || p.options->scale || p.options->out || p.options->date);
    EXPECT_FALSE(p.options->print || p.options->trace || p.options->record);
}

TEST(RenderOptions, ViewsAndQaItems)
{
    const std::pair<const char*, int> views[] = {{"amp", 1}, {"imp", 2}, {"ph", 3}, {"gd", 4},
                                                 {"nq", 5},  {"st", 6},  {"sys", 8}};
    for (const auto& [v, item] : views) EXPECT_EQ(*Parse({"--view", v}).options->viewItem, item) << v;
    const std::pair<const char*, int> qas[] = {{"5", 1}, {"7", 2}, {"10", 3}, {"15", 4}, {"20", 5}};
    for (const auto& [q, item] : qas) EXPECT_EQ(*Parse({"--qa", q}).options->qaItem, item) << q;
    EXPECT_EQ(Parse({"--align", "opt"}).options->align->item, 1);
    auto vb = Parse({"--align", "vb=12.5"});
    EXPECT_EQ(vb.options->align->item, 2);
    EXPECT_EQ(vb.options->align->entry, "12.5");
    EXPECT_EQ(Parse({"--align", "vb="}).options->align->entry, "");  // refused later, as the entry is
}

TEST(RenderOptions, MalformedOptionsGiveOneReason)
{
    const std::vector<std::vector<std::string_view>> bad = {
        {"--view"},           {"--view", "bode"},      {"--system", "CB"},        {"--qa", "8"},
        {"--qa", "10.0"},     {"--scale", "20"},       {"--align", "auto"},       {"--align", "fc=3"},
        {"--date", "today"},  {"--date", "2026-02-29T10:00:00"}, {"--date", "2026-12-05 14:30:00"},
        {"--date", "2026-12-05T24:00:00"}, {"--out", "x.jpg"}, {"--out", "png"}, {"--out", ".png"},
        {"--frobnicate"},     {"extra"},               {"--trace", "--trace"},     {"--qa", "5", "--qa", "7"},
        {"--out", "-"},       {"--ppo", "10"},         {"--export", "pdf", "--out", "-"}, {"--export", "frd"},
        {"--export", "frd", "--out", ""},             {"--export", "frd", "--out", "-", "--print"},
        {"--export", "frd", "--out", "-", "--ppo", "0"},  {"--export", "frd", "--out", "-", "--ppo", "385"},
        {"--export", "frd", "--out", "-", "--ppo", "1.5"}, {"--export", "frd", "--out", "-", "--from", "0.99"},
        {"--export", "frd", "--out", "-", "--to", "100001"}, {"--export", "frd", "--out", "-", "--from", "nan"},
        {"--export", "frd", "--out", "-", "--from", "2k"},
        {"--export", "frd", "--out", "-", "--from", "1000", "--to", "1000"}};
    for (const auto& args : bad) {
        auto p = Parse(args);
        EXPECT_FALSE(p.options) << args[0];
        EXPECT_FALSE(p.error.empty());
        EXPECT_EQ(p.error.find('\n'), std::string::npos);
    }
}

TEST(IsoDate, CalendarChecks)
{
    for (const char* good : {"2024-02-29T23:59:59", "2000-02-29T00:00:00"}) EXPECT_TRUE(ParseIsoDate(good)) << good;
    for (const char* bad : {"2100-02-29T00:00:00", "2026-04-31T00:00:00", "2026-00-10T00:00:00", "2026-1-10T00:00:00",
                            "2026-12-05T14:30:00Z", "+026-12-05T14:30:00", "2026-12-05T14:60:00"})
        EXPECT_FALSE(ParseIsoDate(bad)) << bad;
}

}  // namespace
