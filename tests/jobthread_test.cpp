#include "platform/jobthread.h"

#include <future>
#include <gtest/gtest.h>
#include <vector>

TEST(JobThread, runsJobsInOrderAndItsEndWaitsNoLongerThanItMay)
{
    std::vector<int> order; // the thread's alone until it has ended
    std::promise<void> release;
    const std::shared_future<void> released = release.get_future().share();
    {
        JobThread thread;
        for (int k = 0; k < 3; ++k)
            thread.post([&order, k] { order.push_back(k); });
        EXPECT_TRUE(thread.finish(JobThread::kForever));
        EXPECT_EQ(order, (std::vector<int>{0, 1, 2}));
        thread.post([released] { released.wait(); }); // started again, and stuck
        EXPECT_FALSE(thread.finish(std::chrono::milliseconds(50)));
    } // gone while its last job is still stuck
    release.set_value();
}
