#pragma once

#include "algo/AveragineComparisonRecords.h"

#include <QList>
#include <QPointF>
#include <QtGlobal>

#include <atomic>
#include <bit>
#include <climits>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <optional>

class PlotBase;

namespace zeq::detail
{

// Problems that can repeat thousands of times in one search are logged only for their first few
// occurrences, per message site and per process. Concurrent searches may log a few more or fewer.
using WarningCounter = std::atomic<quint64>;
constexpr quint64 kLoggedOccurrences = 5;

// floor, ceil and round for the search's inner loops, where the library calls cost more than the
// rest of the loop. Equal to the library's results except that a zero may lose its sign, which no
// caller can see (they compare, convert to integers or add 1).
inline constexpr double kExactIntegers = 4503599627370496.0; // 2^52: from here on every double is an integer

inline double floorOf(double t)
{
    if (!(std::abs(t) < kExactIntegers)) {
        return std::floor(t); // large, infinite or NaN
    }
    const auto r = static_cast<double>(static_cast<long long>(t));
    return r > t ? r - 1.0 : r;
}

inline double ceilOf(double t)
{
    if (!(std::abs(t) < kExactIntegers)) {
        return std::ceil(t);
    }
    const auto r = static_cast<double>(static_cast<long long>(t));
    return r < t ? r + 1.0 : r;
}

/// Nearest integer, halves away from zero.
inline double roundOf(double t)
{
    if (!(std::abs(t) < kExactIntegers)) {
        return std::round(t);
    }
    const auto r = static_cast<double>(static_cast<long long>(t));
    const double fraction = t - r; // exact below 2^52
    if (fraction >= 0.5) {
        return r + 1.0;
    }
    return fraction <= -0.5 ? r - 1.0 : r;
}

// Rounding of isotope windows, as the original integer arithmetic did: below(t) is the largest
// integer strictly below t for t ≤ 0 and ⌊t⌋ above 0; above(t) is ⌊t⌋ + 1 above 0 and ⌈t⌉ otherwise.
inline double below(double t)
{
    return t > 0.0 ? floorOf(t) : ceilOf(t) - 1.0;
}

inline double above(double t)
{
    return t > 0.0 ? floorOf(t) + 1.0 : ceilOf(t);
}

// Well inside the int range below() and above() come from truncation and comparisons the compiler
// turns into flags, without the branches that go either way at random in the scorers' window
// walks: trunc(t) is ⌊t⌋ above 0 and ⌈t⌉ at or below 0.
inline constexpr double kTruncatable = 1073741824.0; // 2^30

/// below(t) for |t| < kTruncatable.
inline long long belowTruncated(double t)
{
    return static_cast<long long>(t) - static_cast<long long>(t <= 0.0);
}

/// above(t) for |t| < kTruncatable.
inline long long aboveTruncated(double t)
{
    return static_cast<long long>(t) + static_cast<long long>(t > 0.0);
}

/// c ? a : b without a branch, for the scorers' loops whose tests go either way at random; the
/// value is a or b to the bit.
inline double pick(bool c, double a, double b)
{
    const std::uint64_t mask = -static_cast<std::uint64_t>(c);
    return std::bit_cast<double>((std::bit_cast<std::uint64_t>(a) & mask) | (std::bit_cast<std::uint64_t>(b) & ~mask));
}

/// The isotope (0 up to `size` − 1) whose peak, `width` isotope units wide, covers position u (in
/// isotope units from the monoisotope), or −1.
inline int overlappedIsotope(double u, double width, size_t size)
{
    if (std::abs(u) < kTruncatable && width >= 0.0 && width < kTruncatable) {
        const long long hi = belowTruncated(u + width);
        const long long lo = belowTruncated(u - width);
        // roundOf(u) likewise: the whole part, moved by which side of ±½ the fraction lies on.
        const auto whole = static_cast<long long>(u);
        const double fraction = u - static_cast<double>(whole); // exact below 2^52
        const long long k = whole + static_cast<long long>(fraction >= 0.5) - static_cast<long long>(fraction <= -0.5);
        return hi > lo && k < static_cast<long long>(size) ? static_cast<int>(k) : -1;
    }
    if (!(below(u + width) > below(u - width))) {
        return -1; // no isotope position within the peak width (or NaN)
    }
    const double k = roundOf(u);
    if (!(k < static_cast<double>(size))) {
        return -1;
    }
    return k < INT_MIN ? INT_MIN : static_cast<int>(k);
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

/// A match explaining more than this share of its point takes it from later clusters' anchors.
inline constexpr double kExplainedShare = 0.45;

/// The points of [start, end] of a plot sorted by m/z, and the plot index of the first of them.
struct SearchedWindow {
    QList<QPointF> points;
    int offset = 0;
};

/// The window a search walks; none when it holds no point or the plot is not sorted (with a warning).
std::optional<SearchedWindow> searchedWindow(const PlotBase &plot, double start, double end);

/// The matched points of `info` as its model accounts for them, into info.points.
void fillPoints(const PlotBase &plot, ChargeScoreInfo &info);

/// The working state a search of `opts` starts from: charges 1 to opts.maxCharge, and with
/// square-root scaling the option's σ, wanted at m/z 1000, in the unit findStdDev reads.
TestParameters searchParameters(const ProcessorOptions &opts);

/// eliminateTagListPeaks on a plot withUsableIntensities has already checked, with `total` > 0.
void eliminateOnUsablePlot(const PlotBase &plot,
                           double start,
                           double end,
                           double total,
                           double minPercent,
                           TestParameters &tp,
                           QList<ChargeScoreInfo> &out);

} // namespace zeq::detail
