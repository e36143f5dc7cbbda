// SPDX-License-Identifier: GPL-3.0-or-later
// Mac Roman ⇄ UTF-8 through glibc iconv. The descriptor is closed on every
// path by its owner; conversion runs in fixed chunks, so no input length
// can make a buffer overflow.
#include "support/macroman.h"

#include <iconv.h>

#include <cerrno>

namespace ks {

namespace {

constexpr const char* kMacRoman = "MACINTOSH";

class Iconv {
public:
    Iconv(const char* to, const char* from) : cd_(iconv_open(to, from)) {}
    ~Iconv()
    {
        if (ok()) iconv_close(cd_);
    }
    Iconv(const Iconv&) = delete;
    Iconv& operator=(const Iconv&) = delete;

    bool ok() const { return cd_ != reinterpret_cast<iconv_t>(-1); }

    // Converts as much as it can into out; stops at the first character it
    // cannot convert. Returns 0 when all input is used, else errno (EILSEQ
    // for an invalid or unmappable character, EINVAL for a sequence cut
    // short at the end); in points at the offending byte.
    int run(const char*& in, std::size_t& inLeft, std::string& out)
    {
        char chunk[256];
        while (inLeft > 0) {
            char* inp = const_cast<char*>(in);
            char* outp = chunk;
            std::size_t outLeft = sizeof chunk;
            std::size_t r = iconv(cd_, &inp, &inLeft, &outp, &outLeft);
            int err = r == static_cast<std::size_t>(-1) ? errno : 0;
            in = inp;
            out.append(chunk, static_cast<std::size_t>(outp - chunk));
            if (err == E2BIG) continue;
            if (err != 0) return err;
        }
        return 0;
    }

    void reset() { iconv(cd_, nullptr, nullptr, nullptr, nullptr); }

private:
    iconv_t cd_;
};

// Length of the well-formed UTF-8 sequence at s (1 to 4), or 0 when the
// bytes there do not start one: used to step over an unmappable character.
std::size_t Utf8SequenceLength(const unsigned char* s, std::size_t n)
{
    if (n == 0) return 0;
    unsigned char c = s[0];
    std::size_t len;
    unsigned char lo = 0x80, hi = 0xBF;
    if (c < 0x80) return 1;
    if (c >= 0xC2 && c <= 0xDF)
        len = 2;
    else if (c >= 0xE0 && c <= 0xEF) {
        len = 3;
        if (c == 0xE0) lo = 0xA0;
        if (c == 0xED) hi = 0x9F;  // no surrogates
    } else if (c >= 0xF0 && c <= 0xF4) {
        len = 4;
        if (c == 0xF0) lo = 0x90;
        if (c == 0xF4) hi = 0x8F;
    } else {
        return 0;
    }
    if (n < len) return 0;
    if (s[1] < lo || s[1] > hi) return 0;
    for (std::size_t i = 2; i < len; ++i)
        if (s[i] < 0x80 || s[i] > 0xBF) return 0;
    return len;
}

}  // namespace

bool IsValidUtf8(std::string_view s)
{
    const auto* p = reinterpret_cast<const unsigned char*>(s.data());
    std::size_t n = s.size();
    while (n > 0) {
        std::size_t len = Utf8SequenceLength(p, n);
        if (len == 0) return false;
        p += len;
        n -= len;
    }
    return true;
}

std::string MacRomanToUtf8(std::string_view macRoman)
{
    std::string out;
    Iconv cv("UTF-8", kMacRoman);
    if (!cv.ok()) {
        // Without the converter the ASCII half is still right.
        for (char c : macRoman) out += static_cast<unsigned char>(c) < 0x80 ? c : '?';
        return out;
    }
    out.reserve(macRoman.size() * 2);
    const char* in = macRoman.data();
    std::size_t left = macRoman.size();
    while (left > 0) {
        if (cv.run(in, left, out) == 0) break;
        // Every byte has a character; should the table lack one, show "?".
        out += '?';
        ++in;
        --left;
        cv.reset();
    }
    return out;
}

std::optional<std::string> Utf8ToMacRoman(std::string_view utf8)
{
    // Checked here too, so that what is accepted is well-formed UTF-8 by
    // our own rules, not by whatever the converter tolerates.
    if (!IsValidUtf8(utf8)) return std::nullopt;
    Iconv cv(kMacRoman, "UTF-8");
    if (!cv.ok()) return std::nullopt;
    std::string out;
    out.reserve(utf8.size());
    const char* in = utf8.data();
    std::size_t left = utf8.size();
    if (cv.run(in, left, out) != 0) return std::nullopt;
    return out;
}

std::string Utf8ToMacRomanLossy(std::string_view utf8)
{
    std::string out;
    Iconv cv(kMacRoman, "UTF-8");
    const auto* p = reinterpret_cast<const unsigned char*>(utf8.data());
    std::size_t n = utf8.size();
    out.reserve(n);
    while (n > 0) {
        // One well-formed character at a time: an ill-formed byte or an
        // unmappable character costs one "?" and the rest still converts.
        std::size_t len = Utf8SequenceLength(p, n);
        if (len == 0) {
            out += '?';
            ++p;
            --n;
            continue;
        }
        if (len == 1) {
            out += static_cast<char>(*p);
        } else if (!cv.ok()) {
            out += '?';
        } else {
            const char* in = reinterpret_cast<const char*>(p);
            std::size_t left = len;
            std::size_t before = out.size();
            if (cv.run(in, left, out) != 0) {
                out.resize(before);
                out += '?';
                cv.reset();
            }
        }
        p += len;
        n -= len;
    }
    return out;
}

}  // namespace ks
