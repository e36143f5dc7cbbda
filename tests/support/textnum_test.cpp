// Text to number and text to integer: entered box values, received driver
// values and stored rectangles. Bad input gives the defined value.
#include <gtest/gtest.h>

#include <clocale>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <memory>
#include <string>

#include "common/comma_locale.h"
#include "support/numtext.h"

namespace ks {
namespace {

constexpr double kInf = std::numeric_limits<double>::infinity();
constexpr std::int64_t kMax = std::numeric_limits<std::int64_t>::max();
constexpr std::int64_t kMin = std::numeric_limits<std::int64_t>::min();

struct NumberCase {
    std::string_view text;
    double value;
};

TEST(TextToNumber, DecimalFormsAndBasePrefixes)
{
    const NumberCase cases[] = {
        {" 12.5 L", 12.5}, {"-5", -5.0}, {" 0.707", 0.707}, {".5", 0.5}, {"-.5", -0.5}, {"+7", 7.0},
        {"012", 12.0},      // a leading 0 is decimal, not octal
        {" 5e-03", 0.005}, {"1,5", 1.0},  // the point is always "."
        {"L 12", 0.0},      // text before the number: none found
        {"&h1f", 31.0}, {"&O17", 15.0}, {"&x101", 5.0},
        {"&1F", 31.0},      // "&" and anything else: hexadecimal
        {"0X1f", 31.0}, {"&H1.5", 1.0},  // no fractions in other bases
        // Blanks and a sign before the prefix stay in the converted text.
        {" -&H1F", -31.0}, {"  -0x10", -16.0},
        // Unsigned 64-bit taken as signed.
        {"&HFFFFFFFFFFFFFFFF", -1.0}, {"&H8000000000000000", -9223372036854775808.0},
    };
    for (const NumberCase& c : cases) EXPECT_EQ(TextToNumber(c.text), c.value) << c.text;
}

TEST(TextToNumber, MalformedTextGivesTheDefinedValue)
{
    const NumberCase cases[] = {
        {"abc", 0.0}, {"", 0.0}, {std::string_view("\0" "5", 2), 0.0},  // stops at a NUL byte
        {"&H", 0.0}, {"&", 0.0}, {"0x", 0.0}, {"--5", 0.0}, {"+", 0.0}, {".", 0.0}, {"\xA5\xFF", 0.0},
        // Out of range: what strtod gives, infinity or zero.
        {"1e999", kInf}, {"-1e999", -kInf}, {"1e-999", 0.0},
        // The forms number to text writes for the special values read back.
        {" inf", kInf}, {"-inf", -kInf},
    };
    for (const NumberCase& c : cases) EXPECT_EQ(TextToNumber(c.text), c.value) << c.text;
    EXPECT_TRUE(std::isnan(TextToNumber(" nan")));
}

TEST(TextToNumber, ReadsNoMoreThanTheTextAndAtMost255Bytes)
{
    // 255 digits with no terminator, followed by more digits in the same
    // block: only the text's own bytes count, and at most 255 of them.
    const double ones = std::strtod(std::string(255, '1').c_str(), nullptr);
    char block[400];
    std::memset(block, '9', sizeof block);
    std::memset(block, '1', 255);
    EXPECT_EQ(TextToNumber(std::string_view(block, 255)), ones);
    EXPECT_EQ(TextToNumber(std::string_view(block, 3)), 111.0);
    EXPECT_EQ(TextToNumber(std::string_view(block, sizeof block)), ones);
    EXPECT_EQ(TextToInteger(std::string_view(block, sizeof block)), kMax);
    // Exactly 255 bytes on the heap, nothing after them: a sanitizer build
    // reports any byte read beyond.
    std::unique_ptr<char[]> heap(new char[255]);
    std::memset(heap.get(), '7', 255);
    EXPECT_EQ(TextToNumber(std::string_view(heap.get(), 255)), std::strtod(std::string(255, '7').c_str(), nullptr));
    EXPECT_EQ(TextToInteger(std::string_view(heap.get(), 255)), kMax);
}

TEST(TextToNumber, IgnoresTheProcessLocale)
{
    // The shell adopts the user's locale; a decimal comma must not appear.
    const kt::CommaLocale comma;
    if (!comma.why.empty()) GTEST_SKIP() << comma.why;
    ASSERT_STREQ(std::localeconv()->decimal_point, ",");
    EXPECT_EQ(TextToNumber(" 12.5"), 12.5);
    EXPECT_EQ(NumToText(12.5).str(), " 12.5");
    EXPECT_EQ(FormatWithMask("  ##.###", 2.5).str(), "   2.500");
}

TEST(TextToInteger, DigitsPrefixesAndLimits)
{
    const struct {
        std::string_view text;
        std::int64_t value;
    } cases[] = {
        {"540", 540}, {"  -12", -12}, {"42abc", 42}, {"12.9", 12}, {"007", 7},
        // No digit gives zero; only "-" is a sign here.
        {"", 0}, {"-", 0}, {"abc", 0}, {"+5", 0}, {"- 5", 0}, {"--5", 0}, {"&H", 0},
        {"&hff", 255}, {"&O777", 511}, {"&X1010", 10}, {"&10", 16}, {"0x10", 16},
        {" -&H10", -16}, {"&HFFFFFFFFFFFFFFFF", -1}, {"-&H8000000000000000", kMin},
        // Overflow saturates; strtoull stops at 2^64 - 1, taken as signed.
        {"9223372036854775807", kMax}, {"9223372036854775808", kMax}, {"99999999999999999999999", kMax},
        {"-9223372036854775808", kMin}, {"-9223372036854775809", kMin}, {"&H1FFFFFFFFFFFFFFFFF", -1},
    };
    for (const auto& c : cases) EXPECT_EQ(TextToInteger(c.text), c.value) << c.text;
    EXPECT_EQ(TextToInteger(std::string(255, ' ')), 0);
}

}  // namespace
}  // namespace ks
