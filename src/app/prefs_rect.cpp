// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/prefs_rect.h"

#include <cstdint>
#include <limits>

#include "support/numtext.h"

namespace ks {

namespace {

std::int16_t ClampToI16(std::int64_t v)
{
    constexpr std::int64_t lo = std::numeric_limits<std::int16_t>::min();
    constexpr std::int64_t hi = std::numeric_limits<std::int16_t>::max();
    return static_cast<std::int16_t>(v < lo ? lo : (v > hi ? hi : v));
}

}  // namespace

PStr RectToText(const Rect16& r)
{
    PStr t = NumToText(r.top);
    t += ",";
    t += NumToText(r.left);
    t += ",";
    t += NumToText(r.bottom);
    t += ",";
    t += NumToText(r.right);
    return t;
}

Rect16 TextToRect(std::string_view text)
{
    if (text.size() > PStr::kMax) text = text.substr(0, PStr::kMax);
    std::int16_t v[4] = {0, 0, 0, 0};
    std::size_t pos = 0;
    for (int i = 0; i < 4; ++i) {
        if (i > 0) {
            const std::size_t comma = text.find(',', pos);
            if (comma == std::string_view::npos) break;  // the rest stay 0
            pos = comma + 1;
        }
        v[i] = ClampToI16(TextToInteger(text.substr(pos)));
    }
    Rect16 r;
    r.top = v[0];
    r.left = v[1];
    r.bottom = v[2];
    r.right = v[3];
    return r;
}

}  // namespace ks
