// SPDX-License-Identifier: GPL-3.0-or-later
// A text of at most 255 bytes (Mac Roman), held with its length like every
// text the program keeps. Assigning or appending more cuts the tail, so no
// text can ever outgrow what the records and windows are laid out for.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace ks {

class PStr {
public:
    static constexpr std::size_t kMax = 255;

    PStr() = default;
    PStr(std::string_view s) { assign(s); }                                        // NOLINT: texts convert freely
    PStr(const char* s) { assign(s ? std::string_view(s) : std::string_view()); }  // NOLINT

    PStr& assign(std::string_view s)
    {
        len_ = 0;
        return append(s);
    }
    PStr& append(std::string_view s)
    {
        std::size_t room = kMax - len_;
        std::size_t n = s.size() < room ? s.size() : room;
        for (std::size_t i = 0; i < n; ++i) buf_[len_ + i] = s[i];
        len_ = static_cast<std::uint8_t>(len_ + n);
        return *this;
    }
    PStr& operator=(std::string_view s) { return assign(s); }
    PStr& operator=(const char* s) { return assign(s ? std::string_view(s) : std::string_view()); }
    PStr& operator+=(std::string_view s) { return append(s); }
    PStr& operator+=(const PStr& s) { return append(s.view()); }
    PStr& operator+=(const char* s) { return append(s ? std::string_view(s) : std::string_view()); }

    std::string_view view() const { return {buf_.data(), len_}; }
    operator std::string_view() const { return view(); }  // NOLINT
    std::string str() const { return std::string(view()); }
    const char* data() const { return buf_.data(); }
    std::size_t size() const { return len_; }
    bool empty() const { return len_ == 0; }
    char operator[](std::size_t i) const { return buf_[i]; }
    void clear() { len_ = 0; }

    friend bool operator==(const PStr& a, const PStr& b) { return a.view() == b.view(); }
    friend bool operator==(const PStr& a, std::string_view b) { return a.view() == b; }
    friend bool operator==(const PStr& a, const char* b) { return a.view() == std::string_view(b); }

private:
    std::uint8_t len_ = 0;
    std::array<char, kMax> buf_{};
};

inline PStr operator+(const PStr& a, std::string_view b)
{
    PStr r = a;
    r += b;
    return r;
}

}  // namespace ks
