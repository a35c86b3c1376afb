#include "zeq_qt_shared_libs_core/AveragineIsotopeDistribution.h"

#include "IsotopeConvolution_p.h"
#include "zeq_qt_shared_libs_core/IsotopeWorkspace.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <mutex>

namespace
{

constexpr double AveragineMass = 111.1254;
constexpr std::array<double, 5> AveragineAtoms = { 4.9384, 7.7583, 1.3577, 1.4773, 0.0417 };
// Far below anything the 1 % cut keeps, far above underflow.
constexpr double WorkingTailCut = 1e-30;

// The reported pattern: cut after the last peak ≥ 1 % of the tallest, but never before two peaks
// past the tallest (callers read the height after it), then scaled to sum to 1.
std::vector<double> reportedPattern(const isotopeconv::Distribution &full)
{
    const auto tallest = std::max_element(full.cbegin(), full.cend());
    const double cut = 0.01 * *tallest;
    size_t last = full.size() - 1;
    while (last > 0 && full[last] < cut) {
        --last;
    }
    const size_t size = std::max(last + 1, static_cast<size_t>(tallest - full.cbegin()) + 3);
    std::vector<double> out(size, 0.0);
    std::copy_n(full.cbegin(), std::min(size, full.size()), out.begin());
    isotopeconv::normalise(out);
    return out;
}

} // namespace

struct AveragineIsotopeDistribution::Tables {
    IsotopeWorkspace natural{ IsotopeWorkspace::NaturalAbundances };
    std::mutex mutex;
    std::map<std::array<int, 5>, std::vector<double>> patterns;
};

AveragineIsotopeDistribution::AveragineIsotopeDistribution()
    : m_tables(std::make_unique<Tables>())
{
}

AveragineIsotopeDistribution::~AveragineIsotopeDistribution() = default;

std::array<int, 5> AveragineIsotopeDistribution::composition(double mass)
{
    std::array<int, 5> counts{};
    for (size_t e = 0; e < counts.size(); ++e) {
        counts[e] = static_cast<int>(mass * (AveragineAtoms[e] / AveragineMass) + 0.5);
    }
    return counts;
}

const std::vector<double> &AveragineIsotopeDistribution::isotopeIntensityFractions(double mass) const
{
    static const std::vector<double> none;
    if (!std::isfinite(mass) || mass <= 0.0 || mass > MaxMass) {
        return none;
    }
    const std::array<int, 5> counts = composition(mass);
    std::lock_guard lock(m_tables->mutex);
    auto it = m_tables->patterns.find(counts);
    if (it == m_tables->patterns.end()) {
        isotopeconv::ElementPatterns patterns{};
        for (int e = 0; e < IsotopeWorkspace::ElementCount; ++e) {
            patterns[static_cast<size_t>(e)] = &m_tables->natural.isotopeAbundances(e);
        }
        const auto full = isotopeconv::moleculeDistribution(patterns, counts.data(), WorkingTailCut);
        it = m_tables->patterns.emplace(counts, reportedPattern(full)).first;
    }
    return it->second;
}
