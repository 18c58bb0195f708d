#include "fkiss/AlarmQueue.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace
{

std::vector<std::string> PopAll(AlarmQueue& queue, std::int64_t time)
{
    std::vector<std::string> fired;
    while (const auto due = queue.PopDue(time))
        fired.push_back(due->alarm + "@" + std::to_string(due->time));
    return fired;
}

} // namespace

TEST(AlarmQueueTest, DueInOrderOfTimeThenOfSettingAndOnePerAlarm)
{
    AlarmQueue queue;
    queue.Set("a", 50);
    queue.Set("b", 20);
    queue.Set("c", 50);
    queue.Set("a", 30); // replaces its first timer
    queue.Set("d", 30);
    queue.Set("e", 10);
    queue.Cancel("e");
    queue.Cancel("never set");
    EXPECT_EQ(queue.Size(), 4u);
    EXPECT_EQ(queue.NextDue(), 20);
    EXPECT_EQ(queue.DueOf("a"), 30);
    EXPECT_EQ(queue.DueOf("e"), std::nullopt);
    EXPECT_EQ(PopAll(queue, 29), (std::vector<std::string>{"b@20"}));
    EXPECT_EQ(PopAll(queue, 100), (std::vector<std::string>{"a@30", "d@30", "c@50"}));
    EXPECT_TRUE(queue.IsEmpty());
    EXPECT_EQ(queue.NextDue(), std::nullopt);
}

TEST(AlarmQueueTest, TimersSetWhileHeldWaitForTheRelease)
{
    AlarmQueue queue;
    queue.Set("a", 10);
    queue.Set("b", 40);
    queue.Hold();
    queue.Set("c", 5);  // due, but set during the pass
    queue.Set("b", 20); // replaced during the pass: waits too
    EXPECT_EQ(queue.NextDue(), 5);
    EXPECT_EQ(PopAll(queue, 100), (std::vector<std::string>{"a@10"}));
    queue.Cancel("c");
    queue.Release();
    EXPECT_EQ(queue.DueOf("b"), 20);
    EXPECT_EQ(PopAll(queue, 100), (std::vector<std::string>{"b@20"}));
    queue.Set("x", 1);
    queue.Clear();
    EXPECT_TRUE(queue.IsEmpty());
    EXPECT_EQ(queue.PopDue(100), std::nullopt);
}
