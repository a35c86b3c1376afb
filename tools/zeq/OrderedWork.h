#pragma once

#include <QThreadPool>

#include <algorithm>
#include <condition_variable>
#include <cstddef>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <type_traits>
#include <utility>

namespace zeq::cli
{

/// Runs pieces of work on a pool of threads, a bounded number at a time, and hands their results to
/// `consume` on the submitting thread in the order the work was submitted: a stream of spectra is
/// searched in parallel and written in file order, holding only the spectra in flight.
///
/// The results come back through slots of its own rather than QFuture: waiting on a QFuture whose
/// work has not started runs that work on the waiting thread, so `--threads 1` searched on two.
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
        auto slot = std::make_shared<std::optional<Result>>();
        m_inFlight.push_back(slot);
        // The pool copies its callables; the work may hold a spectrum that should only move.
        auto task = std::make_shared<std::decay_t<Work>>(std::forward<Work>(work));
        m_pool.start([this, slot, task] {
            Result result = (*task)();
            {
                const std::lock_guard lock(m_mutex);
                slot->emplace(std::move(result));
            }
            m_finished.notify_all();
        });
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
        const std::shared_ptr<std::optional<Result>> first = std::move(m_inFlight.front());
        m_inFlight.pop_front();
        {
            std::unique_lock lock(m_mutex);
            m_finished.wait(lock, [&] { return first->has_value(); });
        }
        m_consume(std::move(**first));
    }

    std::mutex m_mutex;
    std::condition_variable m_finished;
    std::size_t m_limit;
    std::function<void(Result &&)> m_consume;
    std::deque<std::shared_ptr<std::optional<Result>>> m_inFlight;
    // Last, so that the pool's threads are gone before the state they write to.
    QThreadPool m_pool;
};

} // namespace zeq::cli
