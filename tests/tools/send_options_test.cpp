#include "send_options.h"

#include <gtest/gtest.h>

#include "exchange/records.h"

namespace ks {
namespace {

SendOptions Parsed(std::vector<std::string> args)
{
    SendOptions o;
    std::string err;
    EXPECT_TRUE(ParseSendOptions(args, o, err)) << err;
    return o;
}

TEST(SendOptions, NamesListeningAndHelp)
{
    const SendOptions o = Parsed({"hello"});
    EXPECT_EQ(std::pair(o.listen, o.help), std::pair(false, false));
    EXPECT_EQ(o.to + "/" + o.as + "/" + o.text, "Kestrova/Vantrel/hello");
    const SendOptions l = Parsed({"--listen", "--count", "3", "--timeout", "1.5"});
    EXPECT_TRUE(l.listen);
    EXPECT_EQ(std::pair(l.count, l.timeout), std::pair(3, 1.5));
    const SendOptions t = Parsed({"--to", "Vantrel", "--as", "Probe", "x"});
    EXPECT_EQ(t.to + "/" + t.as, "Vantrel/Probe");
    for (const char* h : {"-h", "--help"}) EXPECT_TRUE(Parsed({h}).help) << h;
    EXPECT_TRUE(Parsed({"--version"}).version);
    const SendOptions dash = Parsed({"--to", "Kestrova", "--", "-h"});  // after "--" it is the text
    EXPECT_EQ(dash.text + (dash.help ? " help" : ""), "-h");
    for (auto [name, cls] : {std::pair{"Kestrova", "Kstv"}, {"Vantrel", "Vtrl"}, {"quILLAM", "Quil"}, {"Ab", "Ab"}})
        EXPECT_EQ(ReceiverClass(name), cls);
}

// Texts and driver records go out in Mac Roman, 255 bytes at most.
TEST(SendOptions, TextsAndDriverRecordsInMacRoman)
{
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
}

TEST(SendOptions, RefusalsGiveOneReason)
{
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
        // Driver fields: unknown keys, malformed numbers, texts Mac Roman lacks
        // or that would split their field or the line, a record over 255 bytes.
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
}  // namespace ks
