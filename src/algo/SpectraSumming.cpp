#include "algo/SpectraSumming.h"

#include "math/ApproxEqual.h"

#include <algorithm>
#include <bit>
#include <cmath>

namespace zeq
{

namespace
{

constexpr double kMinPpmWidth = 0.02;

/// Intensity moments Σy, Σy·u, Σy·u² of a run of consecutive points, with u = m/z − c for a reference
/// c near them, kept up to date as points enter and leave. Sums kept this way drift by rounding; they
/// are summed afresh, about a new reference, once every point present at the last rebuild has left.
/// That costs no more than the additions since, and keeps both the drift and |u| within about two
/// kernel widths, so the moments about any point of the window keep their digits.
///
/// Offsets are kept in units of a power of two near the kernel width, set at each rebuild: squared
/// offsets in Da overflow once the width passes about 1e154 (m/z near 1e300 at 10 ppm). Scaling by a
/// power of two is exact, so ordinary input gives the unscaled results to the bit (a kernel narrower
/// than about 2^-32 of the m/z rebuilds sooner, which may move the last bits).
class Moments
{
public:
    explicit Moments(const QList<QPointF> &points)
        : m_points(points)
    {
    }

    void add(qsizetype j) { accumulate(m_points[j], 1.0); }

    /// Removes the first point of [lo, hi); when every point of the last rebuild is gone, sums
    /// [lo + 1, hi) afresh about `reference`, in units of `scale`.
    void removeFirst(qsizetype lo, qsizetype hi, double reference, double scale)
    {
        accumulate(m_points[lo], -1.0);
        if (lo + 1 >= m_rebuiltUpTo) {
            rebuild(lo + 1, hi, reference, scale);
        }
    }
    void removeLast(qsizetype j) { accumulate(m_points[j], -1.0); }

    /// For an empty window about to take points from `at` on: a reference or a scale far from theirs
    /// would overflow the squared offsets, so the sums start afresh about `reference`. Near ones are
    /// kept, which leaves the sums of ordinary input as they were.
    void restartIfFar(qsizetype at, double reference, double scale)
    {
        // The first window takes the scale of its first point, so that the outcome does not depend
        // on the size of the numbers.
        if (m_scale == 0.0) {
            m_scale = scale;
            m_inverse = 1.0 / scale;
        }
        constexpr double far = 0x1p32;
        const double e = std::fabs(reference - m_c) / m_scale;
        const double r = m_scale / scale;
        if (!(e < far && r < far && r > 1.0 / far)) {
            rebuild(at, at, reference, scale);
        }
    }

    void rebuild(qsizetype lo, qsizetype hi, double reference, double scale)
    {
        m_c = reference;
        m_scale = scale;
        m_inverse = 1.0 / scale;
        m_s0 = m_s1 = m_s2 = 0.0;
        for (qsizetype j = lo; j < hi; ++j) {
            accumulate(m_points[j], 1.0);
        }
        m_rebuiltUpTo = hi;
    }

    /// Σy, Σy·d and Σy·d² with d = (m/z − x) / scale.
    void about(double x, double scale, double &s0, double &s1, double &s2) const
    {
        s0 = m_s0;
        // An empty window may be unscaled yet or far from its reference: zero, not ∞ · 0.
        if (m_s0 == 0.0 && m_s1 == 0.0 && m_s2 == 0.0) {
            s1 = s2 = 0.0;
            return;
        }
        const double e = (x - m_c) * m_inverse;
        const double r = m_scale / scale;
        s1 = (m_s1 - e * m_s0) * r;
        s2 = (m_s2 - 2.0 * e * m_s1 + e * e * m_s0) * (r * r);
    }

private:
    void accumulate(const QPointF &p, double sign)
    {
        // Exact: the inverse of a power of two is a power of two too.
        const double u = (p.x() - m_c) * m_inverse;
        const double yu = sign * p.y() * u;
        m_s0 += sign * p.y();
        m_s1 += yu;
        m_s2 += yu * u;
    }

    const QList<QPointF> &m_points;
    double m_c = 0.0;
    double m_scale = 0.0; // set by restartIfFar before the first point is added
    double m_inverse = 0.0;
    double m_s0 = 0.0;
    double m_s1 = 0.0;
    double m_s2 = 0.0;
    qsizetype m_rebuiltUpTo = 0;
};

bool usableWidth(double w)
{
    return std::isfinite(w) && w > 0.0;
}

/// The power of two at or below a usable width (its exponent bits alone); 1 for a subnormal width,
/// whose squares underflow before they could overflow.
double scaleOf(double w)
{
    const double scale = std::bit_cast<double>(std::bit_cast<quint64>(w) & 0x7ff0'0000'0000'0000ULL);
    return scale != 0.0 ? scale : 1.0;
}

bool byMz(const QPointF &a, const QPointF &b)
{
    return a.x() < b.x();
}

/// Sorts `points`, consecutive runs that start at `starts`, by merging the runs pairwise (the spectra
/// arrive sorted, so this beats sorting the pool). `spare` ends as scratch of the same size, so the
/// next step writes into memory already in use rather than into fresh pages.
void sortRuns(QList<QPointF> &points, QList<qsizetype> starts, QList<QPointF> &spare)
{
    starts.append(points.size());
    for (qsizetype r = 0; r + 1 < starts.size(); ++r) {
        QPointF *first = points.data() + starts[r];
        QPointF *last = points.data() + starts[r + 1];
        if (!std::is_sorted(first, last, byMz)) {
            std::sort(first, last, byMz);
        }
    }
    spare.resize(points.size());
    while (starts.size() > 2) {
        QList<qsizetype> merged{ 0 };
        const QPointF *in = points.constData();
        QPointF *out = spare.data();
        for (qsizetype r = 0; r + 1 < starts.size(); r += 2) {
            const qsizetype mid = starts[r + 1];
            const qsizetype hi = r + 2 < starts.size() ? starts[r + 2] : mid;
            std::merge(in + starts[r], in + mid, in + mid, in + hi, out + starts[r], byMz);
            merged.append(hi);
        }
        points.swap(spare);
        starts = merged;
    }
}

void mergeDuplicatesInPlace(QList<QPointF> &points)
{
    QPointF *p = points.data();
    const qsizetype n = points.size();
    qsizetype out = 0;
    for (qsizetype i = 0; i < n;) {
        QPointF run = p[i];
        qsizetype j = i + 1;
        for (; j < n && approxEqual(p[j].x(), run.x()); ++j) {
            run.ry() += p[j].y();
        }
        p[out++] = run;
        i = j;
    }
    points.resize(out);
}

// In place: the point written at step i goes to a position at or before i, and the steps after i
// only read positions from i on, so they see the input.
void filterPeaksInPlace(const MassTolerance &tolerance, QList<QPointF> &points)
{
    QPointF *p = points.data();
    const qsizetype n = points.size();
    qsizetype out = 0;
    for (qsizetype i = 0; i < n; ++i) {
        const double w = SpectraSumming::width(tolerance, p[i].x());
        const bool leftHides = i > 0 && p[i].x() - p[i - 1].x() < w && p[i].y() < p[i - 1].y();
        const bool rightHides = i + 1 < n && p[i + 1].x() - p[i].x() < w && p[i].y() < p[i + 1].y();
        if (!leftHides && !rightHides) {
            p[out++] = p[i];
        }
    }
    points.resize(out);
}

// In place as filterPeaksInPlace; a join writes one point for two, so writes only fall further behind.
void filterPairsInPlace(const MassTolerance &tolerance, QList<QPointF> &points)
{
    const qsizetype n = points.size();
    if (n < 2) {
        return;
    }
    QPointF *p = points.data();
    qsizetype out = 0;
    qsizetype i = 0;
    for (; i + 1 < n; ++i) {
        const double w = SpectraSumming::width(tolerance, p[i].x());
        const bool clearLeft = i == 0 || p[i].x() - p[i - 1].x() >= w;
        const bool clearRight = i + 2 == n || p[i + 2].x() - p[i + 1].x() >= w;
        if (p[i + 1].x() - p[i].x() < w && approxEqual(p[i].y(), p[i + 1].y()) && clearLeft && clearRight) {
            // Halves first: for normal values the same as (a + b) / 2, without overflow near the largest double.
            p[out++] = QPointF(p[i].x() / 2.0 + p[i + 1].x() / 2.0, p[i].y());
            ++i;
        } else {
            p[out++] = p[i];
        }
    }
    if (i < n) {
        p[out++] = p[i];
    }
    points.resize(out);
}

} // namespace

double SpectraSumming::width(const MassTolerance &tolerance, double mz)
{
    if (tolerance.unit() != MassTolerance::ppm) {
        return tolerance.tolerance();
    }
    const double w = mz * tolerance.tolerance() * 1e-6;
    return w > kMinPpmWidth ? w : kMinPpmWidth;
}

QList<QPointF> SpectraSumming::doSumming(const Options &options, const QList<Spectra> &spectra)
{
    qsizetype total = 0;
    for (const Spectra &s : spectra) {
        total += s.points.size();
    }
    QList<QPointF> points(total);
    QList<qsizetype> starts;
    starts.reserve(spectra.size());
    qsizetype count = 0;
    for (const Spectra &s : spectra) {
        starts.append(count);
        for (const QPointF &p : s.points) {
            // A NaN m/z would also break the sort's ordering.
            if (std::isfinite(p.x()) && std::isfinite(p.y())) {
                points[count++] = p;
            }
        }
    }
    points.resize(count);
    QList<QPointF> summed;
    sortRuns(points, starts, summed);
    mergeDuplicatesInPlace(points);
    sumNeighbors(options, points, summed);
    filterPeaksInPlace(options.peakTolerance, summed);
    filterPairsInPlace(options.peakTolerance, summed);
    // The buffer had room for every pooled point; the sum is usually far smaller.
    summed.squeeze();
    return summed;
}

QList<QPointF> SpectraSumming::mergeDuplicates(const QList<QPointF> &points)
{
    QList<QPointF> merged = points;
    mergeDuplicatesInPlace(merged);
    return merged;
}

QList<QPointF> SpectraSumming::sumNeighbors(const Options &options, const QList<QPointF> &points)
{
    QList<QPointF> summed;
    sumNeighbors(options, points, summed);
    return summed;
}

void SpectraSumming::sumNeighbors(const Options &options, const QList<QPointF> &points, QList<QPointF> &summed)
{
    const qsizetype n = points.size();
    summed.resize(n);
    QPointF *out = summed.data();
    // The left neighbours of i are [a, i), the right ones [i + 1, b).
    Moments left(points);
    Moments right(points);
    qsizetype a = 0;
    qsizetype b = 1;
    for (qsizetype i = 0; i < n; ++i) {
        const double x = points[i].x();
        const double y = points[i].y();
        const double kernel = width(options.neighborTolerance, x);
        const bool usable = usableWidth(kernel);
        // An unusable width empties both sides, so the windows stay right for the points after.
        const double w = usable ? kernel : 0.0;
        const double scale = usable ? scaleOf(kernel) : 1.0;
        if (i > 0) {
            if (a == i - 1) {
                left.restartIfFar(a, x, scale);
            }
            left.add(i - 1);
            if (b > i) {
                right.removeFirst(i, b, x, scale);
            } else {
                b = i + 1;
            }
        }
        if (b == i + 1) {
            right.restartIfFar(b, x, scale);
        }
        // Both ends only move forward for a width that grows with m/z, as ppm and Dalton widths do;
        // the backward moves keep any other width correct.
        while (a < i && !(x - points[a].x() < w)) {
            left.removeFirst(a, i, x, scale);
            ++a;
        }
        while (a > 0 && x - points[a - 1].x() < w) {
            left.add(--a);
        }
        while (b < n && points[b].x() - x < w) {
            right.add(b++);
        }
        while (b > i + 1 && !(points[b - 1].x() - x < w)) {
            right.removeLast(--b);
        }
        if (!usable) {
            out[i] = points[i];
            continue;
        }
        double l0, l1, l2, r0, r1, r2;
        left.about(x, scale, l0, l1, l2);
        right.about(x, scale, r0, r1, r2);
        // Σ (v − |d|)·y and Σ (v − |d|)·y·d over both sides, in units of the scale (v = w / scale);
        // d ≤ 0 on the left.
        const double v = w / scale;
        const double weight = y * v + (v * l0 + l1) + (v * r0 - r1);
        const double offset = (v * l1 + l2) + (v * r1 - r2);
        out[i] = QPointF(weight != 0.0 ? x + offset / weight * scale : x, weight / v);
    }
}

QList<QPointF> SpectraSumming::filterPeaks(const Options &options, const QList<QPointF> &points)
{
    QList<QPointF> peaks = points;
    filterPeaksInPlace(options.peakTolerance, peaks);
    return peaks;
}

QList<QPointF> SpectraSumming::filterPairs(const Options &options, const QList<QPointF> &points)
{
    QList<QPointF> joined = points;
    filterPairsInPlace(options.peakTolerance, joined);
    return joined;
}

} // namespace zeq
