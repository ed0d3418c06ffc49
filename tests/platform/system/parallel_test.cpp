// Work spread over the cores: every item runs once on some thread, calls follow one
// another on the same pool, and an item's error is raised once every item has ended.
#include "system/Parallel.h"

#include <gtest/gtest.h>

#include <atomic>
#include <stdexcept>
#include <vector>

TEST(ParallelFor, EveryItemRunsOnceAndAnErrorWaitsForTheOthers)
{
    const int threads = ParallelThreadCount();
    ASSERT_GE(threads, 1);
    for (const int count : {1, 2, threads, 3 * threads + 1}) {
        SCOPED_TRACE(count);
        std::vector<std::atomic<int>> runs(static_cast<std::size_t>(count));
        ParallelFor(count, [&](int k) { ++runs[static_cast<std::size_t>(k)]; });
        for (int k = 0; k < count; ++k)
            EXPECT_EQ(runs[static_cast<std::size_t>(k)].load(), 1) << k;

        std::atomic<int> ended{0};
        try {
            ParallelFor(count, [&](int k) {
                ++ended;
                if (k == count - 1)
                    throw std::runtime_error("item " + std::to_string(k));
            });
            ADD_FAILURE() << "no error raised";
        } catch (const std::runtime_error& e) {
            EXPECT_EQ(std::string(e.what()), "item " + std::to_string(count - 1));
            EXPECT_EQ(ended.load(), count);
        }
    }
    ParallelFor(0, [](int) { ADD_FAILURE() << "an item of an empty call"; });
}
