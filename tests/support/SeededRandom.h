#pragma once

#include <cmath>
#include <cstdint>

namespace zeq::test
{

/// splitmix64: tiny, and unlike the standard distributions its output is fixed by the algorithm, so
/// a seed gives the same numbers on every platform.
class SeededRandom
{
public:
    explicit SeededRandom(std::uint64_t seed)
        : m_state(seed)
    {
    }

    std::uint64_t next()
    {
        std::uint64_t z = (m_state += 0x9e3779b97f4a7c15ULL);
        z = (z ^ (z >> 30)) * 0xbf58476d1ce4e5b9ULL;
        z = (z ^ (z >> 27)) * 0x94d049bb133111ebULL;
        return z ^ (z >> 31);
    }

    /// Uniform in [0, 1).
    double uniform() { return static_cast<double>(next() >> 11) * 0x1.0p-53; }

    /// Standard normal.
    double gaussian()
    {
        const double u1 = 1.0 - uniform(); // (0, 1]: the logarithm stays finite
        const double u2 = uniform();
        return std::sqrt(-2.0 * std::log(u1)) * std::cos(6.283185307179586 * u2);
    }

    /// Uniform in [lo, hi].
    int between(int lo, int hi) { return lo + static_cast<int>(next() % static_cast<std::uint64_t>(hi - lo + 1)); }

private:
    std::uint64_t m_state;
};

} // namespace zeq::test
