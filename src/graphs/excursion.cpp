#include "graphs/excursion.h"

#include <cmath>
#include <cstdio>
#include <vector>

#include "graphs/evaluate_at.h"
#include "graphs/freq_axis.h"
#include "graphs/primitives.h"
#include "model/cb.h"
#include "model/excursion.h"
#include "model/ib.h"
#include "model/response.h"
#include "support/numtext.h"

namespace ks {

namespace {

// A text's width in points at 13 points, near enough to centre it: the
// labels of the frequency graphs are placed by the same measure.
float TextWidth(std::string_view text) { return 6.0f * static_cast<float>(text.size()); }

// The excursion's height: full scale on the top line, 0 on the bottom one.
float ExcursionY(double mm, double fullScale) { return static_cast<float>(330.0 - 280.0 * mm / fullScale); }

}  // namespace

std::string ShownValue(float v, int decimals)
{
    std::string s = RoundedText(v, decimals).str();
    if (!s.empty() && s.front() == ' ') s.erase(0, 1);
    return s;
}

std::string LimitsNeedText(const Design& d)
{
    const ExcursionNeeds n = ExcursionNeedsCal(d);
    std::vector<const char*> names;
    if (n.sd) names.push_back("Sd");
    if (n.xmax) names.push_back("Xmax");
    if (n.pemax) names.push_back("Pemax");
    if (n.sensitivity) names.push_back("sensitivity");
    if (names.empty()) return {};
    std::string text = "This view needs the driver's ";
    for (std::size_t i = 0; i < names.size(); ++i) {
        if (i > 0) text += i + 1 == names.size() ? " and " : ", ";
        text += names[i];
    }
    return text;
}

bool LimitsFrame(Kestrova& k, int step, float titleX, std::string_view title)
{
    HorizontalGrid(k, step);
    FrequencyFrame(k, titleX, title);
    const std::string need = LimitsNeedText(k.d);
    if (need.empty()) return true;
    DrawTextAt(k, 275.0f - TextWidth(need) / 2.0f, 195.0f, need);
    return false;
}

void SetLimitStyle(Kestrova& k, Rgb colour, float width)
{
    k.ds.LineW = width;
    SetColor(k, colour.r, colour.g, colour.b);
}

void DrawLegend(Kestrova& k, float y, const LegendRow* rows, int count)
{
    SetFont(k, 1, 12.0f);
    for (int i = 0; i < count; ++i, y += 16.0f) {
        const LegendRow& r = rows[i];
        SetLimitStyle(k, r.colour, r.width);
        if (r.dashed)
            for (float x = 380.0f; x < 400.0f; x += 6.0f) DrawLineAt(k, x, y - 4.0f, x + 3.0f, y - 4.0f);
        else
            DrawLineAt(k, 380.0f, y - 4.0f, 400.0f, y - 4.0f);
        SetGrey(k, 0.0f);
        DrawTextAt(k, 405.0f, y, r.text);
    }
}

float ExcursionFullScale(double largest)
{
    static constexpr float kScales[] = {0.1f, 0.2f, 0.5f, 1.0f, 2.0f, 5.0f, 10.0f, 20.0f, 50.0f};
    for (float s : kScales)
        if (largest <= static_cast<double>(s)) return s;
    return 50.0f;  // larger, or not a number
}

void ExOpt(Kestrova& k)
{
    Design& d = k.d;
    CofCal(d);
    double largest = static_cast<double>(d.XMAX);
    SweepFrequencies(k, false, CBFRcal, IBFRcal, [&] {
        const double peak = ExcursionCal(d, static_cast<double>(d.ff), static_cast<double>(d.yy)).peak;
        if (peak > largest) largest = peak;
    });
    k.ds.EXscl = ExcursionFullScale(largest);
}

void ExGraph(Kestrova& k)
{
    if (!LimitsFrame(k, 28, 224.0f, "Cone Excursion")) return;
    DrawTextAt(k, 17.0f, 40.0f, "mm");
    const double full = static_cast<double>(k.ds.EXscl);
    const int decimals = full < 1.0 ? 2 : full < 10.0 ? 1 : 0;
    for (int i = 0; i < 11; ++i) {
        char text[16] = "0";
        if (i < 10) std::snprintf(text, sizeof text, "%.*f", decimals, full * (10 - i) / 10.0);
        const std::string_view t(text);
        const float dots = t.find('.') == std::string_view::npos ? 0.0f : 1.0f;
        DrawTextAt(k, 41.0f - 8.0f * (static_cast<float>(t.size()) - dots) - 4.0f * dots, 55.0f + 28.0f * i, t);
    }
}

void ExPlot(Kestrova& k)
{
    Design& d = k.d;
    DrawState& s = k.ds;
    if (ExcursionNeedsCal(d).any()) return;
    const double full = static_cast<double>(s.EXscl);
    const float xmaxY = ExcursionY(static_cast<double>(d.XMAX), full);

    // Xmax as a dashed line across the frame with its value over the right
    // end, where the curves have fallen; the legend at the top right, or
    // under the line when the line is up there.
    SetLimitStyle(k, kXmaxBlue, 1.0f);
    s.DashLineType = 2;
    DrawLineAt(k, 45.0f, xmaxY, 505.0f, xmaxY);
    SetFont(k, 1, 12.0f);
    DrawTextAt(k, 430.0f, xmaxY - 4.0f, "Xmax " + ShownValue(d.XMAX, 2) + " mm");
    const LegendRow legend[] = {{kCurveOrange, 2.0f, false, "at Pemax " + ShownValue(d.PEMX, 2) + " W"},
                                {kCurveOrange, 1.0f, false, "at 1 W"}};
    DrawLegend(k, xmaxY < 110.0f ? xmaxY + 24.0f : 68.0f, legend, 2);

    // Both curves from one sweep, the thin one drawn first, each point
    // joined to the last; a curve past the full scale runs over the frame.
    struct Point {
        float x, atPemax, at1W;
    };
    std::vector<Point> points;
    points.reserve(310);
    CofCal(d);
    SweepFrequencies(k, false, CBFRcal, IBFRcal, [&] {
        const Excursion e = ExcursionCal(d, static_cast<double>(d.ff), static_cast<double>(d.yy));
        points.push_back({static_cast<float>(LogFreqToX(s.k)), ExcursionY(e.peak, full), ExcursionY(e.peak1W, full)});
    });
    for (float Point::*curve : {&Point::at1W, &Point::atPemax}) {
        SetLimitStyle(k, kCurveOrange, curve == &Point::at1W ? 1.0f : 2.0f);
        for (std::size_t i = 1; i < points.size(); ++i)
            DrawLineAt(k, points[i - 1].x, points[i - 1].*curve, points[i].x, points[i].*curve);
    }
}

}  // namespace ks
