// SPDX-License-Identifier: GPL-3.0-or-later
// Redrawing each view into the retained image, beside the cost of painting
// the same display list in one QPainter pass (the floor a redraw can reach).
#include <benchmark/benchmark.h>

#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <string>
#include <vector>

#include "graphs/dispatch.h"
#include "graphs/null_canvas.h"
#include "graphs/qt/image_canvas.h"
#include "graphs/qt/painter_canvas.h"
#include "model/response.h"
#include "support/qt/resource_dir.h"

using namespace ks;

namespace {

// The primitives of one redraw, kept for replay.
class CaptureCanvas final : public Canvas {
public:
    struct Op {
        char kind;
        float v[4];
        Rgb c;
        float w;
        int i;
        std::string s, folder;
    };
    std::vector<Op> ops;
    void erase(float l, float t, float r, float b) override { ops.push_back({'e', {l, t, r, b}, {}, 0, 0, {}, {}}); }
    void line(float x, float y, float x1, float y1, Rgb c, float w, int d) override
    {
        ops.push_back({'l', {x, y, x1, y1}, c, w, d, {}, {}});
    }
    void frameRect(float x, float y, float x1, float y1, Rgb c, float w) override
    {
        ops.push_back({'r', {x, y, x1, y1}, c, w, 0, {}, {}});
    }
    void fillRect(float x, float y, float x1, float y1, Rgb c) override
    {
        ops.push_back({'f', {x, y, x1, y1}, c, 0, 0, {}, {}});
    }
    void text(float x, float y, int font, float size, Rgb c, std::string_view t) override
    {
        ops.push_back({'t', {x, y, 0, 0}, c, size, font, std::string(t), {}});
    }
    void image(std::string_view folder, std::string_view name, std::int16_t t, std::int16_t l, std::int16_t b,
               std::int16_t r) override
    {
        ops.push_back(
            {'i', {float(t), float(l), float(b), float(r)}, {}, 0, 0, std::string(name), std::string(folder)});
    }
    void replay(Canvas& c) const
    {
        for (const Op& o : ops) {
            switch (o.kind) {
            case 'e': c.erase(o.v[0], o.v[1], o.v[2], o.v[3]); break;
            case 'l': c.line(o.v[0], o.v[1], o.v[2], o.v[3], o.c, o.w, o.i); break;
            case 'r': c.frameRect(o.v[0], o.v[1], o.v[2], o.v[3], o.c, o.w); break;
            case 'f': c.fillRect(o.v[0], o.v[1], o.v[2], o.v[3], o.c); break;
            case 't': c.text(o.v[0], o.v[1], o.i, o.w, o.c, o.s); break;
            case 'i':
                c.image(o.folder, o.s, std::int16_t(o.v[0]), std::int16_t(o.v[1]), std::int16_t(o.v[2]),
                        std::int16_t(o.v[3]));
                break;
            }
        }
    }
};

struct Case {
    const char* view;
    float fs, qts;
};

// The default tweeter for every view, and the worst step view; the limit
// views last, each to cost no more than the amplitude view.
const Case kCases[] = {{"amp", 1000, 0.707f}, {"imp", 1000, 0.707f}, {"ph", 1000, 0.707f}, {"gd", 1000, 0.707f},
                       {"nq", 1000, 0.707f},  {"st", 1000, 0.707f},  {"st", 20000, 1.2f},  {"sys", 1000, 0.707f},
                       {"ex", 1000, 0.707f},  {"ms", 1000, 0.707f}};

void SetUp(Kestrova& k, const Case& c)
{
    k.d.FS2 = c.fs;
    k.d.QTS2 = c.qts;
    ParameterPass(k.d);
    InitSetUpMenuParam(k.d);
    SPLcal(k.d);
    k.d.s_Resp = c.view;
}

void BM_Redraw(benchmark::State& state)
{
    const Case& c = kCases[state.range(0)];
    Kestrova k;
    SetUp(k, c);
    ImageCanvas canvas(ImagesDir());
    k.screen = &canvas;
    for (auto _ : state) {
        ResponsePlot(k);
        benchmark::DoNotOptimize(canvas.image().constBits());
    }
    state.SetLabel(std::string(c.view) + " FS " + std::to_string(int(c.fs)) + " QTS " + std::to_string(c.qts));
}

void BM_PaintOnly(benchmark::State& state)
{
    const Case& c = kCases[state.range(0)];
    Kestrova k;
    SetUp(k, c);
    CaptureCanvas capture;
    k.screen = &capture;
    ResponsePlot(k);
    QImage img(540, 380, QImage::Format_ARGB32_Premultiplied);
    img.fill(Qt::white);
    for (auto _ : state) {
        QPainter p(&img);
        PainterCanvas canvas(p, ImagesDir());
        capture.replay(canvas);
        p.end();
        benchmark::DoNotOptimize(img.constBits());
    }
    state.SetLabel(std::string(c.view) + " " + std::to_string(capture.ops.size()) + " primitives");
}

void BM_ReplayIntoImage(benchmark::State& state)
{
    const Case& c = kCases[state.range(0)];
    Kestrova k;
    SetUp(k, c);
    CaptureCanvas capture;
    k.screen = &capture;
    ResponsePlot(k);
    ImageCanvas canvas(ImagesDir());
    for (auto _ : state) {
        canvas.beginBatch();
        capture.replay(canvas);
        canvas.endBatch();
    }
}
BENCHMARK(BM_ReplayIntoImage)->DenseRange(5, 6)->Unit(benchmark::kMicrosecond);

// The model's share of a redraw: the same steps onto a surface that draws nothing.
void BM_ComputeOnly(benchmark::State& state)
{
    const Case& c = kCases[state.range(0)];
    Kestrova k;
    SetUp(k, c);
    NullCanvas canvas;
    k.screen = &canvas;
    for (auto _ : state) ResponsePlot(k);
    state.SetLabel(c.view);
}

BENCHMARK(BM_Redraw)->DenseRange(0, 9)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_PaintOnly)->DenseRange(0, 9)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_ComputeOnly)->DenseRange(0, 9)->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    int qargc = 1;
    QGuiApplication app(qargc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
