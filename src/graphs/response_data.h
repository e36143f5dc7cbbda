// SPDX-License-Identifier: GPL-3.0-or-later
// The modelled response of a design as data for crossover programs: sampled
// on a logarithmic grid by the graphs' own evaluation (so file and graph
// agree) and written as FRD, ZMA or CSV text, with a point as decimal
// separator whatever the locale.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "model/design.h"

namespace ks {

enum class ResponseFormat { Frd, Zma, Csv };

// "frd", "zma" or "csv" in any case; nothing for anything else.
std::optional<ResponseFormat> ResponseFormatNamed(std::string_view name);

struct ResponseRange {
    double from = 10.0;  // Hz
    double to = 40000.0;
    int ppo = 48;  // points per octave
};
inline constexpr double kResponseMinHz = 1.0;
inline constexpr double kResponseMaxHz = 100000.0;
inline constexpr int kResponseMaxPpo = 384;

struct ResponsePoint {
    f32 hz;
    f32 level;      // dB SPL at 1 W / 1 m (relative when the sensitivity is unknown)
    f32 phase;      // degrees, of the system's transfer function, unwrapped
    f32 delay;      // group delay, ms
    f32 ohms;       // magnitude of the complex electrical impedance
    f32 ohmsPhase;  // its phase, degrees, unwrapped
    // The limits at Pemax, Sd and Xmax (model/excursion.h), when the design
    // has them.
    f32 peak, peak1W;                // peak cone excursion at Pemax and at 1 W, mm
    f32 maxSpl, thermal, excursion;  // dB SPL at 1 m
    f32 maxPower;                    // W
};

struct ResponseData {
    std::vector<ResponsePoint> points;
    Design box;  // the design after the recalculation the points come from
    // The points carry the limits: the design has Pemax, Sd, Xmax and a sensitivity.
    bool limits = false;
};

// Samples the design from r.from up to r.to with r.ppo points per octave,
// on a copy: the design itself is left as it is. The caller keeps the range
// within the bounds above and r.from <= r.to.
ResponseData SampleResponse(const Design& d, const ResponseRange& r);

// Why the design cannot be written in that format, or empty: a ZMA file is
// the impedance alone, which a driver without Re (or without a Qms that its
// Qts and Qes allow) does not have.
std::string ResponseRefusal(const Design& d, ResponseFormat format);

// The file: FRD and ZMA with comment lines starting with "*" (program,
// version, driver, system, box and `stamp`, the date and time), CSV with
// one header row, its impedance columns empty where the impedance is not
// known, and the limits' columns last, empty without the limits.
std::string ResponseText(const ResponseData& data, ResponseFormat format, std::string_view stamp);

}  // namespace ks
