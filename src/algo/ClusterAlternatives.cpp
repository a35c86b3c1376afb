#include "algo/ClusterAlternatives.h"

#include "algo/AveragineComparisonOverlapScorer_p.h"
#include "algo/AveragineComparisonScoring.h"
#include "algo/AveragineComparisonSearch.h"
#include "algo/AveragineComparison_p.h"
#include "zeq_common_stable/PlotBase.h"

#include <cmath>
#include <limits>
#include <optional>

namespace zeq
{

namespace
{

// NaN scores rank behind every number, as in the search's own choice.
bool lowerScore(const ClusterReading &a, const ClusterReading &b)
{
    return a.isValid() && (!b.isValid() || std::isnan(b.score) || a.score < b.score);
}

ClusterReading refinedReading(const PlotBase &plot, const TestParameters &tp, ChargeScoreInfo &c)
{
    if (!calcOverlapScoreInputCheck(plot, sharedAveragineModel(), c)) {
        return {};
    }
    searchFineScaleFactorBinary(plot, 0.5, 2.0, 10, tp, c);
    return { c.charge, c.mzOffset, c.score };
}

// Charge z with its most abundant isotope on the tallest point within w of m/z t, or on
// (t, fallbackY) when there is none: how the search's mono walk places its candidates.
ClusterReading readingNear(const PlotBase &plot, const TestParameters &tp, double t, double w, double fallbackY, int z)
{
    QPointF anchor(t, fallbackY);
    getMostIntensePointWithinBound(plot, t - w, t + w, anchor, nullptr);
    ChargeScoreInfo c;
    c.charge = z;
    if (!detail::placeWithoutScore(sharedAveragineModel(), anchor, z, c)) {
        return {};
    }
    return refinedReading(plot, tp, c);
}

} // namespace

ClusterReading ClusterAlternatives::runnerUp() const
{
    ClusterReading best = otherCharge;
    for (const ClusterReading *r : { &monoBelow, &monoAbove }) {
        if (lowerScore(*r, best)) {
            best = *r;
        }
    }
    return best;
}

double ClusterAlternatives::confidence() const
{
    const ClusterReading second = runnerUp();
    if (!chosen.isValid() || !second.isValid()) {
        return std::numeric_limits<double>::quiet_NaN();
    }
    if (second.score == 0.0 && chosen.score == 0.0) {
        return 0.0; // two perfect fits
    }
    return 1.0 - chosen.score / second.score; // NaN when either is
}

ClusterAlternatives
findClusterAlternatives(const PlotBase &input, const ChargeScoreInfo &cluster, const ProcessorOptions &options)
{
    ClusterAlternatives out;
    const int z = cluster.charge;
    if (z < 1 || !std::isfinite(cluster.mzOffset) || input.getPointListSize() <= 0) {
        return out;
    }
    std::optional<PlotBase> usable;
    const PlotBase &plot = detail::withUsableIntensities(input, usable);
    // Nothing explained yet, no charge-search terms.
    const TestParameters tp = detail::searchParameters(options);
    ChargeScoreInfo chosen = cluster;
    out.chosen = refinedReading(plot, tp, chosen);

    const AveragineIsotopeDistribution::Pattern &pattern = sharedAveragineModel().isotopePattern(z * cluster.mzOffset);
    const double kmax = pattern.fractions.empty() ? 0.0 : static_cast<double>(pattern.tallest);
    const double base = cluster.mzOffset + kmax / z; // m/z of the most abundant isotope
    const double w = 2.0 * findStdDev(tp.stdDev, base, tp.uncertaintyScaling);

    // Other charges are placed on the cluster's tallest matched point, where the search anchors.
    QPointF tallest(base, cluster.scaleFact * (pattern.fractions.empty() ? 0.0 : pattern.fractions[pattern.tallest]));
    for (const PointAndPercentAccountFor &m : cluster.matchVector) {
        if (m.pointIndex >= 0 && m.pointIndex < plot.getPointListSize()
            && plot.getPoint(m.pointIndex).y() > tallest.y()) {
            tallest = plot.getPoint(m.pointIndex);
        }
    }
    out.monoBelow = readingNear(plot, tp, base - 1.0 / z, w, tallest.y(), z);
    out.monoAbove = readingNear(plot, tp, base + 1.0 / z, w, tallest.y(), z);
    for (int other = 1; other <= options.maxCharge && other <= kMaxChargeLimit; ++other) {
        if (other == z) {
            continue;
        }
        const ClusterReading r = readingNear(plot, tp, tallest.x(), w, tallest.y(), other);
        if (lowerScore(r, out.otherCharge)) {
            out.otherCharge = r;
        }
    }
    return out;
}

} // namespace zeq
