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
    EXPECT_FALSE(o.listen || o.help);
    EXPECT_EQ(o.to + "/" + o.as + "/" + o.text, "Kestrova/Vantrel/hello");
    const SendOptions l = Parsed({"--listen", "--count", "3", "--timeout", "1.5"});
    EXPECT_TRUE(l.listen && l.count == 3 && l.timeout == 1.5);
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
    // clang-format off
    const std::vector<std::vector<std::string>> bad = {
        {}, {"\xE4\xB8\xAD"}, {"\xC3"}, {"\xFF\xFE"}, {std::string(256, 'x')},
        {"a", "b"}, {"--bogus", "x"}, {"--to"}, {"--to", "a.b", "x"}, {"--count", "2", "x"},
        {"--listen", "text"}, {"--listen", "--to", "Kestrova"}, {"--listen", "--count", "0"},
        {"--listen", "--count", "-1"}, {"--listen", "--count", "12x"}, {"--listen", "--timeout", "0"},
        {"--listen", "--timeout", "nan"}, {"x", "--driver", "fs=1"}, {"-h2"}, {"-"}, {"--", "a", "b"},
        // Driver fields: unknown keys, malformed numbers, texts Mac Roman lacks
        // or that would split their field or the line, a record over 255 bytes.
        {"--driver", "colour=red"}, {"--driver", "fs"}, {"--driver", "fs="}, {"--driver", "fs=1x"},
        {"--driver", "fs= 1"}, {"--driver", "fs=inf"}, {"--driver", "fs=1e999"}, {"--driver", "FS=1"},
        {"--driver", "model=\xE4\xB8\xAD"}, {"--driver", "model=" + std::string(300, 'm')},
        {"--driver", "model=two  blanks"}, {"--driver", "model=ends "}, {"--driver", "model=two\nlines"},
        {"--driver", "range=tab\there"}, {"--driver", "range=\x7F"},
    };
    // clang-format on
    for (const auto& args : bad) {
        SendOptions o;
        std::string err;  // one line of reason
        EXPECT_TRUE(!ParseSendOptions(args, o, err) && !err.empty() && err.find('\n') == std::string::npos)
            << (args.empty() ? "" : args.back());
    }
}

}  // namespace
}  // namespace ks
