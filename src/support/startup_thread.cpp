// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/startup_thread.h"

#include <utility>

namespace ks {

StartupThread::StartupThread(std::function<void()> early, std::function<void()> late)
    : thread_([this, early = std::move(early), late = std::move(late)] { Run(early, late); })
{
}

StartupThread::~StartupThread() { Finish(); }

void StartupThread::Run(const std::function<void()>& early, const std::function<void()>& late)
{
    try {
        if (early) early();
    } catch (...) {
        failure_ = std::current_exception();
    }
    go_.acquire();
    if (failure_ || cancelled_.load(std::memory_order_acquire)) return;
    try {
        if (late) late();
    } catch (...) {
        failure_ = std::current_exception();
    }
}

void StartupThread::Release()
{
    if (!released_.exchange(true)) go_.release();
}

// Never released: the late work is cancelled, then the waiter let go, so the
// join below cannot wait for ever.
void StartupThread::Finish() noexcept
{
    if (!thread_.joinable()) return;
    if (!released_.exchange(true)) {
        cancelled_.store(true, std::memory_order_release);
        go_.release();
    }
    thread_.join();
}

void StartupThread::Join()
{
    Finish();
    if (failure_) std::rethrow_exception(std::exchange(failure_, nullptr));
}

}  // namespace ks
