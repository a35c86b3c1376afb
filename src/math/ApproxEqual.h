#pragma once

#include <algorithm>
#include <cmath>

namespace zeq
{

/// True when |a − b| ≤ 1e-12 · max(1, |a|, |b|): relative for large values, absolute near zero.
/// Unlike qFuzzyCompare it works against 0.0; NaN equals nothing.
[[nodiscard]] inline bool approxEqual(double a, double b) noexcept
{
    if (a == b) {
        return true;
    }
    return std::abs(a - b) <= 1e-12 * std::max({ 1.0, std::abs(a), std::abs(b) });
}

} // namespace zeq
