#pragma once

#include <algorithm>
#include <condition_variable>
#include <cstddef>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <system_error>
#include <thread>
#include <type_traits>
#include <utility>
#include <vector>

namespace zeq::cli
{

/// Runs pieces of work on a fixed set of threads, a bounded number at a time, and hands their
/// results to `consume` on the submitting thread in the order the work was submitted: a stream of
/// spectra is searched in parallel and written in file order, holding only the spectra in flight.
///
/// The threads are its own and joined, not a QThreadPool's: Qt starts its threads detached, so a
/// pool thread could still be tearing down while the process exits, and the leak check at exit then
/// saw that thread's data as lost. Results come back through slots of its own, not QFuture, so that
/// waiting never runs the work on the waiting thread (`--threads 1` must search on one).
template <typename Result> class OrderedWork
{
public:
    /// At most `threads` pieces run at once, and twice as many wait or run before submit() blocks.
    OrderedWork(int threads, std::function<void(Result &&)> consume)
        : m_limit(std::size_t(std::max(1, threads)) * 2)
        , m_consume(std::move(consume))
    {
        m_threads.reserve(std::size_t(std::max(1, threads)));
        for (int i = 0; i < std::max(1, threads); ++i) {
            try {
                m_threads.emplace_back([this] { runQueued(); });
            } catch (const std::system_error &) {
                break; // the system starts no more threads: search on those it started
            }
        }
    }
    OrderedWork(const OrderedWork &) = delete;
    OrderedWork &operator=(const OrderedWork &) = delete;
    /// Work not yet started is dropped: without finish(), nobody wants its results.
    ~OrderedWork()
    {
        {
            const std::lock_guard lock(m_mutex);
            m_closing = true;
        }
        m_queueChanged.notify_all();
        for (std::thread &thread : m_threads) {
            thread.join();
        }
    }

    /// Queues `work` (callable with no argument, returning Result); first hands on the results of
    /// earlier work, waiting for it, while too much is in flight.
    template <typename Work> void submit(Work &&work)
    {
        while (m_inFlight.size() >= m_limit) {
            takeFirst();
        }
        auto slot = std::make_shared<std::optional<Result>>();
        // std::function copies its callables; the work may hold a spectrum that should only move.
        auto task = std::make_shared<std::decay_t<Work>>(std::forward<Work>(work));
        std::function<void()> job = [this, slot, task] {
            Result result = (*task)();
            {
                const std::lock_guard lock(m_mutex);
                slot->emplace(std::move(result));
            }
            m_finished.notify_all();
        };
        if (m_threads.empty()) {
            job(); // not one thread could be started: the caller does the work rather than none
        } else {
            const std::lock_guard queueLock(m_mutex);
            m_queue.push_back(std::move(job));
        }
        // Only now in flight: a failure above leaves no slot that would never be filled.
        m_inFlight.push_back(std::move(slot));
        m_queueChanged.notify_one();
    }

    /// Waits for every piece and hands on its result.
    void finish()
    {
        while (!m_inFlight.empty()) {
            takeFirst();
        }
    }

private:
    void runQueued()
    {
        for (;;) {
            std::function<void()> next;
            {
                std::unique_lock lock(m_mutex);
                m_queueChanged.wait(lock, [&] { return m_closing || !m_queue.empty(); });
                if (m_closing) {
                    return;
                }
                next = std::move(m_queue.front());
                m_queue.pop_front();
            }
            next();
        }
    }

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
    std::condition_variable m_queueChanged;
    std::condition_variable m_finished;
    bool m_closing = false;
    std::size_t m_limit;
    std::function<void(Result &&)> m_consume;
    std::deque<std::shared_ptr<std::optional<Result>>> m_inFlight;
    std::deque<std::function<void()>> m_queue;
    std::vector<std::thread> m_threads;
};

} // namespace zeq::cli
