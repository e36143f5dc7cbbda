// SPDX-License-Identifier: GPL-3.0-or-later
// What no picture shows (the pictures are display_list_test's), and the response data as exported.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <sstream>
#include <tuple>
#include <vector>

#include "common/comma_locale.h"
#include "common/display_list.h"
#include "common/drivers.h"
#include "graphs/dispatch.h"
#include "graphs/evaluate_at.h"
#include "graphs/excursion.h"
#include "graphs/freq_axis.h"
#include "graphs/group_delay.h"
#include "graphs/imp.h"
#include "graphs/kept_curves.h"
#include "graphs/limit_views.h"
#include "graphs/primitives.h"
#include "graphs/recording_canvas.h"
#include "graphs/response_data.h"
#include "model/cb.h"
#include "model/excursion.h"
#include "model/ib.h"

using namespace ks;
using ks::test::Prim;

namespace {

// Inside the graph area.
bool InGraph(double x, double y) { return x >= 45 && x <= 505 && y >= 50 && y <= 330; }

// A dash or a fill lasts one shape, drawn, left out (not finite, not a mode) or without a surface; text carries
// its font, size and colour, in UTF-8, on one line.
TEST(Primitives, StateLastsOneShapeAndShapesWithoutAPlaceAreLeftOut)
{
    Kestrova k;
    RecordingCanvas screen, page;
    k.screen = &screen, k.page = &page;
    k.ds.DashLineType = 7, k.ds.LineW = -3.0f;
    DrawLineAt(k, 1, 2, 3, 4);
    EXPECT_EQ(k.ds.DashLineType, 0);
    k.ds.DashLineType = 1;
    DrawLineAt(k, 0, NAN, 10, 10);
    DrawRectAt(k, 0, 0, INFINITY, 10, "Fill");
    EXPECT_EQ(std::tuple(k.ds.DashLineType, k.ds.s_RectDraw.str()), std::tuple(0, "Frame"));  // left out, reset
    for (const char* mode : {"fill", "Frame ", ""}) DrawRectAt(k, 1, 1, 2, 2, mode);
    DrawTextAt(k, NAN, 20, "x");
    DrawTextAt(k, 1, 1, "");          // nothing to show: not listed
    DrawLineAt(k, 0, 1e30f, 10, 10);  // far away but finite: drawn
    SetFont(k, 3, 15.0f), SetGrey(k, 0.2f);
    DrawTextAt(k, 75, 157, "Vb \xB5");     // Mac Roman micro sign
    DrawTextAt(k, 1, 2, "a\rb");           // a line break would split the list
    ASSERT_EQ(screen.lines().size(), 4u);  // dash 7 draws plain, width -3 one point wide
    EXPECT_EQ(screen.lines()[0], "line 1.0000 2.0000 3.0000 4.0000 0.0000 0.0000 0.0000 1.0000 0.0000");
    EXPECT_EQ(screen.lines()[2], "text 75.0000 157.0000 3.0000 15.0000 0.2000 0.2000 0.2000 Vb \xC2\xB5");
    EXPECT_EQ(screen.lines()[3], "text 1.0000 2.0000 3.0000 15.0000 0.2000 0.2000 0.2000 a b");
    k.ds.doPrint = 1;  // printing draws on the page only
    DrawTextAt(k, 238, 20, "Amplitude");
    EXPECT_EQ(std::pair(page.lines().size(), screen.lines().size()), std::pair(1ul, 4ul));
    k.ds.doPrint = 0, k.screen = nullptr, k.ds.DashLineType = 2;
    DrawLineAt(k, 0, 0, 1, 1);
    DrawRectAt(k, 0, 0, 1, 1, "Fill");
    EXPECT_EQ(std::tuple(k.ds.DashLineType, k.ds.s_RectDraw.str()), std::tuple(0, "Frame"));  // without a surface
}

// A redraw is one batch naming its view; the impedance and delay bands come from the peak, each closed below.
TEST(ResponsePlot, WrapsTheRedrawInABatchNamesTheViewAndChoosesTheScaleBands)
{
    struct CountingCanvas : RecordingCanvas {
        int begins = 0, ends = 0;
        void beginBatch() override { ++begins; }
        void endBatch() override { ++ends; }
    };
    Kestrova k;
    kt::SetUpDriver(k);
    CountingCanvas screen;
    k.screen = &screen;
    ResponsePlot(k);
    EXPECT_EQ(std::pair(screen.begins, screen.ends), std::pair(1, 1));
    k.d.s_Resp = "amp ", screen.clear();  // no view: the erased area only, no title
    ResponsePlot(k);
    EXPECT_EQ(screen.lines().size(), 1u);
    EXPECT_EQ(SetResponseTitle(k.d), "");
    // The impedance band from G1, the delay band from G2; not a number: unchanged.
    const std::tuple<bool, float, float> bands[] = {
        {false, 9.99f, 10},   {false, 10.0f, 4},     {false, 24.99f, 4},  {false, 25.0f, 2},      {false, 50.0f, 1},
        {false, 99.99f, 1},   {false, 100.0f, 0.1f}, {false, NAN, 0.1f},  {true, 0.049f, 0.005f}, {true, 0.05f, 0.01f},
        {true, 0.1f, 0.025f}, {true, 0.25f, 0.05f},  {true, 0.5f, 0.1f},  {true, 1.0f, 0.25f},    {true, 2.5f, 0.5f},
        {true, 5.0f, 1.0f},   {true, 24.9f, 2.5f},   {true, 25.0f, 5.0f}, {true, 50.0f, 10.0f},   {true, NAN, 10.0f}};
    for (const auto& [gd, peak, scl] : bands) {
        (gd ? k.ds.G2 : k.ds.G1) = peak, gd ? GdOpt2(k) : impSetScale(k);
        EXPECT_EQ(gd ? k.ds.GDscl : k.ds.IMPscal, scl) << gd << " " << peak;
    }
}

// On the seven views that compare, on screen and paper, each kept curve (one 20 dB louder) comes in its colour
// before the current one, inside the frame, and a legend of three rows follows; the Nyquist and profile do not.
TEST(KeptDesigns, CurvesBehindTheCurrentOneInsideTheFrameThenTheLegend)
{
    Kestrova k;
    kt::SetUpDriver(k, 50.0f, 10.0f, 0.35f, 0.4f, 3.0f);
    k.d.PEMX = 50.0f, k.d.SD = 100.0f, k.d.XMAX = 3.0f;  // the limit views draw
    Design loud = k.d, other = k.d;
    loud.boxSys = 2, loud.SPL += 20.0f;
    other.QA = 5.0f, other.alin = 2, other.VB = 1.0f;
    k.kept = {{loud, "loud", 2}, {other, "small", 4}};
    k.d.magni = 2;  // absolute: the louder one would leave the frame
    for (const std::string view : {"amp", "imp", "ph", "gd", "st", "ex", "ms", "nq", "sys"}) {
        for (int print : {0, 1}) {
            SCOPED_TRACE(view + (print ? " printed" : ""));
            k.d.s_Resp = view, k.ds.doPrint = static_cast<std::uint8_t>(print);
            const std::vector<test::Prim> all = test::Record(k, [&] { ResponsePlot(k); });
            // Lines in each kept colour before the current curve, and after it (the legend's swatch).
            std::size_t current = all.size();
            int before[2] = {0, 0}, after[2] = {0, 0}, legendRows = 0;
            for (std::size_t i = 0; i < all.size(); ++i) {
                const std::vector<double>& v = all[i].v;
                legendRows += all[i].kind == "text" && v[2] == 2 && v[3] == 9;
                if (all[i].kind != "line") continue;
                if (v[7] == 2 && v[4] == 1) current = std::min(current, i);
                for (int c : {0, 1}) {
                    const Rgb rgb = KeptColour(c == 0 ? 2 : 4);
                    if (std::fabs(v[4] - rgb.r) + std::fabs(v[5] - rgb.g) + std::fabs(v[6] - rgb.b) > 1e-3) continue;
                    ++(i < current ? before : after)[c];
                    EXPECT_TRUE(InGraph(v[0], v[1]) && InGraph(v[2], v[3])) << v[0] << " " << v[1] << " " << v[2];
                }
            }
            const bool compares = view != "nq" && view != "sys";
            EXPECT_EQ(std::tuple(before[0] > 0, before[1] > 0, after[0] + after[1], legendRows),
                      std::tuple(compares, compares, compares ? 2 : 0, compares ? 3 : 0));
        }
    }
    // Vb 2.79998 rounded; the baffle's F3 from its closed form is 125.98 Hz.
    EXPECT_EQ(LegendText(k.d), "Test2.5-07 Vb 2.80 l   Qtc 0.707 F3 108.7 Hz");
    k.d.s_SP = "Woofer-13-with-a-long-name", k.d.boxSys = 2;
    EXPECT_EQ(LegendText(k.d), "Woofer-13- IB          Qtc 0.350 F3 126.0 Hz");
}

// `view` of the worked driver (Pemax 50 W, Sd 100 cm², Xmax 3 mm) in its box or of the tweeter, Xmax as given.
std::vector<Prim> LimitView(Kestrova& k, const char* view, bool box, float xmax = 0.0f)
{
    if (box) k.d.PEMX2 = 50.0f, k.d.SD2 = 100.0f, k.d.XMAX2 = 3.0f, k.d.EFI2 = 0.0f;
    if (xmax > 0.0f) k.d.XMAX2 = xmax;
    box ? kt::SetUpDriver(k, 50.0f, 10.0f, 0.35f, 0.4f, 3.0f) : kt::SetUpDriver(k);
    k.d.s_Resp = view;
    return ks::test::Record(k, [&] { ResponsePlot(k); });
}

// The first text on the baseline y that starts with `head`.
const Prim* TextAt(const std::vector<Prim>& all, double y, std::string_view head = "")
{
    for (const Prim& p : all)
        if (p.kind == "text" && p.v[1] == y && p.text.starts_with(head)) return &p;
    return nullptr;
}

// The full scale is the first of 0.1, 0.2, 0.5 ... 50 mm holding Xmax and the largest excursion at Pemax (5.15 mm
// in the box, 0.76 mm for the tweeter); the dashed Xmax line stands where the drawn axis puts Xmax.
TEST(ExcursionView, TheAxisHoldsXmaxAndTheLargestExcursionAndXmaxStandsOnIt)
{
    for (const auto& [largest, full] :
         {std::pair{0.1, 0.1f}, {0.1001, 0.2f}, {5.2, 10.0f}, {51.0, 50.0f}, {NAN, 50.0f}})
        EXPECT_EQ(ExcursionFullScale(largest), full) << largest;
    const std::tuple<bool, float, const char*> rows[] = {
        {true, 0, "10"}, {true, 12, "20"}, {false, 0, "1.0"}, {false, 1.2f, "2.0"}};
    for (const auto& [box, xmax, top] : rows) {
        Kestrova k;
        const std::vector<Prim> all = LimitView(k, "ex", box, xmax);
        const Prim* full = TextAt(all, 55.0);  // the top line's label, 280 points above the "0"
        ASSERT_TRUE(full && TextAt(all, 335.0, "0")) << top;
        EXPECT_EQ(full->text, top);
        const auto line =
            std::find_if(all.begin(), all.end(), [](const Prim& p) { return p.v.size() == 9 && p.v[8] == 2; });
        ASSERT_NE(line, all.end());
        EXPECT_EQ(std::tuple(line->v[0], line->v[2], line->v[3]), std::tuple(45.0, 505.0, line->v[1]));
        EXPECT_NEAR(line->v[1], 330.0 - 280.0 * k.d.XMAX / std::stod(full->text), 1e-3) << top;
        EXPECT_NE(TextAt(all, line->v[1] - 4.0, "Xmax "), nullptr);
    }
}

// The top line is the first 10 dB above the highest maximum (thermal, or the excursion limit of a cone that barely
// moves); under the title, the frequency where the cone at Pemax falls through Xmax, if it does in range.
TEST(MaxSplView, TopLineAboveTheHighestMaximumAndTheCrossingUnderTheTitle)
{
    const std::tuple<bool, float, const char*> rows[] = {
        {true, 0, "+110"}, {false, 0, "+100"}, {true, 40, "+110"}, {true, 2e-5f, "+90"}};
    for (const auto& [box, xmax, top] : rows) {
        Kestrova k;
        const std::vector<Prim> all = LimitView(k, "ms", box, xmax);
        ASSERT_TRUE(TextAt(all, 55.0));
        EXPECT_EQ(TextAt(all, 55.0)->text, top);
        const Prim* cross = TextAt(all, 39.0, "Xmax limits below ");
        ASSERT_EQ(cross != nullptr, xmax == 0) << top;  // 40 mm is never reached, 20 nm always is
        if (!cross) continue;
        CofCal(k.d);
        const double hz = std::stod(cross->text.substr(18));
        for (const double at : {hz - 1.0, hz + 1.0}) {
            EvaluateAt(k.d, static_cast<float>(std::log10(at)), CBFRcal, IBFRcal);
            EXPECT_EQ(ExcursionCal(k.d, k.d.ff, k.d.yy).peak > k.d.XMAX, at < hz) << at;
        }
    }
}

// A polyline's segments join end to end and pass within a twentieth of a point of every point they span; a
// straight run is one segment, a corner keeps its point.
TEST(LimitViews, APolylineSpansStraightRunsAndPassesNearEveryPoint)
{
    std::vector<CurvePoint> cases[3];
    for (int i = 0; i <= 300; ++i) {
        const float x = 45.0f + 1.5f * i;
        cases[0].push_back({x, 100.0f + 0.25f * i});
        cases[1].push_back({x, 100.0f + std::fabs(150.0f - i)});
        cases[2].push_back({x, 200.0f + 20.0f * std::sin(0.05f * i)});
    }
    for (const std::vector<CurvePoint>& pts : cases) {
        Kestrova k;
        const std::vector<Prim> lines = ks::test::Record(k, [&] { DrawPolyline(k, pts); });
        const std::size_t n = lines.size();
        EXPECT_TRUE(&pts == &cases[0] ? n == 1 : &pts == &cases[1] ? n == 2 : n > 2 && n < 100) << n;
        ASSERT_GT(n, 0u);
        EXPECT_EQ(std::pair(lines[0].v[0], lines[n - 1].v[2]), std::pair(double(pts[0].x), double(pts.back().x)));
        std::size_t seg = 0;
        for (const CurvePoint& p : pts) {
            for (; p.x > lines[seg].v[2] + 1e-4; ++seg) {  // the next segment starts where this one ends
                ASSERT_LT(seg + 1, n);
                ASSERT_EQ(std::pair(lines[seg + 1].v[0], lines[seg + 1].v[1]),
                          std::pair(lines[seg].v[2], lines[seg].v[3]));
            }
            const std::vector<double>& l = lines[seg].v;
            EXPECT_NEAR(l[1] + (l[3] - l[1]) * (p.x - l[0]) / (l[2] - l[0]), p.y, 0.05 + 1e-3) << p.x;
        }
    }
}

// Without Sd, Xmax, Pemax or a sensitivity: the frame, the view's title and one centred line naming what is
// missing; no axis, no curve.
TEST(LimitViews, ADriverLackingWhatTheyNeedGetsOneCentredLine)
{
    const std::tuple<float, float, const char*> rows[] = {
        {0.2f, 0.628f, "This view needs the driver's Xmax"},
        {-1, 0, "This view needs the driver's Sd, Xmax, Pemax and sensitivity"}};  // Sd and Pemax -1 too
    for (const auto& [sd, efi, text] : rows)
        for (const char* view : {"ex", "ms"}) {
            Kestrova k;
            k.d.SD2 = sd, k.d.XMAX2 = sd < 0 ? sd : 0, k.d.PEMX2 = sd < 0 ? sd : 10, k.d.EFI2 = efi;
            kt::SetUpDriver(k);
            k.d.s_Resp = view;
            const std::vector<Prim> all = ks::test::Record(k, [&] { ResponsePlot(k); });
            const std::vector<Prim> frame = ks::test::Record(k, [&] {
                HorizontalGrid(k, view == std::string("ex") ? 56 : 40);
                FrequencyFrame(k, 0, SetResponseTitle(k.d).view());
            });
            ASSERT_EQ(all.size(), frame.size() + 2) << view;  // the erased area, the frame, the line
            EXPECT_EQ(all.back().text, text);
            EXPECT_TRUE(InGraph(all.back().v[0], all.back().v[1])) << view;
            for (std::size_t i = 0; i < frame.size(); ++i)
                EXPECT_EQ(all[i + 1].kind + all[i + 1].text, frame[i].kind + frame[i].text);
        }
}

// The worked closed box (optimum), the same driver on a baffle, and the built-in driver without Vas.
enum Sys { kBox = 1, kBaffle = 2, kRearClosed = 3 };

void Make(Kestrova& k, Sys sys)
{
    if (sys == kRearClosed) return kt::SetUpDriver(k);  // the header below names the system it chose
    kt::SetUpDriver(k, 50.0f, 10.0f, 0.35f, 0.4f, 3.0f);
    k.d.boxSys = static_cast<i16>(sys);
}

ResponsePoint At(const Kestrova& k, float hz) { return SampleResponse(k.d, {hz, hz, 1}).points.at(0); }

// The level is the amplitude view's plus the sensitivity (its worked values are the model's); the impedance is
// the view's own at 20 Hz, resonance and 10 kHz, without a coil of no phase at resonance.
TEST(ResponseData, LevelImpedanceAndPhaseFollowTheViews)
{
    for (Sys sys : {kBox, kBaffle, kRearClosed}) {
        Kestrova k;
        k.d.LE2 = 0.0f;
        Make(k, sys);
        const float fr = sys == kBox ? SampleResponse(k.d, {10, 20, 1}).box.FC : k.d.FS;
        for (float hz : {20.0f, fr, 1000.0f, 10000.0f}) {
            Design view = k.d, imp = k.d;
            CofCal(view);
            const ResponsePoint p = At(k, hz);
            EvaluateAtHz(view, p.hz, CBFRcal, IBFRcal);
            EXPECT_EQ(p.level, static_cast<float>(double(view.SPL) - double(view.yy))) << sys << " " << hz;
            // The limits at the amplitude view's attenuation, to single precision.
            const Excursion e = ExcursionCal(view, view.ff, view.yy);
            EXPECT_EQ((std::array{p.peak, p.peak1W, p.maxSpl, p.thermal, p.excursion, p.maxPower}),
                      (std::array<float, 6>{float(e.peak), float(e.peak1W), float(e.maxSpl), float(e.thermal),
                                            float(e.excursion), float(e.maxPower)}));
            imp.s_Resp = "imp";
            ImpPrepare(imp);
            EvaluateAtHz(imp, p.hz, CBIMPcal, IBIMPcal);
            EXPECT_EQ(p.ohms, imp.yyLinea) << sys << " " << hz;
        }
        EXPECT_NEAR(At(k, fr).ohmsPhase, 0.0, 0.01) << sys;
    }
}

// The grid is computed in double precision: its octave points are written as 10, 20, 40 ...
TEST(ResponseData, OctavePointsAreWrittenExactly)
{
    Kestrova k;
    kt::SetUpDriver(k);
    std::istringstream text(ResponseText(SampleResponse(k.d, {10, 40000, 48}), ResponseFormat::Frd, ""));
    std::string octaves;
    int i = 0;
    for (std::string line; std::getline(text, line);)
        if (!line.starts_with("*") && i++ % 48 == 0) octaves += line.substr(0, line.find(' ')) + " ";
    EXPECT_EQ(octaves, "10 20 40 80 160 320 640 1280 2560 5120 10240 20480 ");
}

// Every format for every system reads back exactly under a decimal-comma locale, below a header naming the design.
TEST(ResponseData, EveryFormatReadsBackExactlyUnderADecimalCommaLocale)
{
    const kt::CommaLocale german;
    if (!german.why.empty()) GTEST_SKIP() << german.why;
    const char* system[] = {"", "closed box\n* Box: Vb 2.8 litres, Fc 106.9 Hz, Qtc 0.707, Qa 10\n",
                            "infinite baffle\n* Box: none", "rear-closed driver\n* Box: none"};
    for (Sys sys : {kBox, kBaffle, kRearClosed}) {
        Kestrova k;
        if (sys == kRearClosed) k.d.EFI2 = 0.0f;  // no Vas, no efficiency: the level is relative
        Make(k, sys);
        const ResponseData r = SampleResponse(k.d, {20, 20000, 12});
        for (ResponseFormat f : {ResponseFormat::Frd, ResponseFormat::Zma, ResponseFormat::Csv}) {
            const bool csv = f == ResponseFormat::Csv;
            std::istringstream text(ResponseText(r, f, "2026-12-05T14:30:00"));
            std::string header, line;
            while ((text.peek() == '*' || (csv && header.empty())) && std::getline(text, line)) header += line + '\n';
            if (csv) {
                EXPECT_EQ(std::count(header.begin(), header.end(), ','), 11);
                EXPECT_EQ(r.limits, sys != kRearClosed);  // no efficiency, no Vas: no level
                EXPECT_EQ(header.find("Level (dB rel.)") != std::string::npos, sys == kRearClosed);
            } else {
                EXPECT_TRUE(header.starts_with("* Kestrova " KESTROVA_VERSION ": modelled ")) << header;
                EXPECT_TRUE(header.ends_with("\n* Date: 2026-12-05T14:30:00\n")) << header;
                EXPECT_NE(header.find("\n* Driver: " + k.d.s_SP.str() + "\n* System: " + system[sys]),
                          std::string::npos);
                EXPECT_EQ(header.find("relative") != std::string::npos, sys == kRearClosed && f == ResponseFormat::Frd);
            }
            std::vector<float> got, want;
            while (std::getline(text, line)) {
                EXPECT_TRUE(!csv || std::count(line.begin(), line.end(), ',') == 11) << line;
                std::replace(line.begin(), line.end(), ',', ' ');
                std::istringstream fields(line);
                for (std::string field; fields >> field;) {
                    const auto [end, ec] =
                        std::from_chars(field.data(), field.data() + field.size(), got.emplace_back());
                    EXPECT_TRUE(ec == std::errc() && end == field.data() + field.size()) << line;
                }
            }
            for (const ResponsePoint& p : r.points) {
                want.insert(want.end(),
                            csv ? std::initializer_list<float>{p.hz, p.level, p.phase, p.delay, p.ohms, p.ohmsPhase}
                            : f == ResponseFormat::Frd ? std::initializer_list<float>{p.hz, p.level, p.phase}
                                                       : std::initializer_list<float>{p.hz, p.ohms, p.ohmsPhase});
                if (csv && r.limits)
                    want.insert(want.end(), {p.peak, p.peak1W, p.maxSpl, p.thermal, p.excursion, p.maxPower});
            }
            EXPECT_EQ(got, want);  // not a number never equals itself
        }
    }
}

// Without Re, or a Qms that Qts and Qes allow, the table leaves the impedance columns empty and ZMA is refused;
// a Qms supplied from Qts and Qes gives numbers on every line.
TEST(ResponseData, AnUnknownImpedanceLeavesItsColumnsEmptyAndRefusesZma)
{
    for (const auto& [re, qes, qms, known] :
         {std::tuple{0.0f, 0.4f, 3.0f, false}, {6.0f, 0.3f, 0.0f, false}, {6.0f, 0.4f, 0.0f, true}}) {
        Kestrova k;
        k.d.RE2 = re;
        kt::SetUpDriver(k, 50.0f, 10.0f, 0.35f, qes, qms);
        EXPECT_EQ(ResponseRefusal(k.d, ResponseFormat::Zma).empty(), known) << re << " " << qms;
        EXPECT_TRUE(ResponseRefusal(k.d, ResponseFormat::Csv).empty());
        std::istringstream text(ResponseText(SampleResponse(k.d, {20, 20000, 12}), ResponseFormat::Csv, ""));
        std::string line;
        for (std::getline(text, line); std::getline(text, line);) {
            EXPECT_EQ(line.find("nan"), std::string::npos) << line;
            std::vector<std::string> cells;
            std::istringstream row(line + ",");
            for (std::string cell; std::getline(row, cell, ',');) cells.push_back(cell);
            ASSERT_EQ(cells.size(), 12u) << line;
            EXPECT_EQ(cells[4] + cells[5] == "", !known) << line;  // both impedance cells empty
        }
    }
}

}  // namespace
