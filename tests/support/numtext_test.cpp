// Number to text, the rounded display text and format with mask: the digits
// every display, record and fixed-width column carries, byte for byte.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

#include "support/numtext.h"

namespace ks {
namespace {

constexpr double kInf = std::numeric_limits<double>::infinity();

TEST(NumToText, FixedAndExponentForms)
{
    const struct {
        double v;
        const char* text;
    } cases[] = {
        {0.0, " 0"}, {0.707, " 0.707"}, {1000.0, " 1000"}, {12345.678, " 12345.678"}, {-2.5, "-2.5"},
        // One leading blank only before non-negative values.
        {-0.005, "-5e-03"}, {-1e12, "-1e+12"},
        // A display value rounded from a tiny negative number is -0: plain zero.
        {-0.0, " 0"}, {kInf, " inf"}, {-kInf, "-inf"}, {-std::numeric_limits<double>::quiet_NaN(), " nan"},
        // The exponent form below 2^-7 and from 2^32.
        {0.0078125, " 0.0078125"}, {std::nextafter(0.0078125, 0.0), " 7.8125e-03"},
        {0.00123456789123, " 1.23456789e-03"},  // 9 significant digits
        {0.00099999999999, " 1e-03"},           // rounding carries into the exponent
        {4294967295.0, " 4294967295"}, {4294967296.0, " 4.2949673e+09"}, {5e-324, " 4.94065646e-324"},
        // The decimals follow the binary exponent: 4/3 × 2^k starts a row,
        // 2/3 × 2^k ends the one before; trailing zeros go.
        {0.010416666666666666, " 0.010416666667"}, {0.020833333333333332, " 0.020833333333"},
        {0.3333333333333333, " 0.3333333333"},     {0.16666666666666666, " 0.16666666667"},
        {42.666666666666664, " 42.666666667"},     {21.333333333333332, " 21.3333333333"},
        {21845.333333333332, " 21845.333333"},     {10922.666666666666, " 10922.6666667"},
        {2863311530.6666665, " 2863311530.7"},     {1431655765.3333333, " 1431655765.33"},
        {-2863311530.6666665, "-2863311530.7"},
    };
    for (const auto& c : cases) EXPECT_EQ(NumToText(c.v).str(), c.text) << c.v;
}

TEST(RoundedText, MultipliesInSinglePrecisionAndTiesGoToEven)
{
    // 0.35f × 10 is exactly 3.5 in single precision (3.49999994 in double):
    // the tie goes to the even 4; 0.85f × 10 is exactly 8.5: to the even 8.
    // The widened f32 0.707 would show its binary digits unrounded.
    EXPECT_EQ(NumToText(0.707f).str(), " 0.7070000172");
    const struct {
        float v;
        int decimals;
        const char* text;
    } cases[] = {
        {0.707f, 3, " 0.707"}, {0.35f, 1, " 0.4"}, {0.85f, 1, " 0.8"}, {0.0055f, 3, " 6e-03"},
        {0.0065f, 3, " 6e-03"}, {89.998f, 1, " 90"}, {-2.5f, 1, "-2.5"}, {-0.0004f, 3, " 0"},
        {2.5f, 0, " 2"}, {3.5f, 0, " 4"},
        // Products beyond single precision overflow.
        {3e38f, 3, " inf"}, {-3e38f, 3, "-inf"}, {std::numeric_limits<float>::quiet_NaN(), 2, " nan"},
    };
    for (const auto& c : cases) EXPECT_EQ(RoundedText(c.v, c.decimals), c.text) << c.v;
    // 1e10 × 1000 is 9999999827968 in single precision; decimals outside
    // 0..10 are clamped.
    EXPECT_EQ(RoundedValue(1e10f, 3), 9999999827.968);
    EXPECT_EQ(RoundedValue(1.25f, -3), 1.0);
    EXPECT_EQ(RoundedValue(0.123456789f, 40), RoundedValue(0.123456789f, 10));
}

TEST(NumToText, ProgramTextsReadBackExactly)
{
    // Every rounded display value survives text and back unchanged.
    for (int d = 1; d <= 3; ++d) {
        for (float v = 0.0001f; v < 5.0e6f; v = v * 1.0137f + 0.00001f) {
            for (float s : {v, -v}) {
                const double r = RoundedValue(s, d);
                ASSERT_EQ(TextToNumber(NumToText(r)), r) << NumToText(r).str();
            }
        }
    }
    for (double v : {0.005, 1e-9, 4294967295.5, 1e15, -3.25e-5}) EXPECT_EQ(TextToNumber(NumToText(v)), v);
}

TEST(FormatWithMask, DigitsRoundingSignsAndOverflow)
{
    const struct {
        const char* mask;
        double v;
        const char* shown;
    } cases[] = {
        {"####.### Hz", 1000, "1000.000 Hz"}, {" ###.### cm", 2.5, "   2.500 cm"}, {"  ##.###", 0.707, "   0.707"},
        {"  ##.### mH", 0.025, "   0.025 mH"}, {"####.### Liter", 0.0, "   0.000 Liter"},
        // Ties to even, and overflow decided after rounding.
        {"  ##.###", 0.0005, "   0.000"}, {"  ##.###", 0.0015, "   0.002"}, {"  ##.###", 0.0025, "   0.002"},
        {"  ##.###", 99.9994, "  99.999"}, {"  ##.###", 99.9996, "  ??.???"}, {"####.### Hz", 12345, "????.??? Hz"},
        // The minus sign stands before the first digit.
        {"####.### Hz", -1.5, "  -1.500 Hz"}, {"  ##.###", -12.25, " -12.250"}, {" ###.### cm", -100, "-100.000 cm"},
        // Every position before the point holds a digit: "?" takes the sign's
        // place and the leading digit is lost.
        {"####.### Hz", -1000, "?000.000 Hz"},
        // The sign is noted before rounding, negative zero included.
        {"  ##.###", -0.0, "  -0.000"}, {"  ##.###", -0.0004, "  -0.000"},
        // Masks without a point or without integer positions.
        {"###", 12.5, " 12"}, {"###", 13.5, " 14"}, {"### W", 7, "  7 W"}, {".###", 0.25, ".250"},
        {".###", 1.25, ".???"}, {"abc", 5, "abc"}, {"", 5, ""},
        {"#.#.#", 1.25, "1.2.5"},  // only the first point is the point
        {"####.### Hz", kInf, "????.??? Hz"}, {"####.### Hz", -kInf, "????.??? Hz"},
        {"  ##.###", std::numeric_limits<double>::quiet_NaN(), "  ??.???"}, {"  ##.###", 1e300, "  ??.???"},
    };
    for (const auto& c : cases) EXPECT_EQ(FormatWithMask(c.mask, c.v).str(), c.shown) << c.mask << " " << c.v;
}

TEST(FormatWithMask, MaskOver255BytesIsCutFirst)
{
    EXPECT_EQ(FormatWithMask(std::string(300, '#'), 7).str(), std::string(254, ' ') + "7");
}

}  // namespace
}  // namespace ks
