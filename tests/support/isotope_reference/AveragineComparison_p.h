#pragma once

#include <QtGlobal>

#include <atomic>
#include <cmath>
#include <optional>

class PlotBase;

namespace zeq_reference::detail
{
using namespace zeq;

// Problems that can repeat thousands of times in one search are logged only for their first few
// occurrences, per message site and per process. Concurrent searches may log a few more or fewer.
using WarningCounter = std::atomic<quint64>;
constexpr quint64 kLoggedOccurrences = 5;

// Rounding of isotope windows, as the original integer arithmetic did: below(t) is the largest
// integer strictly below t for t ≤ 0 and ⌊t⌋ above 0; above(t) is ⌊t⌋ + 1 above 0 and ⌈t⌉ otherwise.
inline double below(double t)
{
    return t > 0.0 ? std::floor(t) : std::ceil(t) - 1.0;
}

inline double above(double t)
{
    return t > 0.0 ? std::floor(t) + 1.0 : std::ceil(t);
}

/// Counts one occurrence and returns how many came before it.
inline quint64 countOccurrence(WarningCounter &counter) noexcept
{
    return counter.fetch_add(1, std::memory_order_relaxed);
}

/// An intensity the search can use: a finite number, not negative.
inline bool isUsableIntensity(double y) noexcept
{
    return std::isfinite(y) && y >= 0.0;
}

/// The plot the search reads: `plot` itself when every intensity is usable, otherwise a copy in
/// `storage` with the unusable intensities read as 0 (a warning says how many). Point indices stay
/// those of `plot`, so matched points still name the caller's points.
const PlotBase &withUsableIntensities(const PlotBase &plot, std::optional<PlotBase> &storage);

} // namespace zeq_reference::detail
