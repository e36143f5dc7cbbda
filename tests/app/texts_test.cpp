// SPDX-License-Identifier: GPL-3.0-or-later
// The program's own texts: help tags, stored rectangles, the default listing, the command line, box entries.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <tuple>
#include <vector>

#include "app/command_line.h"
#include "app/default_lines.h"
#include "app/design_actions.h"
#include "app/help_tag_text.h"
#include "app/prefs_rect.h"
#include "common/drivers.h"
#include "context/prefs.h"
#include "exchange/records.h"

namespace ks {
namespace {

const std::string D = "\\\xA4";  // the delimiter: backslash, byte 164

TEST(HelpTagText, MainExtendedAndPlacement)
{
    // clang-format off
    const std::tuple<std::string, std::string, std::string, bool, HelpTag::Side> cases[] = {
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
        // Cut at 255 bytes first: a "\@" cut in two is no suffix, so its backslash stays.
        {std::string(254, 'b') + "\\@B", std::string(254, 'b') + "\\", std::string(254, 'b') + "\\", false,
         HelpTag::Default},
        {"m" + D + std::string(400, 'e'), "m", std::string(252, 'e'), false, HelpTag::Default},
    };
    // clang-format on
    for (const auto& [text, main, extended, showsMain, side] : cases) {
        const HelpTag t = ParseHelpTag(text);
        EXPECT_EQ(t.main.str() + "|" + t.extended.str(), main + "|" + extended) << text;
        EXPECT_EQ(t.extendedShowsMain, showsMain) << text;
        EXPECT_EQ(t.side, side) << text;
        EXPECT_EQ(t.ExtendedContent(), showsMain ? main + "\r" + extended : extended) << text;
    }
    // Placement codes in either case, only their first two characters read; a letter pair's order counts.
    using S = HelpTag;
    // clang-format off
    const std::pair<std::string, S::Side> codes[] = {
        {"t", S::TopCentred}, {"L", S::LeftCentred}, {"r", S::RightCentred}, {"Cl", S::LeftCentred},
        {"lc", S::LeftCentred}, {"CR", S::RightCentred}, {"rC", S::RightCentred}, {"LT", S::TopLeftAligned},
        {"rt", S::TopRightAligned}, {"Tl", S::LeftTopAligned}, {"bL", S::LeftBottomAligned},
        {"LB", S::BottomLeftAligned}, {"rb", S::BottomRightAligned}, {"TR", S::RightTopAligned},
        {"br", S::RightBottomAligned}, {"", S::Default}, {"x", S::Default}, {"TT", S::Default}, {"C", S::Default},
        {"bx", S::Default}};
    // clang-format on
    for (const auto& [code, side] : codes) {
        EXPECT_EQ(ParseHelpTag("tip\\@" + code).side, side) << code;
        EXPECT_EQ(ParseHelpTag("tip\\@" + code + "XYZ").side, code.size() == 2 ? side : S::Default) << code;
    }
}

// Written top, left, bottom, right; each field read after the next comma, whatever precedes it; a missing one 0.
TEST(PrefsRectText, WrittenInOrderAndEachFieldReadFromAfterTheNextComma)
{
    // clang-format off
    const std::tuple<std::string_view, Rect16, bool> cases[] = {  // true: the text written for the rectangle
        {" 0, 0, 560, 540", Prefs{}.Bounds, true}, {"-20, 7,-1, 32767", {-20, 7, -1, 32767}, true},
        {"-32768, 0, 0, 0", {-32768, 0, 0, 0}, true}, {"", {0, 0, 0, 0}, false}, {" 12, 34", {12, 34, 0, 0}, false},
        {"1,2,3,4,5", {1, 2, 3, 4}, false}, {",,,9", {0, 0, 0, 9}, false}, {"7, x8, 9, 10", {7, 0, 9, 10}, false},
        {"7 8 9, 10", {7, 10, 0, 0}, false}, {"12abc,34def,56,78", {12, 34, 56, 78}, false},
        {std::string_view("4\0,5,6,7", 8), {4, 5, 6, 7}, false}, {"&H10, 0x20, 3, 4", {16, 32, 3, 4}, false},
        {"32768, -32769, 99999999999999999999999, -99999999999999999999999", {32767, -32768, 32767, -32768}, false},
    };
    // clang-format on
    for (const auto& [text, r, written] : cases) {
        EXPECT_EQ(TextToRect(text), r) << text;
        EXPECT_TRUE(!written || RectToText(r).view() == text) << text;
    }
    // Only the first 255 bytes are read: the "3" is byte 254, the "4" lies past the cut.
    EXPECT_EQ(TextToRect(std::string(250, ' ') + "1,2,3,4"), (Rect16{1, 2, 3, 0}));
}

// Each value through its mask, the "=" of every line in one column.
TEST(DefaultParameterLines, EachValueThroughItsMask)
{
    Design d;
    d.s_SP2 = "Woofer \x8A\xA7";  // Mac Roman bytes pass through untouched
    d.s_RANG2 = "";
    d.DIA2 = 16.5f, d.FS2 = 27.35f, d.VAS2 = 112.4f, d.QTS2 = 0.38f, d.QES2 = 0.41f, d.QMS2 = 5.9f, d.EFI2 = 0.9f;
    d.RE2 = 5.6f, d.PEMX2 = 150.0f, d.SD2 = 214.0f, d.XMAX2 = 6.5f, d.VD2 = 139.1f, d.LE2 = 1.2f;
    const std::vector<std::string> want = {"Model Name = Woofer \x8A\xA7", "Freq Range = ",
                                           "Dia        =   16.500 cm",     "Fs         =   27.350 Hz",
                                           "Vas        =  112.400 Liter",  "Qts        =    0.380",
                                           "Qes        =    0.410",        "Qms        =    5.900",
                                           "Effi       =    0.900 %",      "Re         =    5.600 Ohm",
                                           "Pemax      =  150.000 Watt",   "Sd         =  214.000 cm^2",
                                           "Xmax       =    6.500 mm",     "Vd         =  139.100 cm^3",
                                           "Le         =    1.200 mH"};
    EXPECT_EQ(DefaultParameterLines(d), want);
}

TEST(StartArguments, HelpVersionToolkitOptionsAndOneLineRefusals)
{
    using A = StartRequest::Action;
    const struct {
        std::vector<std::string_view> args;
        A action;
        std::string_view text;  // the start of the text
    } cases[] = {
        {{}, A::Run, ""},
        {{"--help"}, A::Print, "Usage: kestrova"},
        {{"-h", "--bogus"}, A::Print, "Usage: kestrova"},  // read in order: the help comes first
        {{"--version"}, A::Print, "kestrova " KESTROVA_VERSION "\n"},
        {{"-platform", "offscreen", "--style", "Fusion", "-reverse", "--help"}, A::Print, "Usage: "},
        {{"--platform", "offscreen", "-session", "--help"}, A::Run, ""},  // the value, as Qt reads it too
        {{"--bogus", "--help"}, A::Refuse, "kestrova: unknown option: --bogus (see kestrova --help)\n"},
        {{"-platform"}, A::Refuse, "kestrova: option needs a value: -platform "},
        {{"-stylesheet=x.qss"}, A::Refuse, "kestrova: unknown option: -stylesheet=x.qss "},
        {{"--", "--version"}, A::Refuse, "kestrova: not a Kestrova design file: --version "},
        {{"-"}, A::Refuse, "kestrova: not a Kestrova design file: - "},
        {{"designs/.kestrova"}, A::Refuse, "kestrova: not a Kestrova design file: designs/.kestrova "},
        {{"notes.kestrova.txt"}, A::Refuse, "kestrova: not a Kestrova design file: notes"},
        {{"Mid.KESTROVA", "--", "-x.kestrova"}, A::Run, ""},
    };
    for (const auto& c : cases) {
        const StartRequest r = ReadStartArguments(c.args);
        const std::string args = c.args.empty() ? "" : std::string(c.args.front());
        EXPECT_EQ(r.action, c.action) << args;
        EXPECT_EQ(r.text.substr(0, c.text.size()), c.text) << args;
        EXPECT_TRUE(r.action != A::Refuse || std::count(r.text.begin(), r.text.end(), '\n') == 1) << r.text;
        using Files = std::vector<std::string>;
        EXPECT_EQ(r.designFiles, (args == "Mid.KESTROVA" ? Files{"Mid.KESTROVA", "-x.kestrova"} : Files{})) << args;
    }
}

// The design window as the Calc. action meets it: what is typed, and the complaints.
struct Typed final : DesignView {
    explicit Typed(std::string t) : text(std::move(t)) {}
    std::string text;
    int beeps = 0, sheets = 0;
    void ResponseWndDisp() override {}
    PStr BoxEntryText(std::int16_t) override { return PStr(text); }
    void Beep() override { ++beeps; }
    void ShowSheetAlert(std::string_view, std::string_view) override { ++sheets; }
};

// A decimal comma typed into a box entry is the point, taken without a complaint, and the record
// carries the point; what is no finite number above zero is refused with a beep, the box as it was.
TEST(BoxEntries, ReadADecimalCommaAsThePoint)
{
    for (const auto& [alin, comma, recorded] : {std::tuple{2, "1,5", "  1.5  "}, {3, "0,9", "  0.9  "}}) {
        for (const std::string typed : {comma, "nan", "inf", "-inf", "1e40", "abc", "0"}) {
            Kestrova k;
            kt::SetUpDriver(k, 50.0f, 10.0f, 0.35f, 0.4f, 3.0f);
            k.d.alin = static_cast<i16>(alin);
            const BoxEntries shown = BoxEntryTexts(k.d);
            const float vb = k.d.VB, qtc = k.d.QTC;
            Typed v(typed);
            CalcBtnClickRetern(k, v);
            const std::string record = MakeClipText(k).str();
            const std::string said = "alignment " + std::to_string(alin) + ", typed " + typed + ": " + record;
            const BoxEntries now = BoxEntryTexts(k.d);
            if (typed != comma) {
                EXPECT_EQ(std::tuple(v.beeps, v.sheets, k.d.VB, k.d.QTC, now.vb.str(), now.qtc.str()),
                          std::tuple(1, 0, vb, qtc, shown.vb.str(), shown.qtc.str()))
                    << said;
                continue;
            }
            EXPECT_EQ(v.beeps + v.sheets, 0) << said;
            EXPECT_NE(record.find(recorded), std::string::npos) << said;
            EXPECT_EQ(record.find(','), std::string::npos) << said;
        }
    }
}

}  // namespace
}  // namespace ks
