// Number to text and the rounded display text: the digits every display and
// record carries, byte for byte.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

#include "support/numtext.h"

namespace ks {
namespace {

std::string N(double v) { return NumToText(v).str(); }

TEST(NumToText, FixedAndExponentForms)
{
    const struct {
        double v;
        const char* text;
    } cases[] = {
        {0.0, " 0"}, {0.707, " 0.707"}, {1000.0, " 1000"}, {12345.678, " 12345.678"}, {-2.5, "-2.5"},
        {1.0 / 3.0, " 0.3333333333"},
        // One leading blank only before non-negative values.
        {-0.707, "-0.707"}, {-0.005, "-5e-03"}, {-1e12, "-1e+12"},
        // A display value rounded from a tiny negative number is -0: plain zero.
        {-0.0, " 0"}, {std::numeric_limits<double>::infinity(), " inf"},
        {-std::numeric_limits<double>::infinity(), "-inf"}, {std::numeric_limits<double>::quiet_NaN(), " nan"},
        {-std::numeric_limits<double>::quiet_NaN(), " nan"},
        // The exponent form below 2^-7 and from 2^32.
        {0.005, " 5e-03"}, {0.0078125, " 0.0078125"}, {std::nextafter(0.0078125, 0.0), " 7.8125e-03"},
        {0.00123456789123, " 1.23456789e-03"},  // 9 significant digits
        {0.00099999999999, " 1e-03"},           // rounding carries into the exponent
        {4294967295.0, " 4294967295"}, {4294967296.0, " 4.2949673e+09"},
        {1.7976931348623157e308, " 1.79769313e+308"}, {5e-324, " 4.94065646e-324"},  // subnormal
    };
    for (const auto& c : cases) EXPECT_EQ(N(c.v), c.text) << c.v;
}

TEST(NumToText, DecimalsFollowTheBinaryExponent)
{
    // 4/3 × 2^k lands in the row that starts at 2^k, 2/3 × 2^k in the row
    // before it: each keeps its row's decimals once trailing zeros go.
    const struct {
        double v;
        const char* text;
    } rows[] = {
        {0.010416666666666666, " 0.010416666667"}, {0.041666666666666664, " 0.04166666667"},
        {0.3333333333333333, " 0.3333333333"},     {42.666666666666664, " 42.666666667"},
        {341.3333333333333, " 341.33333333"},      {2730.6666666666665, " 2730.6666667"},
        {21845.333333333332, " 21845.333333"},     {349525.3333333333, " 349525.33333"},
        {2796202.6666666665, " 2796202.6667"},     {22369621.333333332, " 22369621.333"},
        {178956970.66666666, " 178956970.67"},     {2863311530.6666665, " 2863311530.7"},
        {0.020833333333333332, " 0.020833333333"}, {0.16666666666666666, " 0.16666666667"},
        {21.333333333333332, " 21.3333333333"},    {170.66666666666666, " 170.666666667"},
        {1365.3333333333333, " 1365.33333333"},    {10922.666666666666, " 10922.6666667"},
        {174762.66666666666, " 174762.666667"},    {1398101.3333333333, " 1398101.33333"},
        {11184810.666666666, " 11184810.6667"},    {89478485.33333333, " 89478485.333"},
        {1431655765.3333333, " 1431655765.33"},
    };
    for (const auto& r : rows) EXPECT_EQ(N(r.v), r.text) << r.v;
    for (const auto& r : rows) EXPECT_EQ(N(-r.v), std::string("-").append(r.text + 1)) << -r.v;
}

TEST(NumToText, SingleValuesShowTheirBinaryDigitsUnlessRounded)
{
    // Why callers round first: the widened f32 0.707 is not 0.707.
    EXPECT_EQ(N(0.707f), " 0.7070000172");
    EXPECT_EQ(RoundedText(0.707f, 3), " 0.707");
}

TEST(RoundedText, MultipliesInSinglePrecision)
{
    // 0.35f × 10 is exactly 3.5 in single precision (3.49999994 in double):
    // the tie goes to the even 4. 0.85f × 10 is exactly 8.5 (8.50000024 in
    // double): the tie goes to the even 8.
    EXPECT_EQ(RoundedText(0.35f, 1), " 0.4");
    EXPECT_EQ(RoundedText(0.85f, 1), " 0.8");
    EXPECT_EQ(RoundedText(0.0055f, 3), " 6e-03");
    EXPECT_EQ(RoundedText(0.0065f, 3), " 6e-03");
}

TEST(RoundedText, DisplayValues)
{
    EXPECT_EQ(RoundedText(40.0f, 2), " 40");
    EXPECT_EQ(RoundedText(89.998f, 1), " 90");
    EXPECT_EQ(RoundedText(47.619f, 3), " 47.619");
    EXPECT_EQ(RoundedText(-2.5f, 1), "-2.5");
    EXPECT_EQ(RoundedText(-0.0004f, 3), " 0");
    EXPECT_EQ(RoundedText(2.5f, 0), " 2");
    EXPECT_EQ(RoundedText(3.5f, 0), " 4");
}

TEST(RoundedText, OutOfRangeProductsAndSpecialValues)
{
    // 1e10 × 1000 is not representable in single precision: the product
    // is 9999999827968, and the text shows it.
    EXPECT_EQ(RoundedValue(1e10f, 3), 9999999827.968);
    EXPECT_EQ(RoundedText(3e38f, 3), " inf");  // the f32 product overflows
    EXPECT_EQ(RoundedText(-3e38f, 3), "-inf");
    EXPECT_EQ(RoundedText(std::numeric_limits<float>::quiet_NaN(), 2), " nan");
    // Decimals outside 0..10 are clamped.
    EXPECT_EQ(RoundedValue(1.25f, -3), 1.0);
    EXPECT_EQ(RoundedValue(0.123456789f, 40), RoundedValue(0.123456789f, 10));
}

TEST(NumToText, ProgramTextsReadBackExactly)
{
    // Every rounded display value survives text and back unchanged.
    int checked = 0;
    for (int d = 1; d <= 3; ++d) {
        for (float v = 0.0001f; v < 5.0e6f; v = v * 1.0137f + 0.00001f) {
            for (float s : {v, -v}) {
                double r = RoundedValue(s, d);
                PStr t = NumToText(r);
                ASSERT_EQ(TextToNumber(t), r) << t.str();
                ++checked;
            }
        }
    }
    EXPECT_GT(checked, 5000);
    for (double v : {0.005, 0.0078125, 1e-9, 4294967295.5, 1e15, -3.25e-5})
        EXPECT_EQ(TextToNumber(NumToText(v)), v);
}

}  // namespace
}  // namespace ks
