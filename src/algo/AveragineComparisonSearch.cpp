#include "algo/AveragineComparisonSearch.h"

#include "ZeqLogging.h"
#include "algo/AveragineComparisonClusterLoop.h"
#include "algo/AveragineComparisonOverlapScorer_p.h"
#include "algo/AveragineComparisonScoring.h"
#include "algo/AveragineComparison_p.h"
#include "zeq_common_stable/PlotBase.h"

#include <algorithm>
#include <cmath>
#include <optional>

namespace zeq
{

namespace
{

// Below this a candidate is worth refining its scale; above kConvincingScore no charge fits and the
// choice falls back on the share of isotopes matched.
constexpr double kRefineScore = 1.4;
constexpr double kConvincingScore = 1.6;

void refineScale(const PlotBase &plot, const TestParameters &tp, ChargeScoreInfo &info)
{
    searchFineScaleFactorBinary(plot, 0.5, 2.0, 10, tp, info);
}

// NaN scores (from NaN intensities) rank last, keeping the choice well defined.
bool lowerScore(double a, double b)
{
    return !std::isnan(a) && (std::isnan(b) || a < b);
}

// The two choices of the charge search over every placement tried, in the order they were made:
// the first of the lowest scores, and the highest hit ratio with the lowest score among equals.
// Tracking both on the fly gives what stable sorts of the full list would.
class CandidateChoice
{
public:
    /// `ratio` is hitRatio(candidate).
    void offer(const ChargeScoreInfo &candidate, double ratio)
    {
        if (!m_any || lowerScore(candidate.score, m_byScore.score)) {
            m_byScore = candidate;
        }
        if (!m_any || ratio > m_bestRatio || (ratio == m_bestRatio && lowerScore(candidate.score, m_byRatio.score))) {
            m_byRatio = candidate;
            m_bestRatio = ratio;
        }
        m_any = true;
    }

    /// The score below which a candidate offered from now on could still change the choice, once
    /// the choice is sure to go by score; a candidate scoring this or more is not refined either.
    [[nodiscard]] std::optional<double> bar() const
    {
        if (!m_any || !(m_byScore.score <= kConvincingScore)) {
            return std::nullopt;
        }
        return std::max(m_byScore.score, kRefineScore);
    }

    /// bar(), while bars keep sparing scores: in protein windows most charges fit in part and few
    /// placements reach the bar, so after a few tries mostly in vain the bound is not worked out.
    [[nodiscard]] std::optional<double> barWorthTrying() const
    {
        return m_tried < kBarTrials || 4 * m_spared >= m_tried ? bar() : std::nullopt;
    }

    /// The score a refined candidate must beat to change the choice, once the choice is sure to go
    /// by score.
    [[nodiscard]] std::optional<double> refinementFloor() const
    {
        return bar() ? std::optional<double>(m_byScore.score) : std::nullopt;
    }

    /// Counts a try of the bar, and whether it spared a score.
    void tried(bool spared)
    {
        ++m_tried;
        m_spared += spared ? 1 : 0;
    }

    void choose(ChargeScoreInfo &out) const
    {
        if (!m_any) {
            return;
        }
        out = m_byScore.score > kConvincingScore ? m_byRatio : m_byScore;
    }

private:
    static constexpr int kBarTrials = 8;
    int m_tried = 0;
    int m_spared = 0;
    bool m_any = false;
    double m_bestRatio = 0.0;
    ChargeScoreInfo m_byScore;
    ChargeScoreInfo m_byRatio;
};

// findMzOffset's placement followed by refineScale and calcOverlapScore on the same placement: the
// placement's window, isotope runs and model shapes are worked out once for all of them.
class Placement
{
public:
    /// For a charge search, `choice` is what it has chosen so far: a placement whose score certainly
    /// reaches the choice's bar is then not scored. Its score is a value at or above the bar that
    /// the score does not go below, and it has no matches.
    Placement(const PlotBase &plot,
              const AveragineIsotopeDistribution &model,
              const TestParameters &tp,
              const QPointF &anchor,
              int z,
              ChargeScoreInfo &info,
              CandidateChoice *choice = nullptr)
        : m_plot(plot)
        , m_model(model)
        , m_tp(tp)
    {
        if (!detail::placeWithoutScore(model, anchor, z, info, &m_pattern)) {
            return;
        }
        m_scores.emplace(plot, model, tp, info, m_pattern);
        const std::optional<double> bar = choice ? choice->barWorthTrying() : std::nullopt;
        if (!bar) {
            m_scores->score(info);
            return;
        }
        choice->tried(!m_scores->scoreUnlessAtLeast(info, *bar));
    }

    /// hitRatio(info) for info placed here; the pattern is at hand, so no look-up.
    [[nodiscard]] double hitRatio(const ChargeScoreInfo &info) const
    {
        if (!m_pattern || &m_model != &sharedAveragineModel()) {
            return zeq::hitRatio(info);
        }
        return static_cast<double>(info.matchVector.size()) / static_cast<double>(m_pattern->fractions.size());
    }

    /// True when info then holds the score at the refined scale with this placement's model. With
    /// a floor, a refinement sure to end at the floor or above may stop short, as refineScaleBinary
    /// describes.
    bool refine(ChargeScoreInfo &info, std::optional<double> floor = std::nullopt)
    {
        // Scale refinement always scores with the shared model.
        if (m_scores && &m_scores->model() == &sharedAveragineModel()) {
            detail::refineScaleBinary(*m_scores, 0.5, 2.0, 10, info, floor);
            return true;
        }
        refineScale(m_plot, m_tp, info);
        if (m_scores) {
            m_scores.emplace(m_plot, m_model, m_tp, info); // the refinement took the shared buffers
        }
        return false;
    }

    void refineAndRescore(ChargeScoreInfo &info)
    {
        if (refine(info)) {
            return;
        }
        if (m_scores) {
            m_scores->score(info);
        } else {
            calcOverlapScore(m_plot, m_model, m_tp, info);
        }
    }

private:
    const PlotBase &m_plot;
    const AveragineIsotopeDistribution &m_model;
    const TestParameters &m_tp;
    const AveragineIsotopeDistribution::Pattern *m_pattern = nullptr; // when placed
    std::optional<detail::PlacementScores> m_scores;
};

// The candidate of charge z placed with its monoisotope near m/z t, on the most intense point
// there or, without one, on (t, fallbackY); scaled and scored without charge-search penalties.
ChargeScoreInfo placeNear(const PlotBase &plot,
                          const AveragineIsotopeDistribution &model,
                          const TestParameters &tp,
                          double t,
                          double w,
                          double fallbackY,
                          int z)
{
    QPointF anchor(t, fallbackY);
    bool found = false;
    getMostIntensePointWithinBound(plot, t - w, t + w, anchor, &found);
    ChargeScoreInfo candidate;
    candidate.charge = z;
    Placement placement(plot, model, tp, anchor, z, candidate);
    placement.refineAndRescore(candidate);
    return candidate;
}

void findBestMonosWith(const PlotBase &input,
                       double start,
                       double end,
                       double stdDev,
                       UncertaintyScaling scaling,
                       QList<ChargeScoreInfo> &out)
{
    if (!testFindMonoInput(start, end, stdDev)) {
        return;
    }
    std::optional<PlotBase> corrected;
    const PlotBase &plot = detail::withUsableIntensities(input, corrected);
    const double total = plot.computeSumIntensities(start, end);
    if (!(total > 0.0)) {
        return;
    }
    TestParameters tp;
    tp.minCharge = 1;
    tp.maxCharge = 35;
    tp.uncertaintyScaling = scaling;
    tp.stdDev = stdDev;
    detail::eliminateOnUsablePlot(plot, start, end, total, 0.0, tp, out);
}

} // namespace

namespace detail
{

void fillPoints(const PlotBase &plot, ChargeScoreInfo &info)
{
    info.points.clear();
    for (const PointAndPercentAccountFor &match : info.matchVector) {
        if (match.pointIndex < 0 || match.pointIndex >= plot.getPointListSize()) {
            qCWarning(lcCore) << "matched point" << match.pointIndex << "outside a spectrum of"
                              << plot.getPointListSize() << "points";
            info.points.append(QPointF());
            continue;
        }
        const QPointF p = plot.getPoint(match.pointIndex);
        info.points.append(match.percentAccountFor <= 1.0 ? QPointF(p.x(), match.percentAccountFor * p.y()) : p);
    }
}

} // namespace detail

TestParameters detail::searchParameters(const ProcessorOptions &opts)
{
    TestParameters tp;
    tp.minCharge = 1; // the option's minCharge only guards the range
    tp.maxCharge = opts.maxCharge;
    tp.uncertaintyScaling = opts.uncertaintyScaling;
    tp.stdDev = opts.uncertaintyScaling == SqrtUncertainty ? opts.stdDev / std::sqrt(1000.0) : opts.stdDev;
    return tp;
}

bool testFindMonoInput(double a, double b, double s)
{
    if (a > b) {
        qCWarning(lcCore) << "spectrum window start and end positions mixmatched";
    }
    if (!(s > 0.0)) {
        qCWarning(lcCore) << "uncertainty in mz less than or equal to 0";
        return false;
    }
    return a <= b;
}

void findChargesAndMonos(const ProcessorOptions &opts,
                         const PlotBase &input,
                         double start,
                         double end,
                         const QString &name,
                         double minPercent,
                         QList<ChargeScoreInfo> &out)
{
    Q_UNUSED(name)
    out.clear();
    if (!testFindMonoInput(opts.minCharge, opts.maxCharge, opts.stdDev)) {
        return;
    }
    // The averagine model ends at 1 MDa, which 500 charges at m/z 2,000 already reach; higher
    // limits only cost time (every charge is tried).
    if (opts.maxCharge > kMaxChargeLimit) {
        qCWarning(lcCore) << "charge limit above 500";
        return;
    }
    TestParameters tp = detail::searchParameters(opts);
    std::optional<PlotBase> corrected;
    const PlotBase &plot = detail::withUsableIntensities(input, corrected);
    const double total = plot.computeSumIntensities(start, end);
    if (!(total > 0.0)) {
        return;
    }
    detail::eliminateOnUsablePlot(plot, start, end, total, minPercent, tp, out);
    std::stable_sort(out.begin(), out.end(), percentIonCurrentGreater);
}

void findBestMonos(const PlotBase &plot,
                   double start,
                   double end,
                   const ProcessorOptions &opts,
                   QList<ChargeScoreInfo> &out)
{
    findBestMonosWith(plot, start, end, opts.stdDev, opts.uncertaintyScaling, out);
}

void findBestMonos_isomatcher(const PlotBase &plot,
                              double start,
                              double end,
                              double stdDev,
                              UncertaintyScaling scaling,
                              QList<ChargeScoreInfo> &out)
{
    findBestMonosWith(plot, start, end, stdDev, scaling, out);
}

void getMostIntensePointWithinBound(const PlotBase &plot, double lo, double hi, QPointF &point, bool *found)
{
    // getMaxPoint over getDataPoints(lo, hi, true), without copying the points.
    const auto [first, end] = plot.getAreaIndexRange(lo, hi, true, true);
    if (first < end) {
        point = getMaxPoint(plot.getPointList().cbegin() + first, plot.getPointList().cbegin() + end);
    }
    if (found) {
        *found = first < end;
    }
}

void searchCharge(const PlotBase &plot,
                  const AveragineIsotopeDistribution &model,
                  TestParameters &tp,
                  const QPointF &peak,
                  ChargeScoreInfo &out)
{
    out.charge = -1;
    tp.chargeSearchActive = true;
    const double w = 2.0 * findStdDev(tp.stdDev, peak.x(), tp.uncertaintyScaling);
    CandidateChoice choice;
    // Each charge starts from a fresh candidate; assigning one keeps the match list's storage.
    const ChargeScoreInfo fresh;
    ChargeScoreInfo candidate;
    for (int z = tp.minCharge; z <= tp.maxCharge; ++z) {
        // One candidate per charge, placed on the peak and then re-placed on each neighbour: a
        // placement that cannot be scored keeps what the previous one left.
        candidate = fresh;
        candidate.charge = z;
        double ratio = 0.0;
        // Once the lowest score decides, a placement that certainly scores at least as high as the
        // bar can neither be chosen nor be refined, so it need not be scored: it is offered with its
        // bound and no matches, which changes nothing (the choice by hit ratio is out of play).
        {
            Placement placement(plot, model, tp, peak, z, candidate, &choice);
            if (candidate.score < kRefineScore) {
                placement.refine(candidate, choice.refinementFloor());
            }
            ratio = placement.hitRatio(candidate);
        }
        choice.offer(candidate, ratio);
        if (z == 0) {
            continue; // no isotope neighbours without a charge
        }

        QPointF neighbour;
        bool found = false;
        const double upper = peak.x() + 1.0 / z;
        getMostIntensePointWithinBound(plot, upper - w, upper + w, neighbour, &found);
        if (found) {
            Placement placement(plot, model, tp, neighbour, z, candidate, &choice);
            if (peak.x() + 1.4 * w > candidate.mzOffset) {
                if (candidate.score < kRefineScore) {
                    placement.refine(candidate, choice.refinementFloor());
                }
                choice.offer(candidate, placement.hitRatio(candidate));
            }
        }
        const double lower = peak.x() - 1.0 / z;
        getMostIntensePointWithinBound(plot, lower - w, lower + w, neighbour, &found);
        if (found) {
            Placement placement(plot, model, tp, neighbour, z, candidate, &choice);
            if (candidate.score < kRefineScore) {
                placement.refine(candidate, choice.refinementFloor());
            }
            choice.offer(candidate, placement.hitRatio(candidate));
        }
        if (z == tp.maxCharge) {
            break; // ++z would overflow at INT_MAX
        }
    }
    choice.choose(out);
}

ChargeScoreInfo
searchMaxPeak(const PlotBase &plot, const AveragineIsotopeDistribution &model, TestParameters &tp, const QPointF &peak)
{
    tp.monoRefineFlag = false;
    ChargeScoreInfo first;
    searchCharge(plot, model, tp, peak, first);
    tp.chargeSearchActive = false;

    {
        Placement placement(plot, model, tp, peak, first.charge, first);
        placement.refineAndRescore(first);
    }

    const int z = first.charge;
    ChargeScoreInfo result = first;
    // Without a charge of at least 1 no walk candidate can be scored, so the walks would stop at once.
    if (z >= 1) {
        const AveragineIsotopeDistribution::Pattern &pattern = model.isotopePattern(z * peak.x());
        const auto n = static_cast<int>(pattern.fractions.size());
        const std::optional<size_t> top =
            n == 0 ? findMaxIndex(pattern.fractions) : std::optional<size_t>(pattern.tallest);
        const int kmax = top ? static_cast<int>(*top) : -1;
        const double base = static_cast<double>(kmax) / z + first.mzOffset; // m/z of the tallest isotope
        const double w = 2.0 * findStdDev(tp.stdDev, base, tp.uncertaintyScaling);

        ChargeScoreInfo best = first;
        const int limit = kmax - n - 1;
        for (int k = -1; k >= limit; --k) {
            ChargeScoreInfo candidate = placeNear(plot, model, tp, base + static_cast<double>(k) / z, w, peak.y(), z);
            if (!compareNearMonos(candidate, best, -1)) {
                break;
            }
            best = std::move(candidate);
            if (k == limit) {
                best = first; // the walk never settled: trust the charge search's placement
                break;
            }
        }
        result = best;
        for (int k = 1; k <= kmax + 1; ++k) {
            ChargeScoreInfo candidate = placeNear(plot, model, tp, base + static_cast<double>(k) / z, w, peak.y(), z);
            if (!compareNearMonos(candidate, result, 1)) {
                break;
            }
            result = std::move(candidate);
            if (k == kmax + 1) {
                result = best;
                break;
            }
        }
    }
    detail::fillPoints(plot, result);
    return result;
}

bool compareNearMonos(const ChargeScoreInfo &cand, const ChargeScoreInfo &cur, int direction)
{
    if (cand.matchVector.empty()) {
        return false;
    }
    if (cur.matchVector.empty()) {
        return true;
    }
    if (cand.score < cur.score && cand.scaleFact > 1.3 * cur.scaleFact) {
        return true;
    }
    const PointAndPercentAccountFor &candFirst = cand.matchVector.front();
    const PointAndPercentAccountFor &curFirst = cur.matchVector.front();
    switch (direction) {
    case -1:
        return candFirst.pointIndex < curFirst.pointIndex && candFirst.percentAccountFor > 0.5
            && cand.score < 1.5 * cur.score;
    case 1: {
        const double mass = cand.charge * cand.mzOffset;
        if (mass < 4200.0) {
            return candFirst.pointIndex == curFirst.pointIndex && cand.score < 1.25 * cur.score;
        }
        return mass > 4200.0 && cand.score < 0.6 * cur.score;
    }
    default:
        return false;
    }
}

} // namespace zeq
