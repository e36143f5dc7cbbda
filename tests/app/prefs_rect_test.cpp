#include "app/prefs_rect.h"

#include <string>

#include <gtest/gtest.h>

#include "app/prefs.h"
#include "support/numtext.h"

namespace ks {
namespace {

std::string Text(const Rect16& r) { return RectToText(r).str(); }

Rect16 R(int top, int left, int bottom, int right)
{
    Rect16 r;
    r.top = static_cast<std::int16_t>(top);
    r.left = static_cast<std::int16_t>(left);
    r.bottom = static_cast<std::int16_t>(bottom);
    r.right = static_cast<std::int16_t>(right);
    return r;
}

TEST(PrefsRectText, StartValuesAsStored)
{
    const Prefs p;
    EXPECT_EQ(Text(p.Bounds), " 0, 0, 560, 540");
    EXPECT_EQ(Text(p.PrefeBounds), " 0, 0, 255, 330");
}

TEST(PrefsRectText, FieldsInOrderTopLeftBottomRight)
{
    EXPECT_EQ(Text(R(1, 2, 3, 4)), " 1, 2, 3, 4");
    EXPECT_EQ(Text(R(-20, 7, -1, 32767)), "-20, 7,-1, 32767");
    EXPECT_EQ(Text(R(-32768, 0, 0, 0)), "-32768, 0, 0, 0");
    // Each field is exactly what number-to-text gives.
    const Rect16 r = R(44, -5, 612, 9000);
    const std::string expect = NumToText(44).str() + "," + NumToText(-5).str() + "," + NumToText(612).str() +
                               "," + NumToText(9000).str();
    EXPECT_EQ(Text(r), expect);
}

TEST(PrefsRectText, RoundTrip)
{
    const Rect16 cases[] = {R(0, 0, 560, 540), R(22, 640, 397, 970), R(-300, -1200, -1, 0),
                            R(-32768, 32767, -32768, 32767), R(1, -1, 1, -1)};
    for (const Rect16& r : cases) EXPECT_EQ(TextToRect(RectToText(r).view()), r) << Text(r);
    for (int v = -32768; v <= 32767; v += 997) {
        const Rect16 r = R(v, -v - 1, v / 3, 32767 - (v + 32768) / 2);
        ASSERT_EQ(TextToRect(RectToText(r).view()), r) << Text(r);
    }
}

TEST(PrefsRectText, ShortTextsGiveZeroForMissingFields)
{
    EXPECT_EQ(TextToRect(""), R(0, 0, 0, 0));
    EXPECT_EQ(TextToRect(" 12"), R(12, 0, 0, 0));
    EXPECT_EQ(TextToRect(" 12, 34"), R(12, 34, 0, 0));
    EXPECT_EQ(TextToRect(" 12, 34, 56"), R(12, 34, 56, 0));
    // A comma with nothing after it reads an empty text: 0.
    EXPECT_EQ(TextToRect("5,"), R(5, 0, 0, 0));
    EXPECT_EQ(TextToRect(",,,9"), R(0, 0, 0, 9));
    // A fifth number is never read.
    EXPECT_EQ(TextToRect("1,2,3,4,5"), R(1, 2, 3, 4));
}

TEST(PrefsRectText, EachFieldFromTheCharacterAfterTheNextComma)
{
    // Not "the next number": text after a comma that is not a number
    // reads as 0 and the field after it still comes from its own comma.
    EXPECT_EQ(TextToRect("7, x8, 9, 10"), R(7, 0, 9, 10));
    EXPECT_EQ(TextToRect("7 8 9, 10"), R(7, 10, 0, 0));
    EXPECT_EQ(TextToRect("  -3,  -4 ,5,6"), R(-3, -4, 5, 6));
    EXPECT_EQ(TextToRect("12abc,34def,56,78"), R(12, 34, 56, 78));
}

TEST(PrefsRectText, GarbageNeverFails)
{
    EXPECT_EQ(TextToRect("abc"), R(0, 0, 0, 0));
    EXPECT_EQ(TextToRect("\xff\xfe\x01,\x80"), R(0, 0, 0, 0));
    const std::string nul("4\0,5,6,7", 8);
    EXPECT_EQ(TextToRect(nul), R(4, 5, 6, 7));
    const std::string commas(10000, ',');
    EXPECT_EQ(TextToRect(commas), R(0, 0, 0, 0));
}

TEST(PrefsRectText, OutOfRangeValuesAreClamped)
{
    EXPECT_EQ(TextToRect("32768, -32769, 99999999999999999999999, -99999999999999999999999"),
              R(32767, -32768, 32767, -32768));
    EXPECT_EQ(TextToRect("65536, 65535, 4294967296, 40000"), R(32767, 32767, 32767, 32767));
    // Base prefixes are read by the integer reader (hexadecimal here).
    EXPECT_EQ(TextToRect("&H10, 0x20, 3, 4"), R(16, 32, 3, 4));
}

TEST(PrefsRectText, OnlyTheFirst255BytesAreRead)
{
    std::string t(250, ' ');
    t += "1,2,3,4";  // the "3" is byte 254, the "4" lies past the cut
    EXPECT_EQ(TextToRect(t), R(1, 2, 3, 0));
}

}  // namespace
}  // namespace ks
