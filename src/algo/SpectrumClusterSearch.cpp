#include "SpectrumClusterSearch.h"

#include "algo/AveragineComparisonClusterLoop.h"
#include "algo/AveragineComparisonScoring.h"
#include "algo/AveragineComparisonSearch.h"
#include "constants/MassConstants.h"
#include "zeq_common_stable/PlotBase.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <optional>
#include <set>

namespace zeq
{

namespace
{

constexpr double kInfinity = std::numeric_limits<double>::infinity();

/// The isotope of `c` whose m/z lies within `tolerance` of `mz`, if any; one below the mono counts
/// too, as a negative number.
std::optional<long> isotopeNear(const ChargeScoreInfo &c, double mz, const MassTolerance &tolerance)
{
    const double step = kIsotopeSpacing / c.charge;
    const long k = std::lround((mz - c.mzOffset) / step);
    if (tolerance.withinTolerance(mz, c.mzOffset + double(k) * step)) {
        return k;
    }
    return std::nullopt;
}

/// The highest isotope one of the points of `c` matches; -1 when none does.
long highestMatched(const ChargeScoreInfo &c, const MassTolerance &tolerance)
{
    long highest = -1;
    for (const QPointF &p : c.points) {
        if (const std::optional<long> k = isotopeNear(c, p.x(), tolerance); k && *k >= 0) {
            highest = std::max(highest, *k);
        }
    }
    return highest;
}

bool hasIsotopeAt(const ChargeScoreInfo &c, double mz, const MassTolerance &tolerance)
{
    const std::optional<long> k = isotopeNear(c, mz, tolerance);
    if (k && *k >= 0 && *k <= std::max(0L, highestMatched(c, tolerance))) {
        return true;
    }
    return std::any_of(c.points.cbegin(), c.points.cend(), [&](const QPointF &p) {
        const std::optional<long> at = isotopeNear(c, p.x(), tolerance);
        return tolerance.withinTolerance(mz, p.x()) && at && *at >= 0;
    });
}

/// Searches each window of `searched`, keeping what it reports.
QList<SpectrumCluster> searchEach(const QList<QPointF> &searched,
                                  const QList<SearchWindow> &windows,
                                  const SpectrumSearchOptions &options,
                                  int *windowsSearched)
{
    QList<SpectrumCluster> out;
    int searchedCount = 0;
    std::optional<ImprovedSearchOptions> improved = options.improved;
    if (improved) {
        improved->processor = options.processor;
    }
    if (!searched.isEmpty()) {
        const PlotBase plot(searched);
        if (improved && improved->wantsSpectrumPrecision()) {
            QList<QList<QPointF>> pointsOfWindows;
            for (const SearchWindow &w : windows) {
                pointsOfWindows.append(plot.getDataPoints(w.start, w.end, true));
            }
            improved->precisionPpm = spectrumPrecisionPpm(pointsOfWindows).value_or(0.0);
        }
        for (const SearchWindow &w : windows) {
            const double start = std::max(w.start, searched.constFirst().x());
            const double end = std::min(w.end, searched.constLast().x());
            if (start > end) {
                continue;
            }
            ++searchedCount;
            QList<ChargeScoreInfo> clusters;
            if (improved) {
                findClustersImproved(*improved, plot, start, end, options.minFraction, clusters);
            } else {
                findChargesAndMonos(options.processor, plot, start, end, QString(), options.minFraction, clusters);
            }
            for (ChargeScoreInfo &c : clusters) {
                // A cluster straddling two overlapping windows is reported by the one holding its mono.
                if (!w.reports(c.mzOffset) || c.charge < options.processor.minCharge) {
                    continue;
                }
                const int isotopes = matchedIsotopeCount(c, options.tolerance);
                if (isotopes >= options.minIsotopes) {
                    std::optional<ClusterAlternatives> alternatives;
                    if (options.alternatives) {
                        alternatives = findClusterAlternatives(plot, c, options.processor);
                    }
                    out.append({ start, end, std::move(c), isotopes, alternatives });
                }
            }
        }
    }
    if (windowsSearched) {
        *windowsSearched = searchedCount;
    }
    return out;
}

QList<QPointF> searchedPoints(const QList<QPointF> &points, const SpectrumSearchOptions &options)
{
    return options.signalToNoise > 0.0 ? keepAboveNoise(points, options.signalToNoise) : points;
}

} // namespace

double SpectrumCluster::neutralMass() const
{
    return cluster.charge * cluster.mzOffset - cluster.charge * kProtonMass;
}

int matchedIsotopeCount(const ChargeScoreInfo &c, const MassTolerance &tolerance)
{
    std::set<long> isotopes;
    for (const QPointF &p : c.points) {
        if (const std::optional<long> k = isotopeNear(c, p.x(), tolerance)) {
            isotopes.insert(*k);
        }
    }
    return int(isotopes.size());
}

double matchedIntensity(const ChargeScoreInfo &c, const MassTolerance &tolerance)
{
    double sum = 0.0;
    for (const QPointF &p : c.points) {
        if (const std::optional<long> k = isotopeNear(c, p.x(), tolerance); k && *k >= 0) {
            sum += p.y();
        }
    }
    return sum;
}

QList<SpectrumCluster>
findSpectrumClusters(const QList<QPointF> &points, const SpectrumSearchOptions &options, int *windowsSearched)
{
    const QList<QPointF> searched = searchedPoints(points, options);
    return searchEach(searched, searchWindows(searched), options, windowsSearched);
}

QList<SpectrumCluster> findWindowClusters(const QList<QPointF> &points,
                                          double start,
                                          double end,
                                          const SpectrumSearchOptions &options,
                                          int *windowsSearched)
{
    return searchEach(
        searchedPoints(points, options), { { start, end, -kInfinity, kInfinity } }, options, windowsSearched);
}

PrecursorChoice
choosePrecursor(double selectedMz, const QList<SpectrumCluster> &clusters, const MassTolerance &tolerance)
{
    PrecursorChoice choice;
    bool bestAtSelected = false;
    for (qsizetype i = 0; i < clusters.size(); ++i) {
        const ChargeScoreInfo &c = clusters.at(i).cluster;
        const bool atSelected = hasIsotopeAt(c, selectedMz, tolerance);
        if (choice.index < 0 || atSelected > bestAtSelected
            || (atSelected == bestAtSelected
                && c.percentIonCurrent > clusters.at(choice.index).cluster.percentIonCurrent)) {
            choice.index = i;
            bestAtSelected = atSelected;
        }
    }
    if (choice.index >= 0) {
        choice.basis = bestAtSelected ? PrecursorChoice::SelectedIsotope : PrecursorChoice::LargestCluster;
    }
    return choice;
}

} // namespace zeq
