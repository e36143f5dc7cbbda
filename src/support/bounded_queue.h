// SPDX-License-Identifier: GPL-3.0-or-later
// Messages waiting for the main loop, oldest first, at most a fixed number
// of them: what comes while the queue is full is dropped and counted, so a
// peer that floods us loses its excess rather than us our memory. The
// transport's inbox and the shell's messages held during a sound are two of
// these; each hands on one message per pass of its loop.
#pragma once

#include <cstddef>
#include <deque>
#include <optional>
#include <utility>

namespace ks {

// How many messages may wait: far more than a person's clicks send, far
// less than would strain memory at 255 bytes each.
inline constexpr std::size_t kMaxWaitingMessages = 100000;

template <typename T>
class BoundedQueue {
public:
    explicit BoundedQueue(std::size_t capacity = kMaxWaitingMessages) : capacity_(capacity) {}

    // Adds item last; false, and counted as dropped, when the queue is full.
    bool push(T item)
    {
        if (items_.size() >= capacity_) {
            ++dropped_;
            return false;
        }
        items_.push_back(std::move(item));
        return true;
    }

    // Takes the oldest item; nothing when the queue is empty.
    std::optional<T> pop()
    {
        if (items_.empty()) return std::nullopt;
        std::optional<T> item(std::move(items_.front()));
        items_.pop_front();
        return item;
    }

    bool empty() const { return items_.empty(); }
    std::size_t size() const { return items_.size(); }
    std::size_t capacity() const { return capacity_; }
    // Items refused because the queue was full, since it was made.
    std::size_t dropped() const { return dropped_; }

private:
    std::deque<T> items_;
    std::size_t capacity_;
    std::size_t dropped_ = 0;
};

}  // namespace ks
