#include "app/help_tag_text.h"

#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace ks {
namespace {

const std::string D = "\\\xA4";  // the delimiter: backslash, byte 164

TEST(HelpTagText, MainExtendedAndPlacement)
{
    using S = HelpTag;
    const struct {
        std::string text, main, extended;
        bool showsMain;
        HelpTag::Side side;
    } cases[] = {
        {"Calculate the box", "Calculate the box", "Calculate the box", false, S::Default},
        {"", "", "", false, S::Default},
        {"Take a snapshot\\@b", "Take a snapshot", "Take a snapshot", false, S::BottomCentred},
        {"Copy" + D + "Copies the parameters as text\\@B", "Copy", "Copies the parameters as text", false,
         S::BottomCentred},
        // Only the first delimiter splits; a backslash or byte 164 alone is none.
        {"a" + D + "b" + D + "c", "a", "b" + D + "c", false, S::Default},
        {"a\\b\xA4" "c", "a\\b\xA4" "c", "a\\b\xA4" "c", false, S::Default},
        {D + "only extended", "", "only extended", false, S::Default},
        {"main only" + D, "main only", "", false, S::Default},
        // "+" right after the delimiter shows main before extended.
        {"Snap" + D + "+Saves the graph as a picture\\@RB", "Snap", "Saves the graph as a picture", true,
         S::BottomRightAligned},
        {"Snap" + D + " +x", "Snap", " +x", false, S::Default},
        // The working copy ends at the first "\@": what follows is the code.
        {"main\\@B" + D + "not shown", "main", "main", false, S::Default},
        {"m\\@T\\@B", "m", "m", false, S::Default},
        {"tip@B", "tip@B", "tip@B", false, S::Default},
    };
    for (const auto& c : cases) {
        const HelpTag t = ParseHelpTag(c.text);
        EXPECT_EQ(t.main, c.main) << c.text;
        EXPECT_EQ(t.extended, c.extended) << c.text;
        EXPECT_EQ(t.extendedShowsMain, c.showsMain) << c.text;
        EXPECT_EQ(t.side, c.side) << c.text;
        EXPECT_EQ(t.ExtendedContent(), c.showsMain ? c.main + "\r" + c.extended : c.extended) << c.text;
    }
}

TEST(HelpTagText, PlacementCodesInEitherCaseAndOnlyTheirFirstTwoCharacters)
{
    using S = HelpTag;
    std::vector<std::pair<std::string, HelpTag::Side>> codes = {
        {"T", S::TopCentred},         {"L", S::LeftCentred},         {"R", S::RightCentred},  {"CL", S::LeftCentred},
        {"LC", S::LeftCentred},       {"CR", S::RightCentred},       {"RC", S::RightCentred}, {"LT", S::TopLeftAligned},
        {"RT", S::TopRightAligned},   {"TL", S::LeftTopAligned},     {"BL", S::LeftBottomAligned},
        {"LB", S::BottomLeftAligned}, {"RB", S::BottomRightAligned}, {"TR", S::RightTopAligned},
        {"BR", S::RightBottomAligned}};
    for (const char* none : {"", "X", "1", "TT", "BB", "CT", "CB", "C", "  ", "\xA4", "BX"}) codes.push_back({none, S::Default});
    for (const auto& [code, side] : codes) {
        std::string lower = code;
        for (char& ch : lower) ch = static_cast<char>(ch >= 'A' && ch <= 'Z' ? ch - 'A' + 'a' : ch);
        EXPECT_EQ(ParseHelpTag("tip\\@" + code).side, side) << code;
        EXPECT_EQ(ParseHelpTag("tip\\@" + lower).side, side) << lower;
        if (code.size() == 2) EXPECT_EQ(ParseHelpTag("tip\\@" + code + "XYZ").side, side) << code;
    }
}

TEST(HelpTagText, CutAt255Bytes)
{
    // The code "LT" stands past the cut: nothing is left after "\@".
    std::string text(300, 'a');
    text.replace(253, 4, "\\@LT");
    EXPECT_EQ(ParseHelpTag(text.substr(0, 257)).side, HelpTag::Default);
    EXPECT_EQ(ParseHelpTag(text).main.size(), 253u);
    // Here only the "L" is left: one character, left centred; uncut, both.
    std::string one(300, 'a');
    one.replace(252, 4, "\\@LT");
    EXPECT_EQ(ParseHelpTag(one).side, HelpTag::LeftCentred);
    EXPECT_EQ(ParseHelpTag(one.substr(200)).side, HelpTag::TopLeftAligned);
    // A "\@" cut in two is no suffix: the backslash stays in the text.
    const HelpTag cut = ParseHelpTag(std::string(254, 'b') + "\\@B");
    EXPECT_EQ(cut.main.size(), 255u);
    EXPECT_EQ(cut.main[254], '\\');
    EXPECT_EQ(cut.side, HelpTag::Default);
    EXPECT_EQ(ParseHelpTag("m" + D + std::string(400, 'e')).extended.size(), 255u - 3u);
}

}  // namespace
}  // namespace ks
