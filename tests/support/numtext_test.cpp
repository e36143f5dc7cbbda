// SPDX-License-Identifier: GPL-3.0-or-later
// Number texts both ways, rounded and masked, byte for byte; bounded texts, Mac Roman ⇄ UTF-8, one-line refusals.
#include "support/numtext.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <limits>
#include <string>
#include <tuple>

#include "common/comma_locale.h"
#include "support/macroman.h"
#include "support/program_lines.h"
#include "support/pstring.h"

namespace ks {
namespace {

constexpr double kInf = std::numeric_limits<double>::infinity(), kNan = std::numeric_limits<double>::quiet_NaN();
constexpr std::int64_t kMax = std::numeric_limits<std::int64_t>::max(), kMin = std::numeric_limits<std::int64_t>::min();

TEST(NumToText, FixedAndExponentFormsRoundedInSinglePrecisionThatReadBackExactly)
{
    const std::pair<double, const char*> cases[] = {
        // clang-format off
        {0.0, " 0"}, {0.707, " 0.707"}, {1000.0, " 1000"}, {12345.678, " 12345.678"}, {-2.5, "-2.5"},
        // A blank only before non-negative values; -0 (rounded from a tiny negative) is plain zero.
        {-0.005, "-5e-03"}, {-1e12, "-1e+12"}, {-0.0, " 0"}, {kInf, " inf"}, {-kInf, "-inf"}, {-kNan, " nan"},
        // The exponent form below 2^-7 and from 2^32, 9 significant digits; rounding carries into the exponent.
        {0.0078125, " 0.0078125"}, {std::nextafter(0.0078125, 0.0), " 7.8125e-03"},
        {0.00123456789123, " 1.23456789e-03"}, {0.00099999999999, " 1e-03"}, {4294967295.0, " 4294967295"},
        {4294967296.0, " 4.2949673e+09"}, {5e-324, " 4.94065646e-324"},
        // The decimals follow the binary exponent: 4/3 × 2^k starts a row, 2/3 × 2^k ends the one before.
        {0.010416666666666666, " 0.010416666667"}, {0.020833333333333332, " 0.020833333333"},
        {0.3333333333333333, " 0.3333333333"}, {0.16666666666666666, " 0.16666666667"},
        {42.666666666666664, " 42.666666667"}, {21.333333333333332, " 21.3333333333"},
        {21845.333333333332, " 21845.333333"}, {10922.666666666666, " 10922.6666667"},
        {2863311530.6666665, " 2863311530.7"}, {1431655765.3333333, " 1431655765.33"},
        {-2863311530.6666665, "-2863311530.7"}, {0.707f, " 0.7070000172"},  // a widened f32 shows its binary digits
        // clang-format on
    };
    for (const auto& [v, text] : cases) EXPECT_EQ(NumToText(v).str(), text) << v;
    // Rounded in single precision: 0.35f × 10 and 0.85f × 10 are ties there (not in double) and go to the even digit.
    const std::tuple<float, int, const char*> rounded[] = {
        // clang-format off
        {0.707f, 3, " 0.707"}, {0.35f, 1, " 0.4"}, {0.85f, 1, " 0.8"}, {0.0055f, 3, " 6e-03"}, {0.0065f, 3, " 6e-03"},
        {89.998f, 1, " 90"}, {-2.5f, 1, "-2.5"}, {-0.0004f, 3, " 0"},
        {3e38f, 3, " inf"}, {-3e38f, 3, "-inf"}, {std::numeric_limits<float>::quiet_NaN(), 2, " nan"},  // overflow
        // clang-format on
    };
    for (const auto& [v, decimals, text] : rounded) EXPECT_EQ(RoundedText(v, decimals), text) << v;
    // 1e10 × 1000 is 9999999827968 in single precision; decimals are clamped to 0..10.
    EXPECT_EQ(RoundedValue(1e10f, 3), 9999999827.968);
    EXPECT_EQ(RoundedValue(1.25f, -3), 1.0);
    EXPECT_EQ(RoundedValue(0.123456789f, 40), RoundedValue(0.123456789f, 10));
    // Every rounded display value survives text and back unchanged.
    for (int d = 1; d <= 3; ++d)
        for (float v = 0.0001f; v < 5.0e6f; v = v * 1.0137f + 0.00001f)
            for (const double r : {RoundedValue(v, d), RoundedValue(-v, d)})
                ASSERT_EQ(TextToNumber(NumToText(r)), r) << NumToText(r).str();
    for (double v : {0.005, 1e-9, 4294967295.5, 1e15, -3.25e-5}) EXPECT_EQ(TextToNumber(NumToText(v)), v);
}

TEST(FormatWithMask, DigitsRoundingSignsAndOverflow)
{
    const std::tuple<const char*, double, const char*> cases[] = {
        // clang-format off
        {"####.### Hz", 1000, "1000.000 Hz"}, {" ###.### cm", 2.5, "   2.500 cm"}, {"  ##.###", 0.707, "   0.707"},
        // Ties to even, and overflow decided after rounding.
        {"  ##.###", 0.0005, "   0.000"}, {"  ##.###", 0.0015, "   0.002"}, {"  ##.###", 0.0025, "   0.002"},
        {"  ##.###", 99.9994, "  99.999"}, {"  ##.###", 99.9996, "  ??.???"}, {"####.### Hz", 12345, "????.??? Hz"},
        // The minus sign stands before the first digit, or "?" takes its place and the leading digit is lost;
        // the sign is noted before rounding, negative zero included.
        {"####.### Hz", -1.5, "  -1.500 Hz"}, {"  ##.###", -12.25, " -12.250"}, {" ###.### cm", -100, "-100.000 cm"},
        {"####.### Hz", -1000, "?000.000 Hz"}, {"  ##.###", -0.0, "  -0.000"}, {"  ##.###", -0.0004, "  -0.000"},
        // Masks without a point or without integer positions; only the first point is the point.
        {"###", 12.5, " 12"}, {"###", 13.5, " 14"}, {"### W", 7, "  7 W"}, {".###", 0.25, ".250"},
        {".###", 1.25, ".???"}, {"abc", 5, "abc"}, {"", 5, ""}, {"#.#.#", 1.25, "1.2.5"},
        {"####.### Hz", kInf, "????.??? Hz"}, {"####.### Hz", -kInf, "????.??? Hz"}, {"  ##.###", kNan, "  ??.???"},
        {"  ##.###", 1e300, "  ??.???"},
        // clang-format on
    };
    for (const auto& [mask, v, shown] : cases) EXPECT_EQ(FormatWithMask(mask, v).str(), shown) << mask << " " << v;
    EXPECT_EQ(FormatWithMask(std::string(300, '#'), 7).str(), std::string(254, ' ') + "7");  // cut first
}

TEST(TextToNumber, OrIntegerFormsPrefixesTheDefinedValueForBadTextAndAtMost255Bytes)
{
    const std::pair<std::string_view, double> cases[] = {
        // clang-format off
        {" 12.5 L", 12.5}, {"-5", -5.0}, {" 0.707", 0.707}, {".5", 0.5}, {"-.5", -0.5}, {"+7", 7.0},
        {"012", 12.0}, {" 5e-03", 0.005}, {"1,5", 1.0}, {"L 12", 0.0},  // not octal; the point is "."; text first: none
        {"&h1f", 31.0}, {"&O17", 15.0}, {"&x101", 5.0}, {"&1F", 31.0}, {"0X1f", 31.0},  // "&" and else: hexadecimal
        {"&H1.5", 1.0}, {" -&H1F", -31.0}, {"  -0x10", -16.0},  // no fractions in other bases; blanks and sign stay
        {"&HFFFFFFFFFFFFFFFF", -1.0}, {"&H8000000000000000", -9223372036854775808.0},  // unsigned taken as signed
        // Malformed text gives the defined value; a NUL byte ends the text.
        {"abc", 0.0}, {"", 0.0}, {std::string_view("\0" "5", 2), 0.0}, {"&H", 0.0}, {"&", 0.0}, {"0x", 0.0},
        {"--5", 0.0}, {"+", 0.0}, {".", 0.0}, {"\xA5\xFF", 0.0},
        // Out of range: what strtod gives; the special values number to text writes read back.
        {"1e999", kInf}, {"-1e999", -kInf}, {"1e-999", 0.0}, {" inf", kInf}, {"-inf", -kInf},
        // clang-format on
    };
    for (const auto& [text, value] : cases) EXPECT_EQ(TextToNumber(text), value) << text;
    EXPECT_TRUE(std::isnan(TextToNumber(" nan")));
    // 255 digits with more after them in the same block: only the text's own bytes count, at most 255.
    const double ones = std::strtod(std::string(255, '1').c_str(), nullptr);
    const std::string block = std::string(255, '1') + std::string(145, '9');
    EXPECT_EQ(TextToNumber(std::string_view(block).substr(0, 255)), ones);
    EXPECT_EQ(TextToNumber(std::string_view(block).substr(0, 3)), 111.0);
    EXPECT_EQ(TextToNumber(block), ones);
    EXPECT_EQ(TextToInteger(block), kMax);
    const std::pair<std::string_view, std::int64_t> integers[] = {
        // clang-format off
        {"540", 540}, {"  -12", -12}, {"42abc", 42}, {"12.9", 12}, {"007", 7},
        // As integers: no digit gives zero; only "-" is a sign.
        {"", 0}, {"-", 0}, {"abc", 0}, {"+5", 0}, {"- 5", 0}, {"--5", 0}, {"&H", 0},
        {"&hff", 255}, {"&O777", 511}, {"&X1010", 10}, {"&10", 16}, {"0x10", 16}, {" -&H10", -16},
        {"&HFFFFFFFFFFFFFFFF", -1}, {"-&H8000000000000000", kMin},
        // Overflow saturates; strtoull stops at 2^64 - 1, taken as signed.
        {"9223372036854775807", kMax}, {"9223372036854775808", kMax}, {"99999999999999999999999", kMax},
        {"-9223372036854775808", kMin}, {"-9223372036854775809", kMin}, {"&H1FFFFFFFFFFFFFFFFF", -1},
        // clang-format on
    };
    for (const auto& [text, value] : integers) EXPECT_EQ(TextToInteger(text), value) << text;
    EXPECT_EQ(TextToInteger(std::string(255, ' ')), 0);
}

// The shell adopts the user's locale; a decimal comma must not appear.
TEST(TextToNumber, IgnoresTheProcessLocale)
{
    const kt::CommaLocale comma;
    if (!comma.why.empty()) GTEST_SKIP() << comma.why;
    EXPECT_EQ(TextToNumber(" 12.5"), 12.5);
    EXPECT_EQ(NumToText(12.5).str(), " 12.5");
    EXPECT_EQ(FormatWithMask("  ##.###", 2.5).str(), "   2.500");
}

// Every byte round-trips in texts longer than any internal chunk. Cut short, a lone continuation, overlong forms,
// a surrogate, beyond U+10FFFF, cut short again, and Zhe (not in Mac Roman): refused, or one "?" a character.
TEST(MacRoman, AllBytesRoundTripAndBadOrUnmappableUtf8IsRefusedOrReplaced)
{
    std::string bytes;
    for (int i = 0; i < 40 * 256; ++i) bytes += static_cast<char>(i % 256);
    const std::string utf8 = MacRomanToUtf8(bytes);
    EXPECT_EQ(Utf8ToMacRoman(utf8), bytes);
    EXPECT_EQ(Utf8ToMacRomanLossy(utf8), bytes);
    EXPECT_EQ(MacRomanToUtf8("cm\x8A\xB5\xBD\xFD"), "cm\xC3\xA4\xC2\xB5\xCE\xA9\xCB\x9D");  // ä µ Ω ˝
    for (std::string_view bad :
         {"a\xC3", "\x80", "\xC0\xAF", "\xE0\x80\xAF", "\xED\xA0\x80", "\xF4\x90\x80\x80", "\xE2\x82", "ab\xD0\x96"})
        EXPECT_FALSE(Utf8ToMacRoman(bad).has_value()) << bad.size();
    EXPECT_EQ(Utf8ToMacRomanLossy("ab\xD0\x96z"), "ab?z");
    EXPECT_EQ(Utf8ToMacRomanLossy("\xF0\x9F\x94\x8A"), "?");
    EXPECT_EQ(Utf8ToMacRomanLossy("a\xFFz\xC3"), "a?z?");
}

// The 255-byte text holds any byte; an argument is shown on one line, cut where a character starts.
TEST(BoundedTexts, PStrCutsAt255AndArgumentsAreShownOnOneLineCutWhereACharacterStarts)
{
    EXPECT_EQ(PStr(std::string(300, 'x')).size(), 255u);
    PStr p = "abc";
    p += std::string(260, 'y');
    p += "more";
    EXPECT_EQ(p.view(), "abc" + std::string(252, 'y'));
    const std::string bytes("a\0b\xFF", 4);
    EXPECT_EQ(PStr(bytes).view(), bytes);
    EXPECT_TRUE(PStr(static_cast<const char*>(nullptr)).empty());
    const std::string e = "\xC3\xA9";  // é, two bytes
    // clang-format off
    const std::tuple<std::string, std::size_t, std::string> cases[] = {
        {"--opt\nrm -rf\t~", 400, "--opt?rm -rf?~"}, {std::string("a\0\x7F", 3), 400, "a??"}, {"abcdef", 4, "abcd"},
        {"ab" + e + e, 3, "ab"}, {"ab" + e + e, 4, "ab" + e}, {e + "x", 1, ""},  // never half a character
    };
    // clang-format on
    for (const auto& [text, max, line] : cases) EXPECT_EQ(OneLine(text, max), line) << text;
    EXPECT_EQ(RefusalLine("kestrova", "unknown option:", "--x\n" + std::string(300, 'y')),
              "kestrova: unknown option: --x?" + std::string(196, 'y') + " (see kestrova --help)");
}

}  // namespace
}  // namespace ks
