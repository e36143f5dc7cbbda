// Format with mask: the fixed-width columns of the default-parameter window.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

#include "support/numtext.h"

namespace ks {
namespace {

std::string M(const char* mask, double v) { return FormatWithMask(mask, v).str(); }

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
        {"####.### Hz", std::numeric_limits<double>::infinity(), "????.??? Hz"},
        {"####.### Hz", -std::numeric_limits<double>::infinity(), "????.??? Hz"},
        {"  ##.###", std::numeric_limits<double>::quiet_NaN(), "  ??.???"}, {"  ##.###", 1e300, "  ??.???"},
    };
    for (const auto& c : cases) EXPECT_EQ(M(c.mask, c.v), c.shown) << c.mask << " " << c.v;
}

TEST(FormatWithMask, MaskOver255BytesIsCutFirst)
{
    PStr r = FormatWithMask(std::string(300, '#'), 7);
    ASSERT_EQ(r.size(), 255u);
    EXPECT_EQ(r.str(), std::string(254, ' ') + "7");
}

}  // namespace
}  // namespace ks
