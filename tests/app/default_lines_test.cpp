#include "app/default_lines.h"

#include <limits>
#include <string>
#include <vector>

#include <gtest/gtest.h>


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
    const std::vector<std::string> expect = {
        "Model Name = Woofer \x8A\xA7", "Freq Range = ",        "Dia        =   16.500 cm",
        "Fs         =   27.350 Hz",       "Vas        =  112.400 Liter", "Qts        =    0.380",
        "Qes        =    0.410",          "Qms        =    5.900",       "Effi       =    0.900 %",
        "Re         =    5.600 Ohm",      "Pemax      =  150.000 Watt",  "Sd         =  214.000 cm^2",
        "Xmax       =    6.500 mm",       "Vd         =  139.100 cm^3",  "Le         =    1.200 mH",
    };
    EXPECT_EQ(DefaultParameterLines(d), expect);
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
