// SPDX-License-Identifier: GPL-3.0-or-later
// One helper thread of the program's start: work that needs nothing of the
// program (reading fontconfig's files) runs at once on the other core; work
// that needs the application object waits until Release() says it exists.
// Made safe to change: the thread is always joined and its waiter always
// released, on every path out of the scope, an exception included; when it
// was never released, the late work is skipped, as what it needs was never
// made. A failure inside the thread comes back from Join().
#pragma once

#include <atomic>
#include <exception>
#include <functional>
#include <semaphore>
#include <thread>

namespace ks {

class StartupThread {
public:
    StartupThread(std::function<void()> early, std::function<void()> late);
    ~StartupThread();
    StartupThread(const StartupThread&) = delete;
    StartupThread& operator=(const StartupThread&) = delete;

    // What the late work needs exists now; once only, later calls do nothing.
    void Release();
    // Waits for the thread's end and rethrows what its work threw. Without
    // a Release() before it, the late work does not run.
    void Join();
    // The same without the rethrow, for a scope guard: what the late work
    // uses (the application object) must outlive the thread.
    void Finish() noexcept;

private:
    void Run(const std::function<void()>& early, const std::function<void()>& late);

    std::binary_semaphore go_{0};
    std::atomic<bool> released_{false};
    std::atomic<bool> cancelled_{false};
    std::exception_ptr failure_;  // written by the thread, read after the join
    std::thread thread_;          // last: starts once the members above exist
};

}  // namespace ks
