#pragma once

#include <algorithm>
#include <cmath>

namespace zeq
{

/// True when |a − b| ≤ 1e-12 · max(1, |a|, |b|): relative for large values, absolute near zero.
/// Unlike qFuzzyCompare it works against 0.0. Non-finite values equal only themselves: +inf equals
/// +inf, −inf equals −inf, and NaN equals nothing, not even NaN. This is no ordering: the row
/// comparators that sort and group numbers (FieldNamesComparator, VariantComparator) put NaN before
/// −inf and keep every NaN in one group themselves.
[[nodiscard]] inline bool approxEqual(double a, double b) noexcept
{
    if (a == b) {
        return true;
    }
    // An infinite bound would make every finite value "within tolerance" of an infinite one.
    if (!std::isfinite(a) || !std::isfinite(b)) {
        return false;
    }
    return std::abs(a - b) <= 1e-12 * std::max({ 1.0, std::abs(a), std::abs(b) });
}

} // namespace zeq
