#include "app/help_tag_text.h"

#include <string>

#include <gtest/gtest.h>

namespace ks {
namespace {

const std::string D = "\\\xA4";  // the delimiter: backslash, byte 164

TEST(HelpTagText, PlainTextIsBothContentsAndTakesTheDefaultSide)
{
    const HelpTag t = ParseHelpTag("Calculate the box");
    EXPECT_EQ(t.main, "Calculate the box");
    EXPECT_EQ(t.extended, "Calculate the box");
    EXPECT_FALSE(t.extendedShowsMain);
    EXPECT_EQ(t.side, HelpTag::Default);
    EXPECT_EQ(t.ExtendedContent(), "Calculate the box");

    const HelpTag e = ParseHelpTag("");
    EXPECT_TRUE(e.main.empty());
    EXPECT_TRUE(e.extended.empty());
    EXPECT_EQ(e.side, HelpTag::Default);
}

TEST(HelpTagText, PlacementSuffixIsCutAndReadUpperCased)
{
    const HelpTag lower = ParseHelpTag("Take a snapshot\\@b");
    EXPECT_EQ(lower.main, "Take a snapshot");
    EXPECT_EQ(lower.extended, "Take a snapshot");
    EXPECT_EQ(lower.side, HelpTag::BottomCentred);

    struct Case {
        const char* code;
        HelpTag::Side side;
    } cases[] = {
        {"T", HelpTag::TopCentred},          {"L", HelpTag::LeftCentred},
        {"R", HelpTag::RightCentred},        {"CL", HelpTag::LeftCentred},
        {"LC", HelpTag::LeftCentred},        {"CR", HelpTag::RightCentred},
        {"RC", HelpTag::RightCentred},       {"LT", HelpTag::TopLeftAligned},
        {"RT", HelpTag::TopRightAligned},    {"TL", HelpTag::LeftTopAligned},
        {"BL", HelpTag::LeftBottomAligned},  {"LB", HelpTag::BottomLeftAligned},
        {"RB", HelpTag::BottomRightAligned}, {"TR", HelpTag::RightTopAligned},
        {"BR", HelpTag::RightBottomAligned},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ParseHelpTag(std::string("tip\\@") + c.code).side, c.side) << c.code;
        // Only the first two characters after "\@" count.
        if (c.code[1]) {
            EXPECT_EQ(ParseHelpTag(std::string("tip\\@") + c.code + "XYZ").side, c.side) << c.code;
        }
        std::string lower = c.code;
        for (char& ch : lower) ch = static_cast<char>(ch - 'A' + 'a');
        EXPECT_EQ(ParseHelpTag("tip\\@" + lower).side, c.side) << lower;
    }
}

TEST(HelpTagText, UnknownOrMissingCodesGiveTheDefault)
{
    for (const char* code : {"", "X", "1", "TT", "BB", "CT", "CB", "C", "  ", "\xA4"})
        EXPECT_EQ(ParseHelpTag(std::string("tip\\@") + code).side, HelpTag::Default) << code;
    // "B" followed by anything is a two-character code, and "BX" is none.
    EXPECT_EQ(ParseHelpTag("tip\\@BX").side, HelpTag::Default);
    // Only "\@" introduces a code.
    EXPECT_EQ(ParseHelpTag("tip@B").side, HelpTag::Default);
    EXPECT_EQ(ParseHelpTag("tip\\B").side, HelpTag::Default);
    EXPECT_EQ(ParseHelpTag("tip@B").main, "tip@B");
}

TEST(HelpTagText, DelimiterSplitsMainAndExtended)
{
    const HelpTag t = ParseHelpTag("Copy" + D + "Copies the parameters as text\\@B");
    EXPECT_EQ(t.main, "Copy");
    EXPECT_EQ(t.extended, "Copies the parameters as text");
    EXPECT_FALSE(t.extendedShowsMain);
    EXPECT_EQ(t.ExtendedContent(), "Copies the parameters as text");
    EXPECT_EQ(t.side, HelpTag::BottomCentred);

    // Only the first delimiter splits.
    const HelpTag twice = ParseHelpTag("a" + D + "b" + D + "c");
    EXPECT_EQ(twice.main, "a");
    EXPECT_EQ(twice.extended, "b" + D + "c");

    // A backslash alone or byte 164 alone is no delimiter.
    const HelpTag half = ParseHelpTag("a\\b\xA4" "c");
    EXPECT_EQ(half.main, "a\\b\xA4" "c");
    EXPECT_EQ(half.extended, half.main);

    const HelpTag edge = ParseHelpTag(D + "only extended");
    EXPECT_TRUE(edge.main.empty());
    EXPECT_EQ(edge.extended, "only extended");
    EXPECT_TRUE(ParseHelpTag("main only" + D).extended.empty());
}

TEST(HelpTagText, PlusFormShowsMainThenExtended)
{
    const HelpTag t = ParseHelpTag("Snap" + D + "+Saves the graph as a picture\\@RB");
    EXPECT_EQ(t.main, "Snap");
    EXPECT_EQ(t.extended, "Saves the graph as a picture");
    EXPECT_TRUE(t.extendedShowsMain);
    EXPECT_EQ(t.ExtendedContent(), "Snap\rSaves the graph as a picture");
    EXPECT_EQ(t.side, HelpTag::BottomRightAligned);

    // "+" counts only right after the delimiter.
    const HelpTag later = ParseHelpTag("Snap" + D + " +x");
    EXPECT_FALSE(later.extendedShowsMain);
    EXPECT_EQ(later.extended, " +x");
    EXPECT_FALSE(ParseHelpTag("a+b").extendedShowsMain);
}

TEST(HelpTagText, DelimiterInsideThePlacementSuffixIsIgnored)
{
    // The working copy ends at "\@", so a delimiter after it splits nothing.
    const HelpTag t = ParseHelpTag("main\\@B" + D + "not shown");
    EXPECT_EQ(t.main, "main");
    EXPECT_EQ(t.extended, "main");
    EXPECT_EQ(t.side, HelpTag::Default);  // "B\" is no code
    // The first "\@" decides.
    const HelpTag two = ParseHelpTag("m\\@T\\@B");
    EXPECT_EQ(two.main, "m");
    EXPECT_EQ(two.side, HelpTag::Default);  // "T\@B" starts "T\"
    EXPECT_EQ(ParseHelpTag("m\\@\\@B").side, HelpTag::Default);
}

TEST(HelpTagText, CutAt255Bytes)
{
    // The code "LT" stands past the cut: nothing is left after "\@".
    std::string text(300, 'a');
    text.replace(253, 4, "\\@LT");
    EXPECT_EQ(ParseHelpTag(text.substr(0, 257)).side, HelpTag::Default);
    EXPECT_EQ(ParseHelpTag(text).main.size(), 253u);
    // Here only the "L" is left: one character, left centred.
    std::string one(300, 'a');
    one.replace(252, 4, "\\@LT");
    EXPECT_EQ(ParseHelpTag(one).side, HelpTag::LeftCentred);
    EXPECT_EQ(ParseHelpTag(one.substr(0, 256)).side, HelpTag::LeftCentred);
    // Uncut, the same code is read in full.
    EXPECT_EQ(ParseHelpTag(one.substr(200)).side, HelpTag::TopLeftAligned);

    // A "\@" cut in two is no suffix: the backslash stays in the text.
    std::string late(254, 'b');
    late += "\\@B";
    const HelpTag cut = ParseHelpTag(late);
    EXPECT_EQ(cut.main.size(), 255u);
    EXPECT_EQ(cut.main[254], '\\');
    EXPECT_EQ(cut.side, HelpTag::Default);

    // Long extended texts end at the cut too.
    const HelpTag ext = ParseHelpTag("m" + D + std::string(400, 'e'));
    EXPECT_EQ(ext.extended.size(), 255u - 3u);
}

}  // namespace
}  // namespace ks
