#include "support/isotope_reference/AveragineComparisonOverlapScorer_p.h"
#include "support/isotope_reference/AveragineComparisonScoring.h"
#include "support/isotope_reference/AveragineComparison_p.h"
#include "zeq_common_stable/PlotBase.h"

#include <algorithm>
#include <cmath>

namespace zeq_reference::detail
{
using namespace zeq;

namespace
{

double gaussian(double t, double w)
{
    return std::pow(kGaussianBase, -(t * t) / (2.0 * w * w));
}

} // namespace

ModelShape modelShape(const std::vector<double> &d, int charge, double mzOffset, double sigma, double x, int window)
{
    ModelShape shape;
    if (window < 1) {
        for (size_t i = 0; i < d.size(); ++i) {
            shape.sum += d[i] * gaussian(x - (mzOffset + static_cast<double>(i) * kIsotopeSpacing / charge), sigma);
        }
        return shape;
    }
    const double u = (x - mzOffset) * charge * kInverseSpacing;
    const double w = (kWidthFloor + sigma) * kInverseSpacing * charge;
    // In doubles until clamped: far from the pattern, u does not fit an int.
    const double lo = std::max(above(u - window * w), 0.0);
    const double hi = std::min(below(u + window * w), static_cast<double>(d.size()) - 1.0);
    if (!(lo <= hi)) {
        shape.empty = true;
        return shape;
    }
    for (auto i = static_cast<size_t>(lo); i <= static_cast<size_t>(hi); ++i) {
        shape.sum += d[i] * gaussian(u - static_cast<double>(i), w);
    }
    return shape;
}

const std::vector<double> *
placementDistribution(const PlotBase &plot, const AveragineIsotopeDistribution &model, int charge, double mzOffset)
{
    if (plot.getPointListSize() <= 0 || mzOffset <= kUnsetMz || charge < 1) {
        return nullptr;
    }
    const std::vector<double> &d = model.isotopeIntensityFractions(charge * mzOffset);
    return d.empty() ? nullptr : &d;
}

OverlapScorer::OverlapScorer(const PlotBase &plot,
                             const std::vector<double> &d,
                             const TestParameters &tp,
                             int charge,
                             double mzOffset,
                             OverlapScorerBuffers &buffers)
    : m_points(plot.getPointList())
    , m_d(d)
    , m_tp(tp)
    , m_charge(charge)
    , m_mzOffset(mzOffset)
    , m_sigma(findStdDev(tp.stdDev, mzOffset, tp.uncertaintyScaling))
    , m_buffers(buffers)
{
    m_kmax = static_cast<size_t>(std::max_element(d.cbegin(), d.cend()) - d.cbegin());
    const double w0 = 2.0 * m_sigma;
    m_first = plot.getIndexLessOrEqual(mzOffset - w0, false) + 1;
    m_last = plot.getIndexLessOrEqual(mzOffset + static_cast<double>(d.size()) * kIsotopeSpacing / charge + w0, false);
    m_windowOk = !(m_first > m_last || m_first < 0 || m_last >= plot.getPointListSize());
    if (!m_windowOk) {
        return;
    }
    const auto windowSize = static_cast<size_t>(m_last - m_first + 1);
    m_buffers.runs.clear();
    m_buffers.unassigned.clear();
    m_buffers.shapes.resize(windowSize);
    m_buffers.hasShape.assign(windowSize, 0);
    m_buffers.explained.resize(windowSize);
    for (int i = m_first; i <= m_last; ++i) {
        m_buffers.explained[static_cast<size_t>(i - m_first)] =
            find_penalty_scale_factor_if_accounted_for(tp, i, 0.0) == 0.0 ? 1 : 0;
    }

    // One pass over the window: runs of consecutive points on one isotope's peak; the points on no
    // peak are unassigned. A run interrupted by unassigned points ends there.
    AveragineIsotopeFunction function(d);
    function.setCharge(charge);
    function.setMzOffset(mzOffset);
    function.setStdDev(tp.stdDev, tp.uncertaintyScaling);
    int runStart = -1;
    int runIsotope = -1;
    for (int i = m_first; i <= m_last; ++i) {
        const int k = function.peakOverlapIndex(m_points[i].x());
        if (runStart >= 0 && k == runIsotope) {
            continue;
        }
        if (runStart >= 0) {
            m_buffers.runs.push_back({ runStart, i, static_cast<size_t>(runIsotope) });
            runStart = -1;
        }
        if (k >= 0) {
            runStart = i;
            runIsotope = k;
        } else {
            m_buffers.unassigned.push_back(i);
        }
    }
    if (runStart >= 0) {
        m_buffers.runs.push_back({ runStart, m_last + 1, static_cast<size_t>(runIsotope) });
    }
}

double OverlapScorer::modelAt(int pointIndex, double scale)
{
    const auto slot = static_cast<size_t>(pointIndex - m_first);
    ModelShape &shape = m_buffers.shapes[slot];
    if (!m_buffers.hasShape[slot]) {
        shape = modelShape(m_d, m_charge, m_mzOffset, m_sigma, m_points[pointIndex].x(), 1);
        m_buffers.hasShape[slot] = 1;
    }
    // As AveragineIsotopeFunction::evaluate at this scale, to the last bit.
    return shape.empty ? 0.0 : shape.sum * scale;
}

// find_penalty_scale_factor_if_accounted_for, read once per point when the scorer was made.
double OverlapScorer::penalty(int pointIndex, double q) const
{
    return m_buffers.explained[static_cast<size_t>(pointIndex - m_first)] ? q : 1.0;
}

// The run's point closest to the expected height is its match, unless the expected height is three
// times the point's or more; every other point goes to the side list.
void OverlapScorer::resolve(const Run &run, double scale, std::vector<PointAndPercentAccountFor> &matches)
{
    const double expected = m_d[run.isotope] * scale;
    int best = run.begin;
    double bestDistance = std::abs(m_points[run.begin].y() - expected);
    for (int i = run.begin + 1; i < run.end; ++i) {
        const double distance = std::abs(m_points[i].y() - expected);
        if (distance < bestDistance) {
            best = i;
            bestDistance = distance;
        }
    }
    std::vector<size_t> &matchedIsotopes = m_buffers.matchedIsotopes;
    for (int i = run.begin; i < run.end; ++i) {
        if (i != best) {
            m_buffers.side.push_back(i);
            continue;
        }
        const double ratio = expected / m_points[best].y();
        if (!(ratio < 3.0)) {
            m_buffers.side.push_back(best);
            continue;
        }
        matches.push_back({ best, ratio });
        // A match far below the model still leaves its isotope counted as missing.
        if (m_points[best].y() > 0.2 * modelAt(best, scale)) {
            // Runs come in m/z order, so the isotope nearly always goes last.
            if (matchedIsotopes.empty() || matchedIsotopes.back() <= run.isotope) {
                matchedIsotopes.push_back(run.isotope);
            } else {
                matchedIsotopes.insert(std::upper_bound(matchedIsotopes.begin(), matchedIsotopes.end(), run.isotope),
                                       run.isotope);
            }
        }
    }
}

void OverlapScorer::score(double scale, ChargeScoreInfo &info)
{
    info.points.clear();
    std::vector<PointAndPercentAccountFor> &matches = info.matchVector;
    matches.clear();
    matches.reserve(5);
    m_buffers.side.clear();
    m_buffers.matchedIsotopes.clear();
    for (const Run &run : m_buffers.runs) {
        resolve(run, scale, matches);
    }
    const std::vector<size_t> &matchedIsotopes = m_buffers.matchedIsotopes;
    if (matchedIsotopes.size() <= 1) {
        info.score = sparseMatchScore(m_charge);
        return;
    }

    // The sums run in a fixed order (unassigned, side, matched, coverage): rounding depends on it.
    const size_t n = m_d.size();
    const double tallest = scale * m_d[m_kmax];
    const double next = m_kmax + 1 < n ? scale * m_d[m_kmax + 1] : 0.0;
    const auto inTallRange = [tallest, next](double y) { return y > 0.4 * next && y < 1.6 * tallest; };
    double numerator = 0.0;
    double denominator = 0.0;
    double coverage = 0.0;
    for (int i : m_buffers.unassigned) {
        const double y = m_points[i].y();
        const double p = penalty(i, 0.2);
        if (inTallRange(y) && m_tp.chargeSearchActive) {
            numerator += 2.0 * 2.1333333333333333 * p * (y * y);
            denominator += 2.0 * p * (y * y);
        } else {
            numerator += 2.0 * 2.1333333333333333 * p * tallest;
            denominator += 2.0 * p * tallest;
        }
    }
    for (int i : m_buffers.side) {
        const double y = m_points[i].y();
        const double p = penalty(i, 0.2);
        if (inTallRange(y)) {
            numerator += 1.7 * 0.5 * p * (y * y);
            denominator += 0.5 * p * (y * y);
        } else {
            numerator += 1.7 * 0.5 * p * tallest;
            denominator += 0.5 * p * tallest;
        }
    }
    for (const PointAndPercentAccountFor &match : matches) {
        const double y = m_points[match.pointIndex].y();
        const double m = modelAt(match.pointIndex, scale);
        const double p = penalty(match.pointIndex, 0.05);
        const double q = std::min(m / y, y / m);
        numerator += 2.7 * p * (q * q) * ((y - m) * (y - m));
        denominator += 1.2 * p * (m * m);
    }
    const auto matchedCount = static_cast<double>(matchedIsotopes.size());
    const double perIsotope = 1.0 / std::sqrt(static_cast<double>(n));
    const double coverageWeight = m_tp.chargeSearchActive ? 3.0 : 1.5;
    const double missingWeight = m_tp.chargeSearchActive ? 15.0 : 1.5;
    // The matched isotopes are sorted: one walk along them tells which isotopes are missing.
    auto nextMatched = matchedIsotopes.cbegin();
    for (size_t j = 0; j < n; ++j) {
        const double h = (m_d[j] * scale) * (m_d[j] * scale);
        coverage += coverageWeight * h * matchedCount * perIsotope;
        while (nextMatched != matchedIsotopes.cend() && *nextMatched < j) {
            ++nextMatched;
        }
        if (nextMatched == matchedIsotopes.cend() || *nextMatched != j) {
            numerator += missingWeight * h;
        }
    }
    info.score = numerator / (denominator + coverage + 1e-15);
}

} // namespace zeq_reference::detail
