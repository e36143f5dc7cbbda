// SPDX-License-Identifier: GPL-3.0-or-later
// The fuzzer's bytes copied to a heap block of exactly their size, so the
// sanitizer reports any read past the text; and the trap every property uses.
#pragma once

#include <cstdint>
#include <cstring>
#include <memory>
#include <string_view>

#define KT_REQUIRE(cond)               \
    do {                               \
        if (!(cond)) __builtin_trap(); \
    } while (0)

namespace kt {

class FuzzInput {
public:
    FuzzInput(const std::uint8_t* data, std::size_t size) : buf_(new char[size]), size_(size)
    {
        std::memcpy(buf_.get(), data, size);  // libFuzzer's data is never null
    }
    std::string_view text() const { return {buf_.get(), size_}; }
    // What the program keeps of an outside text: its first 255 bytes.
    std::string_view cut() const { return text().substr(0, 255); }
    bool longerThanKept() const { return size_ > 255; }

private:
    std::unique_ptr<char[]> buf_;
    std::size_t size_;
};

}  // namespace kt
