// SPDX-License-Identifier: GPL-3.0-or-later
// One driver of the library: the fifteen values a driver record carries, in
// the units the design program holds them (Dia cm, Vas litre, efficiency
// percent, Sd cm², Xmax mm, Vd cm³, Le mH). Texts are UTF-8 here; they become
// Mac Roman only when the record is built.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "support/pstring.h"

namespace ks::lib {

enum class Field : int { Model, Range, Dia, Fs, Vas, Qts, Qes, Qms, Effi, Re, Pemax, Sd, Xmax, Vd, Le };
inline constexpr int kFieldCount = 15;

struct FieldInfo {
    std::string_view key;    // CSV header and storage column
    std::string_view title;  // shown in headers and the form
    std::string_view unit;   // empty for none
    bool numeric;
};
const FieldInfo& Info(Field f);
// The field whose key is given (case-insensitive), if any.
std::optional<Field> FieldByKey(std::string_view key);

struct Driver {
    std::int64_t id = 0;  // 0 until stored
    std::string model, range;
    std::array<double, kFieldCount> num{};  // indexed by Field; texts' slots unused

    double get(Field f) const { return num[static_cast<std::size_t>(f)]; }
    void set(Field f, double v) { num[static_cast<std::size_t>(f)] = v; }
    friend bool operator==(const Driver&, const Driver&) = default;
};

// Longest model name or range accepted, in bytes.
inline constexpr std::size_t kMaxTextBytes = 100;

// A value as text for display and export: the shortest decimal form that
// reads back as the same double, decimal point always.
std::string NumberText(double v);

// One field's text as a user or a file gives it; texts are kept as given.
// Numbers accept a decimal comma; an empty number is "not given".
struct FieldError {
    Field field;
    std::string reason;
};

// Checks every field and fills out. Empty numbers are 0 (not given).
// Refused: a text that is not UTF-8, has a control character, two blanks in
// a row (they would split the record) or more than kMaxTextBytes; a number
// that does not read entirely, is not finite or is negative; a missing model
// name or Fs; a Qts not given and not computable from Qes and Qms. A missing
// Qts is computed as 1 / (1/Qes + 1/Qms), and refused when that is not a
// finite number above 0. Everything the store demands of a row holds for a
// driver this accepts.
std::vector<FieldError> Validate(const std::array<std::string, kFieldCount>& texts, Driver& out);

// A driver without Re, Qes, Qms or Vas is kept, but cannot be modelled in
// full (no impedance without Re, no box without Vas): it is marked so.
// MissingFields gives the titles of those missing, as "Vas, Re".
std::string MissingFields(const Driver& d);
inline bool Incomplete(const Driver& d) { return !MissingFields(d).empty(); }
// The texts of a stored driver, as the form and export show them.
std::array<std::string, kFieldCount> Texts(const Driver& d);

// The driver record to send, or an empty optional with the reason: a text
// with a character Mac Roman lacks, or a record over 255 bytes.
std::optional<PStr> BuildRecord(const Driver& d, std::string& error);

// Reference efficiency in percent of a sensitivity in dB SPL at 1 W / 1 m,
// the inverse of the design program's sensitivity formula.
double EfficiencyFromSpl(double splDb);

// A fresh library's drivers: the design program's built-in default driver
// among a few made-up ones.
std::vector<Driver> ExampleDrivers();

}  // namespace ks::lib
