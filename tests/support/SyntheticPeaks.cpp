#include "support/SyntheticPeaks.h"

#include "algo/AveragineComparisonScoring.h"
#include "constants/MassConstants.h"

#include <algorithm>
#include <cmath>

namespace zeq::test
{

double monoMzOf(double neutralMass, int charge)
{
    return (neutralMass + charge * kProtonMass) / charge;
}

SyntheticPeaks::SyntheticPeaks(std::uint64_t seed)
    : m_state(seed)
{
}

// splitmix64: tiny, and unlike the standard distributions its output is fixed by the algorithm.
std::uint64_t SyntheticPeaks::next()
{
    std::uint64_t z = (m_state += 0x9e3779b97f4a7c15ULL);
    z = (z ^ (z >> 30)) * 0xbf58476d1ce4e5b9ULL;
    z = (z ^ (z >> 27)) * 0x94d049bb133111ebULL;
    return z ^ (z >> 31);
}

double SyntheticPeaks::uniform()
{
    return static_cast<double>(next() >> 11) * 0x1.0p-53;
}

double SyntheticPeaks::gaussian()
{
    const double u1 = 1.0 - uniform(); // (0, 1]: the logarithm stays finite
    const double u2 = uniform();
    return std::sqrt(-2.0 * std::log(u1)) * std::cos(6.283185307179586 * u2);
}

void SyntheticPeaks::setJitter(double ppm, double relativeIntensityNoise)
{
    m_jitterPpm = ppm;
    m_intensityNoise = relativeIntensityNoise;
}

double SyntheticPeaks::addCluster(double neutralMass, int charge, double height)
{
    const std::vector<double> &fractions = sharedAveragineModel().isotopeIntensityFractions(neutralMass);
    const double tallest = *std::max_element(fractions.cbegin(), fractions.cend());
    const double mono = monoMzOf(neutralMass, charge);
    for (size_t i = 0; i < fractions.size(); ++i) {
        // Isotopes this far below the tallest vanish in any real spectrum's noise.
        if (fractions[i] < DetectionLimit * tallest) {
            continue;
        }
        const double mz = mono + static_cast<double>(i) * IsotopeSpacing / charge;
        const double y = height * fractions[i] / tallest * std::max(0.05, 1.0 + m_intensityNoise * gaussian());
        m_points.append(QPointF(mz * (1.0 + m_jitterPpm * 1e-6 * gaussian()), y));
    }
    return mono;
}

void SyntheticPeaks::addNoisePeaks(int count, double lo, double hi, double maxHeight)
{
    for (int i = 0; i < count; ++i) {
        const double mz = lo + (hi - lo) * uniform();
        m_points.append(QPointF(mz, maxHeight * (1.0 - uniform())));
    }
}

QList<QPointF> SyntheticPeaks::points() const
{
    QList<QPointF> sorted = m_points;
    std::stable_sort(sorted.begin(), sorted.end(), [](const QPointF &a, const QPointF &b) { return a.x() < b.x(); });
    return sorted;
}

} // namespace zeq::test
