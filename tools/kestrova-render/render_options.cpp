// SPDX-License-Identifier: GPL-3.0-or-later
#include "render_options.h"

#include <charconv>
#include <set>

namespace ks {

namespace {

bool ParseInt(std::string_view s, int& out)
{
    if (s.empty()) return false;
    auto [p, ec] = std::from_chars(s.data(), s.data() + s.size(), out);
    return ec == std::errc() && p == s.data() + s.size();
}

bool Digits(std::string_view s, std::size_t pos, std::size_t n, int& out)
{
    for (std::size_t i = pos; i < pos + n; ++i)
        if (s[i] < '0' || s[i] > '9') return false;
    return ParseInt(s.substr(pos, n), out);
}

// A frequency within the export's bounds, written in full.
std::optional<double> ParseHz(std::string_view s)
{
    double v = 0.0;
    const auto [p, ec] = std::from_chars(s.data(), s.data() + s.size(), v);
    if (s.empty() || ec != std::errc() || p != s.data() + s.size() || !(v >= kResponseMinHz && v <= kResponseMaxHz))
        return std::nullopt;
    return v;
}

std::optional<int> ViewItem(std::string_view v)
{
    static constexpr std::string_view kViews[] = {"amp", "imp", "ph", "gd", "nq", "st"};
    for (int i = 0; i < 6; ++i)
        if (v == kViews[i]) return i + 1;
    if (v == "sys") return 8;
    if (v == "ex") return 13;
    if (v == "ms") return 14;
    return std::nullopt;
}

bool PictureSuffix(std::string_view path)
{
    const std::size_t dot = path.rfind('.');
    const std::size_t slash = path.rfind('/');
    if (dot == std::string_view::npos || dot == 0 || (slash != std::string_view::npos && dot <= slash + 1))
        return false;
    std::string suffix;
    for (char c : path.substr(dot + 1)) suffix += static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
    return suffix == "png" || suffix == "svg" || suffix == "pdf";
}

}  // namespace

std::optional<DateStamp> ParseIsoDate(std::string_view s)
{
    if (s.size() != 19 || s[4] != '-' || s[7] != '-' || s[10] != 'T' || s[13] != ':' || s[16] != ':')
        return std::nullopt;
    DateStamp d;
    if (!Digits(s, 0, 4, d.year) || !Digits(s, 5, 2, d.month) || !Digits(s, 8, 2, d.day) || !Digits(s, 11, 2, d.hour) ||
        !Digits(s, 14, 2, d.minute) || !Digits(s, 17, 2, d.second))
        return std::nullopt;
    static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (d.month < 1 || d.month > 12) return std::nullopt;
    const bool leap = (d.year % 4 == 0 && d.year % 100 != 0) || d.year % 400 == 0;
    const int days = kDays[d.month - 1] + (d.month == 2 && leap ? 1 : 0);
    if (d.day < 1 || d.day > days || d.hour > 23 || d.minute > 59 || d.second > 59) return std::nullopt;
    return d;
}

ParsedOptions ParseRenderOptions(const std::vector<std::string_view>& args)
{
    RenderOptions o;
    std::set<std::string_view> seen;
    auto fail = [](std::string msg) { return ParsedOptions{std::nullopt, std::move(msg)}; };
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string_view opt = args[i];
        if (!seen.insert(opt).second && opt.substr(0, 2) == "--")
            return fail("option " + std::string(opt) + " given twice");
        auto value = [&](std::string_view& v) {
            if (i + 1 >= args.size()) return false;
            v = args[++i];
            return true;
        };
        std::string_view v;
        if (opt == "--help" || opt == "-h") {
            o.help = true;
        } else if (opt == "--version") {
            o.version = true;
        } else if (opt == "--absolute") {
            o.absolute = true;
        } else if (opt == "--imp-log") {
            o.impLog = true;
        } else if (opt == "--print") {
            o.print = true;
        } else if (opt == "--trace") {
            o.trace = true;
        } else if (opt == "--record") {
            o.record = true;
        } else if (opt == "--driver" || opt == "--design" || opt == "--save-design" || opt == "--system" ||
                   opt == "--qa" || opt == "--align" || opt == "--view" || opt == "--scale" || opt == "--date" ||
                   opt == "--out" || opt == "--export" || opt == "--from" || opt == "--to" || opt == "--ppo") {
            if (!value(v)) return fail("option " + std::string(opt) + " needs a value");
            const std::string vs(v);
            if (opt == "--driver") {
                o.driver = vs;
            } else if (opt == "--design" || opt == "--save-design") {
                if (v.empty()) return fail("option " + std::string(opt) + " needs a file name");
                (opt == "--design" ? o.design : o.saveDesign) = vs;
            } else if (opt == "--system") {
                if (v != "cb" && v != "ib") return fail("--system must be cb or ib, not '" + vs + "'");
                o.system = vs;
            } else if (opt == "--qa") {
                static constexpr std::string_view kQa[] = {"5", "7", "10", "15", "20"};
                for (int q = 0; q < 5; ++q)
                    if (v == kQa[q]) o.qaItem = q + 1;
                if (!o.qaItem) return fail("--qa must be 5, 7, 10, 15 or 20, not '" + vs + "'");
            } else if (opt == "--align") {
                if (v == "opt") {
                    o.align = RenderAlignment{1, {}};
                } else if (v.substr(0, 3) == "vb=") {
                    o.align = RenderAlignment{2, std::string(v.substr(3))};
                } else if (v.substr(0, 4) == "qtc=") {
                    o.align = RenderAlignment{3, std::string(v.substr(4))};
                } else {
                    return fail("--align must be opt, vb=LITRES or qtc=Q, not '" + vs + "'");
                }
            } else if (opt == "--view") {
                o.viewItem = ViewItem(v);
                if (!o.viewItem)
                    return fail("--view must be amp, imp, ph, gd, nq, st, sys, ex or ms, not '" + vs + "'");
            } else if (opt == "--scale") {
                if (v != "5" && v != "10") return fail("--scale must be 5 or 10, not '" + vs + "'");
                o.scale = v == "5" ? 5 : 10;
            } else if (opt == "--date") {
                o.date = ParseIsoDate(v);
                if (!o.date) return fail("--date must be a date and time like 2026-12-05T14:30:00, not '" + vs + "'");
            } else if (opt == "--export") {
                o.exportFormat = ResponseFormatNamed(v);
                if (!o.exportFormat) return fail("--export must be frd, zma or csv, not '" + vs + "'");
            } else if (opt == "--from" || opt == "--to") {
                const std::optional<double> hz = ParseHz(v);
                if (!hz) return fail(std::string(opt) + " must be a frequency from 1 to 100000 Hz, not '" + vs + "'");
                (opt == "--from" ? o.range.from : o.range.to) = *hz;
            } else if (opt == "--ppo") {
                if (!ParseInt(v, o.range.ppo) || o.range.ppo < 1 || o.range.ppo > kResponseMaxPpo)
                    return fail("--ppo must be a whole number from 1 to 384, not '" + vs + "'");
            } else {
                o.out = vs;
            }
        } else {
            return fail("unknown option '" + std::string(opt) + "'");
        }
    }
    if (o.design && o.driver) return fail("--design brings its own driver: leave out --driver");
    if (o.exportFormat) {
        if (!o.out || o.out->empty()) return fail("--export needs --out FILE, or --out - for standard output");
        if (o.print || o.trace || o.record)
            return fail("--export writes the data only, without --print, --trace or --record");
        if (!(o.range.from < o.range.to)) return fail("--from must be below --to");
    } else {
        if (seen.count("--from") || seen.count("--to") || seen.count("--ppo"))
            return fail("--from, --to and --ppo go with --export");
        if (o.out && !PictureSuffix(*o.out))
            return fail("--out must name a .png, .svg or .pdf file, not '" + *o.out + "'");
    }
    return ParsedOptions{o, {}};
}

}  // namespace ks
