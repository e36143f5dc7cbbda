// Mac Roman ⇄ UTF-8: the clipboard, the messages and the window texts.
#include <gtest/gtest.h>

#include <string>

#include "support/macroman.h"

namespace ks {
namespace {

std::string AllBytes()
{
    std::string s;
    for (int b = 0; b < 256; ++b) s += static_cast<char>(b);
    return s;
}

TEST(MacRoman, AllBytesRoundTrip)
{
    const std::string bytes = AllBytes();
    const std::string utf8 = MacRomanToUtf8(bytes);
    EXPECT_GT(utf8.size(), bytes.size());
    auto back = Utf8ToMacRoman(utf8);
    ASSERT_TRUE(back.has_value());
    EXPECT_EQ(*back, bytes);
    EXPECT_EQ(Utf8ToMacRomanLossy(utf8), bytes);
    // Each byte on its own as well: no byte maps to "?" or to nothing.
    for (int b = 128; b < 256; ++b) {
        std::string one(1, static_cast<char>(b));
        std::string u = MacRomanToUtf8(one);
        EXPECT_NE(u, "?") << b;
        EXPECT_EQ(Utf8ToMacRoman(u), one) << b;
    }
}

TEST(MacRoman, KnownCharacters)
{
    EXPECT_EQ(MacRomanToUtf8("Dome Tw"), "Dome Tw");
    EXPECT_EQ(MacRomanToUtf8("\x8A"), "\xC3\xA4");      // a with diaeresis
    EXPECT_EQ(MacRomanToUtf8("\xB5"), "\xC2\xB5");      // micro sign
    EXPECT_EQ(MacRomanToUtf8("\xBD"), "\xCE\xA9");      // Omega
    EXPECT_EQ(MacRomanToUtf8("cm\xFD"), "cm\xCB\x9D");  // double acute accent
    EXPECT_EQ(Utf8ToMacRoman("Fa\xC3\xA7" "ade"), "Fa\x8D" "ade");
    EXPECT_EQ(MacRomanToUtf8(""), "");
    EXPECT_EQ(Utf8ToMacRoman(""), "");
}

TEST(MacRoman, InvalidUtf8IsRejected)
{
    for (std::string_view bad : {std::string_view("\xC3"), std::string_view("a\xC3"),
                                 std::string_view("\xFF"), std::string_view("\x80"),
                                 std::string_view("\xC0\xAF"),          // overlong "/"
                                 std::string_view("\xE0\x80\xAF"),      // overlong
                                 std::string_view("\xED\xA0\x80"),      // surrogate
                                 std::string_view("\xF4\x90\x80\x80"),  // beyond U+10FFFF
                                 std::string_view("\xE2\x82")}) {       // cut short
        EXPECT_FALSE(Utf8ToMacRoman(bad).has_value()) << bad.size();
    }
}

TEST(MacRoman, UnmappableCharactersAreRejectedOrReplaced)
{
    const std::string cyrillic = "\xD0\x96";  // Zhe, not in Mac Roman
    EXPECT_FALSE(Utf8ToMacRoman("ab" + cyrillic).has_value());
    EXPECT_EQ(Utf8ToMacRomanLossy("ab" + cyrillic + "c"), "ab?c");
    EXPECT_EQ(Utf8ToMacRomanLossy("\xF0\x9F\x94\x8A"), "?");  // one character, one "?"
    EXPECT_EQ(Utf8ToMacRomanLossy("a\xFF" "b\xC3"), "a?b?");
    EXPECT_EQ(Utf8ToMacRomanLossy("\xC3\xA4\xD0\x96\xC3\xA4"), "\x8A?\x8A");
}

TEST(MacRoman, LongTextsConvertCompletely)
{
    // Longer than any internal chunk: nothing is dropped at the seams.
    std::string bytes;
    for (int i = 0; i < 40; ++i) bytes += AllBytes();
    const std::string utf8 = MacRomanToUtf8(bytes);
    EXPECT_EQ(Utf8ToMacRoman(utf8), bytes);
    EXPECT_EQ(Utf8ToMacRomanLossy(utf8), bytes);
}

}  // namespace
}  // namespace ks
