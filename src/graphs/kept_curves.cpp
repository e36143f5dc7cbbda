// SPDX-License-Identifier: GPL-3.0-or-later
#include "graphs/kept_curves.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <string_view>
#include <utility>

#include "graphs/primitives.h"
#include "model/response.h"
#include "support/numtext.h"

namespace ks {

namespace {

// The plot frame every kept curve stays inside.
constexpr float kLeft = 45.0f, kTop = 50.0f, kRight = 505.0f, kBottom = 330.0f;

// Passes lines on cut to the frame (Liang-Barsky), everything else as it is:
// a kept design louder or of higher impedance than the current one must not
// run over the labels around the frame.
class FrameClip final : public Canvas {
public:
    explicit FrameClip(Canvas& inner) : inner_(inner) {}
    void erase(float l, float t, float r, float b) override { inner_.erase(l, t, r, b); }
    void line(float x, float y, float x1, float y1, Rgb c, float width, int dash) override
    {
        const double dx = static_cast<double>(x1) - x, dy = static_cast<double>(y1) - y;
        double t0 = 0.0, t1 = 1.0;
        const auto edge = [&](double p, double q) {
            if (p == 0.0) return q >= 0.0;
            const double t = q / p;
            if (p < 0.0)
                t0 = std::max(t0, t);
            else
                t1 = std::min(t1, t);
            return t0 <= t1;
        };
        if (!edge(-dx, x - kLeft) || !edge(dx, kRight - x) || !edge(-dy, y - kTop) || !edge(dy, kBottom - y)) return;
        inner_.line(static_cast<float>(x + t0 * dx), static_cast<float>(y + t0 * dy), static_cast<float>(x + t1 * dx),
                    static_cast<float>(y + t1 * dy), c, width, dash);
    }
    void frameRect(float x, float y, float x1, float y1, Rgb c, float w) override
    {
        inner_.frameRect(x, y, x1, y1, c, w);
    }
    void fillRect(float x, float y, float x1, float y1, Rgb c) override { inner_.fillRect(x, y, x1, y1, c); }
    void text(float x, float y, int font, float size, Rgb c, std::string_view t) override
    {
        inner_.text(x, y, font, size, c, t);
    }
    void image(std::string_view folder, std::string_view name, std::int16_t top, std::int16_t left, std::int16_t bottom,
               std::int16_t right) override
    {
        inner_.image(folder, name, top, left, bottom, right);
    }

private:
    Canvas& inner_;
};

// A value as the legend shows it: rounded as the program rounds, with all
// its decimals, and a dash for what is no number.
std::string Shown(double v, int decimals)
{
    const double r = RoundedValue(static_cast<float>(v), decimals);
    char buf[64];
    const auto [end, ec] = std::to_chars(buf, buf + sizeof buf, r, std::chars_format::fixed, decimals);
    if (!std::isfinite(r) || ec != std::errc()) return "--";
    return std::string(buf, end);
}

std::string Padded(std::string t, std::size_t width)
{
    if (t.size() < width) t.append(width - t.size(), ' ');
    return t;
}

constexpr float kRowHeight = 11.0f, kLegendTop = 53.0f;

float LegendHeight(const Kestrova& k) { return 7.0f + kRowHeight * static_cast<float>(k.kept.size() + 1); }

void DrawLegend(Kestrova& k, float kTopEdge)
{
    constexpr float kWidth = 272.0f, kRight = 503.0f;
    const float left = kRight - kWidth;
    const float bottom = kTopEdge + LegendHeight(k);
    SetGrey(k, 1.0f);
    DrawRectAt(k, left, kTopEdge, kRight, bottom, "Fill");
    k.ds.LineW = GridWidth(k);
    SetGrey(k, 0.534f);
    DrawRectAt(k, left + 0.5f, kTopEdge + 0.5f, kRight - 0.5f, bottom - 0.5f);
    const auto row = [&](std::size_t i, const Design& d, Rgb c, float width) {
        const float y = kTopEdge + 2.0f + kRowHeight * static_cast<float>(i + 1);
        k.ds.LineW = width;
        SetColor(k, c.r, c.g, c.b);
        DrawLineAt(k, left + 5.0f, y - 3.5f, left + 21.0f, y - 3.5f);
        SetGrey(k, 0.0f);
        SetFont(k, 2, 9.0f);
        DrawTextAt(k, left + 26.0f, y, LegendText(d));
    };
    // The current design first, in its own curve's colour and width.
    row(0, k.d, Rgb{1.0f, 0.5294f, 0.0f}, 2.0f);
    for (std::size_t i = 0; i < k.kept.size(); ++i) row(i + 1, k.kept[i].d, KeptColour(k.kept[i].colour), 1.0f);
}

}  // namespace

Rgb KeptColour(int colour)
{
    // clang-format off
    static constexpr Rgb kColours[] = {
        {0.33f, 0.47f, 0.75f},  // slate blue
        {0.36f, 0.62f, 0.40f},  // sage green
        {0.62f, 0.42f, 0.70f},  // heather
        {0.58f, 0.47f, 0.33f},  // umber
    };
    // clang-format on
    if (colour < 1 || colour > static_cast<int>(std::size(kColours))) return Rgb{0.5f, 0.5f, 0.5f};
    return kColours[colour - 1];
}

std::string LegendText(const Design& d)
{
    Design box = d;
    box.s_Resp = "amp";
    ResumeShownQtc(box);
    CofCal(box);
    std::string model(d.s_SP.view().substr(0, 10));
    std::replace_if(
        model.begin(), model.end(), [](char c) { return static_cast<unsigned char>(c) < 0x20; }, ' ');
    const bool closed = d.boxSys == 1;
    const std::string system = closed ? "Vb " + Shown(box.VB, 2) + " l" : std::string("IB");
    const double q = closed ? box.QTC : box.QTS;
    return Padded(model, 10) + " " + Padded(system, 11) + " Qtc " + Padded(Shown(q, 3), 5) + " F3 " +
           Shown(F3Frequency(d), 1) + " Hz";
}

float KeptLegendBottom(const Kestrova& k) { return k.kept.empty() ? kTop : kLegendTop + LegendHeight(k); }

void PlotKeptCurves(Kestrova& k, void (*curve)(Kestrova&))
{
    Canvas* target = k.target();
    if (k.kept.empty() || !target) return;
    Canvas* screen = k.screen;
    Canvas* page = k.page;
    FrameClip clip(*target);
    k.screen = k.page = &clip;
    for (const KeptDesign& kept : k.kept) {
        Design shown = kept.d;
        shown.s_Resp = k.d.s_Resp;
        shown.respID = k.d.respID;
        shown.magni = k.d.magni;
        shown.scale = k.d.scale;
        shown.timeScale = k.d.timeScale;
        ResumeShownQtc(shown);
        std::swap(k.d, shown);
        k.ds.LineW = 1.0f;
        const Rgb c = KeptColour(kept.colour);
        SetColor(k, c.r, c.g, c.b);
        curve(k);
        std::swap(k.d, shown);
    }
    k.screen = screen;
    k.page = page;
}

void DrawKeptLegend(Kestrova& k, float bottom)
{
    if (!k.kept.empty()) DrawLegend(k, bottom > 0.0f ? bottom - LegendHeight(k) : kLegendTop);
}

void PlotCurves(Kestrova& k, void (*curve)(Kestrova&), void (*style)(Kestrova&))
{
    PlotKeptCurves(k, curve);
    style(k);
    curve(k);
    DrawKeptLegend(k);
}

}  // namespace ks
