#include "app/prefs_rect.h"

#include <string>

#include <gtest/gtest.h>

#include "context/prefs.h"

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

TEST(PrefsRectText, FieldsInOrderTopLeftBottomRight)
{
    EXPECT_EQ(Text(Prefs{}.Bounds), " 0, 0, 560, 540");
    EXPECT_EQ(Text(R(-20, 7, -1, 32767)), "-20, 7,-1, 32767");
    EXPECT_EQ(Text(R(-32768, 0, 0, 0)), "-32768, 0, 0, 0");
    for (const Rect16& r : {R(22, 640, 397, 970), R(-32768, 32767, -32768, 32767), R(1, -1, 1, -1)})
        EXPECT_EQ(TextToRect(RectToText(r).view()), r) << Text(r);
}

TEST(PrefsRectText, EachFieldFromTheCharacterAfterTheNextComma)
{
    const struct {
        std::string_view text;
        Rect16 r;
    } cases[] = {
        // Short texts give 0 for the missing fields, a fifth number is never read.
        {"", R(0, 0, 0, 0)}, {" 12, 34", R(12, 34, 0, 0)}, {" 12, 34, 56", R(12, 34, 56, 0)},
        {"1,2,3,4,5", R(1, 2, 3, 4)},
        // A comma with nothing after it reads an empty text: 0.
        {"5,", R(5, 0, 0, 0)}, {",,,9", R(0, 0, 0, 9)},
        // Not "the next number": text after a comma that is not a number
        // reads as 0 and the field after it still comes from its own comma.
        {"7, x8, 9, 10", R(7, 0, 9, 10)}, {"7 8 9, 10", R(7, 10, 0, 0)}, {"  -3,  -4 ,5,6", R(-3, -4, 5, 6)},
        {"12abc,34def,56,78", R(12, 34, 56, 78)},
        // Garbage never fails.
        {"abc", R(0, 0, 0, 0)}, {"\xff\xfe\x01,\x80", R(0, 0, 0, 0)}, {std::string_view("4\0,5,6,7", 8), R(4, 5, 6, 7)},
        // Out of range values are clamped; base prefixes are read.
        {"32768, -32769, 99999999999999999999999, -99999999999999999999999", R(32767, -32768, 32767, -32768)},
        {"65536, 65535, 4294967296, 40000", R(32767, 32767, 32767, 32767)},
        {"&H10, 0x20, 3, 4", R(16, 32, 3, 4)},
    };
    for (const auto& c : cases) EXPECT_EQ(TextToRect(c.text), c.r) << c.text;
    EXPECT_EQ(TextToRect(std::string(10000, ',')), R(0, 0, 0, 0));
    // Only the first 255 bytes are read: the "3" is byte 254, the "4" lies past the cut.
    EXPECT_EQ(TextToRect(std::string(250, ' ') + "1,2,3,4"), R(1, 2, 3, 0));
}

}  // namespace
}  // namespace ks
