#include "send_options.h"

#include <gtest/gtest.h>

#include "exchange/records.h"

namespace ks {
namespace {

bool Parse(std::vector<std::string> args, SendOptions& o, std::string& err)
{
    return ParseSendOptions(args, o, err);
}

TEST(SendOptions, DefaultsAndNames)
{
    SendOptions o;
    std::string err;
    ASSERT_TRUE(Parse({"hello"}, o, err)) << err;
    EXPECT_FALSE(o.listen);
    EXPECT_EQ(o.to, "Kestrova");
    EXPECT_EQ(o.as, "Vantrel");
    EXPECT_EQ(o.text, "hello");

    SendOptions l;
    ASSERT_TRUE(Parse({"--listen", "--count", "3", "--timeout", "1.5"}, l, err)) << err;
    EXPECT_TRUE(l.listen);
    EXPECT_EQ(l.as, "Vantrel");
    EXPECT_EQ(l.count, 3);
    EXPECT_DOUBLE_EQ(l.timeout, 1.5);

    SendOptions t;
    ASSERT_TRUE(Parse({"--to", "Vantrel", "--as", "Probe", "x"}, t, err)) << err;
    EXPECT_EQ(t.to, "Vantrel");
    EXPECT_EQ(t.as, "Probe");
}

TEST(SendOptions, TextIsSentAsMacRoman)
{
    SendOptions o;
    std::string err;
    ASSERT_TRUE(Parse({"caf\xC3\xA9 \xE2\x80\xA0"}, o, err)) << err;  // café †
    EXPECT_EQ(o.text, "caf\x8E \xA0");
    // Exactly 255 bytes after conversion is allowed; 256 is not.
    std::string e255;
    for (int i = 0; i < 255; ++i) e255 += "\xC3\xA9";
    SendOptions a;
    ASSERT_TRUE(Parse({e255}, a, err)) << err;
    EXPECT_EQ(a.text.size(), 255u);
    SendOptions b;
    EXPECT_FALSE(Parse({e255 + "x"}, b, err));
}

TEST(SendOptions, RefusedTexts)
{
    const std::vector<std::vector<std::string>> bad = {
        {},                                  // nothing to send
        {"\xE4\xB8\xAD"},                    // a character Mac Roman lacks
        {"\xC3"},                            // cut UTF-8
        {"\xFF\xFE"},                        // not UTF-8 at all
        {"a", "b"},                          // two texts
        {"--bogus", "x"},                    // unknown option
        {"--to"},                            // missing value
        {"--to", "a.b", "x"},                // a name that would change the bus name
        {"--count", "2", "x"},               // listen options while sending
        {"--listen", "text"},                // text while listening
        {"--listen", "--to", "Kestrova"},
        {"--listen", "--count", "0"},
        {"--listen", "--count", "-1"},
        {"--listen", "--count", "12x"},
        {"--listen", "--timeout", "0"},
        {"--listen", "--timeout", "nan"},
        {"x", "--driver", "fs=1"},           // text and driver
        {"-h2"},                             // a text like an option needs "--"
        {"-"},
        {"--", "a", "b"},
    };
    for (const auto& args : bad) {
        SendOptions o;
        std::string err;
        EXPECT_FALSE(Parse(args, o, err)) << (args.empty() ? "" : args[0]);
        EXPECT_FALSE(err.empty());
        EXPECT_EQ(err.find('\n'), std::string::npos);
    }
}

TEST(SendOptions, DriverRecordMatchesRecordBuilder)
{
    SendOptions o;
    std::string err;
    ASSERT_TRUE(Parse({"--to", "Kestrova", "--driver", "model=W\xC3\xBC" "fer 8", "range=Bass", "fs=27.5", "vas=120",
                       "qts=0.35", "qes=0.41", "qms=3.2", "re=5.6", "le=0.9", "dia=21", "effi=0.5", "pemax=150",
                       "sd=220", "xmax=6", "vd=132"},
                      o, err))
        << err;
    EXPECT_EQ(o.text, "DUMMY#  W\x9F" "fer 8  Bass   21   27.5   120   0.35   0.41   3.2   0.5   5.6   150   220   6"
                      "   132   0.9  ");

    // Missing numbers are 0 and missing texts empty.
    SendOptions m;
    ASSERT_TRUE(Parse({"--driver", "fs=40"}, m, err)) << err;
    DriverRecordFields g;
    g.fs = 40;
    EXPECT_EQ(m.text, MakeDriverRecord(g).str());
}

TEST(SendOptions, DriverRefusals)
{
    const std::vector<std::vector<std::string>> bad = {
        {"--driver", "colour=red"}, {"--driver", "fs"},       {"--driver", "fs="},
        {"--driver", "fs=1x"},      {"--driver", "fs= 1"},    {"--driver", "fs=inf"},
        {"--driver", "fs=1e999"},   {"--driver", "model=\xE4\xB8\xAD"},
        {"--driver", "FS=1"},
        {"--driver", "model=" + std::string(300, 'm')},  // record over 255 bytes
        // Texts that would split their field or the line.
        {"--driver", "model=two  blanks"}, {"--driver", "model=ends "},
        {"--driver", "model=two\nlines"},  {"--driver", "range=tab\there"},
        {"--driver", "range=\x7F"},
    };
    for (const auto& args : bad) {
        SendOptions o;
        std::string err;
        EXPECT_FALSE(Parse(args, o, err)) << args[1];
        EXPECT_FALSE(err.empty());
    }
}

TEST(SendOptions, HelpAndTextsAfterTheOptionsEnd)
{
    std::string err;
    for (const char* h : {"-h", "--help"}) {
        SendOptions o;
        ASSERT_TRUE(Parse({h}, o, err)) << h;
        EXPECT_TRUE(o.help);
    }
    SendOptions t;
    ASSERT_TRUE(Parse({"--to", "Kestrova", "--", "-h"}, t, err)) << err;
    EXPECT_FALSE(t.help);
    EXPECT_EQ(t.text, "-h");
    // Single blanks inside a name are fine.
    SendOptions d;
    ASSERT_TRUE(Parse({"--driver", "model=one blank", "range= lead"}, d, err)) << err;
}

TEST(SendOptions, ReceiverClass)
{
    EXPECT_EQ(ReceiverClass("Kestrova"), "Kstv");
    EXPECT_EQ(ReceiverClass("Vantrel"), "Vtrl");
    EXPECT_EQ(ReceiverClass("quILLAM"), "Quil");
    EXPECT_EQ(ReceiverClass("Ab"), "Ab");
}

}  // namespace
}  // namespace ks
