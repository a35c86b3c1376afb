#include "algo/AveragineComparisonClusterLoop.h"

#include "ZeqLogging.h"
#include "algo/AveragineComparisonScoring.h"
#include "algo/AveragineComparisonSearch.h"
#include "math/ApproxEqual.h"
#include "zeq_common_stable/PlotBase.h"

#include <algorithm>
#include <cmath>
#include <optional>

namespace zeq
{

namespace
{

// A match explaining less than this share of its point leaves the point free for later clusters.
constexpr double kExplainedShare = 0.45;

} // namespace

void eliminateTagListPeaks(const PlotBase &plot,
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
    if (!plot.isSortedByX()) {
        qCWarning(lcCore) << "spectrum points are not sorted by m/z; no clusters searched";
        return;
    }
    const QList<QPointF> window = plot.getDataPoints(start, end, true);
    if (window.isEmpty()) {
        return;
    }
    PeakTagList &tags = tp.tagList;
    tags.addPoints2dList(window);
    const int before = plot.getIndexLessOrEqual(start, true);
    const int offset = approxEqual(window.constFirst().x(), start) ? before : before + 1;
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

QList<QPointF> filterSignalToNoise(const QList<QPointF> &points, double ratio)
{
    QList<QPointF> kept;
    std::optional<double> minY;
    for (const QPointF &p : points) {
        if (!std::isnan(p.y()) && (!minY || p.y() < *minY)) {
            minY = p.y();
        }
    }
    if (!minY) {
        return kept;
    }
    if (std::abs(*minY) <= 1e-12) {
        qCWarning(lcCore) << "minY is 0!" << *minY;
    }
    const double threshold = *minY * ratio;
    std::copy_if(points.cbegin(), points.cend(), std::back_inserter(kept), [threshold](const QPointF &p) {
        return p.y() >= threshold;
    });
    return kept;
}

} // namespace zeq
