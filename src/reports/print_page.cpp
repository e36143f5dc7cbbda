// SPDX-License-Identifier: GPL-3.0-or-later
#include "reports/print_page.h"

#include <cstdio>

#include "graphs/box_rows.h"
#include "graphs/canvas.h"
#include "graphs/dispatch.h"
#include "graphs/primitives.h"
#include "graphs/system_profile.h"

namespace ks {

namespace {

struct Row {
    const char* label;
    const char* unit;
    int decimals;
    float Design::*value;
};

// From Dia down, one every 20 points from y 450.
constexpr Row kRows[] = {
    {"Dia ..............(Nominal Diameter)", "cm", 1, &Design::DIA},
    {"Fs ..............(Free Air Resonance)", "Hz", 2, &Design::FS},
    {"Vas ................(Acoustic Volume)", "Liter", 3, &Design::VAS},
    {"Qts ..............................(Total Q)", nullptr, 3, &Design::QTS},
    {"Qes ......................(Electorical Q)", nullptr, 3, &Design::QES},
    {"Qms ...................(Mechanical Q)", nullptr, 3, &Design::QMS},
    {"SPL(Sound Pressure Level 1W1m)", "dB", 1, &Design::SPL},
    {"Re ....................(D.C.Resistance)", "Ohms", 3, &Design::RE},
    {"Pemax .....(Thermal Limit Power)", "Watts", 2, &Design::PEMX},
};

}  // namespace

void PrintParam(Kestrova& k)
{
    GetPictSysSpConBG(k);
    GetPictSysDisp(k);

    SetGrey(k, 0.0f);
    SetFont(k, 1, 13.0f);
    DrawTextAt(k, 200, 380, "Thiele/Small (Driver) Prameters");
    DrawTextAt(k, 200, 410, "Model Name ..................");
    DrawTextAt(k, 200, 430, "Usable Frequency Range ...........");
    for (int i = 0; i < 9; ++i) DrawRowLabel(k, 200, 450.0f + 20 * i, kRows[i].label, kRows[i].unit);
    DrawTextAt(k, 57, 626, "System Figure");

    SetGrey(k, 0.229f);
    k.ds.LineW = 0.75f;
    DrawLineAt(k, 200, 390, 520, 390);
    k.ds.LineW = 0.5f;
    DrawRectAt(k, 363, 397, 476, 413);
    for (int i = 0; i < 10; ++i) DrawRectAt(k, 410, 417.0f + 20 * i, 476, 433.0f + 20 * i);

    SetGrey(k, 0.0f);
    SetFont(k, 5, 12.0f);
    DrawTextAt(k, 370, 410, k.d.s_SP.view());
    DrawTextAt(k, 416, 430, k.d.s_RANG.view());
    for (int i = 0; i < 9; ++i) DrawPlacedValue(k, k.d.*kRows[i].value, kRows[i].decimals, 450.0f + 20 * i);

    if (k.d.boxSys == 1) DrawBoxRows(k, "Closed Box Parameters", 640, 0);
}

PStr DateTimeText(const Kestrova& k, const DateStamp& when)
{
    static constexpr const char* kMonths[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                              "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
    const int m = when.month >= 1 && when.month <= 12 ? when.month : 1;
    // The stamp keeps two year digits behind a fixed "20", as the date
    // pattern "MM/dd/yy" does.
    char stamp[48];
    std::snprintf(stamp, sizeof stamp, "%s/%02d/20%02d %02d:%02d:%02d", kMonths[m - 1], when.day % 100,
                  ((when.year % 100) + 100) % 100, when.hour % 100, when.minute % 100, when.second % 100);
    PStr text = "Kestrova  ";
    text += k.d.s_SP;
    text += "  ";
    text += stamp;
    return text;
}

void DrawDateTime(Kestrova& k, const DateStamp& when)
{
    SetGrey(k, 0.0f);
    SetFont(k, 1, 13.0f);
    DrawTextAt(k, 25, 775, DateTimeText(k, when).view());
}

void DrawPrintPage(Kestrova& k, const DateStamp& when)
{
    Canvas* target = k.target();
    if (target) target->beginBatch();
    if (k.d.s_Resp == "sys") {
        SystemProfile(k);
    } else {
        ResponsePlot(k);
        PrintParam(k);
    }
    if (k.prefs.PrintDateCheck == 1) DrawDateTime(k, when);
    if (target) target->endBatch();
}

}  // namespace ks
