#pragma once

#include <QFuture>
#include <QThreadPool>
#include <QtConcurrent/QtConcurrentRun>

#include <algorithm>
#include <cstddef>
#include <deque>
#include <functional>
#include <utility>

namespace zeq::cli
{

/// Runs pieces of work on a pool of threads, a bounded number at a time, and hands their results to
/// `consume` on the submitting thread in the order the work was submitted: a stream of spectra is
/// searched in parallel and written in file order, holding only the spectra in flight.
template <typename Result> class OrderedWork
{
public:
    /// At most `threads` pieces run at once, and twice as many wait or run before submit() blocks.
    OrderedWork(int threads, std::function<void(Result &&)> consume)
        : m_limit(std::size_t(std::max(1, threads)) * 2)
        , m_consume(std::move(consume))
    {
        m_pool.setMaxThreadCount(std::max(1, threads));
    }
    OrderedWork(const OrderedWork &) = delete;
    OrderedWork &operator=(const OrderedWork &) = delete;
    ~OrderedWork() { m_pool.waitForDone(); }

    /// Queues `work` (callable with no argument, returning Result); first hands on the results of
    /// earlier work, waiting for it, while too much is in flight.
    template <typename Work> void submit(Work &&work)
    {
        while (m_inFlight.size() >= m_limit) {
            takeFirst();
        }
        m_inFlight.push_back(QtConcurrent::run(&m_pool, std::forward<Work>(work)));
    }

    /// Waits for every piece and hands on its result.
    void finish()
    {
        while (!m_inFlight.empty()) {
            takeFirst();
        }
    }

private:
    void takeFirst()
    {
        QFuture<Result> first = std::move(m_inFlight.front());
        m_inFlight.pop_front();
        m_consume(first.takeResult());
    }

    QThreadPool m_pool;
    std::size_t m_limit;
    std::function<void(Result &&)> m_consume;
    std::deque<QFuture<Result>> m_inFlight;
};

} // namespace zeq::cli
