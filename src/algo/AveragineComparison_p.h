#pragma once

#include <QtGlobal>

#include <atomic>

namespace zeq::detail
{

// Problems that can repeat thousands of times in one search are logged only for their first few
// occurrences, per message site and per process. Concurrent searches may log a few more or fewer.
using WarningCounter = std::atomic<quint64>;
constexpr quint64 kLoggedOccurrences = 5;

/// Counts one occurrence and returns how many came before it.
inline quint64 countOccurrence(WarningCounter &counter) noexcept
{
    return counter.fetch_add(1, std::memory_order_relaxed);
}

} // namespace zeq::detail
