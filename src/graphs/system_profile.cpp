// SPDX-License-Identifier: GPL-3.0-or-later
#include "graphs/system_profile.h"

#include "graphs/box_rows.h"
#include "graphs/freq_axis.h"
#include "graphs/primitives.h"
#include "graphs/sys_figure.h"
#include "support/numtext.h"

namespace ks {

namespace {

constexpr std::size_t kValueChars = 63;

std::string_view Cut63(std::string_view t) { return t.substr(0, t.size() < kValueChars ? t.size() : kValueChars); }

// The printed parameter page places the figure 320 points lower.
bool LowerFigure(const Kestrova& k) { return k.ds.doPrint && !(k.d.s_Resp == "sys"); }

struct Row {
    const char* label;
    const char* unit;  // nullptr: none
    float yScreen;     // < 0: not on screen
    float yPrint;
    int decimals;
    float Design::*value;  // nullptr: text row
};

// Rows from Dia down; model name and range are drawn as texts.
constexpr Row kRows[] = {
    {"Dia ..............(Nominal Diameter)", "cm", 130, 130, 2, &Design::DIA},
    {"Fs ..............(Free Air Resonance)", "Hz", 150, 150, 2, &Design::FS},
    {"Vas ................(Acoustic Volume)", "Liter", 170, 170, 2, &Design::VAS},
    {"Qts ..............................(Total Q)", nullptr, 190, 190, 3, &Design::QTS},
    {"Qes ......................(Electorical Q)", nullptr, 210, 210, 3, &Design::QES},
    {"Qms ...................(Mechanical Q)", nullptr, 230, 230, 3, &Design::QMS},
    {"Effi ...........................(Efficiency)", "%", 250, 250, 3, &Design::EFI},
    {"SPL(Sound Pressure Level 1W1m)", "dB", -1, 270, 1, &Design::SPL},
    {"Re ....................(D.C.Resistance)", "Ohms", 270, 290, 3, &Design::RE},
    {"Pemax .....(Thermal Limit Power)", "Watts", 290, 310, 2, &Design::PEMX},
    {"Sd ......................(Effective Area)", "cm", 310, 330, 3, &Design::SD},
    {"Xmax (Peak Liner Displacement)", "mm", 330, 350, 2, &Design::XMAX},
    {"Vd .........(Displacement Volume)", "cm", 350, 370, 3, &Design::VD},
    {"Le ........(Voice Coile Inductance)", "mH", 370, 390, 3, &Design::LE},
};

void FixedTexts(Kestrova& k, bool print)
{
    SetGrey(k, 0.0f);
    SetFont(k, 1, 13.0f);
    DrawTextAt(k, 226, 20, "System Profile");
    DrawTextAt(k, 200, 60, "Thiele/Small (Driver) Prameters");
    DrawTextAt(k, 200, 90, "Model Name ..................");
    DrawTextAt(k, 200, 110, "Usable Frequency Range ...........");
    for (const Row& r : kRows) {
        const float y = print ? r.yPrint : r.yScreen;
        if (y < 0) continue;
        DrawRowLabel(k, 200, y, r.label, r.unit);
        const bool sd = r.value == &Design::SD, vd = r.value == &Design::VD;
        if (sd || vd) {
            k.ds.fontSize = 9.0f;
            DrawTextAt(k, 504, y - 4, sd ? "2" : "3");
            k.ds.fontSize = 13.0f;
        }
    }
    DrawTextAt(k, 57, 306, "System Figure");
}

}  // namespace

int CharactCheck(std::string_view text) { return static_cast<int>(Cut63(text).size()); }

int CommaCheck(std::string_view text)
{
    const std::size_t p = Cut63(text).find('.');
    return p == std::string_view::npos ? 0 : static_cast<int>(p) + 1;
}

void DrawPlacedValue(Kestrova& k, float value, int decimals, float y)
{
    const PStr t = RoundedText(value, decimals);
    const std::string_view text = Cut63(t.view());
    const int n = CharactCheck(text);
    const float x = static_cast<float>(CommaCheck(text) == 0 ? 444 - 4 * n : 446 - 4 * n);
    DrawTextAt(k, x, y, text);
}

void GetPictSysSpConBG(Kestrova& k)
{
    SetGrey(k, 0.229f);
    if (!k.ds.doPrint) {
        SetGrey(k, 0.93f);
        DrawRectAt(k, 20.5f, 72.5f, 180.5f, 290.5f, "Fill");
        SetGrey(k, 0.229f);
        k.ds.LineW = 0.0f;
        DrawRectAt(k, 20.5f, 72.5f, 180.5f, 290.5f);
        return;
    }
    k.ds.LineW = 0.5f;
    const float dy = LowerFigure(k) ? 320.0f : 0.0f;
    DrawRectAt(k, 20.0f, 72.0f + dy, 180.0f, 290.0f + dy);
}

void GetPictSysDisp(Kestrova& k)
{
    const std::int16_t dy = LowerFigure(k) ? 320 : 0;
    if (k.d.boxSys == 1)
        DrawCGImageFromBandleResource(
            k, 1, Rect16{static_cast<std::int16_t>(83 + dy), 45, static_cast<std::int16_t>(279 + dy), 162},
            "ClosedImage.png", "Images");
    else if (k.d.boxSys == 2 || k.d.boxSys == 3)
        DrawCGImageFromBandleResource(
            k, 1, Rect16{static_cast<std::int16_t>(83 + dy), 74, static_cast<std::int16_t>(279 + dy), 123},
            "InfiniteImage.png", "Images");
}

void SystemProfile(Kestrova& k)
{
    const bool print = k.ds.doPrint != 0;
    BoxType(k);
    GetPictSysSpConBG(k);
    GetPictSysDisp(k);
    GetFontSysFigure(k);
    FixedTexts(k, print);

    SetGrey(k, 0.229f);
    k.ds.LineW = print ? 0.75f : 0.0f;
    DrawLineAt(k, 200, 70.5f, 520, 70.5f);
    k.ds.LineW = print ? 0.5f : 0.0f;
    DrawRectAt(k, 363.5f, 77.5f, 476.5f, 93.5f);
    const int frames = print ? 15 : 14;
    for (int i = 0; i < frames; ++i) DrawRectAt(k, 410.5f, 97.5f + 20 * i, 476.5f, 113.5f + 20 * i);

    SetGrey(k, 0.0f);
    SetFont(k, 5, 12.0f);
    DrawTextAt(k, 370, 90, k.d.s_SP.view());
    DrawTextAt(k, 416, 110, k.d.s_RANG.view());
    for (const Row& r : kRows) {
        const float y = print ? r.yPrint : r.yScreen;
        if (y < 0) continue;
        DrawPlacedValue(k, k.d.*r.value, r.decimals, y);
    }
    if (print && k.d.boxSys == 1) DrawBoxRows(k, "Box Parameters", 420, 0.5f);
}

}  // namespace ks
