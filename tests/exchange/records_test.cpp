// The design record on the clipboard and the driver record in messages.
#include <algorithm>
#include <cstdio>
#include <gtest/gtest.h>
#include <string>
#include <vector>

#include "context/kestrova.h"
#include "exchange/records.h"
#include "support/numtext.h"

namespace ks {
namespace {

// A closed-box design as the program holds it after an alignment.
void ClosedBoxDesign(Design& d)
{
    d.s_SP = "W130-8";
    d.SPL = 87.6543f;
    d.FS = 50.0f;
    d.VAS = 10.0f;
    d.QTS = 0.35f;
    d.QES = 0.4f;
    d.QMS = 2.8f;
    d.EFI = 0.0f;
    d.RE = 5.6f;
    d.LE = 0.28f;
    d.VB = 47.619f;
    d.FC = 55.0f;
    d.QTC = 0.382f;
    d.QA = 10.0f;
    d.boxSys = 1;
}

// Splits a record at every two blanks, the way a reader would.
std::vector<std::string> Fields(std::string_view r)
{
    std::vector<std::string> out;
    std::size_t at = 0;
    for (std::size_t sep; (sep = r.find("  ", at)) != std::string_view::npos; at = sep + 2)
        out.emplace_back(r.substr(at, sep - at));
    return out;
}

// What the reader wrote: tag, model, range, then each value as "text=number".
std::string Decoded(const Kestrova& k)
{
    const Design& d = k.d;
    std::string s = k.sh.s_Dummy.str() + "|" + d.s_SP.str() + "|" + d.s_RANG.str();
    const std::pair<const PStr*, f32> values[] = {
        {&d.s_DIA, d.DIA2}, {&d.s_FS, d.FS2},     {&d.s_VAS, d.VAS2}, {&d.s_QTS, d.QTS2}, {&d.s_QES, d.QES2},
        {&d.s_QMS, d.QMS2}, {&d.s_EFI, d.EFI2},   {&d.s_RE, d.RE2},   {&d.s_PEMX, d.PEMX2}, {&d.s_SD, d.SD2},
        {&d.s_XMAX, d.XMAX2}, {&d.s_VD, d.VD2},   {&d.s_LE, d.LE2}};
    for (const auto& [text, value] : values) {
        char b[32];
        std::snprintf(b, sizeof b, "=%g", static_cast<double>(value));
        s += "|" + text->str() + b;
    }
    if (!(d.s_SP2 == d.s_SP) || !(d.s_RANG2 == d.s_RANG)) s += "|the copies differ";
    if (d.FS != 0.0f) s += "|adopted too early";
    return s;
}

std::string Decode(std::string_view text)
{
    Kestrova k;
    k.sh.s_Masg = text;
    MasageTextToParameter(k);
    return Decoded(k);
}

const std::string kFullDriver =
    "DUMMY#  Test3.0-08  200Hz-20kHz   3   800   0   0.707   0.972   2.5   0.628   6"
    "   10   5   0.2   0.1   0.025  ";
const std::string kFullValues = "| 3=3| 800=800| 0=0| 0.707=0.707| 0.972=0.972| 2.5=2.5| 0.628=0.628| 6=6| 10=10"
                                "| 5=5| 0.2=0.2| 0.1=0.1| 0.025=0.025";
const std::string kNoValues = "|=0|=0|=0|=0|=0|=0|=0|=0|=0|=0|=0|=0|=0";

TEST(DriverRecord, FieldsAsRead)
{
    const std::string tail = "  R   3   800   0   0.707   0.972   2.5   0.628   6   10   5   0.2   0.1   0.025  ";
    const std::string model(255 - 8 - tail.size(), 'N');
    const std::string macModel = "Hocht\x9Aner \xA5\xFF\x80";  // not UTF-8: stored unchanged
    const struct {
        std::string text, want;
    } cases[] = {
        {kFullDriver, "DUMMY#|Test3.0-08|200Hz-20kHz" + kFullValues},
        {kFullDriver + " 99  extra  ", "DUMMY#|Test3.0-08|200Hz-20kHz" + kFullValues},
        // An empty field stores an empty text and zero.
        {"DUMMY#  M     3     800   0   0.707  ",
         "DUMMY#|M|| 3=3|=0| 800=800| 0=0| 0.707=0.707|=0|=0|=0|=0|=0|=0|=0|=0"},
        // A field that is no number reads as text to number gives.
        {"DUMMY#  M  R  abc  &H10  12 Hz  ", "DUMMY#|M|R|abc=0|&H10=16|12 Hz=12|=0|=0|=0|=0|=0|=0|=0|=0|=0|=0"},
        // A missing separator empties the rest; a record may be the tag alone.
        {"DUMMY#  Model  Range   3   800   0.5", "DUMMY#|Model|Range| 3=3| 800=800|=0|=0|=0|=0|=0|=0|=0|=0|=0|=0|=0"},
        {"DUMMY#  ", "DUMMY#||" + kNoValues},
        {"DUMMY#  A  B   3 ", "DUMMY#|A|B" + kNoValues},
        // Exactly 255 bytes; one more and the cut takes the last separator.
        {"DUMMY#  " + model + tail, "DUMMY#|" + model + "|R" + kFullValues},
        {("DUMMY#  N" + model + tail).substr(0, 255),
         "DUMMY#|N" + model + "|R" + kFullValues.substr(0, kFullValues.rfind('|')) + "|=0"},
        {"DUMMY#  " + std::string(247, '7'), "DUMMY#||" + kNoValues},
        {"DUMMY#  " + macModel + "  2\xD0" "20 kHz   2.5\xB5  ",
         "DUMMY#|" + macModel + "|2\xD0" "20 kHz| 2.5\xB5=2.5" + kNoValues.substr(3)},
    };
    for (const auto& c : cases) EXPECT_EQ(Decode(c.text), c.want) << c.text;
}

TEST(DriverRecord, AnythingButTheTagChangesOnlyTheTag)
{
    const std::string before = Decoded(Kestrova{});
    const auto untouched = [&](std::string s) { return s.replace(0, s.find('|'), "") == before.substr(before.find('|')); };
    for (const char* tag : {"DUMMY%", "dummy#", " DUMMY#", "DUMMY##", "DUMMY", ""}) {
        std::string text = kFullDriver;
        text.replace(0, 6, tag);
        const std::string got = Decode(text);
        EXPECT_TRUE(untouched(got)) << tag;
        EXPECT_EQ(got.substr(0, got.find('|')), text.substr(0, text.find("  "))) << tag;
    }
    for (const char* text : {"DUMMY#", "null", "", "DUMMY# 3"}) {
        const std::string got = Decode(text);
        EXPECT_TRUE(got.starts_with("|")) << text;  // no separator: an empty tag
        EXPECT_TRUE(untouched(got)) << text;
    }
}

TEST(DesignRecord, ClosedBoxDesignByteForByte)
{
    Kestrova k;
    ClosedBoxDesign(k.d);
    PStr r = MakeClipText(k);
    EXPECT_EQ(r.str(),
              "DUMMY%  W130-8   87.7   50   10   0.35   0.4   2.8   0   5.6   0.28   47.619"
              "   55   0.382   10  ");
    EXPECT_EQ(k.sh.ClipText, r);
    // The rounded texts stay in the design's text fields; others keep theirs.
    EXPECT_EQ(k.d.s_SPL, " 87.7");
    EXPECT_EQ(k.d.s_QTC, " 0.382");
    EXPECT_TRUE(k.d.s_DIA.empty());

    // Cut at 255 inside a field.
    k.d.s_SP = std::string(200, 'M');
    r = MakeClipText(k);
    ASSERT_EQ(r.size(), 255u);
    EXPECT_EQ(r.str().substr(244), "   0   5.6 ");
    k.d.s_SP = std::string(255, 'L');
    EXPECT_EQ(MakeClipText(k).str(), "DUMMY%  " + std::string(247, 'L'));
}

TEST(DesignRecord, ValueToTextRoundsEachFieldToItsDecimals)
{
    Design d;
    d.SPL = 89.998f;  // 1 decimal
    d.FS = 33.333f;   // 2
    d.VAS = 1.23456f;
    d.QTS = d.QES = d.QMS = d.EFI = d.RE = d.LE = d.VB = d.QTC = 0.00049f;  // 3: rounds to 0
    d.FC = 0.005f;  // 2: the tie in single precision goes to even 0
    d.QA = 7.0f;
    ValueToText(d);
    EXPECT_EQ(d.s_SPL, " 90");
    EXPECT_EQ(d.s_FS, " 33.33");
    EXPECT_EQ(d.s_VAS, " 1.235");
    for (const PStr* s : {&d.s_QTS, &d.s_QES, &d.s_QMS, &d.s_EFI, &d.s_RE, &d.s_LE, &d.s_VB, &d.s_QTC, &d.s_FC})
        EXPECT_EQ(*s, " 0");
    EXPECT_EQ(d.s_QA, " 7");
}

TEST(DesignRecord, NamesAreWrittenAsTheyAreButForControlCharacters)
{
    Kestrova k;
    ClosedBoxDesign(k.d);
    k.d.s_SP = "Big  Dome \xA5";
    std::string r = MakeClipText(k).str();
    EXPECT_EQ(r.substr(0, 28), "DUMMY%  Big  Dome \xA5   87.7  ");
    EXPECT_EQ(Fields(r).size(), 16u);  // a reader splits the name in two
    k.sh.s_Masg = std::string("DUMMY#  Two\nLines\r\t\x7F  Mid  ");
    MasageTextToParameter(k);
    EXPECT_EQ(k.d.s_SP.str(), "Two\nLines\r\t\x7F");  // kept as received
    r = MakeClipText(k).str();
    EXPECT_EQ(r.substr(0, 22), "DUMMY%  Two Lines     ");
    EXPECT_TRUE(std::none_of(r.begin(), r.end(), IsControlByte)) << r;
}

TEST(DriverRecord, CompanionRecordReadsBackAndIsCutAt255)
{
    const DriverRecordFields f{.model = "Test2.5-07", .range = "Dome Tw", .dia = 2.5, .fs = 1000, .qts = 0.707,
                               .qes = 0.972, .qms = 2.5, .effi = 0.628, .re = 6, .pemax = 10, .sd = 5, .xmax = 0.2,
                               .vd = 0.1, .le = 0.025};
    bool cut = true;
    PStr r = MakeDriverRecord(f, &cut);
    EXPECT_FALSE(cut);
    EXPECT_EQ(r.str(),
              "DUMMY#  Test2.5-07  Dome Tw   2.5   1000   0   0.707   0.972   2.5   0.628   6"
              "   10   5   0.2   0.1   0.025  ");
    EXPECT_EQ(Decode(r.view()), "DUMMY#|Test2.5-07|Dome Tw| 2.5=2.5| 1000=1000| 0=0| 0.707=0.707| 0.972=0.972"
                                "| 2.5=2.5| 0.628=0.628| 6=6| 10=10| 5=5| 0.2=0.2| 0.1=0.1| 0.025=0.025");
    EXPECT_EQ(MakeDriverRecord({}).str(), "DUMMY#       0   0   0   0   0   0   0   0   0   0   0   0   0  ");
    DriverRecordFields g;
    g.fs = -1.5;
    g.vas = 1e-4;
    EXPECT_EQ(Fields(MakeDriverRecord(g).view())[4], "-1.5");
    EXPECT_EQ(Fields(MakeDriverRecord(g).view())[5], " 1e-04");
    g.model = std::string(240, 'x');
    EXPECT_EQ(MakeDriverRecord(g, &cut).size(), 255u);
    EXPECT_TRUE(cut);
}

}  // namespace
}  // namespace ks
