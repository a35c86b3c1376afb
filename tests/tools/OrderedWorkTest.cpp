#include "OrderedWork.h"

#include <gtest/gtest.h>

#include <chrono>
#include <thread>
#include <vector>

using zeq::cli::OrderedWork;

// Results come back in submission order whatever order the pieces finish in, and no piece runs on
// the submitting thread: with one worker, a slow first piece must not make the caller search too.
TEST(OrderedWorkTest, KeepsOrderAndNeverRunsWorkOnTheCaller)
{
    for (const int threads : { 1, 2, 7 }) {
        std::vector<int> order;
        bool ranOnCaller = false;
        const std::thread::id caller = std::this_thread::get_id();
        {
            OrderedWork<int> work(threads, [&](int &&i) { order.push_back(i); });
            for (int i = 0; i < 40; ++i) {
                work.submit([i, caller, &ranOnCaller] {
                    if (std::this_thread::get_id() == caller) {
                        ranOnCaller = true; // read only after finish(), which waits for every piece
                    }
                    std::this_thread::sleep_for(std::chrono::milliseconds(i % 3 == 0 ? 3 : 0));
                    return i;
                });
            }
            work.finish();
        }
        ASSERT_EQ(order.size(), 40u) << threads << " threads";
        for (int i = 0; i < 40; ++i) {
            EXPECT_EQ(order[static_cast<size_t>(i)], i) << threads << " threads";
        }
        EXPECT_FALSE(ranOnCaller) << threads << " threads";
    }
}
