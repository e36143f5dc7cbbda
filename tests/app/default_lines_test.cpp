#include "app/default_lines.h"

#include <string>

#include <gtest/gtest.h>

namespace ks {
namespace {

std::string Joined(const Design& d)
{
    std::string s;
    for (const std::string& line : DefaultParameterLines(d)) s += line + "\n";
    return s;
}

// Each value through its mask, the "=" of every line in one column; how a
// mask shows what does not fit is the formatter's own test.
TEST(DefaultParameterLines, EachValueThroughItsMask)
{
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
}

}  // namespace
}  // namespace ks
