#include "app/help_tag_text.h"

#include <cctype>
#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace ks {
namespace {

const std::string D = "\\\xA4";  // the delimiter: backslash, byte 164

TEST(HelpTagText, MainExtendedAndPlacement)
{
    const struct {
        std::string text, main, extended;
        bool showsMain;
        HelpTag::Side side;
    } cases[] = {
        {"Calculate the box", "Calculate the box", "Calculate the box", false, HelpTag::Default},
        {"Copy" + D + "Copies the parameters\\@B", "Copy", "Copies the parameters", false, HelpTag::BottomCentred},
        // Only the first delimiter splits; a backslash or byte 164 alone is none.
        {"a" + D + "b" + D + "c", "a", "b" + D + "c", false, HelpTag::Default},
        {"a\\b\xA4" "c", "a\\b\xA4" "c", "a\\b\xA4" "c", false, HelpTag::Default},
        // "+" right after the delimiter shows main before extended.
        {"Snap" + D + "+Saves the graph\\@RB", "Snap", "Saves the graph", true, HelpTag::BottomRightAligned},
        {"Snap" + D + " +x", "Snap", " +x", false, HelpTag::Default},
        // The working copy ends at the first "\@": what follows is the code.
        {"main\\@B" + D + "not shown", "main", "main", false, HelpTag::Default},
    };
    for (const auto& c : cases) {
        const HelpTag t = ParseHelpTag(c.text);
        EXPECT_EQ(t.main.str() + "|" + t.extended.str(), c.main + "|" + c.extended) << c.text;
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
    for (const char* none : {"", "X", "TT", "C", "BX"}) codes.push_back({none, S::Default});
    for (const auto& [code, side] : codes) {
        std::string lower = code;
        for (char& ch : lower) ch = static_cast<char>(std::tolower(static_cast<unsigned char>(ch)));
        EXPECT_EQ(ParseHelpTag("tip\\@" + lower).side, side) << lower;
        EXPECT_EQ(ParseHelpTag("tip\\@" + code + "XYZ").side, code.size() == 2 ? side : S::Default) << code;
    }
}

// The text is cut at 255 bytes before the code is looked for.
TEST(HelpTagText, CutAt255Bytes)
{
    // Of the code "LT" only the "L" is left: one character, left centred; uncut, both.
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
