// SPDX-License-Identifier: GPL-3.0-or-later
#include "library/driver_values.h"

#include <array>
#include <cmath>

namespace ks::lib {
namespace {

// Wide enough for any driver made, from the smallest earpiece to the
// largest subwoofer: a value outside is a slip, not a driver.
// clang-format off
constexpr std::array<Plausible, kFieldCount> kRanges{{
    {0, 0}, {0, 0},   // model, range: texts
    {0.5, 300},       // dia, cm
    {1, 20000},       // fs, Hz
    {1e-4, 1e5},      // vas, litres
    {0.01, 50},       // qts
    {0.01, 100},      // qes
    {0.1, 500},       // qms
    {1e-4, 100},      // effi, %
    {0.01, 1000},     // re, ohm
    {1e-3, 1e5},      // pemax, W
    {0.01, 5e4},      // sd, cm²
    {1e-3, 500},      // xmax, mm
    {1e-3, 1e6},      // vd, cm³
    {1e-4, 1000},     // le, mH
}};
// clang-format on

}  // namespace

std::optional<Plausible> PlausibleRange(Field f)
{
    if (!Info(f).numeric) return std::nullopt;
    return kRanges[static_cast<std::size_t>(f)];
}

bool IsPlausible(Field f, double v)
{
    const std::optional<Plausible> r = PlausibleRange(f);
    return !r || v == 0 || (v >= r->low && v <= r->high);
}

std::optional<std::string> Implausible(Field f, double v)
{
    if (IsPlausible(f, v)) return std::nullopt;
    const Plausible r = *PlausibleRange(f);
    std::string unit;
    if (!Info(f).unit.empty()) unit.append(" ").append(Info(f).unit);
    std::string said(Info(f).title);
    said.append(" ").append(NumberText(v)).append(unit).append(" lies outside ");
    return said.append(NumberText(r.low)).append(" to ").append(NumberText(r.high)).append(unit);
}

std::optional<std::string> Implausible(const Driver& d)
{
    for (int i = 0; i < kFieldCount; ++i)
        if (auto said = Implausible(static_cast<Field>(i), d.get(static_cast<Field>(i)))) return said;
    return std::nullopt;
}

// As the sum of reciprocals: Qes·Qms would overflow to infinity or underflow
// to 0 for values a store must never hold.
double QtsFrom(double qes, double qms) { return 1.0 / (1.0 / qes + 1.0 / qms); }

bool QtsIsComputed(const Driver& d)
{
    const double qes = d.get(Field::Qes), qms = d.get(Field::Qms);
    return qes > 0 && qms > 0 && d.get(Field::Qts) == QtsFrom(qes, qms);
}

}  // namespace ks::lib
