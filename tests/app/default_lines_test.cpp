#include "app/default_lines.h"

#include <limits>
#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace ks {
namespace {

std::string Joined(const Design& d)
{
    std::string s;
    for (const std::string& line : DefaultParameterLines(d)) s += line + "\n";
    return s;
}

// Each value through its mask, the "=" of every line in one column.
TEST(DefaultParameterLines, BuiltInDriverAndEachValueThroughItsMask)
{
    EXPECT_EQ(DefaultParameterLines(Design{})[0], "Model Name = Test2.5-07");
    Design d;
    d.s_SP2 = "Woofer \x8A\xA7";  // Mac Roman bytes pass through untouched
    d.s_RANG2 = "";
    d.DIA2 = 16.5f, d.FS2 = 27.35f, d.VAS2 = 112.4f, d.QTS2 = 0.38f, d.QES2 = 0.41f, d.QMS2 = 5.9f, d.EFI2 = 0.9f;
    d.RE2 = 5.6f, d.PEMX2 = 150.0f, d.SD2 = 214.0f, d.XMAX2 = 6.5f, d.VD2 = 139.1f, d.LE2 = 1.2f;
    EXPECT_EQ(Joined(d),
              "Model Name = Woofer \x8A\xA7\n"
              "Freq Range = \n"
              "Dia        =   16.500 cm\n"
              "Fs         =   27.350 Hz\n"
              "Vas        =  112.400 Liter\n"
              "Qts        =    0.380\n"
              "Qes        =    0.410\n"
              "Qms        =    5.900\n"
              "Effi       =    0.900 %\n"
              "Re         =    5.600 Ohm\n"
              "Pemax      =  150.000 Watt\n"
              "Sd         =  214.000 cm^2\n"
              "Xmax       =    6.500 mm\n"
              "Vd         =  139.100 cm^3\n"
              "Le         =    1.200 mH\n");
    // Values too wide for their mask, or broken, show question marks; the
    // three-digit masks hold no thousands.
    d.FS2 = 12345.0f, d.QTS2 = 100.0f, d.RE2 = -4.0f, d.LE2 = std::numeric_limits<float>::quiet_NaN();
    d.VD2 = std::numeric_limits<float>::infinity(), d.DIA2 = 1000.0f, d.XMAX2 = 1234.5f;
    d.PEMX2 = 9999.9994f;  // rounds to 9999.999, still fits
    const std::vector<std::string> lines = DefaultParameterLines(d);
    const std::pair<int, const char*> odd[] = {
        {2, "Dia        =  ???.??? cm"}, {12, "Xmax       =  ???.??? mm"}, {10, "Pemax      = 9999.999 Watt"},
        {3, "Fs         = ????.??? Hz"}, {5, "Qts        =   ??.???"},      {9, "Re         =   -4.000 Ohm"},
        {14, "Le         =   ??.??? mH"}, {13, "Vd         = ????.??? cm^3"}};
    for (const auto& [i, line] : odd) EXPECT_EQ(lines[i], line);
}

}  // namespace
}  // namespace ks
