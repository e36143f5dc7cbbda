// The design record on the clipboard and the driver record in messages.
#include <algorithm>
#include <cstdio>
#include <gtest/gtest.h>
#include <string>

#include "context/kestrova.h"
#include "exchange/records.h"
#include "support/numtext.h"

namespace ks {
namespace {

// What the reader wrote: tag, model, range, then each value as "text=number".
std::string Decode(std::string_view text)
{
    Kestrova k;
    k.sh.s_Masg = text;
    MasageTextToParameter(k);
    const Design& d = k.d;
    std::string s = k.sh.s_Dummy.str() + "|" + d.s_SP.str() + "|" + d.s_RANG.str();
    const std::pair<const PStr*, f32> values[] = {
        {&d.s_DIA, d.DIA2}, {&d.s_FS, d.FS2},     {&d.s_VAS, d.VAS2}, {&d.s_QTS, d.QTS2}, {&d.s_QES, d.QES2},
        {&d.s_QMS, d.QMS2}, {&d.s_EFI, d.EFI2},   {&d.s_RE, d.RE2},   {&d.s_PEMX, d.PEMX2}, {&d.s_SD, d.SD2},
        {&d.s_XMAX, d.XMAX2}, {&d.s_VD, d.VD2},   {&d.s_LE, d.LE2}};
    for (const auto& [t, value] : values) {
        char b[32];
        std::snprintf(b, sizeof b, "=%g", static_cast<double>(value));
        s += "|" + t->str() + b;
    }
    if (!(d.s_SP2 == d.s_SP) || !(d.s_RANG2 == d.s_RANG)) s += "|the copies differ";
    if (d.FS != 0.0f) s += "|adopted too early";
    return s;
}

const std::string kFullDriver =
    "DUMMY#  Test3.0-08  200Hz-20kHz   3   800   0   0.707   0.972   2.5   0.628   6   10   5   0.2   0.1   0.025  ";
const std::string kFullValues = "| 3=3| 800=800| 0=0| 0.707=0.707| 0.972=0.972| 2.5=2.5| 0.628=0.628| 6=6| 10=10"
                                "| 5=5| 0.2=0.2| 0.1=0.1| 0.025=0.025";
const std::string kNoValues = "|=0|=0|=0|=0|=0|=0|=0|=0|=0|=0|=0|=0|=0";

TEST(DriverRecord, FieldsAsRead)
{
    const std::string tail = "  R   3   800   0   0.707   0.972   2.5   0.628   6   10   5   0.2   0.1   0.025  ";
    const std::string model(255 - 8 - tail.size(), 'N');
    const std::string macModel = "Hocht\x9Aner \xA5\xFF\x80";  // not UTF-8: stored unchanged
    const std::pair<std::string, std::string> cases[] = {
        {kFullDriver + " 99  extra  ", "DUMMY#|Test3.0-08|200Hz-20kHz" + kFullValues},
        // An empty field stores an empty text and zero; a field that is no
        // number reads as text to number gives.
        {"DUMMY#  M     3     800   0   0.707  ", "DUMMY#|M|| 3=3|=0| 800=800| 0=0| 0.707=0.707" + kNoValues.substr(15)},
        {"DUMMY#  M  R  abc  &H10  12 Hz  ", "DUMMY#|M|R|abc=0|&H10=16|12 Hz=12" + kNoValues.substr(9)},
        // A missing separator empties the rest; a record may be the tag alone.
        {"DUMMY#  Model  Range   3   800   0.5", "DUMMY#|Model|Range| 3=3| 800=800" + kNoValues.substr(6)},
        {"DUMMY#  ", "DUMMY#||" + kNoValues},
        // Exactly 255 bytes; one more and the cut takes the last separator.
        {"DUMMY#  " + model + tail, "DUMMY#|" + model + "|R" + kFullValues},
        {("DUMMY#  N" + model + tail).substr(0, 255),
         "DUMMY#|N" + model + "|R" + kFullValues.substr(0, kFullValues.rfind('|')) + "|=0"},
        {"DUMMY#  " + macModel + "  2\xD0" "20 kHz   2.5\xB5  ",
         "DUMMY#|" + macModel + "|2\xD0" "20 kHz| 2.5\xB5=2.5" + kNoValues.substr(3)},
    };
    for (const auto& [text, want] : cases) EXPECT_EQ(Decode(text), want) << text;

    // Anything but the driver tag changes only the tag.
    const std::string untouched = Decode("").substr(Decode("").find('|'));
    for (const char* tag : {"DUMMY%", "dummy#", " DUMMY#", "DUMMY##", "DUMMY", "", "null"}) {
        const std::string got = Decode(std::string(tag) + kFullDriver.substr(6));
        EXPECT_EQ(got, got.substr(0, got.find('|')) + untouched) << tag;
        EXPECT_EQ(got.substr(0, got.find('|')), tag) << tag;
    }
    EXPECT_EQ(Decode("DUMMY# 3"), Decode(""));  // no separator: no tag
}

TEST(DriverRecord, CompanionRecordReadsBackAndIsCutAt255)
{
    const DriverRecordFields f{.model = "Test2.5-07", .range = "Dome Tw", .dia = 2.5, .fs = 1000, .qts = 0.707,
                               .qes = 0.972, .qms = 2.5, .effi = 0.628, .re = 6, .pemax = 10, .sd = 5, .xmax = 0.2,
                               .vd = 0.1, .le = 0.025};
    const std::string r = MakeDriverRecord(f).str();
    EXPECT_EQ(r, "DUMMY#  Test2.5-07  Dome Tw   2.5   1000   0   0.707   0.972   2.5   0.628   6   10   5   0.2"
                 "   0.1   0.025  ");
    EXPECT_EQ(Decode(r), "DUMMY#|Test2.5-07|Dome Tw| 2.5=2.5| 1000=1000| 0=0| 0.707=0.707| 0.972=0.972| 2.5=2.5"
                         "| 0.628=0.628| 6=6| 10=10| 5=5| 0.2=0.2| 0.1=0.1| 0.025=0.025");
    DriverRecordFields g;
    g.fs = -1.5;
    g.vas = 1e-4;
    EXPECT_EQ(MakeDriverRecord(g).str(), "DUMMY#       0  -1.5   1e-04   0   0   0   0   0   0   0   0   0   0  ");
    // 64 bytes without a model: with 191 the record is 255 bytes, whole.
    for (const auto& [length, cut] : {std::pair{191, false}, {192, true}, {240, true}}) {
        DriverRecordFields h;
        h.model = std::string(std::size_t(length), 'x');
        bool truncated = !cut;
        EXPECT_EQ(MakeDriverRecord(h, &truncated).size(), 255u) << length;
        EXPECT_EQ(truncated, cut) << length;
    }
}

// The rounded texts stay in the design's text fields; the name is written as
// it is but for control characters, which would break the line.
TEST(DesignRecord, ClosedBoxDesignByteForByte)
{
    Kestrova k;
    Design& d = k.d;
    d.s_SP = "W130-8";
    d.SPL = 87.6543f, d.FS = 50.0f, d.VAS = 10.0f, d.QTS = 0.35f, d.QES = 0.4f, d.QMS = 2.8f, d.EFI = 0.0f;
    d.RE = 5.6f, d.LE = 0.28f, d.VB = 47.619f, d.FC = 55.0f, d.QTC = 0.382f, d.QA = 10.0f, d.boxSys = 1;
    PStr r = MakeClipText(k);
    EXPECT_EQ(r.str(), "DUMMY%  W130-8   87.7   50   10   0.35   0.4   2.8   0   5.6   0.28   47.619   55   0.382   10  ");
    EXPECT_EQ(k.sh.ClipText, r);
    EXPECT_EQ(d.s_QTC, " 0.382");
    EXPECT_TRUE(d.s_DIA.empty());

    d.s_SP = std::string(200, 'M');  // cut at 255 inside a field
    EXPECT_EQ(MakeClipText(k).str().substr(244), "   0   5.6 ");
    d.s_SP = std::string(255, 'L');
    EXPECT_EQ(MakeClipText(k).str(), "DUMMY%  " + std::string(247, 'L'));
    d.s_SP = "Big  Dome \xA5";
    EXPECT_EQ(MakeClipText(k).str().substr(0, 28), "DUMMY%  Big  Dome \xA5   87.7  ");
    k.sh.s_Masg = std::string("DUMMY#  Two\nLines\r\t\x7F  Mid  ");
    MasageTextToParameter(k);
    EXPECT_EQ(d.s_SP.str(), "Two\nLines\r\t\x7F");  // kept as received
    const std::string c = MakeClipText(k).str();
    EXPECT_EQ(c.substr(0, 22), "DUMMY%  Two Lines     ");
    EXPECT_TRUE(std::none_of(c.begin(), c.end(), IsControlByte)) << c;
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
    EXPECT_EQ(d.s_SPL.str() + d.s_FS.str() + d.s_VAS.str() + d.s_QA.str(), " 90 33.33 1.235 7");
    for (const PStr* s : {&d.s_QTS, &d.s_QES, &d.s_QMS, &d.s_EFI, &d.s_RE, &d.s_LE, &d.s_VB, &d.s_QTC, &d.s_FC})
        EXPECT_EQ(*s, " 0");
}

}  // namespace
}  // namespace ks
