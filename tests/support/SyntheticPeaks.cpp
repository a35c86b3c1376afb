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
    : m_random(seed)
{
}

double SyntheticPeaks::uniform()
{
    return m_random.uniform();
}

double SyntheticPeaks::gaussian()
{
    return m_random.gaussian();
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
