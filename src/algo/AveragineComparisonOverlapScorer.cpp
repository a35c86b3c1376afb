#include "algo/AveragineComparisonOverlapScorer_p.h"
#include "algo/AveragineComparisonScoring.h"
#include "algo/AveragineComparison_p.h"
#include "zeq_common_stable/PlotBase.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>

namespace zeq::detail
{

namespace
{

// Weights of a point on no isotope's peak and of a side point in the tall range, as the score's
// products fold them.
constexpr double kUnassignedTall = 2.0 * 2.1333333333333333;
constexpr double kSideTall = 1.7 * 0.5;

// From this many points on, a window's tests of intensities go either way at random often enough
// that sums without branches pay; below, the branches are mostly foreseen.
constexpr size_t kCrowded = 64;

double gaussian(double t, double w)
{
    return std::pow(kGaussianBase, -(t * t) / (2.0 * w * w));
}

} // namespace

IsotopeWindow isotopeWindow(size_t size, int charge, double mzOffset, double sigma, double x, int window)
{
    IsotopeWindow iw{
        (x - mzOffset) * charge * kInverseSpacing, (kWidthFloor + sigma) * kInverseSpacing * charge, 0, -1
    };
    const double from = iw.u - window * iw.w;
    const double to = iw.u + window * iw.w;
    if (std::abs(from) < kTruncatable && std::abs(to) < kTruncatable) {
        iw.lo = std::max(aboveTruncated(from), 0LL);
        iw.hi = std::min(belowTruncated(to), static_cast<long long>(size) - 1);
        return iw;
    }
    // In doubles until clamped: far from the pattern, u does not fit an int.
    const double lo = std::max(above(from), 0.0);
    const double hi = std::min(below(to), static_cast<double>(size) - 1.0);
    if (lo <= hi) {
        iw.lo = static_cast<long long>(lo);
        iw.hi = static_cast<long long>(hi);
    }
    return iw;
}

namespace
{

// A run's match in points [begin, end), as chooseMatches() takes it: the first of the closest to e.
size_t closestSlot(const std::vector<OverlapScorerBuffers::Terms> &points, size_t begin, size_t end, double e)
{
    size_t best = begin;
    double bestDistance = std::abs(points[begin].y - e);
    for (size_t slot = begin + 1; slot < end; ++slot) {
        const double distance = std::abs(points[slot].y - e);
        if (distance < bestDistance) {
            best = slot;
            bestDistance = distance;
        }
    }
    return best;
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
    const IsotopeWindow iw = isotopeWindow(d.size(), charge, mzOffset, sigma, x, window);
    shape.empty = iw.lo > iw.hi;
    for (long long i = iw.lo; i <= iw.hi; ++i) {
        shape.sum += d[static_cast<size_t>(i)] * gaussian(iw.u - static_cast<double>(i), iw.w);
    }
    return shape;
}

const AveragineIsotopeDistribution::Pattern *
placementDistribution(const PlotBase &plot, const AveragineIsotopeDistribution &model, int charge, double mzOffset)
{
    if (plot.getPointListSize() <= 0 || mzOffset <= kUnsetMz || charge < 1) {
        return nullptr;
    }
    const AveragineIsotopeDistribution::Pattern &pattern = model.isotopePattern(charge * mzOffset);
    return pattern.fractions.empty() ? nullptr : &pattern;
}

OverlapScorer::OverlapScorer(const PlotBase &plot,
                             const AveragineIsotopeDistribution::Pattern &pattern,
                             const TestParameters &tp,
                             int charge,
                             double mzOffset,
                             OverlapScorerBuffers &buffers)
    : m_points(plot.getPointList())
    , m_d(pattern.fractions)
    , m_tp(tp)
    , m_charge(charge)
    , m_mzOffset(mzOffset)
    , m_sigma(findStdDev(tp.stdDev, mzOffset, tp.uncertaintyScaling))
    , m_kmax(pattern.tallest)
    , m_sumOfSquares(pattern.sumOfSquares)
    , m_buffers(buffers)
{
    const std::vector<double> &d = m_d;
    const double w0 = 2.0 * m_sigma;
    // getIndexLessOrEqual of both ends, the second searched from the first.
    const double low = mzOffset - w0;
    const double high = mzOffset + static_cast<double>(d.size()) * kIsotopeSpacing / charge + w0;
    const auto above = [](double x, const QPointF &p) { return x < p.x(); };
    const auto begin = m_points.cbegin();
    const auto lowEnd = std::isnan(low) ? begin : std::upper_bound(begin, m_points.cend(), low, above);
    m_first = static_cast<int>(lowEnd - begin);
    if (std::isnan(high)) {
        m_last = -1;
    } else {
        const auto from = high >= low ? lowEnd : begin;
        m_last = static_cast<int>(std::upper_bound(from, m_points.cend(), high, above) - begin) - 1;
    }
    m_windowOk = !(m_first > m_last || m_first < 0 || m_last >= plot.getPointListSize());
    if (!m_windowOk) {
        return;
    }
    m_perIsotope = 1.0 / std::sqrt(static_cast<double>(d.size()));
    const auto windowSize = static_cast<size_t>(m_last - m_first + 1);
    m_crowded = windowSize >= kCrowded;
    m_buffers.runs.clear();
    m_buffers.unassigned.clear();
    m_buffers.shapes.resize(windowSize);
    m_buffers.hasShape.assign(windowSize, 0);
    m_buffers.side.resize(windowSize);
    m_buffers.matchPenalty.resize(windowSize);

    // One pass over the window: runs of consecutive points on one isotope's peak; the points on no
    // peak are unassigned. A run interrupted by unassigned points ends there.
    // As AveragineIsotopeFunction::peakOverlapIndex with this placement.
    const double width = (kWidthFloor + m_sigma) * kInverseSpacing * charge;
    m_isotopeWidth = width;
    // A point an earlier cluster explains weighs less (find_penalty_scale_factor_if_accounted_for:
    // window point 0 is never penalised).
    const QList<PeakTag> &tags = tp.tagList.sortedTags();
    const PeakTag *tagData = tags.constData();
    const auto tagCount = static_cast<size_t>(tags.size());
    const int tagOffset = tp.tagList.getWindowPeakOffsetFromSpecpoints();
    // The weights' products with the penalty, as the score's expressions fold them.
    constexpr double kSideTallWeights[2] = { kSideTall * 1.0, kSideTall * 0.2 };
    constexpr double kSideWeights[2] = { 0.5 * 1.0, 0.5 * 0.2 };
    constexpr double kUnassignedTallWeights[2] = { kUnassignedTall * 1.0, kUnassignedTall * 0.2 };
    constexpr double kUnassignedWeights[2] = { 2.0 * 1.0, 2.0 * 0.2 };
    const size_t isotopes = d.size(); // read once: for all the compiler knows, the buffers alias it
    int runStart = -1;
    int runIsotope = -1;
    for (int i = m_first; i <= m_last; ++i) {
        const auto slot = static_cast<size_t>(i - m_first);
        const auto tag = static_cast<size_t>(i - tagOffset);
        const bool explained = tag != 0 && tag < tagCount && tagData[tag].excluded; // i below the offset wraps
        const double y = m_points[i].y();
        const double y2 = y * y;
        const int k = overlappedIsotope((m_points[i].x() - mzOffset) * charge * kInverseSpacing, width, isotopes);
        if (k >= 0) { // only the points of runs are read by slot
            const double tall = kSideTallWeights[explained];
            const double flat = kSideWeights[explained];
            m_buffers.side[slot] = { y, tall * y2, flat * y2, tall, flat };
            m_buffers.matchPenalty[slot] = explained ? 0.05 : 1.0;
        }
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
            const double tall = kUnassignedTallWeights[explained];
            const double flat = kUnassignedWeights[explained];
            m_buffers.unassigned.push_back({ y, tall * y2, flat * y2, tall, flat });
        }
    }
    if (runStart >= 0) {
        m_buffers.runs.push_back({ runStart, m_last + 1, static_cast<size_t>(runIsotope) });
    }
}

void OverlapScorer::fillShape(int pointIndex)
{
    const auto slot = static_cast<size_t>(pointIndex - m_first);
    m_buffers.shapes[slot] = modelShape(m_d, m_charge, m_mzOffset, m_sigma, m_points[pointIndex].x(), 1);
    m_buffers.hasShape[slot] = 1;
}

inline double OverlapScorer::modelAt(int pointIndex, double scale)
{
    const auto slot = static_cast<size_t>(pointIndex - m_first);
    if (!m_buffers.hasShape[slot]) {
        fillShape(pointIndex);
    }
    const ModelShape &shape = m_buffers.shapes[slot];
    // As AveragineIsotopeFunction::evaluate at this scale, to the last bit.
    return shape.empty ? 0.0 : shape.sum * scale;
}

// In each run the point closest to the expected height is its match, unless the expected height is
// three times the point's or more; every other point is a side point.
void OverlapScorer::chooseMatches(double scale)
{
    const std::vector<Run> &runs = m_buffers.runs;
    m_buffers.matched.resize(runs.size());
    for (size_t r = 0; r < runs.size(); ++r) {
        const Run &run = runs[r];
        const double e = m_d[run.isotope] * scale;
        const size_t best = closestSlot(
            m_buffers.side, static_cast<size_t>(run.begin - m_first), static_cast<size_t>(run.end - m_first), e);
        m_buffers.matched[r] = e / m_buffers.side[best].y < 3.0 ? static_cast<int>(best) : -1;
    }
}

// The matches in run order, with the model's height at each and the isotopes they count for.
void OverlapScorer::weighMatches(double scale, std::vector<PointAndPercentAccountFor> &matches)
{
    const std::vector<Run> &runs = m_buffers.runs;
    std::vector<size_t> &matchedIsotopes = m_buffers.matchedIsotopes;
    m_buffers.matchedModel.clear();
    for (size_t r = 0; r < runs.size(); ++r) {
        if (m_buffers.matched[r] < 0) {
            continue;
        }
        const auto slot = static_cast<size_t>(m_buffers.matched[r]);
        const double y = m_buffers.side[slot].y;
        const int pointIndex = m_first + static_cast<int>(slot);
        matches.push_back({ pointIndex, m_d[runs[r].isotope] * scale / y });
        const double model = modelAt(pointIndex, scale);
        m_buffers.matchedModel.push_back(model);
        // A match far below the model still leaves its isotope counted as missing.
        if (y > 0.2 * model) {
            const size_t isotope = runs[r].isotope;
            // Runs come in m/z order, so the isotope nearly always goes last.
            if (matchedIsotopes.empty() || matchedIsotopes.back() <= isotope) {
                matchedIsotopes.push_back(isotope);
            } else {
                matchedIsotopes.insert(std::upper_bound(matchedIsotopes.begin(), matchedIsotopes.end(), isotope),
                                       isotope);
            }
        }
    }
}

void OverlapScorer::score(double scale, ChargeScoreInfo &info)
{
    (void)scoreUnlessAtLeast(scale, std::nullopt, info);
}

// The unassigned points' terms, then the side points', in the score's order.
template <bool Crowded>
void OverlapScorer::sumUnmatched(double tallLow,
                                 double tallHigh,
                                 double tallest,
                                 double &numerator,
                                 double &denominator,
                                 size_t &sidePoints)
{
    const auto add = [&](const Terms &t, bool tall) {
        if constexpr (Crowded) {
            numerator += pick(tall, t.tallNumerator, t.flatNumerator * tallest);
            denominator += pick(tall, t.tallDenominator, t.flatDenominator * tallest);
        } else if (tall) {
            numerator += t.tallNumerator;
            denominator += t.tallDenominator;
        } else {
            numerator += t.flatNumerator * tallest;
            denominator += t.flatDenominator * tallest;
        }
    };
    const bool tallUnassigned = m_tp.chargeSearchActive;
    for (const Terms &t : m_buffers.unassigned) {
        add(t, (t.y > tallLow) & (t.y < tallHigh) & tallUnassigned);
    }
    const std::vector<Run> &runs = m_buffers.runs;
    for (size_t r = 0; r < runs.size(); ++r) {
        const auto end = static_cast<size_t>(runs[r].end - m_first);
        const int matched = m_buffers.matched[r];
        for (auto slot = static_cast<size_t>(runs[r].begin - m_first); slot < end; ++slot) {
            if (static_cast<int>(slot) == matched) {
                continue;
            }
            ++sidePoints;
            const Terms &t = m_buffers.side[slot];
            add(t, (t.y > tallLow) & (t.y < tallHigh));
        }
    }
}

std::optional<double> OverlapScorer::scoreUnlessAtLeast(double scale, std::optional<double> bar, ChargeScoreInfo &info)
{
    info.points.clear();
    std::vector<PointAndPercentAccountFor> &matches = info.matchVector;
    matches.clear();
    matches.reserve(5);
    m_buffers.matchedIsotopes.clear();
    chooseMatches(scale);

    // The sums run in a fixed order (unassigned, side, matched, coverage): rounding depends on it.
    const size_t n = m_d.size();
    const double tallest = scale * m_d[m_kmax];
    const double next = m_kmax + 1 < n ? scale * m_d[m_kmax + 1] : 0.0;
    const double tallLow = 0.4 * next;
    const double tallHigh = 1.6 * tallest;
    double numerator = 0.0;
    double denominator = 0.0;
    double coverage = 0.0;
    size_t sidePoints = 0;
    if (m_crowded) {
        sumUnmatched<true>(tallLow, tallHigh, tallest, numerator, denominator, sidePoints);
    } else {
        sumUnmatched<false>(tallLow, tallHigh, tallest, numerator, denominator, sidePoints);
    }
    const double coverageWeight = this->coverageWeight();
    const double missingWeight = this->missingWeight();
    if (bar) {
        const double least = lowerBound(scale, numerator, denominator, sidePoints);
        if (least >= *bar) {
            return least;
        }
    }

    weighMatches(scale, matches);
    const std::vector<size_t> &matchedIsotopes = m_buffers.matchedIsotopes;
    if (matchedIsotopes.size() <= 1) {
        info.score = sparseMatchScore(m_charge);
        return std::nullopt;
    }
    for (size_t k = 0; k < matches.size(); ++k) {
        const auto slot = static_cast<size_t>(matches[k].pointIndex - m_first);
        const double y = m_buffers.side[slot].y;
        const double m = m_buffers.matchedModel[k];
        const double p = m_buffers.matchPenalty[slot];
        const double q = std::min(m / y, y / m);
        numerator += 2.7 * p * (q * q) * ((y - m) * (y - m));
        denominator += 1.2 * p * (m * m);
    }
    const auto matchedCount = static_cast<double>(matchedIsotopes.size());
    const double perIsotope = m_perIsotope;
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
    return std::nullopt;
}

std::array<ScoreEstimate, 2> OverlapScorer::estimate(const std::array<double, 2> &scales)
{
    // Most scorers are asked once or twice, some a dozen times: the first estimate sums the
    // unassigned points as they come, later ones find those in the tall range among them sorted.
    const bool sorted = m_estimates++ > 0;
    if (m_estimates == 2) {
        prepareEstimates();
    }
    std::array<ScoreEstimate, 2> result;
    for (size_t j = 0; j < scales.size(); ++j) {
        result[j] = m_crowded ? estimateAt<true>(scales[j], sorted) : estimateAt<false>(scales[j], sorted);
    }
    return result;
}

template <bool Crowded> ScoreEstimate OverlapScorer::estimateAt(double scale, bool sorted)
{
    const OverlapScorerBuffers &b = m_buffers;
    const size_t n = m_d.size();
    const double perIsotope = m_perIsotope;
    const double coverageWeight = this->coverageWeight();
    const double missingWeight = this->missingWeight();
    const double tallest = scale * m_d[m_kmax];
    const double tallLow = 0.4 * (m_kmax + 1 < n ? scale * m_d[m_kmax + 1] : 0.0);
    const double tallHigh = 1.6 * tallest;
    // The points' terms in the tall range, and the flat factors of the others.
    double tallNumerator = 0.0;
    double tallDenominator = 0.0;
    double flatNumerator = 0.0;
    double flatDenominator = 0.0;
    // The whole sums of the unassigned points' terms that sorted sums were taken from.
    double wholeNumerator = 0.0;
    double wholeDenominator = 0.0;
    const auto add = [&](const Terms &t, bool tallAllowed) {
        const bool tall = (t.y > tallLow) & (t.y < tallHigh) & tallAllowed;
        if constexpr (Crowded) {
            tallNumerator += pick(tall, t.tallNumerator, 0.0);
            tallDenominator += pick(tall, t.tallDenominator, 0.0);
            flatNumerator += pick(tall, 0.0, t.flatNumerator);
            flatDenominator += pick(tall, 0.0, t.flatDenominator);
        } else if (tall) {
            tallNumerator += t.tallNumerator;
            tallDenominator += t.tallDenominator;
        } else {
            flatNumerator += t.flatNumerator;
            flatDenominator += t.flatDenominator;
        }
    };
    if (!sorted) {
        for (const Terms &t : b.unassigned) {
            add(t, m_tp.chargeSearchActive);
        }
    } else {
        // The unassigned points in the tall range are a stretch of them sorted by intensity.
        const std::vector<double> &ys = b.sortedUnassigned;
        const std::vector<Sums> &prefix = b.unassignedPrefix;
        const Sums &all = prefix.back();
        wholeNumerator = all.tallNumerator + all.flatNumerator * tallest;
        wholeDenominator = all.tallDenominator + all.flatDenominator * tallest;
        size_t lower = 0;
        size_t upper = 0;
        if (m_tp.chargeSearchActive) {
            lower = static_cast<size_t>(std::upper_bound(ys.cbegin(), ys.cend(), tallLow) - ys.cbegin());
            upper = static_cast<size_t>(std::lower_bound(ys.cbegin(), ys.cend(), tallHigh) - ys.cbegin());
        }
        flatNumerator = all.flatNumerator;
        flatDenominator = all.flatDenominator;
        if (lower < upper) {
            tallNumerator = prefix[upper].tallNumerator - prefix[lower].tallNumerator;
            tallDenominator = prefix[upper].tallDenominator - prefix[lower].tallDenominator;
            flatNumerator = prefix[lower].flatNumerator + (all.flatNumerator - prefix[upper].flatNumerator);
            flatDenominator = prefix[lower].flatDenominator + (all.flatDenominator - prefix[upper].flatDenominator);
        }
    }

    // chooseMatches()'s choices, run by run, without listing them.
    double matchNumerator = 0.0;
    double matchDenominator = 0.0;
    double matchedSquares = 0.0;
    size_t matchedCount = 0;
    size_t sideCount = 0;
    size_t matchCount = 0;
    size_t lastIsotope = n;
    for (const Run &run : b.runs) {
        const double d = m_d[run.isotope];
        const auto begin = static_cast<size_t>(run.begin - m_first);
        const auto end = static_cast<size_t>(run.end - m_first);
        const double e = d * scale;
        size_t bestSlot = begin;
        bool matched = false;
        if (end == begin + 1) {
            // Most runs hold one point: no closest point to find, at most one side point.
            matched = e / b.side[begin].y < 3.0;
            if (!matched) {
                add(b.side[begin], true);
                ++sideCount;
                continue;
            }
        } else {
            bestSlot = closestSlot(b.side, begin, end, e);
            matched = e / b.side[bestSlot].y < 3.0;
            for (size_t slot = begin; slot < end; ++slot) {
                if (!matched || slot != bestSlot) {
                    add(b.side[slot], true);
                    ++sideCount;
                }
            }
            if (!matched) {
                continue;
            }
        }
        const double y = b.side[bestSlot].y;
        ++matchCount;
        const double m = modelAt(m_first + static_cast<int>(bestSlot), scale);
        const double p = b.matchPenalty[bestSlot];
        const double q = std::min(m / y, y / m);
        matchNumerator += 2.7 * p * (q * q) * ((y - m) * (y - m));
        matchDenominator += 1.2 * p * (m * m);
        if (y > 0.2 * m) {
            ++matchedCount;
            if (run.isotope != lastIsotope) {
                matchedSquares += d * d;
                lastIsotope = run.isotope;
            }
        }
    }

    if (matchedCount <= 1) {
        return { sparseMatchScore(m_charge), 0.0 };
    }
    const double squaredScale = scale * scale;
    const double missingBound = missingWeight * squaredScale * m_sumOfSquares;
    const double missing = missingWeight * squaredScale * std::max(m_sumOfSquares - matchedSquares, 0.0);
    const double coverage =
        coverageWeight * static_cast<double>(matchedCount) * perIsotope * squaredScale * m_sumOfSquares;
    const double numerator = tallNumerator + flatNumerator * tallest + matchNumerator + missing;
    const double denominator = tallDenominator + flatDenominator * tallest + matchDenominator + coverage + 1e-15;
    const double value = numerator / denominator;

    // score() and this differ only in rounding. Each computes every part within γ = k·u of its
    // value in exact arithmetic, k counting the roundings on the way (the sums' lengths and a few
    // products); differences of sums are bounded by the whole sums they come from, the missing
    // isotopes' share by the whole pattern's. Twice γ bounds the two results' difference,
    // doubled again for margin, with an absolute allowance for subnormal values.
    constexpr double u = 0x1p-53;
    const Rounding rounding(2 * (b.unassigned.size() + sideCount + matchCount + n) + 32);
    const double gamma = rounding.gamma;
    const double tiny = rounding.tiny;
    const double numeratorError =
        gamma * (wholeNumerator + tallNumerator + flatNumerator * tallest + matchNumerator + missingBound) + tiny;
    const double denominatorError = gamma * (wholeDenominator + denominator) + tiny;
    const double error =
        2.0 * ((numeratorError + value * denominatorError) / (denominator - denominatorError) + 4.0 * u * value) + tiny;
    if (!std::isfinite(value) || !std::isfinite(error) || !(denominator > denominatorError)) {
        return { value, std::numeric_limits<double>::infinity() };
    }
    return { value, error };
}

void OverlapScorer::prepareEstimates()
{
    OverlapScorerBuffers &b = m_buffers;
    // Sorted with their intensities at hand: an indirect sort would chase the terms.
    std::vector<std::pair<double, size_t>> &order = b.order;
    order.resize(b.unassigned.size());
    for (size_t i = 0; i < order.size(); ++i) {
        order[i] = { b.unassigned[i].y, i };
    }
    std::sort(order.begin(), order.end(), [](const auto &l, const auto &r) { return l.first < r.first; });
    b.sortedUnassigned.clear();
    b.unassignedPrefix.assign(1, Sums{});
    for (const auto &[y, i] : order) {
        const Terms &t = b.unassigned[i];
        b.sortedUnassigned.push_back(y);
        Sums sums = b.unassignedPrefix.back();
        sums.flatNumerator += t.flatNumerator;
        sums.flatDenominator += t.flatDenominator;
        sums.tallNumerator += t.tallNumerator;
        sums.tallDenominator += t.tallDenominator;
        b.unassignedPrefix.push_back(sums);
    }
}

} // namespace zeq::detail
