#include "algo/AveragineComparisonScoring.h"

#include "ZeqLogging.h"
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

// Rounding of isotope windows: the largest integer strictly below t for t ≤ 0, as the original
// integer arithmetic did; likewise above().
double below(double t)
{
    return t > 0.0 ? std::floor(t) : std::ceil(t) - 1.0;
}

double above(double t)
{
    return t > 0.0 ? std::floor(t) + 1.0 : std::ceil(t);
}

double gaussian(double t, double w)
{
    return std::pow(kGaussianBase, -(t * t) / (2.0 * w * w));
}

// The model for the candidate's mass, or null (logged) when the candidate cannot be scored.
const std::vector<double> *
scorableDistribution(const PlotBase &plot, const AveragineIsotopeDistribution &model, const ChargeScoreInfo &info)
{
    if (plot.getPointListSize() <= 0) {
        qCDebug(lcCore) << "specPoints length <= 0";
        return nullptr;
    }
    const std::vector<double> &distribution = model.isotopeIntensityFractions(info.charge * info.mzOffset);
    if (distribution.empty()) {
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

} // namespace

const AveragineIsotopeDistribution &sharedAveragineModel()
{
    return s_sharedModel;
}

double AveragineIsotopeFunction::evaluate(double x, int window) const
{
    const std::vector<double> &d = *m_distribution;
    double sum = 0.0;
    if (window < 1) {
        for (size_t i = 0; i < d.size(); ++i) {
            sum += d[i] * gaussian(x - (m_mzOffset + static_cast<double>(i) * kIsotopeSpacing / m_charge), m_stdDev);
        }
        return sum * m_scaleFact;
    }
    const double u = (x - m_mzOffset) * m_charge * kInverseSpacing;
    const double w = (kWidthFloor + m_stdDev) * kInverseSpacing * m_charge;
    // In doubles until clamped: far from the pattern, u does not fit an int.
    const double lo = std::max(above(u - window * w), 0.0);
    const double hi = std::min(below(u + window * w), static_cast<double>(d.size()) - 1.0);
    if (!(lo <= hi)) {
        return 0.0;
    }
    for (auto i = static_cast<size_t>(lo); i <= static_cast<size_t>(hi); ++i) {
        sum += d[i] * gaussian(u - static_cast<double>(i), w);
    }
    return sum * m_scaleFact;
}

int AveragineIsotopeFunction::peakOverlapIndex(double x) const
{
    const double u = (x - m_mzOffset) * m_charge * kInverseSpacing;
    const double w = (kWidthFloor + m_stdDev) * kInverseSpacing * m_charge;
    if (!(below(u + w) > below(u - w))) {
        return -1; // no isotope position within the peak width (or NaN)
    }
    const double k = std::round(u);
    if (!(k < static_cast<double>(m_distribution->size()))) {
        return -1;
    }
    return k < INT_MIN ? INT_MIN : static_cast<int>(k);
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
    const std::vector<double> *distribution = scorableDistribution(plot, model, info);
    if (!distribution) {
        return;
    }
    const std::vector<double> &d = *distribution;
    const size_t n = d.size();
    const size_t kmax = *findMaxIndex(d);
    const int z = info.charge;
    const double scale = info.scaleFact;
    AveragineIsotopeFunction function(d);
    function.setCharge(z);
    function.setMzOffset(info.mzOffset);
    function.setScaleFact(scale);
    function.setStdDev(tp.stdDev, tp.uncertaintyScaling);
    const double w0 = 2.0 * function.stdDev();

    const int first = plot.getIndexLessOrEqual(info.mzOffset - w0, false) + 1;
    const int last = plot.getIndexLessOrEqual(info.mzOffset + static_cast<double>(n) * kIsotopeSpacing / z + w0, false);
    if (first > last || first < 0 || last >= plot.getPointListSize()) {
        warnWindowMismatch(first, last);
        return;
    }
    const QList<QPointF> &points = plot.getPointList();

    std::vector<PointAndPercentAccountFor> &matches = info.matchVector;
    std::vector<int> unassigned;
    std::vector<int> side;
    std::vector<size_t> matchedIsotopes; // ascending, with repeats
    matches.reserve(5);
    unassigned.reserve(5);
    side.reserve(5);
    matchedIsotopes.reserve(5);

    // A run of points on one isotope's peak: its point closest to the expected height is the match.
    const auto resolveGroup = [&](int begin, int end, size_t k) {
        const double expected = d[k] * scale;
        int best = begin;
        double bestDistance = std::abs(points[begin].y() - expected);
        for (int i = begin + 1; i < end; ++i) {
            const double distance = std::abs(points[i].y() - expected);
            if (distance < bestDistance) {
                best = i;
                bestDistance = distance;
            }
        }
        for (int i = begin; i < end; ++i) {
            if (i != best) {
                side.push_back(i);
                continue;
            }
            const double ratio = expected / points[best].y();
            if (!(ratio < 3.0)) {
                side.push_back(best);
                continue;
            }
            matches.push_back({ best, ratio });
            if (points[best].y() > 0.2 * function.evaluate(points[best].x(), 1)) {
                matchedIsotopes.insert(std::upper_bound(matchedIsotopes.begin(), matchedIsotopes.end(), k), k);
            }
        }
    };
    int groupStart = -1;
    int groupIsotope = -1;
    for (int i = first; i <= last; ++i) {
        const int k = function.peakOverlapIndex(points[i].x());
        if (groupStart >= 0 && k == groupIsotope) {
            continue;
        }
        if (groupStart >= 0) {
            resolveGroup(groupStart, i, static_cast<size_t>(groupIsotope));
            groupStart = -1;
        }
        if (k >= 0) {
            groupStart = i;
            groupIsotope = k;
        } else {
            unassigned.push_back(i);
        }
    }
    if (groupStart >= 0) {
        resolveGroup(groupStart, last + 1, static_cast<size_t>(groupIsotope));
    }

    if (matchedIsotopes.size() <= 1) {
        info.score = sparseMatchScore(z);
        return;
    }

    // The sums run in a fixed order (unassigned, side, matched, coverage): rounding depends on it.
    const double tallest = scale * d[kmax];
    const double next = kmax + 1 < n ? scale * d[kmax + 1] : 0.0;
    const auto inTallRange = [tallest, next](double y) { return y > 0.4 * next && y < 1.6 * tallest; };
    double numerator = 0.0;
    double denominator = 0.0;
    double coverage = 0.0;
    for (int i : unassigned) {
        const double y = points[i].y();
        const double p = find_penalty_scale_factor_if_accounted_for(tp, i, 0.2);
        if (inTallRange(y) && tp.chargeSearchActive) {
            numerator += 2.0 * 2.1333333333333333 * p * (y * y);
            denominator += 2.0 * p * (y * y);
        } else {
            numerator += 2.0 * 2.1333333333333333 * p * tallest;
            denominator += 2.0 * p * tallest;
        }
    }
    for (int i : side) {
        const double y = points[i].y();
        const double p = find_penalty_scale_factor_if_accounted_for(tp, i, 0.2);
        if (inTallRange(y)) {
            numerator += 1.7 * 0.5 * p * (y * y);
            denominator += 0.5 * p * (y * y);
        } else {
            numerator += 1.7 * 0.5 * p * tallest;
            denominator += 0.5 * p * tallest;
        }
    }
    for (const PointAndPercentAccountFor &match : matches) {
        const QPointF &point = points[match.pointIndex];
        const double y = point.y();
        const double m = function.evaluate(point.x(), 1);
        const double p = find_penalty_scale_factor_if_accounted_for(tp, match.pointIndex, 0.05);
        const double q = std::min(m / y, y / m);
        numerator += 2.7 * p * (q * q) * ((y - m) * (y - m));
        denominator += 1.2 * p * (m * m);
    }
    const auto matchedCount = static_cast<double>(matchedIsotopes.size());
    const double perIsotope = 1.0 / std::sqrt(static_cast<double>(n));
    const double coverageWeight = tp.chargeSearchActive ? 3.0 : 1.5;
    const double missingWeight = tp.chargeSearchActive ? 15.0 : 1.5;
    for (size_t j = 0; j < n; ++j) {
        const double h = (d[j] * scale) * (d[j] * scale);
        coverage += coverageWeight * h * matchedCount * perIsotope;
        if (!std::binary_search(matchedIsotopes.cbegin(), matchedIsotopes.cend(), j)) {
            numerator += missingWeight * h;
        }
    }
    info.score = numerator / (denominator + coverage + 1e-15);
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

void findMzOffset(const PlotBase &plot,
                  const AveragineIsotopeDistribution &model,
                  const TestParameters &tp,
                  const QPointF &peak,
                  int z,
                  ChargeScoreInfo &info)
{
    const std::optional<size_t> kmax = findMaxIndex(model.isotopeIntensityFractions(z * peak.x()));
    const double kmaxValue = kmax ? static_cast<double>(*kmax) : -1.0;
    // Charge 0 cannot be scored (findScaleFactor says so); it only must not divide by zero here.
    const double mzOffset = z == 0 ? peak.x() : peak.x() - kmaxValue * kIsotopeSpacing / z;
    info.mzOffset = mzOffset;
    if (mzOffset <= kUnsetMz) {
        qCDebug(lcCore) << "mzOffset is incorrectly assigned";
    }
    findScaleFactor(plot, model, tp, peak, z, mzOffset, info);
}

void findScaleFactor(const PlotBase &plot,
                     const AveragineIsotopeDistribution &model,
                     const TestParameters &tp,
                     QPointF peak,
                     int z,
                     double mzOffset,
                     ChargeScoreInfo &info)
{
    info.scaleFact = -1.0;
    if (z < 1) {
        qCDebug(lcCore) << "charge values less than 1 not permitted";
        return;
    }
    const std::vector<double> &d = model.isotopeIntensityFractions(z * mzOffset);
    const std::optional<size_t> kmax = findMaxIndex(d);
    if (!kmax) {
        return;
    }
    // Scoring reads only charge, m/z and scale and writes the rest, so info can be scored in place.
    info.scaleFact = peak.y() / (d[*kmax] + 1e-30);
    calcOverlapScore(plot, model, tp, info);
}

void searchFineScaleFactorBinary(const PlotBase &plot,
                                 double lowFactor,
                                 double highFactor,
                                 int iterations,
                                 const TestParameters &tp,
                                 ChargeScoreInfo &info)
{
    const AveragineIsotopeDistribution &model = sharedAveragineModel();
    double s = info.scaleFact;
    double lo = s * lowFactor;
    double hi = s * highFactor;
    ChargeScoreInfo up = info;
    ChargeScoreInfo down = info;
    for (int i = 0; i < iterations; ++i) {
        up.scaleFact = (s + hi) / 2.0;
        down.scaleFact = (s + lo) / 2.0;
        calcOverlapScore(plot, model, tp, up);
        calcOverlapScore(plot, model, tp, down);
        if (up.score > down.score) {
            hi = s;
            s = down.scaleFact;
        } else {
            lo = s;
            s = up.scaleFact;
        }
    }
    info.scaleFact = s;
    calcOverlapScore(plot, model, tp, info);
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
    const AveragineIsotopeDistribution &model = sharedAveragineModel();
    const double start = info.scaleFact;
    ChargeScoreInfo candidate = info;
    std::optional<ChargeScoreInfo> best;
    // Keeping only the first of the lowest scores gives what a stable sort of all candidates would.
    for (double f = from; f < to; f *= stepFactor) {
        candidate.scaleFact = f * start;
        calcOverlapScore(plot, model, tp, candidate);
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
