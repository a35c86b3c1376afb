#include "algo/AveragineComparisonScoring.h"

#include "ZeqLogging.h"
#include "algo/AveragineComparisonOverlapScorer_p.h"
#include "algo/AveragineComparison_p.h"
#include "zeq_common_stable/PlotBase.h"

#include <algorithm>
#include <climits>
#include <cmath>

namespace zeq
{

namespace
{

const AveragineIsotopeDistribution s_sharedModel;

detail::WarningCounter s_windowWarnings;

// The model for the candidate's mass, or null (logged) when the candidate cannot be scored.
const AveragineIsotopeDistribution::Pattern *
scorableDistribution(const PlotBase &plot, const AveragineIsotopeDistribution &model, const ChargeScoreInfo &info)
{
    if (plot.getPointListSize() <= 0) {
        qCDebug(lcCore) << "specPoints length <= 0";
        return nullptr;
    }
    const AveragineIsotopeDistribution::Pattern &distribution = model.isotopePattern(info.charge * info.mzOffset);
    if (distribution.fractions.empty()) {
        qCDebug(lcCore) << "averageDist not found";
        return nullptr;
    }
    if (info.mzOffset <= kUnsetMz) {
        qCDebug(lcCore) << "mzOffset has not been modified";
        return nullptr;
    }
    if (info.charge < 1) {
        qCDebug(lcCore) << "charge values less than 1 not permitted";
        return nullptr;
    }
    if (info.scaleFact < 0.0) {
        qCDebug(lcCore) << "scale factor must be a positive value";
        return nullptr;
    }
    return &distribution;
}

void warnWindowMismatch(int first, int last)
{
    const quint64 seen = detail::countOccurrence(s_windowWarnings);
    if (seen == detail::kLoggedOccurrences - 1) {
        qCWarning(lcCore) << "last zScore indicie mixmatch";
    }
    if (seen < detail::kLoggedOccurrences) {
        qCWarning(lcCore) << "zScore start indicie" << first << "or end indicie" << last
                          << "mixmatched or out of bounds. Likely no values in window.";
    }
}

// findMaxIndex of the pattern, read from the pattern, or −1 where findMaxIndex finds none (and logs
// so). Not an optional: placements ask for it at every charge, and the optional's two halves,
// written apart and read as one, stall the read.
long long tallestOf(const AveragineIsotopeDistribution::Pattern &pattern)
{
    if (pattern.fractions.empty()) {
        (void)findMaxIndex(pattern.fractions);
        return -1;
    }
    return static_cast<long long>(pattern.tallest);
}

} // namespace

const AveragineIsotopeDistribution &sharedAveragineModel()
{
    return s_sharedModel;
}

double AveragineIsotopeFunction::evaluate(double x, int window) const
{
    const detail::ModelShape shape = detail::modelShape(*m_distribution, m_charge, m_mzOffset, m_stdDev, x, window);
    return shape.empty ? 0.0 : shape.sum * m_scaleFact;
}

int AveragineIsotopeFunction::peakOverlapIndex(double x) const
{
    const double u = (x - m_mzOffset) * m_charge * kInverseSpacing;
    const double w = (kWidthFloor + m_stdDev) * kInverseSpacing * m_charge;
    return detail::overlappedIsotope(u, w, m_distribution->size());
}

std::optional<size_t> findMaxIndex(const std::vector<double> &values)
{
    if (values.empty()) {
        qCDebug(lcCore) << "******************************************** findMaxIndex returning invalid (empty list)";
        return std::nullopt;
    }
    return static_cast<size_t>(std::max_element(values.cbegin(), values.cend()) - values.cbegin());
}

bool calcOverlapScoreInputCheck(const PlotBase &plot,
                                const AveragineIsotopeDistribution &model,
                                const ChargeScoreInfo &info)
{
    return scorableDistribution(plot, model, info) != nullptr;
}

void calcOverlapScore(const PlotBase &plot,
                      const AveragineIsotopeDistribution &model,
                      const TestParameters &tp,
                      ChargeScoreInfo &info)
{
    info.matchVector.clear();
    info.points.clear();
    info.score = kDefaultScore;
    const AveragineIsotopeDistribution::Pattern *distribution = scorableDistribution(plot, model, info);
    if (!distribution) {
        return;
    }
    // Per thread, so that concurrent searches never share them.
    thread_local detail::OverlapScorerBuffers buffers;
    detail::OverlapScorer scorer(plot, *distribution, tp, info.charge, info.mzOffset, buffers);
    if (!scorer.windowOk()) {
        warnWindowMismatch(scorer.first(), scorer.last());
        return;
    }
    scorer.score(info.scaleFact, info);
}

double find_penalty_scale_factor_if_accounted_for(const TestParameters &tp, int pointIndex, double penalty)
{
    // A window position read as an intensity position, and window point 0 never penalised: callers
    // compare scores with results made this way.
    const int j = pointIndex - tp.tagList.getWindowPeakOffsetFromSpecpoints();
    if (j < 1 || j >= tp.tagList.getSize()) {
        return 1.0;
    }
    return tp.tagList.checkPointExcludedSorted(j) ? penalty : 1.0;
}

namespace detail
{

bool placeWithoutScore(const AveragineIsotopeDistribution &model,
                       const QPointF &peak,
                       int z,
                       ChargeScoreInfo &info,
                       const AveragineIsotopeDistribution::Pattern **pattern)
{
    const auto kmaxValue = static_cast<double>(tallestOf(model.isotopePattern(z * peak.x())));
    // Charge 0 cannot be scored (findScaleFactor says so); it only must not divide by zero here.
    const double mzOffset = z == 0 ? peak.x() : peak.x() - kmaxValue * kIsotopeSpacing / z;
    info.mzOffset = mzOffset;
    if (mzOffset <= kUnsetMz) {
        qCDebug(lcCore) << "mzOffset is incorrectly assigned";
    }
    return scaleWithoutScore(model, peak, z, mzOffset, info, pattern);
}

bool scaleWithoutScore(const AveragineIsotopeDistribution &model,
                       QPointF peak,
                       int z,
                       double mzOffset,
                       ChargeScoreInfo &info,
                       const AveragineIsotopeDistribution::Pattern **pattern)
{
    info.scaleFact = -1.0;
    if (z < 1) {
        qCDebug(lcCore) << "charge values less than 1 not permitted";
        return false;
    }
    const AveragineIsotopeDistribution::Pattern &found = model.isotopePattern(z * mzOffset);
    const long long kmax = tallestOf(found);
    if (kmax < 0) {
        return false;
    }
    // Scoring reads only charge, m/z and scale and writes the rest, so info can be scored in place.
    info.scaleFact = peak.y() / (found.fractions[static_cast<size_t>(kmax)] + 1e-30);
    if (pattern) {
        *pattern = &found;
    }
    return true;
}

} // namespace detail

void findMzOffset(const PlotBase &plot,
                  const AveragineIsotopeDistribution &model,
                  const TestParameters &tp,
                  const QPointF &peak,
                  int z,
                  ChargeScoreInfo &info)
{
    if (detail::placeWithoutScore(model, peak, z, info)) {
        calcOverlapScore(plot, model, tp, info);
    }
}

void findScaleFactor(const PlotBase &plot,
                     const AveragineIsotopeDistribution &model,
                     const TestParameters &tp,
                     QPointF peak,
                     int z,
                     double mzOffset,
                     ChargeScoreInfo &info)
{
    if (detail::scaleWithoutScore(model, peak, z, mzOffset, info)) {
        calcOverlapScore(plot, model, tp, info);
    }
}

void testMonoInitial(const PlotBase &plot, double s, ChargeScoreInfo &info)
{
    TestParameters tp;
    tp.stdDev = s;
    tp.uncertaintyScaling = ProportionalUncertainty;
    const double sigma = findStdDev(s, info.mzOffset, ProportionalUncertainty);
    const std::vector<double> &d = sharedAveragineModel().isotopeIntensityFractions(info.charge * info.mzOffset);
    if (d.empty()) {
        qCWarning(lcCore) << "************* averagDist.size() = " << d.size();
        return;
    }
    const size_t kmax = *findMaxIndex(d);
    const double t = info.mzOffset + static_cast<double>(kmax) / info.charge;
    const QPointF top = getMaxPoint(plot.getAreaPointList(t - sigma, t + sigma, false, false));
    info.scaleFact = top.y() / d[kmax];
    calcOverlapScore(plot, sharedAveragineModel(), tp, info);
}

void testMonoFinal(const PlotBase &plot, double s, ChargeScoreInfo &info)
{
    TestParameters tp;
    tp.stdDev = s;
    tp.uncertaintyScaling = ProportionalUncertainty;
    calcOverlapScore(plot, sharedAveragineModel(), tp, info);
}

} // namespace zeq
