#include "algo/SpectraSumming.h"

#include "math/ApproxEqual.h"

#include <algorithm>
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
class Moments
{
public:
    explicit Moments(const QList<QPointF> &points)
        : m_points(points)
    {
    }

    void add(qsizetype j) { accumulate(m_points[j], 1.0); }

    /// Removes the first point of [lo, hi); when every point of the last rebuild is gone, sums
    /// [lo + 1, hi) afresh about `reference`.
    void removeFirst(qsizetype lo, qsizetype hi, double reference)
    {
        accumulate(m_points[lo], -1.0);
        if (lo + 1 >= m_rebuiltUpTo) {
            rebuild(lo + 1, hi, reference);
        }
    }
    void removeLast(qsizetype j) { accumulate(m_points[j], -1.0); }

    void rebuild(qsizetype lo, qsizetype hi, double reference)
    {
        m_c = reference;
        m_s0 = m_s1 = m_s2 = 0.0;
        for (qsizetype j = lo; j < hi; ++j) {
            accumulate(m_points[j], 1.0);
        }
        m_rebuiltUpTo = hi;
    }

    /// Σy, Σy·d and Σy·d² with d = m/z − x.
    void about(double x, double &s0, double &s1, double &s2) const
    {
        const double e = x - m_c;
        s0 = m_s0;
        s1 = m_s1 - e * m_s0;
        s2 = m_s2 - 2.0 * e * m_s1 + e * e * m_s0;
    }

private:
    void accumulate(const QPointF &p, double sign)
    {
        const double u = p.x() - m_c;
        const double yu = sign * p.y() * u;
        m_s0 += sign * p.y();
        m_s1 += yu;
        m_s2 += yu * u;
    }

    const QList<QPointF> &m_points;
    double m_c = 0.0;
    double m_s0 = 0.0;
    double m_s1 = 0.0;
    double m_s2 = 0.0;
    qsizetype m_rebuiltUpTo = 0;
};

bool usableWidth(double w)
{
    return std::isfinite(w) && w > 0.0;
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
    QList<QPointF> points;
    points.reserve(total);
    for (const Spectra &s : spectra) {
        for (const QPointF &p : s.points) {
            // A NaN m/z would also break the sort's ordering.
            if (std::isfinite(p.x()) && std::isfinite(p.y())) {
                points.append(p);
            }
        }
    }
    std::sort(points.begin(), points.end(), [](const QPointF &a, const QPointF &b) { return a.x() < b.x(); });
    return filterPairs(options, filterPeaks(options, sumNeighbors(options, mergeDuplicates(points))));
}

QList<QPointF> SpectraSumming::mergeDuplicates(const QList<QPointF> &points)
{
    QList<QPointF> merged;
    merged.reserve(points.size());
    for (qsizetype i = 0; i < points.size();) {
        QPointF run = points[i];
        qsizetype j = i + 1;
        for (; j < points.size() && approxEqual(points[j].x(), run.x()); ++j) {
            run.ry() += points[j].y();
        }
        merged.append(run);
        i = j;
    }
    return merged;
}

QList<QPointF> SpectraSumming::sumNeighbors(const Options &options, const QList<QPointF> &points)
{
    const qsizetype n = points.size();
    QList<QPointF> summed;
    summed.reserve(n);
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
        if (i > 0) {
            left.add(i - 1);
            if (b > i) {
                right.removeFirst(i, b, x);
            } else {
                b = i + 1;
            }
        }
        // Both ends only move forward for a width that grows with m/z, as ppm and Dalton widths do;
        // the backward moves keep any other width correct.
        while (a < i && !(x - points[a].x() < w)) {
            left.removeFirst(a, i, x);
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
            summed.append(points[i]);
            continue;
        }
        double l0, l1, l2, r0, r1, r2;
        left.about(x, l0, l1, l2);
        right.about(x, r0, r1, r2);
        // Σ (w − |d|)·y and Σ (w − |d|)·y·d over both sides; d ≤ 0 on the left.
        const double weight = y * w + (w * l0 + l1) + (w * r0 - r1);
        const double offset = (w * l1 + l2) + (w * r1 - r2);
        summed.append({ weight != 0.0 ? x + offset / weight : x, weight / w });
    }
    return summed;
}

QList<QPointF> SpectraSumming::filterPeaks(const Options &options, const QList<QPointF> &points)
{
    QList<QPointF> peaks;
    const qsizetype n = points.size();
    for (qsizetype i = 0; i < n; ++i) {
        const QPointF &p = points[i];
        const double w = width(options.peakTolerance, p.x());
        const bool leftHides = i > 0 && p.x() - points[i - 1].x() < w && p.y() < points[i - 1].y();
        const bool rightHides = i + 1 < n && points[i + 1].x() - p.x() < w && p.y() < points[i + 1].y();
        if (!leftHides && !rightHides) {
            peaks.append(p);
        }
    }
    return peaks;
}

QList<QPointF> SpectraSumming::filterPairs(const Options &options, const QList<QPointF> &points)
{
    const qsizetype n = points.size();
    if (n < 2) {
        return points;
    }
    QList<QPointF> joined;
    joined.reserve(n);
    qsizetype i = 0;
    for (; i + 1 < n; ++i) {
        const QPointF &p = points[i];
        const QPointF &q = points[i + 1];
        const double w = width(options.peakTolerance, p.x());
        const bool clearLeft = i == 0 || p.x() - points[i - 1].x() >= w;
        const bool clearRight = i + 2 == n || points[i + 2].x() - q.x() >= w;
        if (q.x() - p.x() < w && approxEqual(p.y(), q.y()) && clearLeft && clearRight) {
            joined.append({ (p.x() + q.x()) / 2.0, p.y() });
            ++i;
        } else {
            joined.append(p);
        }
    }
    if (i < n) {
        joined.append(points[i]);
    }
    return joined;
}

} // namespace zeq
