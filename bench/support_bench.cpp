// SPDX-License-Identifier: GPL-3.0-or-later
// Speed of the conversions every redraw and record goes through: a box
// entry rebuild formats a handful of values, a sheet or printed page some
// dozens, the records about twenty.
#include <benchmark/benchmark.h>

#include "context/kestrova.h"
#include "exchange/records.h"
#include "support/macroman.h"
#include "support/numtext.h"

namespace {

void BM_RoundedText(benchmark::State& state)
{
    float v = 47.619f;
    for (auto _ : state) {
        benchmark::DoNotOptimize(ks::RoundedText(v, 3));
        v += 0.001f;
    }
}
BENCHMARK(BM_RoundedText);

void BM_NumToTextExponent(benchmark::State& state)
{
    double v = 0.00123456789;
    for (auto _ : state) benchmark::DoNotOptimize(ks::NumToText(v));
}
BENCHMARK(BM_NumToTextExponent);

void BM_FormatWithMask(benchmark::State& state)
{
    for (auto _ : state) benchmark::DoNotOptimize(ks::FormatWithMask("####.### Hz", 1000.0));
}
BENCHMARK(BM_FormatWithMask);

void BM_TextToNumber(benchmark::State& state)
{
    for (auto _ : state) benchmark::DoNotOptimize(ks::TextToNumber(" 0.707"));
}
BENCHMARK(BM_TextToNumber);

void BM_MakeClipText(benchmark::State& state)
{
    ks::Kestrova k;
    k.d.s_SP = "Test2.5-07";
    k.d.FS = 50.0f;
    k.d.VAS = 10.0f;
    k.d.QTS = 0.35f;
    k.d.VB = 47.619f;
    for (auto _ : state) benchmark::DoNotOptimize(ks::MakeClipText(k));
}
BENCHMARK(BM_MakeClipText);

void BM_MasageTextToParameter(benchmark::State& state)
{
    ks::Kestrova k;
    k.sh.s_Masg =
        "DUMMY#  Test3.0-08  200Hz-20kHz   3   800   0   0.707   0.972   2.5   0.628   6"
        "   10   5   0.2   0.1   0.025  ";
    for (auto _ : state) {
        ks::MasageTextToParameter(k);
        benchmark::DoNotOptimize(k.d.LE2);
    }
}
BENCHMARK(BM_MasageTextToParameter);

void BM_MacRomanToUtf8(benchmark::State& state)
{
    const std::string text(255, '\x8A');
    for (auto _ : state) benchmark::DoNotOptimize(ks::MacRomanToUtf8(text));
}
BENCHMARK(BM_MacRomanToUtf8);

}  // namespace
BENCHMARK_MAIN();
