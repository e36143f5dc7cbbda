// SPDX-License-Identifier: GPL-3.0-or-later
// The one queue of waiting messages: oldest first; a full queue drops and counts what comes, never what waits.
#include "support/bounded_queue.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

namespace ks {
namespace {

TEST(BoundedQueue, KeepsTheOldestInOrderAndCountsWhatAFullQueueDrops)
{
    BoundedQueue<std::string> q(3);
    EXPECT_EQ(q.pop(), std::nullopt);
    for (const char* m : {"a", "b", "c"}) EXPECT_TRUE(q.push(m));
    EXPECT_FALSE(q.push("d"));
    EXPECT_FALSE(q.push("e"));
    EXPECT_EQ(q.size(), 3u);
    EXPECT_EQ(q.dropped(), 2u);
    EXPECT_EQ(q.pop(), "a");
    // A taken message makes room for one more, after those already waiting.
    EXPECT_TRUE(q.push("f"));
    std::string order;
    while (auto m = q.pop()) order += *m;
    EXPECT_EQ(order, "bcf");
    EXPECT_TRUE(q.empty());
    EXPECT_EQ(q.dropped(), 2u);  // a count since the queue was made
}

TEST(BoundedQueue, MovesItsItemsAndHoldsTheDefaultNumber)
{
    BoundedQueue<std::unique_ptr<int>> q;
    EXPECT_EQ(q.capacity(), kMaxWaitingMessages);
    ASSERT_TRUE(q.push(std::make_unique<int>(7)));
    const std::optional<std::unique_ptr<int>> item = q.pop();
    ASSERT_TRUE(item);
    ASSERT_TRUE(*item);
    EXPECT_EQ(**item, 7);
}

}  // namespace
}  // namespace ks
