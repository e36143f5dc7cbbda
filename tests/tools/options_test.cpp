// SPDX-License-Identifier: GPL-3.0-or-later
// kestrova-render's and kestrova-send's options and the design sequence's own facts (not pictures, not processes).
#include <gtest/gtest.h>

#include <array>

#include "common/drivers.h"
#include "exchange/records.h"
#include "graphs/null_canvas.h"
#include "render_options.h"
#include "render_session.h"
#include "send_options.h"

using namespace ks;

namespace {

ParsedOptions Parse(std::vector<std::string_view> a) { return ParseRenderOptions(a); }

// The one line of reason a refused run gives.
std::string Refusal(std::vector<std::string_view> a)
{
    const ParsedOptions p = ParseRenderOptions(a);
    return p.options ? "<taken>" : p.error.find('\n') == std::string::npos ? p.error : "<more than one line>";
}

TEST(RenderOptions, EveryOptionIsReadAndAMalformedOneGivesOneReason)
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
    const RenderOptions e =
        Parse({"--export", "CSV", "--from", "1", "--to", "1e5", "--ppo", "384", "--out", "-"}).options.value();
    EXPECT_EQ((std::array{e.range.from, e.range.to, double(e.range.ppo)}), (std::array{1.0, 1e5, 384.0}));
    EXPECT_EQ(*e.exportFormat, ResponseFormat::Csv);
    const RenderOptions d =
        Parse({"--design", "in.kestrova", "--view", "imp", "--save-design", "out.kestrova"}).options.value();
    EXPECT_EQ(*d.design + "|" + *d.saveDesign, "in.kestrova|out.kestrova");
    // The views' names are pinned by the golden display lists.
    EXPECT_EQ(Parse({"--align", "vb="}).options->align->item, 2);  // the empty entry is refused later
    for (const char* leap : {"2024-02-29T23:59:59", "2000-02-29T00:00:00"}) EXPECT_TRUE(ParseIsoDate(leap)) << leap;
    EXPECT_TRUE(Parse({}).options);
    // A malformed option: one line of reason.
    // clang-format off
    const std::pair<std::vector<std::string_view>, std::string_view> bad[] = {
        {{"--view"}, "option --view needs a value"}, {{"--view", "bode"}, "--view must be amp, imp, ph, gd, nq, st, sys, ex or ms"},
        {{"--system", "CB"}, "--system must be cb or ib"}, {{"--qa", "8"}, "--qa must be 5, 7, 10, 15 or 20, not '8'"},
        {{"--qa", "10.0"}, "--qa must be 5, 7, 10, 15 or 20, not '10.0'"}, {{"--scale", "20"}, "--scale must be 5 or 10"},
        {{"--align", "auto"}, "--align must be opt, vb=LITRES or qtc=Q"}, {{"--align", "fc=3"}, "--align must be opt"},
        {{"--out", "x.jpg"}, "--out must name a .png, .svg or .pdf file"}, {{"--out", "png"}, "--out must name a .png"},
        {{"--out", ".png"}, "--out must name a .png"}, {{"--out", "-"}, "--out must name a .png"},
        {{"--frobnicate"}, "unknown option '--frobnicate'"}, {{"extra"}, "unknown option 'extra'"},
        {{"--trace", "--trace"}, "option --trace given twice"}, {{"--qa", "5", "--qa", "7"}, "option --qa given twice"},
        {{"--ppo", "10"}, "--from, --to and --ppo go with --export"},
        {{"--export", "pdf", "--out", "-"}, "--export must be frd, zma or csv"},
        {{"--export", "frd"}, "--export needs --out FILE"}, {{"--export", "frd", "--out", ""}, "--export needs --out FILE"},
        {{"--export", "frd", "--out", "-", "--print"}, "--export writes the data only, without --print"},
        {{"--export", "frd", "--out", "-", "--ppo", "0"}, "--ppo must be a whole number from 1 to 384"},
        {{"--export", "frd", "--out", "-", "--ppo", "385"}, "--ppo must be a whole number"},
        {{"--export", "frd", "--out", "-", "--ppo", "1.5"}, "--ppo must be a whole number"},
        {{"--export", "frd", "--out", "-", "--from", "0.99"}, "--from must be a frequency from 1 to 100000 Hz"},
        {{"--export", "frd", "--out", "-", "--to", "100001"}, "--to must be a frequency from 1 to 100000 Hz"},
        {{"--export", "frd", "--out", "-", "--from", "nan"}, "--from must be a frequency"},
        {{"--export", "frd", "--out", "-", "--from", "2k"}, "--from must be a frequency"},
        {{"--export", "frd", "--out", "-", "--from", "1000", "--to", "1000"}, "--from must be below --to"},
        {{"--design", "a.kestrova", "--driver", "DUMMY#  x  "}, "--design brings its own driver"}, {{"--design", ""}, "option --design needs a file name"}, {{"--save-design"}, "option --save-design needs a value"}};
    // clang-format on
    for (const auto& [args, why] : bad) EXPECT_EQ(Refusal(args).substr(0, why.size()), why) << args.back();
    // A date that is no day of the calendar, or not in the one form.
    for (const std::string_view date :
         {"today", "2026-02-29T10:00:00", "2100-02-29T00:00:00", "2026-04-31T00:00:00", "2026-00-10T00:00:00",
          "2026-1-10T00:00:00", "2026-12-05T14:30:00Z", "+026-12-05T14:30:00", "2026-12-05T14:60:00",
          "2026-12-05 14:30:00", "2026-12-05T24:00:00"})
        EXPECT_EQ(Refusal({"--date", date}),
                  "--date must be a date and time like 2026-12-05T14:30:00, not '" + std::string(date) + "'");
}

TEST(RenderSession, QaThenOptimumAndNoBoxWithoutVas)
{
    NullCanvas scratch;
    Kestrova k;
    const auto opt = Parse({"--driver", kt::kWooferRecord, "--qa", "20", "--align", "opt"}).options;
    ASSERT_TRUE(opt && RunRenderSequence(k, *opt, scratch).ok);
    EXPECT_EQ((std::array{int(k.d.boxSys), int(k.d.alin), int(k.sh.EditMenuFlag)}), (std::array{1, 1, 0}));
    EXPECT_EQ(k.d.QA, 20.0f);
    // A closed box needs Vas, which the default driver lacks.
    Kestrova none;
    const RenderRun r = RunRenderSequence(none, Parse({"--system", "cb"}).options.value(), scratch);
    EXPECT_FALSE(r.ok);
    EXPECT_NE(r.error.find("Vas"), std::string::npos) << r.error;
}

SendOptions Parsed(std::vector<std::string> args)
{
    SendOptions o;
    std::string err;
    EXPECT_TRUE(ParseSendOptions(args, o, err)) << err;
    return o;
}

TEST(SendOptions, NamesListeningHelpTextsInMacRomanAndOneReasonForARefusal)
{
    const SendOptions o = Parsed({"hello"});
    EXPECT_EQ(std::pair(o.listen, o.help), std::pair(false, false));
    EXPECT_EQ(o.to + "/" + o.as + "/" + o.text, "Kestrova/Vantrel/hello");
    const SendOptions l = Parsed({"--listen", "--count", "3", "--timeout", "1.5"});
    EXPECT_EQ(std::tuple(l.listen, l.count, l.timeout), std::tuple(true, 3, 1.5));
    const SendOptions t = Parsed({"--to", "Vantrel", "--as", "Probe", "x"});
    EXPECT_EQ(t.to + "/" + t.as, "Vantrel/Probe");
    for (const char* h : {"-h", "--help"}) EXPECT_TRUE(Parsed({h}).help) << h;
    EXPECT_TRUE(Parsed({"--version"}).version);
    const SendOptions dash = Parsed({"--to", "Kestrova", "--", "-h"});  // after "--" it is the text
    EXPECT_EQ(dash.text + (dash.help ? " help" : ""), "-h");
    for (auto [name, cls] : {std::pair{"Kestrova", "Kstv"}, {"Vantrel", "Vtrl"}, {"quILLAM", "Quil"}, {"Ab", "Ab"}})
        EXPECT_EQ(ReceiverClass(name), cls);
    // Texts and driver records go out in Mac Roman, 255 bytes at most.
    EXPECT_EQ(Parsed({"caf\xC3\xA9 \xE2\x80\xA0"}).text, "caf\x8E \xA0");  // café †
    std::string e255;
    for (int i = 0; i < 255; ++i) e255 += "\xC3\xA9";
    EXPECT_EQ(Parsed({e255}).text.size(), 255u);  // one more byte is refused below
    // clang-format off
    EXPECT_EQ(Parsed({"--to", "Kestrova", "--driver", "model=W\xC3\xBC" "fer 8", "range=Bass", "fs=27.5", "vas=120",
                      "qts=0.35", "qes=0.41", "qms=3.2", "re=5.6", "le=0.9", "dia=21", "effi=0.5", "pemax=150",
                      "sd=220", "xmax=6", "vd=132"}).text,
              "DUMMY#  W\x9F"
              "fer 8  Bass   21   27.5   120   0.35   0.41   3.2   0.5   5.6   150   220   6"
              "   132   0.9  ");
    // clang-format on
    // Missing numbers are 0 and missing texts empty; single blanks in a name are fine.
    DriverRecordFields g;
    g.fs = 40;
    EXPECT_EQ(Parsed({"--driver", "fs=40"}).text, MakeDriverRecord(g).str());
    Parsed({"--driver", "model=one blank", "range= lead"});
    const std::string notMacRoman = "text is not UTF-8 or has a character Mac Roman lacks";
    const std::string blanks = " holds two blanks in a row, ends in a blank or holds a control character";
    // clang-format off
    const std::pair<std::vector<std::string>, std::string> bad[] = {
        {{}, "nothing to send (see --help)"}, {{"\xE4\xB8\xAD"}, notMacRoman}, {{"\xC3"}, notMacRoman},
        {{"\xFF\xFE"}, notMacRoman}, {{std::string(256, 'x')}, "text is longer than 255 bytes"},
        {{"a", "b"}, "more than one text given"}, {{"--bogus", "x"}, "unknown option: --bogus"},
        {{"--to"}, "missing value after --to"}, {{"--to", "a.b", "x"}, "bad process name: a.b"},
        {{"--count", "2", "x"}, "--count and --timeout belong to --listen"},
        {{"--listen", "text"}, "--listen takes no text, --driver or --to"},
        {{"--listen", "--to", "Kestrova"}, "--listen takes no text, --driver or --to"},
        {{"--listen", "--count", "0"}, "bad count: 0"}, {{"--listen", "--count", "-1"}, "bad count: -1"},
        {{"--listen", "--count", "12x"}, "bad count: 12x"}, {{"--listen", "--timeout", "0"}, "bad timeout: 0"},
        {{"--listen", "--timeout", "nan"}, "bad timeout: nan"}, {{"x", "--driver", "fs=1"}, "both a text and --driver given"},
        {{"-h2"}, "unknown option: -h2"}, {{"-"}, "unknown option: -"}, {{"--", "a", "b"}, "more than one text given"},
        // Driver fields: unknown keys, malformed numbers, texts Mac Roman lacks or that would split the record.
        {{"--driver", "colour=red"}, "unknown driver key: colour"}, {{"--driver", "fs"}, "driver field without '=': fs"},
        {{"--driver", "fs="}, "malformed number for fs: "}, {{"--driver", "fs=1x"}, "malformed number for fs: 1x"},
        {{"--driver", "fs= 1"}, "malformed number for fs:  1"}, {{"--driver", "fs=inf"}, "malformed number for fs: inf"},
        {{"--driver", "fs=1e999"}, "malformed number for fs: 1e999"}, {{"--driver", "FS=1"}, "unknown driver key: FS"},
        {{"--driver", "model=\xE4\xB8\xAD"}, notMacRoman},
        {{"--driver", "model=" + std::string(300, 'm')}, "text is longer than 255 bytes"},
        {{"--driver", "model=two  blanks"}, "model" + blanks}, {{"--driver", "model=ends "}, "model" + blanks},
        {{"--driver", "model=two\nlines"}, "model" + blanks}, {{"--driver", "range=tab\there"}, "range" + blanks},
        {{"--driver", "range=\x7F"}, "range" + blanks}};
    // clang-format on
    for (const auto& [args, why] : bad) {
        SendOptions o;
        std::string err;
        EXPECT_FALSE(ParseSendOptions(args, o, err)) << why;
        EXPECT_EQ(err, why);  // one line of reason
    }
}

}  // namespace
