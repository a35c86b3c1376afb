#include "algo/AveragineComparisonClusterLoop.h"

#include "ZeqLogging.h"
#include "algo/AveragineComparisonScoring.h"
#include "algo/AveragineComparisonSearch.h"
#include "algo/AveragineComparison_p.h"
#include "math/ApproxEqual.h"
#include "zeq_common_stable/PlotBase.h"

#include <algorithm>
#include <cmath>
#include <optional>
#include <vector>

namespace zeq
{

namespace
{

// A match explaining less than this share of its point leaves the point free for later clusters.

} // namespace

namespace detail
{

const PlotBase &withUsableIntensities(const PlotBase &plot, std::optional<PlotBase> &storage)
{
    const QList<QPointF> &points = plot.getPointList();
    const auto usable = [](const QPointF &p) { return isUsableIntensity(p.y()); };
    // An unsorted plot is refused by the loop whatever its intensities; re-sorting a copy would not.
    if (!plot.isSortedByX() || std::all_of(points.cbegin(), points.cend(), usable)) {
        return plot;
    }
    QList<QPointF> corrected = points;
    qsizetype zeroed = 0;
    for (QPointF &p : corrected) {
        if (!usable(p)) {
            p.setY(0.0);
            ++zeroed;
        }
    }
    storage.emplace(corrected); // already in x order, so every point keeps its index
    qCWarning(lcCore,
              "%lld point(s) with a negative or non-finite intensity read as intensity 0",
              static_cast<long long>(zeroed));
    return *storage;
}

} // namespace detail

void eliminateTagListPeaks(const PlotBase &input,
                           double start,
                           double end,
                           double total,
                           double minPercent,
                           TestParameters &tp,
                           QList<ChargeScoreInfo> &out)
{
    out.clear();
    if (!(total > 0.0)) {
        return;
    }
    std::optional<PlotBase> corrected;
    detail::eliminateOnUsablePlot(
        detail::withUsableIntensities(input, corrected), start, end, total, minPercent, tp, out);
}

namespace detail
{

std::optional<SearchedWindow> searchedWindow(const PlotBase &plot, double start, double end)
{
    if (!plot.isSortedByX()) {
        qCWarning(lcCore) << "spectrum points are not sorted by m/z; no clusters searched";
        return std::nullopt;
    }
    SearchedWindow window{ plot.getDataPoints(start, end, true), 0 };
    if (window.points.isEmpty()) {
        return std::nullopt;
    }
    const int before = plot.getIndexLessOrEqual(start, true);
    window.offset = approxEqual(window.points.constFirst().x(), start) ? before : before + 1;
    return window;
}

void eliminateOnUsablePlot(const PlotBase &plot,
                           double start,
                           double end,
                           double total,
                           double minPercent,
                           TestParameters &tp,
                           QList<ChargeScoreInfo> &out)
{
    out.clear();
    const std::optional<SearchedWindow> window = searchedWindow(plot, start, end);
    if (!window) {
        return;
    }
    const int offset = window->offset;
    PeakTagList &tags = tp.tagList;
    tags.addPoints2dList(window->points);
    tags.setWindowPeakOffset(offset);
    const int size = tags.getSize();

    for (int k = 0; k < size; ++k) {
        if (!tags.checkPointExcludedSorted(k)) {
            ChargeScoreInfo info = searchMaxPeak(plot, sharedAveragineModel(), tp, tags.getWindowPointSorted(k));
            if (isUniqueInMonoList(out, info)) {
                // The upper bound lies one past the window; nothing matches there that is not in it.
                info.percentIonCurrent = info.getPointsIntensBetweenIndices(tp, offset, offset + size) / total;
                for (const PointAndPercentAccountFor &match : info.matchVector) {
                    const int windowIndex = match.pointIndex - offset;
                    if (match.percentAccountFor > kExplainedShare && windowIndex >= 0 && windowIndex < size) {
                        tags.excludePoint(windowIndex);
                    }
                }
                if (info.percentIonCurrent <= minPercent * 0.5) {
                    break;
                }
                out.append(std::move(info));
            }
        }
        if (tags.checkAllPointsExcluded()) {
            break;
        }
    }
    std::stable_sort(out.begin(), out.end(), charge_mz_Less);
}

} // namespace detail

QList<QPointF> filterSignalToNoise(const QList<QPointF> &points, double ratio)
{
    QList<QPointF> kept;
    std::optional<double> minY;
    qsizetype unusable = 0;
    for (const QPointF &p : points) {
        if (!detail::isUsableIntensity(p.y())) {
            ++unusable;
        } else if (!minY || p.y() < *minY) {
            minY = p.y();
        }
    }
    if (unusable > 0) {
        qCWarning(
            lcCore, "%lld point(s) with a negative or non-finite intensity left out", static_cast<long long>(unusable));
    }
    if (!minY) {
        return kept;
    }
    if (std::abs(*minY) <= 1e-12) {
        qCWarning(lcCore) << "minY is 0!" << *minY;
    }
    const double threshold = *minY * ratio;
    std::copy_if(points.cbegin(), points.cend(), std::back_inserter(kept), [threshold](const QPointF &p) {
        return detail::isUsableIntensity(p.y()) && p.y() >= threshold;
    });
    return kept;
}

double noiseLevel(const QList<QPointF> &points)
{
    std::vector<double> intensities;
    intensities.reserve(size_t(points.size()));
    for (const QPointF &p : points) {
        if (p.y() > 0.0 && std::isfinite(p.y())) {
            intensities.push_back(p.y());
        }
    }
    if (intensities.empty()) {
        return 0.0;
    }
    const auto middle = intensities.begin() + std::ptrdiff_t(intensities.size() / 2);
    std::nth_element(intensities.begin(), middle, intensities.end());
    if (intensities.size() % 2 == 1) {
        return *middle;
    }
    const double below = *std::max_element(intensities.begin(), middle);
    return below + (*middle - below) / 2.0;
}

QList<QPointF> keepAboveNoise(const QList<QPointF> &points, double ratio)
{
    const double threshold = ratio * noiseLevel(points);
    QList<QPointF> kept;
    for (const QPointF &p : points) {
        if (p.y() >= threshold && p.y() > 0.0 && std::isfinite(p.y())) {
            kept.append(p);
        }
    }
    return kept;
}

} // namespace zeq
