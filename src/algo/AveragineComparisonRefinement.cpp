#include "ZeqLogging.h"
#include "algo/AveragineComparisonOverlapScorer_p.h"
#include "algo/AveragineComparisonScoring.h"
#include "zeq_common_stable/PlotBase.h"

#include <cmath>
#include <limits>
#include <optional>

namespace zeq
{

namespace detail
{

namespace
{

constexpr int kFloorTries = 3;

} // namespace

PlacementScores::PlacementScores(const PlotBase &plot,
                                 const AveragineIsotopeDistribution &model,
                                 const TestParameters &tp,
                                 const ChargeScoreInfo &placement,
                                 const AveragineIsotopeDistribution::Pattern *pattern)
    : m_plot(plot)
    , m_model(model)
    , m_tp(tp)
{
    if (!pattern) {
        pattern = placementDistribution(plot, model, placement.charge, placement.mzOffset);
    } else if (plot.getPointListSize() <= 0 || placement.mzOffset <= kUnsetMz || placement.charge < 1) {
        pattern = nullptr; // as placementDistribution would find
    }
    if (pattern) {
        thread_local OverlapScorerBuffers buffers;
        m_scorer.emplace(plot, *pattern, tp, placement.charge, placement.mzOffset, buffers);
        if (!m_scorer->windowOk()) {
            m_scorer.reset();
        }
    }
}

void PlacementScores::score(ChargeScoreInfo &info)
{
    if (!m_scorer) {
        calcOverlapScore(m_plot, m_model, m_tp, info);
        return;
    }
    if (info.scaleFact < 0.0) {
        info.matchVector.clear();
        info.points.clear();
        info.score = kDefaultScore;
        qCDebug(lcCore) << "scale factor must be a positive value";
        return;
    }
    m_scorer->score(info.scaleFact, info);
}

bool PlacementScores::scoreUnlessAtLeast(ChargeScoreInfo &info, double bar)
{
    if (!m_scorer || !(info.scaleFact >= 0.0)) {
        score(info);
        return true;
    }
    const std::optional<double> least = m_scorer->scoreUnlessAtLeast(info.scaleFact, bar, info);
    if (least) {
        info.score = *least;
    }
    return !least;
}

std::optional<bool> PlacementScores::higherByEstimate(double a, double b)
{
    if (!m_scorer || !(a >= 0.0) || !(b >= 0.0)) {
        return std::nullopt;
    }
    const auto [x, y] = m_scorer->estimate({ a, b });
    if (x.error == 0.0 && y.error == 0.0) {
        return x.value > y.value;
    }
    if (x.value - x.error > y.value + y.error) {
        return true;
    }
    if (x.value + x.error <= y.value - y.error) {
        return false;
    }
    return std::nullopt; // too close to call (or not finite)
}

double PlacementScores::leastOver(double a, double b)
{
    if (!m_scorer || !(a > 0.0) || !(b >= a) || !std::isfinite(b)) {
        return -std::numeric_limits<double>::infinity();
    }
    return m_scorer->leastOver(a, b);
}

void refineScaleBinary(PlacementScores &scores,
                       double lowFactor,
                       double highFactor,
                       int iterations,
                       ChargeScoreInfo &info,
                       std::optional<double> floor)
{
    double s = info.scaleFact;
    double lo = s * lowFactor;
    double hi = s * highFactor;
    std::optional<ChargeScoreInfo> up;
    std::optional<ChargeScoreInfo> down;
    // Only the steps' comparisons matter until the last scale: estimates decide them unless the
    // two scores lie within rounding of each other.
    for (int i = 0; i < iterations; ++i) {
        const double upScale = (s + hi) / 2.0;
        const double downScale = (s + lo) / 2.0;
        std::optional<bool> upHigher = scores.higherByEstimate(upScale, downScale);
        if (!upHigher) {
            if (!up) {
                up = info;
                down = info;
            }
            up->scaleFact = upScale;
            down->scaleFact = downScale;
            scores.score(*up);
            scores.score(*down);
            upHigher = up->score > down->score;
        }
        if (*upHigher) {
            hi = s;
            s = downScale;
        } else {
            lo = s;
            s = upScale;
        }
        // The scale settles within [lo, hi] (the sums of later midpoints cannot overflow): a score
        // sure to stay at the floor or above there ends the refinement. Most refinements that the
        // bound spares it spares in the first steps; later tries would mostly be in vain.
        if (floor && i < kFloorTries && lo <= s && s <= hi && hi <= std::numeric_limits<double>::max() / 4.0) {
            const double least = scores.leastOver(lo, hi);
            if (least >= *floor) {
                info.scaleFact = s;
                info.score = least;
                info.matchVector.clear();
                info.points.clear();
                return;
            }
        }
    }
    info.scaleFact = s;
    scores.score(info);
}

} // namespace detail

void searchFineScaleFactorBinary(const PlotBase &plot,
                                 double lowFactor,
                                 double highFactor,
                                 int iterations,
                                 const TestParameters &tp,
                                 ChargeScoreInfo &info)
{
    detail::PlacementScores scores(plot, sharedAveragineModel(), tp, info);
    detail::refineScaleBinary(scores, lowFactor, highFactor, iterations, info);
}

void searchFineScaleFactor(const PlotBase &plot,
                           double from,
                           double to,
                           double stepFactor,
                           const TestParameters &tp,
                           ChargeScoreInfo &info)
{
    if (!(from > 0.0) || !(stepFactor > 1.0)) {
        qCDebug(lcCore) << "scale scan needs a start above 0 and a step factor above 1, got" << from << stepFactor;
        return;
    }
    detail::PlacementScores scores(plot, sharedAveragineModel(), tp, info);
    const double start = info.scaleFact;
    ChargeScoreInfo candidate = info;
    std::optional<ChargeScoreInfo> best;
    // Keeping only the first of the lowest scores gives what a stable sort of all candidates would.
    for (double f = from; f < to; f *= stepFactor) {
        candidate.scaleFact = f * start;
        scores.score(candidate);
        if (!best || candidate.score < best->score) {
            best = candidate;
        }
    }
    if (best) {
        info = *best;
    }
}

void searchFinePosition(const PlotBase &plot,
                        double below,
                        double above,
                        double step,
                        const TestParameters &tp,
                        ChargeScoreInfo &info)
{
    if (step <= 0.0 || below + above <= 0.0) {
        info.score = kDefaultScore;
        return;
    }
    const double m0 = info.mzOffset;
    const std::vector<double> &d = sharedAveragineModel().isotopeIntensityFractions(info.charge * m0);
    const double sigma0 = findStdDev(tp.stdDev, m0, tp.uncertaintyScaling);
    AveragineIsotopeFunction model(d);
    model.setCharge(info.charge);
    model.setScaleFact(info.scaleFact);
    const double span = info.charge == 0 ? 0.0 : static_cast<double>(d.size()) / info.charge;

    PlotBase profile;
    for (double x = m0 - below; x < m0 + above; x += step) {
        model.setMzOffset(x);
        model.setStdDev(tp.stdDev, tp.uncertaintyScaling);
        const int i0 = plot.getIndexLessOrEqual(x - sigma0, false) + 1;
        const int i1 = plot.getIndexLessOrEqual(x + span + sigma0, false);
        if (i1 >= i0) {
            double sum = 0.0;
            for (int i = i0; i <= i1; ++i) {
                const QPointF p = plot.getPoint(i);
                sum += model.evaluate(p.x(), 3) * p.y();
            }
            profile.addPoint(x, sum, false);
        }
        if (x + step == x) {
            break; // the step is lost in rounding at this m/z
        }
    }
    if (profile.isEmpty()) {
        info.score = kDefaultScore;
        return;
    }
    profile.sortPointListByY(false);
    info.mzOffset = profile.getPoint(0).x();
}

} // namespace zeq
