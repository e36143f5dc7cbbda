// The design record on the clipboard and the driver record in messages.
#include <algorithm>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "exchange/records.h"
#include "context/kestrova.h"
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

// Everything the reader may write, as text, to compare before and after.
std::vector<std::string> ReaderTargets(const Kestrova& k)
{
    const Design& d = k.d;
    std::vector<std::string> v;
    for (const PStr* s : {&d.s_SP, &d.s_SP2, &d.s_RANG, &d.s_RANG2, &d.s_DIA, &d.s_FS, &d.s_VAS,
                          &d.s_QTS, &d.s_QES, &d.s_QMS, &d.s_EFI, &d.s_RE, &d.s_PEMX, &d.s_SD,
                          &d.s_XMAX, &d.s_VD, &d.s_LE})
        v.push_back(s->str());
    for (f32 x : {d.DIA2, d.FS2, d.VAS2, d.QTS2, d.QES2, d.QMS2, d.EFI2, d.RE2, d.PEMX2, d.SD2,
                  d.XMAX2, d.VD2, d.LE2, d.DIA, d.FS, d.VAS, d.QTS})
        v.push_back(std::to_string(x));
    return v;
}

const char* const kFullDriver =
    "DUMMY#  Test3.0-08  200Hz-20kHz   3   800   0   0.707   0.972   2.5   0.628   6"
    "   10   5   0.2   0.1   0.025  ";

TEST(DesignRecord, ClosedBoxDesignByteForByte)
{
    Kestrova k;
    ClosedBoxDesign(k.d);
    PStr r = MakeClipText(k);
    EXPECT_EQ(r.str(),
              "DUMMY%  W130-8   87.7   50   10   0.35   0.4   2.8   0   5.6   0.28   47.619"
              "   55   0.382   10  ");
    EXPECT_EQ(k.sh.ClipText, r);
    // The rounded texts stay in the design's text fields.
    EXPECT_EQ(k.d.s_SPL, " 87.7");
    EXPECT_EQ(k.d.s_FS, " 50");
    EXPECT_EQ(k.d.s_VB, " 47.619");
    EXPECT_EQ(k.d.s_QTC, " 0.382");
    EXPECT_EQ(k.d.s_QA, " 10");
    EXPECT_EQ(k.d.s_SP, "W130-8");
    // Fields the record does not carry keep their texts.
    EXPECT_TRUE(k.d.s_DIA.empty());
}

TEST(DesignRecord, ValueToTextRoundsEachFieldToItsDecimals)
{
    Design d;
    d.SPL = 89.998f;  // 1 decimal
    d.FS = 33.333f;   // 2
    d.VAS = 1.23456f;
    d.QTS = d.QES = d.QMS = d.EFI = d.RE = d.LE = d.VB = d.QTC = 0.00049f;  // 3: rounds to 0
    d.FC = 0.005f;   // 2: the tie in single precision goes to even 0
    d.QA = 7.0f;
    ValueToText(d);
    EXPECT_EQ(d.s_SPL, " 90");
    EXPECT_EQ(d.s_FS, " 33.33");
    EXPECT_EQ(d.s_VAS, " 1.235");
    for (const PStr* s : {&d.s_QTS, &d.s_QES, &d.s_QMS, &d.s_EFI, &d.s_RE, &d.s_LE, &d.s_VB,
                          &d.s_QTC})
        EXPECT_EQ(*s, " 0");
    EXPECT_EQ(d.s_FC, " 0");
    EXPECT_EQ(d.s_QA, " 7");
}

TEST(DesignRecord, CutAt255InsideAField)
{
    Kestrova k;
    ClosedBoxDesign(k.d);
    k.d.s_SP = std::string(200, 'M');
    std::string full = "DUMMY%  " + std::string(200, 'M') +
                       "   87.7   50   10   0.35   0.4   2.8   0   5.6   0.28   47.619   55   0.382   10  ";
    PStr r = MakeClipText(k);
    ASSERT_EQ(r.size(), 255u);
    EXPECT_EQ(r.str(), full.substr(0, 255));
    EXPECT_EQ(r.str().substr(244), "   0   5.6 ");  // the Re field loses its last blank
    EXPECT_EQ(k.sh.ClipText, r);

    k.d.s_SP = std::string(255, 'L');
    r = MakeClipText(k);
    EXPECT_EQ(r.str(), "DUMMY%  " + std::string(247, 'L'));
}

TEST(DesignRecord, ModelNameWithTwoBlanksIsWrittenUnchanged)
{
    Kestrova k;
    ClosedBoxDesign(k.d);
    k.d.s_SP = "Big  Dome \xA5";
    std::string r = MakeClipText(k).str();
    EXPECT_EQ(r.substr(0, 28), "DUMMY%  Big  Dome \xA5   87.7  ");
    EXPECT_EQ(Fields(r).size(), 16u);  // a reader splits the name in two
}

TEST(DesignRecord, ControlCharactersOfAReceivedNameBecomeBlanks)
{
    Kestrova k;
    ClosedBoxDesign(k.d);
    k.sh.s_Masg = std::string("DUMMY#  Two\nLines\r\t\x7F  Mid  ");
    MasageTextToParameter(k);
    EXPECT_EQ(k.d.s_SP.str(), "Two\nLines\r\t\x7F");  // kept as received
    const std::string r = MakeClipText(k).str();
    EXPECT_EQ(r.substr(0, 22), "DUMMY%  Two Lines     ");
    EXPECT_TRUE(std::none_of(r.begin(), r.end(), IsControlByte)) << r;
}

TEST(DriverRecord, AllSixteenFieldsFillEveryTarget)
{
    Kestrova k;
    k.sh.s_Masg = kFullDriver;
    MasageTextToParameter(k);
    const Design& d = k.d;
    EXPECT_EQ(k.sh.s_Dummy, "DUMMY#");
    EXPECT_EQ(d.s_SP, "Test3.0-08");
    EXPECT_EQ(d.s_SP2, "Test3.0-08");
    EXPECT_EQ(d.s_RANG, "200Hz-20kHz");
    EXPECT_EQ(d.s_RANG2, "200Hz-20kHz");
    const struct {
        const PStr& text;
        f32 value;
        const char* wantText;
        f32 want;
    } fields[] = {{d.s_DIA, d.DIA2, " 3", 3},          {d.s_FS, d.FS2, " 800", 800},
                  {d.s_VAS, d.VAS2, " 0", 0},          {d.s_QTS, d.QTS2, " 0.707", 0.707f},
                  {d.s_QES, d.QES2, " 0.972", 0.972f}, {d.s_QMS, d.QMS2, " 2.5", 2.5f},
                  {d.s_EFI, d.EFI2, " 0.628", 0.628f}, {d.s_RE, d.RE2, " 6", 6},
                  {d.s_PEMX, d.PEMX2, " 10", 10},      {d.s_SD, d.SD2, " 5", 5},
                  {d.s_XMAX, d.XMAX2, " 0.2", 0.2f},   {d.s_VD, d.VD2, " 0.1", 0.1f},
                  {d.s_LE, d.LE2, " 0.025", 0.025f}};
    for (const auto& f : fields) {
        EXPECT_EQ(f.text, f.wantText);
        EXPECT_EQ(f.value, f.want) << f.wantText;
    }
    // The design set's own numbers wait for ParameterPass.
    EXPECT_EQ(d.FS, 0.0f);
    EXPECT_EQ(k.sh.s_Masg, kFullDriver);
}

TEST(DriverRecord, TextBeyondTheSixteenthFieldIsIgnored)
{
    Kestrova k;
    k.sh.s_Masg = std::string(kFullDriver) + " 99  extra  ";
    MasageTextToParameter(k);
    EXPECT_EQ(k.d.s_LE, " 0.025");
    EXPECT_EQ(k.d.LE2, 0.025f);
}

TEST(DriverRecord, EmptyFieldStoresEmptyTextAndZero)
{
    Kestrova k;
    // tag, model, an empty range, diameter, an empty Fs, Vas, Qts, Qes
    k.sh.s_Masg = std::string("DUMMY#  ") + "M  " + "  " + " 3  " + "  " + " 800  " + " 0  " + " 0.707  ";
    MasageTextToParameter(k);
    EXPECT_EQ(k.d.s_SP, "M");
    EXPECT_EQ(k.d.s_RANG, "");
    EXPECT_EQ(k.d.s_RANG2, "");
    EXPECT_EQ(k.d.s_DIA, " 3");
    EXPECT_EQ(k.d.s_FS, "");
    EXPECT_EQ(k.d.FS2, 0.0f);
    EXPECT_EQ(k.d.s_VAS, " 800");
    EXPECT_EQ(k.d.VAS2, 800.0f);
    EXPECT_EQ(k.d.s_QES, " 0.707");
    EXPECT_EQ(k.d.QES2, 0.707f);
}

TEST(DriverRecord, NumericFieldThatIsNoNumberReadsAsTextToNumberGives)
{
    Kestrova k;
    k.sh.s_Masg = "DUMMY#  M  R  abc  &H10  12 Hz  ";
    MasageTextToParameter(k);
    EXPECT_EQ(k.d.s_DIA, "abc");
    EXPECT_EQ(k.d.DIA2, 0.0f);
    EXPECT_EQ(k.d.FS2, 16.0f);
    EXPECT_EQ(k.d.s_VAS, "12 Hz");
    EXPECT_EQ(k.d.VAS2, 12.0f);
}

TEST(DriverRecord, WrongTagChangesOnlyTheTag)
{
    for (const char* tag : {"DUMMY%", "dummy#", " DUMMY#", "DUMMY##", "DUMMY", ""}) {
        Kestrova k;
        const std::vector<std::string> before = ReaderTargets(k);
        std::string text(kFullDriver);
        text.replace(0, 6, tag);
        k.sh.s_Masg = text;
        MasageTextToParameter(k);
        EXPECT_EQ(ReaderTargets(k), before) << tag;
        EXPECT_EQ(k.sh.s_Dummy.str(), text.substr(0, text.find("  "))) << tag;
    }
}

TEST(DriverRecord, TextWithoutAnySeparatorHasAnEmptyTag)
{
    for (const char* text : {"DUMMY#", "null", "", "DUMMY# 3"}) {
        Kestrova k;
        k.sh.s_Dummy = "old";
        const std::vector<std::string> before = ReaderTargets(k);
        k.sh.s_Masg = text;
        MasageTextToParameter(k);
        EXPECT_EQ(k.sh.s_Dummy, "") << text;
        EXPECT_EQ(ReaderTargets(k), before) << text;
    }
}

TEST(DriverRecord, MissingSeparatorsEmptyTheRestOfTheFields)
{
    Kestrova k;
    k.sh.s_Masg = "DUMMY#  Model  Range   3   800   0.5";  // Vas has no separator
    MasageTextToParameter(k);
    const Design& d = k.d;
    EXPECT_EQ(d.s_SP, "Model");
    EXPECT_EQ(d.s_DIA, " 3");
    EXPECT_EQ(d.DIA2, 3.0f);
    EXPECT_EQ(d.s_FS, " 800");
    EXPECT_EQ(d.FS2, 800.0f);
    EXPECT_EQ(d.s_VAS, "");
    EXPECT_EQ(d.VAS2, 0.0f);
    for (const PStr* s : {&d.s_QTS, &d.s_QES, &d.s_QMS, &d.s_EFI, &d.s_RE, &d.s_PEMX, &d.s_SD,
                          &d.s_XMAX, &d.s_VD, &d.s_LE})
        EXPECT_TRUE(s->empty());
    for (f32 x : {d.QTS2, d.QES2, d.QMS2, d.EFI2, d.RE2, d.PEMX2, d.SD2, d.XMAX2, d.VD2, d.LE2})
        EXPECT_EQ(x, 0.0f);

    // Only the tag: accepted, every other field empty.
    Kestrova k2;
    k2.sh.s_Masg = "DUMMY#  ";
    MasageTextToParameter(k2);
    EXPECT_EQ(k2.sh.s_Dummy, "DUMMY#");
    EXPECT_EQ(k2.d.s_SP2, "");
    EXPECT_EQ(k2.d.FS2, 0.0f);
    EXPECT_EQ(k2.d.LE2, 0.0f);

    // A record ending in one blank: that field has no separator either.
    Kestrova k3;
    k3.sh.s_Masg = "DUMMY#  A  B   3 ";
    MasageTextToParameter(k3);
    EXPECT_EQ(k3.d.s_RANG, "B");
    EXPECT_EQ(k3.d.s_DIA, "");
    EXPECT_EQ(k3.d.DIA2, 0.0f);
}

TEST(DriverRecord, Full255ByteMessage)
{
    // A record of exactly 255 bytes whose last separator ends the text.
    const std::string tail =
        "  R   3   800   0   0.707   0.972   2.5   0.628   6   10   5   0.2   0.1   0.025  ";
    const std::string model(255 - 8 - tail.size(), 'N');
    const std::string text = "DUMMY#  " + model + tail;
    ASSERT_EQ(text.size(), 255u);
    Kestrova k;
    k.sh.s_Masg = text;
    MasageTextToParameter(k);
    EXPECT_EQ(k.d.s_SP.str(), model);
    EXPECT_EQ(k.d.s_LE, " 0.025");
    EXPECT_EQ(k.d.LE2, 0.025f);

    // The receiver cuts a longer text at 255: here the cut takes the last
    // separator, so the Le field reads as empty.
    Kestrova k2;
    k2.sh.s_Masg = "DUMMY#  N" + model + tail;
    ASSERT_EQ(k2.sh.s_Masg.size(), 255u);
    MasageTextToParameter(k2);
    EXPECT_EQ(k2.d.s_VD, " 0.1");
    EXPECT_EQ(k2.d.s_LE, "");
    EXPECT_EQ(k2.d.LE2, 0.0f);

    // 255 bytes without a single separator after the tag's.
    Kestrova k3;
    k3.sh.s_Masg = "DUMMY#  " + std::string(247, '7');
    MasageTextToParameter(k3);
    EXPECT_EQ(k3.sh.s_Dummy, "DUMMY#");
    EXPECT_EQ(k3.d.s_SP, "");
    EXPECT_EQ(k3.d.s_LE, "");
}

TEST(DriverRecord, MacRomanBytesAreStoredUnchanged)
{
    Kestrova k;
    const std::string model = "Hocht\x9Aner \xA5\xFF\x80";  // not valid UTF-8
    const std::string range = "2\xD0" "20 kHz";
    k.sh.s_Masg = "DUMMY#  " + model + "  " + range + "   2.5\xB5  ";
    MasageTextToParameter(k);
    EXPECT_EQ(k.d.s_SP.str(), model);
    EXPECT_EQ(k.d.s_SP2.str(), model);
    EXPECT_EQ(k.d.s_RANG.str(), range);
    EXPECT_EQ(k.d.s_DIA.str(), " 2.5\xB5");
    EXPECT_EQ(k.d.DIA2, 2.5f);
}

TEST(DriverRecord, CompanionRecordIsReadBackByTheReader)
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

    Kestrova k;
    k.sh.s_Masg = r;
    MasageTextToParameter(k);
    EXPECT_EQ(k.d.s_RANG2, "Dome Tw");
    EXPECT_EQ(k.d.FS2, 1000.0f);
    EXPECT_EQ(k.d.LE2, 0.025f);
}

TEST(DriverRecord, CompanionRecordDefaultsAndCut)
{
    PStr empty = MakeDriverRecord({});
    EXPECT_EQ(empty.str(), "DUMMY#       0   0   0   0   0   0   0   0   0   0   0   0   0  ");

    DriverRecordFields f;
    f.fs = -1.5;
    f.vas = 1e-4;
    EXPECT_EQ(Fields(MakeDriverRecord(f).view())[4], "-1.5");
    EXPECT_EQ(Fields(MakeDriverRecord(f).view())[5], " 1e-04");

    f.model = std::string(240, 'x');
    bool cut = false;
    PStr r = MakeDriverRecord(f, &cut);
    EXPECT_TRUE(cut);
    EXPECT_EQ(r.size(), 255u);
}

}  // namespace
}  // namespace ks
