// SPDX-License-Identifier: GPL-3.0-or-later
#include "graphs/response_data.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <complex>
#include <numbers>

#include "graphs/evaluate_at.h"
#include "graphs/imp.h"
#include "model/cb.h"
#include "model/excursion.h"
#include "model/ib.h"
#include "model/response.h"
#include "support/macroman.h"
#include "support/numtext.h"

namespace ks {

namespace {

f64 W(f32 v) { return static_cast<f64>(v); }

constexpr f64 kDegree = std::numbers::pi / 180.0;

// Adjacent samples never differ by half a turn or more, so a step that
// seems to is a wrap of the angle.
void Unwrap(std::vector<ResponsePoint>& points, f32 ResponsePoint::*angle)
{
    f64 turns = 0.0;
    for (std::size_t i = 1; i < points.size(); ++i) {
        const f64 previous = W(points[i - 1].*angle);
        f64 current = W(points[i].*angle) + turns;
        if (current - previous > 180.0) {
            current -= 360.0;
            turns -= 360.0;
        } else if (current - previous < -180.0) {
            current += 360.0;
            turns += 360.0;
        }
        points[i].*angle = static_cast<f32>(current);
    }
}

// Shortest text that reads back as the same float; never a comma.
void Put(std::string& s, f32 v)
{
    char buf[32];
    const auto end = std::to_chars(buf, buf + sizeof buf, v).ptr;
    s.append(buf, end);
}

// A value as the design window shows it, without the leading blank.
std::string Shown(f32 v, int decimals)
{
    std::string s = RoundedText(v, decimals).str();
    if (!s.empty() && s.front() == ' ') s.erase(0, 1);
    return s;
}

// One comment line's worth of a received text: control characters (a line
// break would end the comment) become blanks.
std::string OneLine(const PStr& macRoman)
{
    std::string s = MacRomanToUtf8(macRoman.view());
    for (char& c : s)
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7f) c = ' ';
    return s;
}

bool LevelIsAbsolute(const Design& d) { return std::isfinite(d.SPL); }

void PutLimits(ResponsePoint& p, const Excursion& e)
{
    p.peak = static_cast<f32>(e.peak);
    p.peak1W = static_cast<f32>(e.peak1W);
    p.maxSpl = static_cast<f32>(e.maxSpl);
    p.thermal = static_cast<f32>(e.thermal);
    p.excursion = static_cast<f32>(e.excursion);
    p.maxPower = static_cast<f32>(e.maxPower);
}

// The limits' columns of a CSV row, each after a comma.
void AppendLimits(std::string& s, const ResponseData& data, const ResponsePoint& p)
{
    for (f32 v : {p.peak, p.peak1W, p.maxSpl, p.thermal, p.excursion, p.maxPower}) {
        s += ',';
        if (data.limits) Put(s, v);
    }
}

std::string CommentHeader(const ResponseData& data, ResponseFormat format, std::string_view stamp)
{
    const Design& d = data.box;
    std::string h = "* Kestrova " KESTROVA_VERSION;
    if (format == ResponseFormat::Zma) {
        h += ": modelled electrical impedance\n* Columns: frequency (Hz), impedance (ohms), phase (degrees)\n";
    } else {
        h += ": modelled frequency response\n* Columns: frequency (Hz), ";
        h += LevelIsAbsolute(d) ? "level (dB SPL at 1 W / 1 m)"
                                : "level (dB relative to the pass band; the driver's sensitivity is unknown)";
        h += ", phase (degrees)\n";
    }
    h += "* Driver: " + OneLine(d.s_SP) + "\n* System: ";
    if (d.boxSys == 1) {
        h += "closed box\n* Box: Vb " + Shown(d.VB, 2) + " litres, Fc " + Shown(d.FC, 2) + " Hz, Qtc " +
             Shown(d.QTC, 3) + ", Qa " + Shown(d.QA, 0) + "\n";
    } else {
        h += d.boxSys == 2 ? "infinite baffle" : "rear-closed driver";
        h += "\n* Box: none (driver Fs " + Shown(d.FS, 2) + " Hz, Qts " + Shown(d.QTS, 3) + ")\n";
    }
    h += "* Date: ";
    h += stamp;
    h += "\n";
    return h;
}

}  // namespace

std::optional<ResponseFormat> ResponseFormatNamed(std::string_view name)
{
    std::string lower;
    for (char c : name) lower += static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
    if (lower == "frd") return ResponseFormat::Frd;
    if (lower == "zma") return ResponseFormat::Zma;
    if (lower == "csv") return ResponseFormat::Csv;
    return std::nullopt;
}

ResponseData SampleResponse(const Design& d, const ResponseRange& r)
{
    ResponseData out{{}, d};
    Design& w = out.box;
    // The small allowance keeps the last point when `to` lies on the grid.
    const int n = static_cast<int>(std::floor(std::log2(r.to / r.from) * r.ppo + 1e-9)) + 1;
    // In double precision, so the octaves of `from` are exact (10, 20, 40 ...).
    auto hzAt = [&](int i) { return static_cast<f32>(r.from * std::exp2(static_cast<f64>(i) / r.ppo)); };
    out.points.resize(static_cast<std::size_t>(std::max(n, 0)));

    // Level, phase and delay with the coefficients of every view but the
    // impedance (total Q).
    w.s_Resp = "amp";
    CofCal(w);
    const f64 base = LevelIsAbsolute(w) ? W(w.SPL) : 0.0;
    out.limits = !ExcursionNeedsCal(w).any();
    for (int i = 0; i < n; ++i) {
        ResponsePoint& p = out.points[static_cast<std::size_t>(i)];
        EvaluateAtHz(w, hzAt(i), CBFRcal, IBFRcal);
        p.hz = w.ff;
        p.level = static_cast<f32>(base - W(w.yy));
        if (out.limits) PutLimits(p, ExcursionCal(w, W(w.ff), W(w.yy)));
        EvaluateAtHz(w, hzAt(i), CBPHcal, IBPHcal);
        p.phase = w.yy;
        EvaluateAtHz(w, hzAt(i), CBGDcal, IBGDcal);
        p.delay = w.yy;
    }

    // The impedance with the impedance view's own coefficients and RES: the
    // magnitude is the view's, the phase that of the same complex value.
    w.s_Resp = "imp";
    ImpPrepare(w);
    for (int i = 0; i < n; ++i) {
        ResponsePoint& p = out.points[static_cast<std::size_t>(i)];
        EvaluateAtHz(w, hzAt(i), CBIMPcal, IBIMPcal);
        p.ohms = w.yyLinea;
        p.ohmsPhase = static_cast<f32>(std::arg(ElectricalImpedance(w)) / kDegree);
    }
    Unwrap(out.points, &ResponsePoint::phase);
    Unwrap(out.points, &ResponsePoint::ohmsPhase);
    return out;
}

std::string ResponseRefusal(const Design& d, ResponseFormat format)
{
    if (format != ResponseFormat::Zma || ImpedanceKnown(d)) return {};
    return d.RE > 0.0f ? "the driver has no Qms, and its Qts and Qes give none: there is no impedance to write"
                       : "the driver has no Re: there is no impedance to write";
}

std::string ResponseText(const ResponseData& data, ResponseFormat format, std::string_view stamp)
{
    std::string s;
    if (format == ResponseFormat::Csv) {
        s.reserve(128 + data.points.size() * 80);
        s += LevelIsAbsolute(data.box) ? "Frequency (Hz),Level (dB SPL 1W/1m)," : "Frequency (Hz),Level (dB rel.),";
        s += "Phase (deg),Group delay (ms),Impedance (ohm),Impedance phase (deg)";
        s += ",Excursion at Pemax (mm),Excursion at 1 W (mm),Maximum SPL (dB SPL 1m),Thermal limit (dB SPL 1m),"
             "Excursion limit (dB SPL 1m),Maximum input power (W)\n";
        const bool ohms = ImpedanceKnown(data.box);
        for (const ResponsePoint& p : data.points) {
            for (f32 v : {p.hz, p.level, p.phase, p.delay}) {
                Put(s, v);
                s += ',';
            }
            if (ohms) {
                Put(s, p.ohms);
                s += ',';
                Put(s, p.ohmsPhase);
            } else {
                s += ',';
            }
            AppendLimits(s, data, p);
            s += '\n';
        }
        return s;
    }
    s = CommentHeader(data, format, stamp);
    s.reserve(s.size() + data.points.size() * 40);
    const bool zma = format == ResponseFormat::Zma;
    for (const ResponsePoint& p : data.points) {
        Put(s, p.hz);
        s += ' ';
        Put(s, zma ? p.ohms : p.level);
        s += ' ';
        Put(s, zma ? p.ohmsPhase : p.phase);
        s += '\n';
    }
    return s;
}

}  // namespace ks
