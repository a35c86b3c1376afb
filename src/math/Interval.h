#pragma once

namespace zeq
{

/// A closed interval [lower, upper]. Carries no checks: a caller may receive lower > upper.
template <typename T> struct Interval {
    T lower{};
    T upper{};

    friend bool operator==(const Interval &, const Interval &) = default;
};

} // namespace zeq
