// SPDX-License-Identifier: GPL-3.0-or-later
#include "update/download_name.h"

#include <cctype>

namespace ks {

namespace {

constexpr std::size_t kMaxHeaderBytes = 1024;

int HexValue(char c)
{
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

std::string PercentDecode(std::string_view s)
{
    std::string out;
    out.reserve(s.size());
    for (std::size_t i = 0; i < s.size(); ++i) {
        if (s[i] == '%' && i + 2 < s.size()) {
            const int hi = HexValue(s[i + 1]), lo = HexValue(s[i + 2]);
            if (hi >= 0 && lo >= 0) {
                out.push_back(static_cast<char>(hi * 16 + lo));
                i += 2;
                continue;
            }
        }
        out.push_back(s[i]);
    }
    return out;
}

bool IEquals(std::string_view a, std::string_view b)
{
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i])))
            return false;
    return true;
}

std::string_view Trim(std::string_view s)
{
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) s.remove_suffix(1);
    return s;
}

// One parameter value at pos: a quoted string (backslash escapes) or a token
// up to the next ";". pos ends after it.
std::string ReadValue(std::string_view h, std::size_t& pos)
{
    std::string v;
    while (pos < h.size() && (h[pos] == ' ' || h[pos] == '\t')) ++pos;
    if (pos < h.size() && h[pos] == '"') {
        ++pos;
        while (pos < h.size() && h[pos] != '"') {
            if (h[pos] == '\\' && pos + 1 < h.size()) ++pos;
            v.push_back(h[pos++]);
        }
        if (pos < h.size()) ++pos;  // the closing quote
        while (pos < h.size() && h[pos] != ';') ++pos;
    } else {
        const std::size_t start = pos;
        while (pos < h.size() && h[pos] != ';') ++pos;
        v = std::string(Trim(h.substr(start, pos - start)));
    }
    return v;
}

// Back from byte `len` to the start of a UTF-8 character.
std::size_t Utf8Boundary(std::string_view s, std::size_t len)
{
    while (len > 0 && len < s.size() && (static_cast<unsigned char>(s[len]) & 0xC0) == 0x80) --len;
    return len;
}

}  // namespace

std::string ContentDispositionFileName(std::string_view header)
{
    const std::string_view h = header.substr(0, kMaxHeaderBytes);
    std::string plain, extended;
    bool haveExtended = false;
    std::size_t pos = h.find(';');  // the disposition type comes first
    while (pos != std::string_view::npos && pos < h.size()) {
        ++pos;  // past ";"
        const std::size_t eq = h.find('=', pos);
        if (eq == std::string_view::npos) break;
        const std::string_view name = Trim(h.substr(pos, eq - pos));
        pos = eq + 1;
        std::string value = ReadValue(h, pos);
        if (IEquals(name, "filename*")) {
            // charset'language'percent-encoded; only UTF-8 (and its ASCII
            // subset) is read as such.
            const std::size_t q1 = value.find('\'');
            const std::size_t q2 = q1 == std::string::npos ? q1 : value.find('\'', q1 + 1);
            if (q2 != std::string::npos) {
                const std::string_view charset = std::string_view(value).substr(0, q1);
                if (IEquals(charset, "UTF-8") || IEquals(charset, "US-ASCII")) {
                    extended = PercentDecode(std::string_view(value).substr(q2 + 1));
                    haveExtended = true;
                }
            }
        } else if (IEquals(name, "filename")) {
            plain = std::move(value);
        }
        if (pos >= h.size()) break;
    }
    if (haveExtended && !extended.empty()) return extended;
    return plain;
}

std::string SanitizeFileName(std::string_view name)
{
    const std::size_t slash = name.find_last_of("/\\");
    if (slash != std::string_view::npos) name.remove_prefix(slash + 1);
    std::string out;
    out.reserve(name.size());
    for (char ch : name) {
        const auto c = static_cast<unsigned char>(ch);
        if (c < 0x20 || c == 0x7F) continue;
        out.push_back(ch);
    }
    // No hidden files, no "." or "..".
    std::size_t lead = 0;
    while (lead < out.size() && (out[lead] == '.' || out[lead] == ' ')) ++lead;
    out.erase(0, lead);
    while (!out.empty() && out.back() == ' ') out.pop_back();
    if (out.size() > kMaxFileNameBytes) {
        // Keep a short extension, cut the stem.
        const std::size_t dot = out.find_last_of('.');
        std::string ext;
        if (dot != std::string::npos && out.size() - dot <= 16) ext = out.substr(dot);
        const std::size_t stemLen = Utf8Boundary(out, kMaxFileNameBytes - ext.size());
        out = out.substr(0, stemLen) + ext;
    }
    return out;
}

std::string UrlPathFileName(std::string_view path)
{
    const std::size_t end = path.find_first_of("?#");
    if (end != std::string_view::npos) path = path.substr(0, end);
    const std::size_t slash = path.find_last_of('/');
    if (slash != std::string_view::npos) path.remove_prefix(slash + 1);
    return PercentDecode(path);
}

std::string ChooseDownloadName(std::string_view contentDisposition, std::string_view urlPath, std::string_view fallback)
{
    std::string name = SanitizeFileName(ContentDispositionFileName(contentDisposition));
    if (name.empty()) name = SanitizeFileName(UrlPathFileName(urlPath));
    if (name.empty()) name = SanitizeFileName(fallback);
    return name;
}

std::string NumberedFileName(std::string_view name, int n)
{
    if (n <= 0) return std::string(name);
    const std::string suffix = " (" + std::to_string(n) + ")";
    std::size_t dot = name.find_last_of('.');
    // Only a short extension stays behind the number.
    if (dot == std::string_view::npos || dot == 0 || name.size() - dot > 16) dot = name.size();
    std::string stem(name.substr(0, dot));
    const std::string ext(name.substr(dot));
    if (stem.size() + suffix.size() + ext.size() > kMaxFileNameBytes) {
        const std::size_t room = kMaxFileNameBytes - suffix.size() - ext.size();
        stem.resize(Utf8Boundary(stem, room < stem.size() ? room : stem.size()));
    }
    return stem + suffix + ext;
}

}  // namespace ks
