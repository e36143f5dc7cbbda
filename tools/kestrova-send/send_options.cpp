// SPDX-License-Identifier: GPL-3.0-or-later
#include "send_options.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cmath>
#include <cstdlib>

#include "exchange/records.h"
#include "support/macroman.h"

namespace ks {
namespace {

constexpr std::size_t kMaxText = 255;

bool ParseNumber(const std::string& s, double& out)
{
    if (s.empty() || s.size() > 64 || std::isspace(static_cast<unsigned char>(s[0]))) return false;
    errno = 0;
    char* end = nullptr;
    const double v = std::strtod(s.c_str(), &end);
    if (end != s.c_str() + s.size() || errno == ERANGE || !std::isfinite(v)) return false;
    out = v;
    return true;
}

bool ValidName(const std::string& s)
{
    if (s.empty() || s.size() > 64) return false;
    if (!std::isalpha(static_cast<unsigned char>(s[0]))) return false;
    for (char c : s)
        if (!std::isalnum(static_cast<unsigned char>(c)) && c != '_') return false;
    return true;
}

bool ToMacRoman(const std::string& utf8, std::string& out, std::string& error)
{
    auto mr = Utf8ToMacRoman(utf8);
    if (!mr) {
        error = "text is not UTF-8 or has a character Mac Roman lacks";
        return false;
    }
    if (mr->size() > kMaxText) {
        error = "text is longer than 255 bytes";
        return false;
    }
    out = *mr;
    return true;
}

// A text field must neither hold the separator nor end where one starts
// (its own trailing blank would join the next), and the record stays one line.
bool FitsOneField(const std::string& macRoman)
{
    if (macRoman.find(kFieldSeparator) != std::string::npos) return false;
    if (!macRoman.empty() && macRoman.back() == ' ') return false;
    return std::none_of(macRoman.begin(), macRoman.end(), [](char c) { return IsControlByte(c); });
}

bool SetDriverField(DriverRecordFields& f, const std::string& kv, std::string& error)
{
    const auto eq = kv.find('=');
    if (eq == std::string::npos) {
        error = "driver field without '=': " + kv;
        return false;
    }
    const std::string key = kv.substr(0, eq), value = kv.substr(eq + 1);
    if (key == "model" || key == "range") {
        std::string mr;
        if (!ToMacRoman(value, mr, error)) return false;
        if (!FitsOneField(mr)) {
            error = key + " holds two blanks in a row, ends in a blank or holds a control character";
            return false;
        }
        (key == "model" ? f.model : f.range) = mr;
        return true;
    }
    for (const DriverRecordNumber& n : kDriverRecordNumbers) {
        if (key != n.key) continue;
        if (!ParseNumber(value, f.*n.value)) {
            error = "malformed number for " + key + ": " + value;
            return false;
        }
        return true;
    }
    error = "unknown driver key: " + key;
    return false;
}

bool ParseCount(const std::string& s, int& out)
{
    if (s.empty() || s.size() > 9) return false;
    for (char c : s)
        if (!std::isdigit(static_cast<unsigned char>(c))) return false;
    out = std::atoi(s.c_str());
    return out > 0;
}

}  // namespace

std::string ReceiverClass(const std::string& processName)
{
    if (processName == kKestrovaName) return std::string(kKestrovaClass);
    if (processName == kVantrelName) return std::string(kVantrelClass);
    std::string c = processName.substr(0, 4);
    for (std::size_t i = 0; i < c.size(); ++i)
        c[i] = static_cast<char>(i == 0 ? std::toupper(static_cast<unsigned char>(c[i]))
                                        : std::tolower(static_cast<unsigned char>(c[i])));
    return c;
}

bool ParseSendOptions(const std::vector<std::string>& args, SendOptions& o, std::string& error)
{
    bool haveText = false, driver = false, sawTo = false, sawCount = false, sawTimeout = false;
    DriverRecordFields fields;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        auto value = [&](std::string& v) {
            if (i + 1 >= args.size()) {
                error = "missing value after " + a;
                return false;
            }
            v = args[++i];
            return true;
        };
        std::string v;
        if (driver) {
            if (!SetDriverField(fields, a, error)) return false;
        } else if (a == "-h" || a == "--help") {
            o.help = true;
            return true;
        } else if (a == "--version") {
            o.version = true;
            return true;
        } else if (a == "--listen") {
            o.listen = true;
        } else if (a == "--to" || a == "--as") {
            if (!value(v)) return false;
            if (!ValidName(v)) {
                error = "bad process name: " + v;
                return false;
            }
            (a == "--to" ? o.to : o.as) = v;
            sawTo = sawTo || a == "--to";
        } else if (a == "--count") {
            if (!value(v)) return false;
            if (!ParseCount(v, o.count)) {
                error = "bad count: " + v;
                return false;
            }
            sawCount = true;
        } else if (a == "--timeout") {
            if (!value(v)) return false;
            if (!ParseNumber(v, o.timeout) || o.timeout <= 0 || o.timeout > 1e6) {
                error = "bad timeout: " + v;
                return false;
            }
            sawTimeout = true;
        } else if (a == "--driver") {
            if (haveText) {
                error = "both a text and --driver given";
                return false;
            }
            driver = true;
        } else if (!a.empty() && a[0] == '-' && a != "--") {
            // A text of this shape is sent only after "--".
            error = "unknown option: " + a;
            return false;
        } else {
            if (a == "--") {
                if (i + 1 >= args.size()) break;
                ++i;
            }
            if (haveText) {
                error = "more than one text given";
                return false;
            }
            if (!ToMacRoman(args[i], o.text, error)) return false;
            haveText = true;
        }
    }
    if (o.listen) {
        if (haveText || driver || sawTo) {
            error = "--listen takes no text, --driver or --to";
            return false;
        }
        return true;
    }
    if (sawCount || sawTimeout) {
        error = "--count and --timeout belong to --listen";
        return false;
    }
    if (driver) {
        bool cut = false;
        const PStr rec = MakeDriverRecord(fields, &cut);
        if (cut) {
            error = "driver record is longer than 255 bytes";
            return false;
        }
        o.text = rec.str();
        return true;
    }
    if (!haveText) {
        error = "nothing to send (see --help)";
        return false;
    }
    return true;
}

}  // namespace ks
