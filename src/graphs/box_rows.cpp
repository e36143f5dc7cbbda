// SPDX-License-Identifier: GPL-3.0-or-later
#include "graphs/box_rows.h"

#include "graphs/primitives.h"
#include "graphs/system_profile.h"

namespace ks {

namespace {

struct BoxRow {
    float x;
    const char* label;
    const char* unit;  // nullptr: none
    int decimals;
    float Design::*value;
};

constexpr BoxRow kBoxRows[] = {
    {200, "Vb ........................(Box Volume)", "Liter", 2, &Design::VB},
    {201, "Fc .........(Box Tuning Frequency)", "Hz", 2, &Design::FC},
    {200, "Qtc (Closed Box System Total Q)", nullptr, 3, &Design::QTC},
    {200, "Qa ...............(Box Loss Factor Q)", nullptr, 2, &Design::QA},
};

constexpr float kUnitX = 485;

}  // namespace

void DrawRowLabel(Kestrova& k, float x, float y, const char* label, const char* unit)
{
    DrawTextAt(k, x, y, label);
    if (unit) DrawTextAt(k, kUnitX, y, unit);
}

void DrawBoxRows(Kestrova& k, const char* title, float titleY, float shift)
{
    const float firstRow = titleY + 30;
    SetGrey(k, 0.0f);
    SetFont(k, 1, 13.0f);
    DrawTextAt(k, 200, titleY, title);
    for (int i = 0; i < 4; ++i) DrawRowLabel(k, kBoxRows[i].x, firstRow + 20 * i, kBoxRows[i].label, kBoxRows[i].unit);
    SetGrey(k, 0.229f);
    k.ds.LineW = 0.75f;
    const float rule = titleY + 9 + shift;
    DrawLineAt(k, 200, rule, 520, rule);
    k.ds.LineW = 0.5f;
    const float frameTop = titleY + 17 + shift, frameBottom = titleY + 33 + shift;
    for (int i = 0; i < 4; ++i) DrawRectAt(k, 410 + shift, frameTop + 20 * i, 476 + shift, frameBottom + 20 * i);
    SetGrey(k, 0.0f);
    SetFont(k, 5, 12.0f);
    for (int i = 0; i < 4; ++i) DrawPlacedValue(k, k.d.*kBoxRows[i].value, kBoxRows[i].decimals, firstRow + 20 * i);
}

}  // namespace ks
