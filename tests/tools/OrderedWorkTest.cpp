#include "OrderedWork.h"

#include <QThread>

#include <gtest/gtest.h>

#include <vector>

using zeq::cli::OrderedWork;

// Results come back in submission order whatever order the pieces finish in, and no piece runs on
// the submitting thread: with one worker, a slow first piece must not make the caller search too.
TEST(OrderedWorkTest, KeepsOrderAndNeverRunsWorkOnTheCaller)
{
    for (const int threads : { 1, 2, 7 }) {
        std::vector<int> order;
        bool ranOnCaller = false;
        const QThread *caller = QThread::currentThread();
        {
            OrderedWork<int> work(threads, [&](int &&i) { order.push_back(i); });
            for (int i = 0; i < 40; ++i) {
                work.submit([i, caller, &ranOnCaller] {
                    if (QThread::currentThread() == caller) {
                        ranOnCaller = true; // read only after finish(), which waits for every piece
                    }
                    QThread::usleep(static_cast<unsigned long>((i % 3 == 0 ? 3 : 0) * 1000));
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
