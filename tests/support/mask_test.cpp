// Format with mask: the fixed-width columns of the default-parameter window.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <random>
#include <string>

#include "support/numtext.h"

namespace ks {
namespace {

std::string M(const char* mask, double v) { return FormatWithMask(mask, v).str(); }

TEST(FormatWithMask, ExamplesOfTheConversion)
{
    EXPECT_EQ(M("####.### Hz", 1000), "1000.000 Hz");
    EXPECT_EQ(M(" ###.### cm", 2.5), "   2.500 cm");
    EXPECT_EQ(M("  ##.###", 0.707), "   0.707");
    EXPECT_EQ(M("  ##.### mH", 0.025), "   0.025 mH");
    EXPECT_EQ(M("####.### Hz", 12345), "????.??? Hz");
    EXPECT_EQ(M("####.### Hz", -1.5), "  -1.500 Hz");
    EXPECT_EQ(M("  ##.###", 0.0015), "   0.002");
}

TEST(FormatWithMask, DefaultDriverInTheWindowMasks)
{
    EXPECT_EQ(M(" ###.### cm", 2.5f), "   2.500 cm");
    EXPECT_EQ(M("####.### Hz", 1000.0f), "1000.000 Hz");
    EXPECT_EQ(M("####.### Liter", 0.0f), "   0.000 Liter");
    EXPECT_EQ(M("  ##.###", 0.707f), "   0.707");
    EXPECT_EQ(M("  ##.### %", 0.628f), "   0.628 %");
    EXPECT_EQ(M("  ##.### Ohm", 6.0f), "   6.000 Ohm");
    EXPECT_EQ(M("####.### Watt", 10.0f), "  10.000 Watt");
    EXPECT_EQ(M("####.### cm^2", 5.0f), "   5.000 cm^2");
    EXPECT_EQ(M(" ###.### mm", 0.2f), "   0.200 mm");
    EXPECT_EQ(M("####.### cm^3", 0.1f), "   0.100 cm^3");
    EXPECT_EQ(M("  ##.### mH", 0.025f), "   0.025 mH");
}

TEST(FormatWithMask, RoundsTiesToEvenAndOverflowsAfterRounding)
{
    EXPECT_EQ(M("  ##.###", 0.0), "   0.000");
    EXPECT_EQ(M("  ##.###", 0.0005), "   0.000");
    EXPECT_EQ(M("  ##.###", 0.0025), "   0.002");
    EXPECT_EQ(M("  ##.###", 99.9996), "  ??.???");
    EXPECT_EQ(M("  ##.###", 99.9994), "  99.999");
    EXPECT_EQ(M("####.### Hz", 9999.9996), "????.??? Hz");
}

TEST(FormatWithMask, ResultAlwaysHasTheMasksLength)
{
    for (const char* mask : {"  ##.###", "####.### Hz", " ###.### cm", "####.### Liter", "###", "",
                             "#.#", "abc"}) {
        for (double v : {0.0, -0.0, 1.0, -1.0, 0.5, 123456.0, -99.99, 1e300, -1e-300,
                         std::numeric_limits<double>::infinity(),
                         std::numeric_limits<double>::quiet_NaN()}) {
            EXPECT_EQ(FormatWithMask(mask, v).size(), std::string(mask).size()) << mask << " " << v;
        }
    }
    // A mask over 255 bytes is cut to 255 first.
    std::string longMask(300, '#');
    PStr r = FormatWithMask(longMask, 7);
    ASSERT_EQ(r.size(), 255u);
    EXPECT_EQ(r.str(), std::string(254, ' ') + "7");
}

TEST(FormatWithMask, MinusSignStandsBeforeTheFirstDigit)
{
    EXPECT_EQ(M("  ##.###", -0.5), "  -0.500");
    EXPECT_EQ(M("  ##.###", -12.25), " -12.250");
    EXPECT_EQ(M(" ###.### cm", -100), "-100.000 cm");
    // Every position before the point holds a digit: "?" takes the sign's
    // place and the leading digit is lost.
    EXPECT_EQ(M("####.### Hz", -1000), "?000.000 Hz");
    EXPECT_EQ(M("####.### Hz", -12345), "????.??? Hz");
    // The sign is noted before rounding, negative zero included.
    EXPECT_EQ(M("  ##.###", -0.0), "  -0.000");
    EXPECT_EQ(M("  ##.###", -0.0004), "  -0.000");
}

TEST(FormatWithMask, MasksWithoutPointOrIntegerPositions)
{
    EXPECT_EQ(M("###", 12.5), " 12");   // tie to even
    EXPECT_EQ(M("###", 13.5), " 14");
    EXPECT_EQ(M("### W", 7), "  7 W");
    EXPECT_EQ(M(".###", 0.25), ".250");
    EXPECT_EQ(M(".###", 1.25), ".???");  // no room for the integer digit
    EXPECT_EQ(M("abc", 5), "abc");
    EXPECT_EQ(M("", 5), "");
    EXPECT_EQ(M("#.#.#", 1.25), "1.2.5");  // only the first point is the point
}

TEST(FormatWithMask, RandomMasksKeepLengthAndLiterals)
{
    std::mt19937 rng(7);
    const char alphabet[] = "## .aZ%";
    for (int round = 0; round < 3000; ++round) {
        std::string mask;
        for (std::size_t n = rng() % 300; n > 0; --n) mask += alphabet[rng() % (sizeof alphabet - 1)];
        const double v = std::ldexp(static_cast<double>(rng()), static_cast<int>(rng() % 80) - 60);
        const std::string r = FormatWithMask(mask, v).str();
        ASSERT_EQ(r.size(), std::min<std::size_t>(mask.size(), 255)) << mask;
        for (std::size_t i = 0; i < r.size(); ++i) {
            if (mask[i] == '#') ASSERT_TRUE(r[i] == ' ' || r[i] == '?' || (r[i] >= '0' && r[i] <= '9')) << mask;
            else ASSERT_EQ(r[i], mask[i]) << mask;  // literals and points stay
        }
    }
}

TEST(FormatWithMask, InfiniteAndNotANumberShowQuestionMarks)
{
    EXPECT_EQ(M("####.### Hz", std::numeric_limits<double>::infinity()), "????.??? Hz");
    EXPECT_EQ(M("####.### Hz", -std::numeric_limits<double>::infinity()), "????.??? Hz");
    EXPECT_EQ(M("  ##.###", std::numeric_limits<double>::quiet_NaN()), "  ??.???");
    EXPECT_EQ(M("  ##.###", 1e300), "  ??.???");
}

}  // namespace
}  // namespace ks
