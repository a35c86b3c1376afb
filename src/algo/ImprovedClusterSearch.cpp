#include "algo/ImprovedClusterSearch.h"

#include "ZeqLogging.h"
#include "algo/AveragineComparisonClusterLoop.h"
#include "algo/AveragineComparisonScoring.h"
#include "algo/AveragineComparisonSearch.h"
#include "algo/AveragineComparison_p.h"
#include "algo/ImprovedClusterSearch_p.h"
#include "constants/MassConstants.h"
#include "zeq_common_stable/PlotBase.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <optional>
#include <vector>

namespace zeq
{

namespace
{

// Weight of an already explained point in a cluster's share of the window.
constexpr double kExplainedWeight = 0.3;
// Past the first small cluster the search goes on while anchors stand this far above the window's
// weakest point (where a spectrum's detection limit shows), and ends after this many small clusters
// in a row: by then the anchors are the weak isotopes and the noise of clusters already found. The
// median would not do: in a sparse window it is the height of a cluster.
constexpr double kAnchorOverFloor = 3.0;
constexpr int kSmallClustersInRow = 3;
// A cluster's tallest point stands at least this far above the window's weakest point not its own:
// the noise of a centroided spectrum lies mostly within a few times its detection limit, and two or
// three noise peaks there fall on some charge's ladder by chance.
constexpr double kClusterOverFloor = 4.0;
// The model's σ in centroid precisions, and its least value in ppm: a window whose few ladders
// happen to be near perfect would otherwise get a model too narrow for its other clusters. At 1.5
// precisions lone clusters begin to lose their monos; 2.5 leaves room for centroids whose errors
// have heavier tails than a normal's.
constexpr double kWidthPerPrecision = 2.5;
constexpr double kLeastWidthPpm = 2.0;
// The least neutral mass each charge beyond the first needs: no peptide or protein carries more
// charges than that, and a fully charged oligonucleotide needs about 310 Da a charge.
constexpr double kMassPerExtraCharge = 300.0;

/// The highest charge an ion at `mz` (Th) can carry: z·(mz − proton) ≥ kMassPerExtraCharge·(z − 1).
int mostChargesAt(double mz)
{
    const double perCharge = mz - kProtonMass;
    if (!(perCharge < kMassPerExtraCharge)) {
        return std::numeric_limits<int>::max();
    }
    if (!(perCharge > 0.0)) {
        return 0;
    }
    // Just under the limit the quotient outgrows an int.
    const double most = kMassPerExtraCharge / (kMassPerExtraCharge - perCharge);
    return most < double(std::numeric_limits<int>::max()) ? int(most) : std::numeric_limits<int>::max();
}

/// The marks of explained points as the scorer reads them: it looks a window position up in the
/// intensity order, so this list holds the window in an order where the two coincide. Its entry 0
/// stands before the window, since the scorer never penalises entry 0.
class ScoringMarks
{
public:
    ScoringMarks(int size, int offset, PeakTagList &tags)
        : m_tags(tags)
    {
        QList<QPointF> ranks;
        ranks.reserve(size + 1);
        for (int i = 0; i <= size; ++i) {
            ranks.append(QPointF(i, static_cast<double>(size + 1 - i)));
        }
        m_tags.addPoints2dList(ranks);
        m_tags.setWindowPeakOffset(offset - 1);
    }

    void exclude(int windowIndex) { m_tags.excludePoint(windowIndex + 1); }

private:
    PeakTagList &m_tags;
};

/// The cluster's share of the window: its accounted intensity within the window, explained points
/// weighing less, as the design's loop measures it.
double shareOfWindow(const ChargeScoreInfo &info, const PeakTagList &order, int offset, int size, double total)
{
    double sum = 0.0;
    const auto paired = std::min(static_cast<qsizetype>(info.matchVector.size()), info.points.size());
    for (qsizetype k = 0; k < paired; ++k) {
        const PointAndPercentAccountFor &match = info.matchVector[k];
        const int windowIndex = match.pointIndex - offset;
        if (windowIndex >= 0 && windowIndex < size) {
            const double weight = order.checkPointExcludedUnsorted(windowIndex) ? kExplainedWeight : 1.0;
            sum += weight * std::min(match.percentAccountFor, 1.0) * info.points.at(k).y();
        }
    }
    return sum / total;
}

// The most intensity the cluster's model accounts for at one point.
double tallestAccounted(const ChargeScoreInfo &info)
{
    double tallest = 0.0;
    for (const QPointF &p : info.points) {
        tallest = std::max(tallest, p.y());
    }
    return tallest;
}

// Drops the clusters whose tallest point is under kClusterOverFloor times the weakest point of the
// window that is not their own: where a window holds nothing but one cluster (a spectrum cut at a
// noise threshold) there is no floor to stand clear of, and a cluster's own tail is not its noise.
void dropUnderNoiseFloor(const QList<QPointF> &window, int offset, QList<ChargeScoreInfo> &clusters)
{
    std::vector<bool> own(static_cast<size_t>(window.size()));
    clusters.removeIf([&](const ChargeScoreInfo &c) {
        std::fill(own.begin(), own.end(), false);
        for (const PointAndPercentAccountFor &match : c.matchVector) {
            const int i = match.pointIndex - offset;
            if (match.percentAccountFor > detail::kExplainedShare && i >= 0 && i < window.size()) {
                own[static_cast<size_t>(i)] = true;
            }
        }
        double floor = std::numeric_limits<double>::infinity();
        for (qsizetype i = 0; i < window.size(); ++i) {
            if (!own[static_cast<size_t>(i)]) {
                floor = std::min(floor, window[i].y());
            }
        }
        return std::isfinite(floor) && tallestAccounted(c) < kClusterOverFloor * floor;
    });
}

// The model's width in ppm, from the caller's precision or the window's, never wider than the
// processor's at the window's middle.
void useWidthFromData(const ImprovedSearchOptions &opts,
                      const PlotBase &plot,
                      double start,
                      double end,
                      TestParameters &tp)
{
    std::optional<double> precision;
    if (opts.precisionPpm > 0.0) {
        precision = opts.precisionPpm;
    } else {
        precision = detail::centroidPrecisionPpm(plot.getDataPoints(start, end, true));
    }
    if (!precision) {
        return;
    }
    const double middle = (start + end) / 2.0;
    const double processorPpm = findStdDev(tp.stdDev, middle, tp.uncertaintyScaling) / middle * 1e6;
    tp.uncertaintyScaling = ProportionalUncertainty;
    tp.stdDev = std::min(processorPpm, std::max(kLeastWidthPpm, kWidthPerPrecision * *precision));
}

void improvedLoop(const ImprovedSearchOptions &opts,
                  const PlotBase &plot,
                  double start,
                  double end,
                  double total,
                  double minPercent,
                  TestParameters &tp,
                  QList<ChargeScoreInfo> &out)
{
    const std::optional<detail::SearchedWindow> searched = detail::searchedWindow(plot, start, end);
    if (!searched) {
        return;
    }
    const QList<QPointF> &window = searched->points;
    const int offset = searched->offset;
    const auto size = static_cast<int>(window.size());

    // The order of anchors and the marks the loop keeps; the scorer reads tp.tagList.
    PeakTagList ownOrder;
    PeakTagList &order = opts.ownExplainedMarks ? ownOrder : tp.tagList;
    order.addPoints2dList(window);
    order.setWindowPeakOffset(offset);
    std::optional<ScoringMarks> marks;
    if (opts.ownExplainedMarks) {
        marks.emplace(size, offset, tp.tagList);
    }
    const double floor = std::min_element(window.cbegin(), window.cend(), [](const QPointF &a, const QPointF &b) {
                             return a.y() < b.y();
                         })->y();

    int smallInRow = 0;
    for (int k = 0; k < size; ++k) {
        if (!order.checkPointExcludedSorted(k)) {
            const QPointF anchor = order.getWindowPointSorted(k);
            if (smallInRow > 0 && anchor.y() < kAnchorOverFloor * floor) {
                break;
            }
            const int maxCharge = tp.maxCharge;
            if (opts.plausibleCharges) {
                tp.maxCharge = std::min(maxCharge, mostChargesAt(anchor.x()));
                if (tp.maxCharge < std::max(1, tp.minCharge)) {
                    tp.maxCharge = maxCharge;
                    continue;
                }
            }
            ChargeScoreInfo info = searchMaxPeak(plot, sharedAveragineModel(), tp, anchor);
            if (opts.chargeFromSpacing) {
                detail::recheckChargeBySpacing(plot, tp, info);
            }
            if (opts.envelopePlacement) {
                detail::recentreOnEnvelope(plot, tp, info);
            }
            tp.maxCharge = maxCharge;
            if (isUniqueInMonoList(out, info)) {
                info.percentIonCurrent = shareOfWindow(info, order, offset, size, total);
                for (const PointAndPercentAccountFor &match : info.matchVector) {
                    const int windowIndex = match.pointIndex - offset;
                    if (match.percentAccountFor > detail::kExplainedShare && windowIndex >= 0 && windowIndex < size) {
                        order.excludePoint(windowIndex);
                        if (marks) {
                            marks->exclude(windowIndex);
                        }
                    }
                }
                if (info.percentIonCurrent <= minPercent * 0.5) {
                    if (!opts.searchPastSmallClusters || ++smallInRow >= kSmallClustersInRow) {
                        break;
                    }
                } else {
                    smallInRow = 0;
                    out.append(std::move(info));
                }
            }
        }
        if (order.checkAllPointsExcluded()) {
            break;
        }
    }
    if (opts.clearOfNoise) {
        dropUnderNoiseFloor(window, offset, out);
    }
}

} // namespace

void findClustersImproved(const ImprovedSearchOptions &opts,
                          const PlotBase &input,
                          double start,
                          double end,
                          double minPercent,
                          QList<ChargeScoreInfo> &out)
{
    out.clear();
    const ProcessorOptions &processor = opts.processor;
    if (!testFindMonoInput(processor.minCharge, processor.maxCharge, processor.stdDev)) {
        return;
    }
    if (processor.maxCharge > kMaxChargeLimit) {
        qCWarning(lcCore) << "charge limit above" << kMaxChargeLimit;
        return;
    }
    TestParameters tp = detail::searchParameters(processor);
    std::optional<PlotBase> corrected;
    const PlotBase &plot = detail::withUsableIntensities(input, corrected);
    const double total = plot.computeSumIntensities(start, end);
    if (!(total > 0.0)) {
        return;
    }
    if (opts.widthFromData) {
        useWidthFromData(opts, plot, start, end, tp);
    }
    if (opts.searchPastSmallClusters || opts.ownExplainedMarks || opts.envelopePlacement || opts.clearOfNoise
        || opts.chargeFromSpacing || opts.plausibleCharges) {
        improvedLoop(opts, plot, start, end, total, minPercent, tp, out);
        std::stable_sort(out.begin(), out.end(), charge_mz_Less);
    } else {
        detail::eliminateOnUsablePlot(plot, start, end, total, minPercent, tp, out);
    }
    std::stable_sort(out.begin(), out.end(), percentIonCurrentGreater);
}

} // namespace zeq
