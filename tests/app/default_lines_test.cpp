#include "app/default_lines.h"

#include <limits>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "support/numtext.h"

namespace ks {
namespace {

TEST(DefaultParameterLines, BuiltInDriverByHand)
{
    const Design d;
    const std::vector<std::string> expect = {
        "Model Name = Test2.5-07",
        "Freq Range = Dome Tw",
        "Dia        =    2.500 cm",
        "Fs         = 1000.000 Hz",
        "Vas        =    0.000 Liter",
        "Qts        =    0.707",
        "Qes        =    0.972",
        "Qms        =    2.500",
        "Effi       =    0.628 %",
        "Re         =    6.000 Ohm",
        "Pemax      =   10.000 Watt",
        "Sd         =    5.000 cm^2",
        "Xmax       =    0.200 mm",
        "Vd         =    0.100 cm^3",
        "Le         =    0.025 mH",
    };
    EXPECT_EQ(DefaultParameterLines(d), expect);
}

TEST(DefaultParameterLines, EachValueThroughItsMask)
{
    Design d;
    d.s_SP2 = "Woofer \x8A\xA7";  // Mac Roman bytes pass through untouched
    d.s_RANG2 = "";
    d.DIA2 = 16.5f;
    d.FS2 = 27.35f;
    d.VAS2 = 112.4f;
    d.QTS2 = 0.38f;
    d.QES2 = 0.41f;
    d.QMS2 = 5.9f;
    d.EFI2 = 0.9f;
    d.RE2 = 5.6f;
    d.PEMX2 = 150.0f;
    d.SD2 = 214.0f;
    d.XMAX2 = 6.5f;
    d.VD2 = 139.1f;
    d.LE2 = 1.2f;
    const std::vector<std::string> lines = DefaultParameterLines(d);
    ASSERT_EQ(lines.size(), 15u);
    EXPECT_EQ(lines[0], "Model Name = Woofer \x8A\xA7");
    EXPECT_EQ(lines[1], "Freq Range = ");
    const struct {
        f32 value;
        const char* mask;
    } nums[] = {{d.DIA2, " ###.### cm"},  {d.FS2, "####.### Hz"},   {d.VAS2, "####.### Liter"},
                {d.QTS2, "  ##.###"},     {d.QES2, "  ##.###"},     {d.QMS2, "  ##.###"},
                {d.EFI2, "  ##.### %"},   {d.RE2, "  ##.### Ohm"},  {d.PEMX2, "####.### Watt"},
                {d.SD2, "####.### cm^2"}, {d.XMAX2, " ###.### mm"}, {d.VD2, "####.### cm^3"},
                {d.LE2, "  ##.### mH"}};
    for (std::size_t i = 0; i < 13; ++i) {
        const std::string value = FormatWithMask(nums[i].mask, nums[i].value).str();
        ASSERT_GE(lines[i + 2].size(), 13u);
        EXPECT_EQ(lines[i + 2].substr(13), value) << i;
        EXPECT_EQ(lines[i + 2].size(), 13 + std::string(nums[i].mask).size()) << i;
    }
    EXPECT_EQ(lines[3], "Fs         =   27.350 Hz");
    EXPECT_EQ(lines[4], "Vas        =  112.400 Liter");
    EXPECT_EQ(lines[14], "Le         =    1.200 mH");
}

TEST(DefaultParameterLines, EqualsSignsStandInOneColumn)
{
    for (const std::string& line : DefaultParameterLines(Design{})) {
        ASSERT_GE(line.size(), 13u);
        EXPECT_EQ(line.find('='), 11u) << line;
        EXPECT_EQ(line.substr(11, 2), "= ") << line;
    }
}

TEST(DefaultParameterLines, ValuesTooWideOrBrokenShowQuestionMarks)
{
    Design d;
    d.FS2 = 12345.0f;
    d.QTS2 = 100.0f;
    d.RE2 = -4.0f;
    d.LE2 = std::numeric_limits<float>::quiet_NaN();
    d.VD2 = std::numeric_limits<float>::infinity();
    // The three-digit masks hold no thousands.
    d.DIA2 = 1000.0f;
    d.XMAX2 = 1234.5f;
    d.PEMX2 = 9999.9994f;  // rounds to 9999.999, still fits
    const std::vector<std::string> lines = DefaultParameterLines(d);
    EXPECT_EQ(lines[2], "Dia        =  ???.??? cm");
    EXPECT_EQ(lines[12], "Xmax       =  ???.??? mm");
    EXPECT_EQ(lines[10], "Pemax      = 9999.999 Watt");
    EXPECT_EQ(lines[3], "Fs         = ????.??? Hz");
    EXPECT_EQ(lines[5], "Qts        =   ??.???");
    EXPECT_EQ(lines[9], "Re         =   -4.000 Ohm");
    EXPECT_EQ(lines[14], "Le         =   ??.??? mH");
    EXPECT_EQ(lines[13], "Vd         = ????.??? cm^3");
}

}  // namespace
}  // namespace ks
