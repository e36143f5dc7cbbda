// The 255-byte text every conversion and record is built on, and Mac Roman ⇄
// UTF-8 for the clipboard, the messages and the window texts.
#include <gtest/gtest.h>

#include <string>

#include "support/macroman.h"
#include "support/pstring.h"

namespace ks {
namespace {

TEST(PStr, CutsAt255AndHoldsAnyByte)
{
    EXPECT_EQ(PStr(std::string(300, 'x')).size(), 255u);
    PStr p = "abc";
    p += std::string(260, 'y');
    ASSERT_EQ(p.size(), 255u);
    EXPECT_EQ(p.view().substr(0, 4), "abcy");
    p += "more";
    EXPECT_EQ(p[254], 'y');
    const std::string bytes("a\0b\xFF", 4);
    EXPECT_EQ(PStr(bytes).view(), bytes);
    EXPECT_TRUE(PStr(static_cast<const char*>(nullptr)).empty());
}

TEST(MacRoman, AllBytesRoundTripInLongTexts)
{
    // Longer than any internal chunk: nothing is dropped at the seams.
    std::string bytes;
    for (int i = 0; i < 40 * 256; ++i) bytes += static_cast<char>(i % 256);
    const std::string utf8 = MacRomanToUtf8(bytes);
    EXPECT_EQ(Utf8ToMacRoman(utf8), bytes);
    EXPECT_EQ(Utf8ToMacRomanLossy(utf8), bytes);
    EXPECT_EQ(MacRomanToUtf8("\x8A\xB5\xBD" "cm\xFD"), "\xC3\xA4\xC2\xB5\xCE\xA9" "cm\xCB\x9D");  // ä µ Ω ˝
}

TEST(MacRoman, InvalidOrUnmappableUtf8IsRejectedOrReplaced)
{
    for (std::string_view bad : {std::string_view("a\xC3"), std::string_view("\x80"),
                                 std::string_view("\xC0\xAF"),          // overlong "/"
                                 std::string_view("\xE0\x80\xAF"),      // overlong
                                 std::string_view("\xED\xA0\x80"),      // surrogate
                                 std::string_view("\xF4\x90\x80\x80"),  // beyond U+10FFFF
                                 std::string_view("\xE2\x82"),          // cut short
                                 std::string_view("ab\xD0\x96")}) {     // Zhe: not in Mac Roman
        EXPECT_FALSE(Utf8ToMacRoman(bad).has_value()) << bad.size();
    }
    EXPECT_EQ(Utf8ToMacRomanLossy("ab\xD0\x96" "c"), "ab?c");
    EXPECT_EQ(Utf8ToMacRomanLossy("\xF0\x9F\x94\x8A"), "?");  // one character, one "?"
    EXPECT_EQ(Utf8ToMacRomanLossy("a\xFF" "b\xC3"), "a?b?");
}

}  // namespace
}  // namespace ks
