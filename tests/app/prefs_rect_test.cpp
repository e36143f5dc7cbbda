#include "app/prefs_rect.h"

#include <string>

#include <gtest/gtest.h>

#include "context/prefs.h"

namespace ks {
namespace {

TEST(PrefsRectText, FieldsInOrderTopLeftBottomRightAndReadBack)
{
    const std::pair<Rect16, const char*> written[] = {{Prefs{}.Bounds, " 0, 0, 560, 540"},
                                                      {Rect16{-20, 7, -1, 32767}, "-20, 7,-1, 32767"},
                                                      {Rect16{-32768, 0, 0, 0}, "-32768, 0, 0, 0"}};
    for (const auto& [r, text] : written) {
        EXPECT_EQ(RectToText(r).str(), text);
        EXPECT_EQ(TextToRect(text), r) << text;
    }
}

// Each field is read from the character after the next comma, whatever
// stands before it; missing fields read 0 and garbage never fails.
TEST(PrefsRectText, EachFieldFromTheCharacterAfterTheNextComma)
{
    const std::pair<std::string_view, Rect16> cases[] = {
        {"", {0, 0, 0, 0}},
        {" 12, 34", {12, 34, 0, 0}},
        {"1,2,3,4,5", {1, 2, 3, 4}},
        {",,,9", {0, 0, 0, 9}},
        {"7, x8, 9, 10", {7, 0, 9, 10}},
        {"7 8 9, 10", {7, 10, 0, 0}},
        {"12abc,34def,56,78", {12, 34, 56, 78}},
        {std::string_view("4\0,5,6,7", 8), {4, 5, 6, 7}},
        {"32768, -32769, 99999999999999999999999, -99999999999999999999999", {32767, -32768, 32767, -32768}},
        {"&H10, 0x20, 3, 4", {16, 32, 3, 4}},
    };
    for (const auto& [text, r] : cases) EXPECT_EQ(TextToRect(text), r) << text;
    // Only the first 255 bytes are read: the "3" is byte 254, the "4" lies past the cut.
    EXPECT_EQ(TextToRect(std::string(250, ' ') + "1,2,3,4"), (Rect16{1, 2, 3, 0}));
}

}  // namespace
}  // namespace ks
