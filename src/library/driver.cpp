// SPDX-License-Identifier: GPL-3.0-or-later
#include "library/driver.h"

#include <charconv>
#include <cmath>

#include "exchange/records.h"
#include "library/driver_values.h"
#include "model/design.h"
#include "support/macroman.h"
#include "support/numtext.h"

namespace ks::lib {
namespace {

constexpr std::array<FieldInfo, kFieldCount> kInfo{{
    {"model", "Model", "", false},
    {"range", "Range", "", false},
    {"dia", "Dia", "cm", true},
    {"fs", "Fs", "Hz", true},
    {"vas", "Vas", "l", true},
    {"qts", "Qts", "", true},
    {"qes", "Qes", "", true},
    {"qms", "Qms", "", true},
    {"effi", "Effi", "%", true},
    {"re", "Re", "\u03a9", true},
    {"pemax", "Pemax", "W", true},
    {"sd", "Sd", "cm\u00b2", true},
    {"xmax", "Xmax", "mm", true},
    {"vd", "Vd", "cm\u00b3", true},
    {"le", "Le", "mH", true},
}};

std::string_view Trim(std::string_view s)
{
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) s.remove_suffix(1);
    return s;
}

// A number as typed: blanks around it ignored, a comma read as the point.
// Empty means not given.
std::optional<std::string> ReadNumber(std::string_view text, double& v)
{
    std::string t(Trim(text));
    if (t.empty()) {
        v = 0;
        return std::nullopt;
    }
    if (t.size() > 64) return "too long for a number";
    for (char& c : t)
        if (c == ',') c = '.';
    const char* b = t.data();
    if (*b == '+') ++b;
    const auto [end, ec] = std::from_chars(b, t.data() + t.size(), v, std::chars_format::general);
    if (ec == std::errc::result_out_of_range) return "out of range";
    if (ec != std::errc() || end != t.data() + t.size()) return "not a number";
    if (!std::isfinite(v)) return "not a finite number";
    if (std::signbit(v)) {
        if (v == 0) {
            v = 0;
            return std::nullopt;
        }
        return "must not be negative";
    }
    return std::nullopt;
}

std::optional<std::string> CheckText(std::string_view t)
{
    if (t.size() > kMaxTextBytes) return "longer than " + std::to_string(kMaxTextBytes) + " bytes";
    if (!IsValidUtf8(t)) return "not UTF-8 text";
    for (unsigned char c : t)
        if (c < 0x20 || c == 0x7f) return "holds a control character";
    if (t.find("  ") != std::string_view::npos) return "two blanks in a row would split the record";
    return std::nullopt;
}

}  // namespace

const FieldInfo& Info(Field f) { return kInfo[static_cast<std::size_t>(f)]; }

std::optional<Field> FieldByKey(std::string_view key)
{
    for (int i = 0; i < kFieldCount; ++i) {
        const std::string_view k = kInfo[static_cast<std::size_t>(i)].key;
        if (k.size() != key.size()) continue;
        bool same = true;
        for (std::size_t j = 0; j < k.size() && same; ++j) same = k[j] == static_cast<char>(key[j] | 0x20);
        if (same) return static_cast<Field>(i);
    }
    return std::nullopt;
}

std::string NumberText(double v)
{
    char buf[64];
    const auto r = std::to_chars(buf, buf + sizeof buf, v);
    return std::string(buf, r.ptr);
}

std::vector<FieldError> Validate(const std::array<std::string, kFieldCount>& texts, Driver& out)
{
    std::vector<FieldError> errors;
    Driver d;
    d.id = out.id;
    for (int i = 0; i < kFieldCount; ++i) {
        const Field f = static_cast<Field>(i);
        const std::string& t = texts[static_cast<std::size_t>(i)];
        if (!Info(f).numeric) {
            const std::string_view trimmed = Trim(t);
            if (auto e = CheckText(trimmed)) {
                errors.push_back({f, *e});
                continue;
            }
            (f == Field::Model ? d.model : d.range) = std::string(trimmed);
            continue;
        }
        double v = 0;
        if (auto e = ReadNumber(t, v)) errors.push_back({f, *e});
        d.set(f, v);
    }
    auto has = [&](Field f) {
        for (const FieldError& e : errors)
            if (e.field == f) return true;
        return false;
    };
    if (d.model.empty() && !has(Field::Model)) errors.push_back({Field::Model, "required"});
    if (d.get(Field::Fs) <= 0 && !has(Field::Fs)) errors.push_back({Field::Fs, "required, greater than 0"});
    if (d.get(Field::Qts) <= 0 && !has(Field::Qts)) {
        const double qes = d.get(Field::Qes), qms = d.get(Field::Qms);
        if (qes > 0 && qms > 0 && !has(Field::Qes) && !has(Field::Qms)) {
            const double qts = QtsFrom(qes, qms);
            if (std::isfinite(qts) && qts > 0)
                d.set(Field::Qts, qts);
            else
                errors.push_back({Field::Qts, "Qes and Qms give no usable Qts"});
        } else {
            errors.push_back({Field::Qts, "required, or Qes and Qms to compute it"});
        }
    }
    if (errors.empty()) out = d;
    return errors;
}

std::string MissingFields(const Driver& d)
{
    std::string s;
    for (Field f : {Field::Vas, Field::Qes, Field::Qms, Field::Re})
        if (d.get(f) == 0) s += (s.empty() ? "" : ", ") + std::string(Info(f).title);
    return s;
}

std::array<std::string, kFieldCount> Texts(const Driver& d)
{
    std::array<std::string, kFieldCount> t;
    t[0] = d.model;
    t[1] = d.range;
    for (int i = 2; i < kFieldCount; ++i)
        t[static_cast<std::size_t>(i)] = NumberText(d.num[static_cast<std::size_t>(i)]);
    return t;
}

std::optional<PStr> BuildRecord(const Driver& d, std::string& error)
{
    DriverRecordFields f;
    const auto model = Utf8ToMacRoman(d.model);
    const auto range = Utf8ToMacRoman(d.range);
    if (!model || !range) {
        error = "The model name or range holds a character the design program cannot show.";
        return std::nullopt;
    }
    f.model = *model;
    f.range = *range;
    for (const DriverRecordNumber& n : kDriverRecordNumbers) f.*n.value = d.get(*FieldByKey(n.key));
    bool truncated = false;
    PStr rec = MakeDriverRecord(f, &truncated);
    if (truncated) {
        error = "The driver's record would be longer than 255 bytes; shorten the model name or range.";
        return std::nullopt;
    }
    return rec;
}

double EfficiencyFromSpl(double splDb)
{
    // SPL = 10·log10(N0 / (1e-12·2π)), N0 a fraction; efficiency in percent.
    return 100.0 * 1e-12 * 2.0 * 3.14159265358979323846 * std::pow(10.0, splDb / 10.0);
}

std::vector<Driver> ExampleDrivers()
{
    using Numbers = std::array<double, std::size(kDriverNumbers)>;
    auto make = [](std::string model, std::string range, Numbers v) {
        Driver d;
        d.model = std::move(model);
        d.range = std::move(range);
        for (int i = 0; i < 13; ++i) d.num[static_cast<std::size_t>(i + 2)] = v[static_cast<std::size_t>(i)];
        return d;
    };
    const Design s;  // the built-in driver as the design program starts with it
    Numbers builtIn{};
    for (std::size_t i = 0; i < builtIn.size(); ++i) builtIn[i] = ShortestDouble(s.*kDriverNumbers[i].incoming);
    std::vector<Driver> out;
    out.push_back(make(s.s_SP2.str(), s.s_RANG2.str(), builtIn));
    //                 dia    fs    vas    qts   qes   qms   effi  re   pemax  sd     xmax  vd    le
    out.push_back(
        make("Norrland M13", "Mid 300-4000 Hz", {13, 48, 14.5, 0.36, 0.41, 3.1, 0.52, 5.6, 60, 84, 4.5, 38, 0.45}));
    out.push_back(
        make("Norrland W20", "Woofer 35-2500 Hz", {20, 31, 52, 0.32, 0.36, 2.9, 0.45, 5.8, 90, 214, 6.5, 139, 0.9}));
    out.push_back(make("Kiruna D28", "Dome Tw 1800-25000 Hz",
                       {2.8, 620, 0, 0.62, 0.95, 1.8, 0.35, 4.8, 15, 6.2, 0.3, 0.19, 0.04}));
    out.push_back(
        make("Aster FR10", "Full range 80-18000 Hz", {10, 82, 4.2, 0.48, 0.58, 2.8, 0.42, 6.4, 20, 50, 2.2, 11, 0.12}));
    out.push_back(
        make("Aster CM08", "Cone mid 500-8000 Hz", {8, 210, 0.9, 0.72, 0.98, 2.7, 0.3, 3.3, 25, 28, 1, 2.8, 0.08}));
    return out;
}

}  // namespace ks::lib
