#include "support/isotope_reference/AveragineComparisonClusterLoop.h"

#include "ZeqLogging.h"
#include "math/ApproxEqual.h"
#include "support/isotope_reference/AveragineComparisonScoring.h"
#include "support/isotope_reference/AveragineComparisonSearch.h"
#include "support/isotope_reference/AveragineComparison_p.h"
#include "zeq_common_stable/PlotBase.h"

#include <algorithm>
#include <cmath>
#include <optional>
#include <vector>

namespace zeq_reference
{
using namespace zeq;

namespace
{

// A match explaining less than this share of its point leaves the point free for later clusters.
constexpr double kExplainedShare = 0.45;

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
    if (!input.isSortedByX()) {
        qCWarning(lcCore) << "spectrum points are not sorted by m/z; no clusters searched";
        return;
    }
    std::optional<PlotBase> corrected;
    const PlotBase &plot = detail::withUsableIntensities(input, corrected);
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

} // namespace zeq_reference
