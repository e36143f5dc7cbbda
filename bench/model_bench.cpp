// SPDX-License-Identifier: GPL-3.0-or-later
// Model cost of one redraw: the recalculation every curve starts with, the
// amplitude sweep's 300 evaluations and a step drawing's inversions; and one
// response data export (FRD, ZMA, CSV) at the default 48 points per octave.
#include <benchmark/benchmark.h>

#include <cmath>
#include <vector>

#include "graphs/response_data.h"
#include "model/cb.h"
#include "model/ib.h"
#include "model/response.h"
#include "model/step.h"

namespace ks {
namespace {

Design ClosedBox()
{
    Design d;
    d.FS2 = 50.0f;
    d.VAS2 = 10.0f;
    d.QTS2 = 0.35f;
    ParameterPass(d);
    InitSetUpMenuParam(d);
    return d;
}

void BM_CofCalAndAmplitudeSweep(benchmark::State& state)
{
    Design d = ClosedBox();
    for (auto _ : state) {
        CofCal(d);
        float k = static_cast<float>(std::log10(20.0));
        for (int i = 0; i < 300; ++i) {
            d.ff = static_cast<float>(std::pow(10.0, static_cast<double>(k)));
            d.f = d.ff / d.FS;
            CBFRcal(d);
            benchmark::DoNotOptimize(d.yy);
            k = k + 0.01f;
        }
    }
}
BENCHMARK(BM_CofCalAndAmplitudeSweep);

void BM_ExportResponse(benchmark::State& state)
{
    Design d = ClosedBox();
    SPLcal(d);
    const auto format = static_cast<ResponseFormat>(state.range(0));
    for (auto _ : state) {
        const std::string text = ResponseText(SampleResponse(d, ResponseRange{}), format, "2026-12-05T14:30:00");
        benchmark::DoNotOptimize(text.data());
    }
}
BENCHMARK(BM_ExportResponse)->DenseRange(0, 2)->Unit(benchmark::kMicrosecond);

void BM_StepDrawingInversions(benchmark::State& state)
{
    Design d;
    ParameterPass(d);
    InitSetUpMenuParam(d);
    for (auto _ : state) {
        CofCal(d);
        EulerTransform(d);
        IBStepSubstitution(d);
        float tau = 0.0f;
        int n = 0;
        while (tau <= 16.67f && n < 1667) {
            benchmark::DoNotOptimize(InverseLaplaceTransform(d, tau));
            tau = tau + 0.01f;
            ++n;
        }
    }
}
BENCHMARK(BM_StepDrawingInversions)->Unit(benchmark::kMicrosecond);

// The same 1667 inversions the way the step view asks for them.
void BM_StepDrawingInversionsAtOnce(benchmark::State& state)
{
    Design d;
    ParameterPass(d);
    InitSetUpMenuParam(d);
    std::vector<float> taus;
    for (float tau = 0.0f; tau <= 16.67f && taus.size() < 1667; tau = tau + 0.01f) taus.push_back(tau);
    std::vector<double> g(taus.size());
    for (auto _ : state) {
        CofCal(d);
        EulerTransform(d);
        IBStepSubstitution(d);
        InverseLaplaceTransforms(d, taus, g);
        benchmark::DoNotOptimize(g.data());
    }
}
BENCHMARK(BM_StepDrawingInversionsAtOnce)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace ks

BENCHMARK_MAIN();
