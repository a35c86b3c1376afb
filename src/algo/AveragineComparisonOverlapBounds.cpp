#include "algo/AveragineComparisonOverlapScorer_p.h"
#include "algo/AveragineComparisonScoring.h"
#include "algo/AveragineComparison_p.h"

#include <algorithm>
#include <cmath>
#include <limits>

// Lower bounds on the overlap score that skip the model's heights and their powers. Every term of
// the score is non-negative, so leaving terms out of the numerator and raising terms of the
// denominator bounds the score from below; what is left to bound is rounding (`Rounding`).

namespace zeq::detail
{

namespace
{

constexpr double u = 0x1p-53;

// Σd² less the squares of the isotopes that may be matched, never above the exact difference: a
// difference loses its rounding's worth of both sums.
double missingSquares(const Rounding &rounding, double squares, double reached)
{
    return std::max(squares - reached - rounding.gamma * (squares + reached), 0.0);
}

// The score bounded from below by its numerator and denominator sums as computed, each within the
// rounding's allowance of its exact value.
double least(const Rounding &rounding, double numerator, double denominator, int charge)
{
    const double low = numerator * (1.0 - rounding.gamma) - rounding.tiny;
    const double high = (denominator + 1e-15) * (1.0 + rounding.gamma) + rounding.tiny;
    const double bound = low / high * (1.0 - 8.0 * u);
    if (!(low > 0.0) || !std::isfinite(bound)) {
        return -std::numeric_limits<double>::infinity();
    }
    // With at most one isotope matched the score is the sparse one instead.
    return std::min(bound, sparseMatchScore(charge));
}

} // namespace

double OverlapScorer::shapeCeiling(size_t slot, size_t isotope)
{
    if (m_buffers.hasShape[slot]) {
        const ModelShape &shape = m_buffers.shapes[slot];
        return shape.empty ? 0.0 : shape.sum;
    }
    // A point of a run lies within half an isotope of its own: a peak width short of another half
    // keeps every other isotope out of its window, one short of one and a half all but the
    // neighbours (with room for rounding).
    if (m_isotopeWidth <= 0.45) {
        return m_d[isotope];
    }
    if (m_isotopeWidth <= 1.45) {
        return (isotope > 0 ? m_d[isotope - 1] : 0.0) + m_d[isotope]
            + (isotope + 1 < m_d.size() ? m_d[isotope + 1] : 0.0);
    }
    // modelShape's sum with each Gaussian factor at its most, 1.
    const double x = m_points[m_first + static_cast<int>(slot)].x();
    const IsotopeWindow iw = isotopeWindow(m_d.size(), m_charge, m_mzOffset, m_sigma, x, 1);
    double heights = 0.0;
    for (long long i = iw.lo; i <= iw.hi; ++i) {
        heights += m_d[static_cast<size_t>(i)];
    }
    return heights;
}

double OverlapScorer::exactShape(size_t slot)
{
    if (!m_buffers.hasShape[slot]) {
        fillShape(m_first + static_cast<int>(slot));
    }
    const ModelShape &shape = m_buffers.shapes[slot];
    return shape.empty ? 0.0 : shape.sum;
}

double OverlapScorer::lowerBound(double scale, double numerator, double denominator, size_t sidePoints)
{
    const double coverageWeight = this->coverageWeight();
    const double missingWeight = this->missingWeight();
    // The score's sums of unassigned and side points are given; of the rest, a match adds nothing to
    // the numerator and its largest possible height to the denominator, an isotope counts as missing
    // only when no run of it has a match at all, and every match as a matched isotope.
    const size_t n = m_d.size();
    size_t matchedRuns = 0;
    // Each isotope with a match once: runs come in isotope order, and where one came twice, the
    // bound would only be lower.
    double reachedSquares = 0.0;
    size_t lastReached = n;
    for (size_t r = 0; r < m_buffers.runs.size(); ++r) {
        if (m_buffers.matched[r] < 0) {
            continue;
        }
        const auto slot = static_cast<size_t>(m_buffers.matched[r]);
        ++matchedRuns;
        const size_t isotope = m_buffers.runs[r].isotope;
        if (isotope != lastReached) {
            reachedSquares += m_d[isotope] * m_d[isotope];
            lastReached = isotope;
        }
        const double highest = shapeCeiling(slot, isotope) * scale;
        denominator += 1.2 * m_buffers.matchPenalty[slot] * (highest * highest);
    }

    const Rounding rounding(2 * (m_buffers.unassigned.size() + sidePoints + matchedRuns + 2 * n) + 64);
    const double squares = m_sumOfSquares;
    numerator += missingWeight * (scale * scale) * missingSquares(rounding, squares, reachedSquares);
    denominator += coverageWeight * (scale * scale) * squares * static_cast<double>(matchedRuns) * m_perIsotope;
    return least(rounding, numerator, denominator, m_charge);
}

double OverlapScorer::leastOver(double a, double b)
{
    return m_crowded ? leastOverIn<true>(a, b) : leastOverIn<false>(a, b);
}

template <bool Crowded> double OverlapScorer::leastOverIn(double a, double b)
{
    // Whether a point is in the tall range, and whether it can be matched, changes monotonically
    // with the scale in the score's own floating-point expressions, so the ends of [a, b] tell for
    // the whole range. A point that may fall either way counts with the lesser numerator term and
    // the greater denominator term. An isotope counts as matched, and a run toward the coverage,
    // wherever a match that could count exists.
    const size_t n = m_d.size();
    const double next = m_kmax + 1 < n ? m_d[m_kmax + 1] : 0.0;
    const double tallestA = a * m_d[m_kmax];
    const double tallestB = b * m_d[m_kmax];
    const double lowA = 0.4 * (m_kmax + 1 < n ? a * next : 0.0);
    const double lowB = 0.4 * (m_kmax + 1 < n ? b * next : 0.0);
    const double highA = 1.6 * tallestA;
    const double highB = 1.6 * tallestB;
    // Every point passes here once. The closest point's margins need every intensity 0 or well
    // inside the normal range, so that rounding errors stay relative.
    bool plain = true;
    // The least numerator term and the greatest denominator term of a point over [a, b].
    const auto bounds = [&](const Terms &t, bool tallAllowed) {
        plain &= (t.y == 0.0) | ((t.y >= 0x1p-900) & (t.y <= 0x1p+900));
        const TermBounds flat{ t.flatNumerator * tallestA, t.flatDenominator * tallestB };
        const bool never = !tallAllowed | !((t.y > lowA) & (t.y < highB));
        const bool always = (t.y > lowB) & (t.y < highA);
        if constexpr (Crowded) {
            const double numerator = pick(always, t.tallNumerator, std::min(t.tallNumerator, flat.numerator));
            const double denominator = pick(always, t.tallDenominator, std::max(t.tallDenominator, flat.denominator));
            return TermBounds{ pick(never, flat.numerator, numerator), pick(never, flat.denominator, denominator) };
        }
        if (never) {
            return flat;
        }
        if (always) {
            return TermBounds{ t.tallNumerator, t.tallDenominator };
        }
        return TermBounds{ std::min(t.tallNumerator, flat.numerator), std::max(t.tallDenominator, flat.denominator) };
    };

    double numerator = 0.0;
    double denominator = 0.0;
    for (const Terms &t : m_buffers.unassigned) {
        const TermBounds tb = bounds(t, m_tp.chargeSearchActive);
        numerator += tb.numerator;
        denominator += tb.denominator;
    }
    size_t runPoints = 0;
    size_t reachableRuns = 0;
    double reachedSquares = 0.0;
    size_t lastReached = n;
    // A match's term over [a, b], its model height m anywhere in [ma, mb]: nothing where m may
    // equal the point's height, else the term at the nearer end (below the point's height the term
    // rises and falls, so at whichever end is lower).
    const auto matchLeast = [](double y, double p, double ma, double mb) {
        const auto term = [&](double m) {
            const double q = std::min(m / y, y / m);
            return 2.7 * p * (q * q) * ((y - m) * (y - m));
        };
        if (ma <= y && y <= mb) {
            return 0.0;
        }
        return mb < y ? std::min(term(ma), term(mb)) : term(ma);
    };
    std::vector<TermBounds> &terms = m_buffers.runTerms;
    std::vector<TermBounds> &before = m_buffers.runPrefix;
    for (const Run &run : m_buffers.runs) {
        const auto begin = static_cast<size_t>(run.begin - m_first);
        const auto end = static_cast<size_t>(run.end - m_first);
        const size_t length = end - begin;
        runPoints += length;
        // The run adds its side points and at most one match: the least and the most of its side
        // points alone and of each point that may be matched with the others beside it. The match
        // is the point closest to the expected height, so no point farther from every expected
        // height over [a, b] than another (by more than rounding) can be it; and it is matched only
        // while the expected height is under three times its own, which holds over [a, b] only if
        // it holds at a (the margins stand for the rounding of the quotient and the distances).
        const double expected = m_d[run.isotope] * a;
        const double expectedMost = m_d[run.isotope] * b;
        double below = -std::numeric_limits<double>::infinity(); // the highest point under the range
        double above = std::numeric_limits<double>::infinity(); // the lowest point over it
        terms.resize(length);
        before.resize(length + 1);
        before[0] = { 0.0, 0.0 };
        for (size_t k = 0; k < length; ++k) {
            const Terms &t = m_buffers.side[begin + k];
            terms[k] = bounds(t, true);
            before[k + 1] = { before[k].numerator + terms[k].numerator, before[k].denominator + terms[k].denominator };
            if (t.y <= expected) {
                below = std::max(below, t.y);
            }
            if (t.y >= expectedMost) {
                above = std::min(above, t.y);
            }
        }
        const double lowest = below - 4.0 * u * expectedMost;
        const double highest = above * (1.0 + 4.0 * u);
        bool reachable = false;
        bool counted = false;
        bool alwaysMatched = true; // each point that may be closest is matched even at b
        TermBounds total{ std::numeric_limits<double>::infinity(), 0.0 };
        TermBounds after{ 0.0, 0.0 };
        for (size_t k = length; k-- > 0;) {
            const size_t slot = begin + k;
            const double y = m_buffers.side[slot].y;
            if (y >= lowest && y <= highest) {
                alwaysMatched = alwaysMatched && expectedMost < 3.0 * (1.0 - 4.0 * u) * y;
                if (expected < 3.0 * (1.0 + 4.0 * u) * y) {
                    reachable = true;
                    const double shape = exactShape(slot);
                    // A match far below the model leaves its isotope missing.
                    counted = counted || y > 0.2 * (shape * a);
                    const double p = m_buffers.matchPenalty[slot];
                    const double mb = shape * b;
                    total.numerator = std::min(total.numerator,
                                               before[k].numerator + after.numerator + matchLeast(y, p, shape * a, mb));
                    total.denominator =
                        std::max(total.denominator, before[k].denominator + after.denominator + 1.2 * p * (mb * mb));
                }
            }
            after = { after.numerator + terms[k].numerator, after.denominator + terms[k].denominator };
        }
        if (!alwaysMatched) {
            total = { std::min(total.numerator, before[length].numerator),
                      std::max(total.denominator, before[length].denominator) };
        }
        if (!reachable) {
            numerator += before[length].numerator;
            denominator += before[length].denominator;
            continue;
        }
        numerator += total.numerator;
        denominator += total.denominator;
        if (!counted) {
            continue;
        }
        ++reachableRuns;
        if (run.isotope != lastReached) {
            reachedSquares += m_d[run.isotope] * m_d[run.isotope];
            lastReached = run.isotope;
        }
    }

    if (!plain) {
        return -std::numeric_limits<double>::infinity();
    }
    const double coverageWeight = this->coverageWeight();
    const double missingWeight = this->missingWeight();
    const Rounding rounding(2 * (m_buffers.unassigned.size() + runPoints + m_buffers.runs.size() + 2 * n) + 64);
    const double squares = m_sumOfSquares;
    numerator += missingWeight * (a * a) * missingSquares(rounding, squares, reachedSquares);
    denominator += coverageWeight * (b * b) * squares * static_cast<double>(reachableRuns) * m_perIsotope;
    return least(rounding, numerator, denominator, m_charge);
}

} // namespace zeq::detail
