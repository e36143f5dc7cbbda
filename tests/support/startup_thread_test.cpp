// SPDX-License-Identifier: GPL-3.0-or-later
// The start's helper thread: its late work waits for the release; every way out joins it, unreleased work skipped.
#include "support/startup_thread.h"

#include <gtest/gtest.h>

#include <mutex>
#include <stdexcept>
#include <string>

namespace ks {
namespace {

// The steps taken, on either thread: Add(c) notes one, Add() reads them.
struct Log {
    std::mutex m;
    std::string steps;
    std::string Add(char c = 0)
    {
        const std::lock_guard lock(m);
        if (c) steps += c;
        return steps;
    }
};

TEST(StartupThread, LateWorkWaitsForTheReleaseAndJoinWaitsForBoth)
{
    Log log;
    std::binary_semaphore earlyDone{0};
    StartupThread t([&] { log.Add('e'), earlyDone.release(); }, [&] { log.Add('l'); });
    earlyDone.acquire();
    log.Add('m');  // the main thread's own work, before the release
    t.Release();
    t.Release();  // a second release changes nothing
    t.Join();
    EXPECT_EQ(log.Add(), "eml");
}

TEST(StartupThread, NeverReleasedSkipsTheLateWorkOnEveryWayOut)
{
    Log log;
    {
        StartupThread t([&] { log.Add('e'); }, [&] { log.Add('l'); });
    }  // left without a release: joined, the late work skipped
    EXPECT_THROW(
        {
            StartupThread t([&] { log.Add('e'); }, [&] { log.Add('l'); });
            throw std::runtime_error("the application object could not be made");
        },
        std::runtime_error);
    StartupThread joined([&] { log.Add('e'); }, [&] { log.Add('l'); });
    joined.Join();
    EXPECT_EQ(log.Add(), "eee");
}

TEST(StartupThread, WhatTheThreadThrewComesBackFromJoin)
{
    bool lateRan = false;
    StartupThread early([] { throw std::runtime_error("early"); }, [&] { lateRan = true; });
    early.Release();
    EXPECT_THROW(early.Join(), std::runtime_error);
    EXPECT_FALSE(lateRan);  // what the late work needs may be missing
    StartupThread late([] {}, [] { throw std::logic_error("late"); });
    late.Release();
    EXPECT_THROW(late.Join(), std::logic_error);
}

}  // namespace
}  // namespace ks
