#pragma once

#include "zeq_common_stable_export.h"

#include <QList>
#include <QPointF>

#include <utility>

/// A series of (x, y) points kept in ascending x, e.g. a spectrum of (m/z, intensity). Points of
/// equal x keep the order in which they arrived. Look-ups by x are binary searches; they assume
/// ascending x, which every member keeps except sortPointListByY and addPoint(…, false) out of order
/// (see isSortedByX). Indices are ints; an index outside the list never reads outside it.
class ZEQ_COMMON_STABLE_EXPORT PlotBase
{
public:
    PlotBase() = default;
    /// Takes the points in any order and sorts them by x (stably). Points whose x is NaN are dropped.
    explicit PlotBase(const QList<QPointF> &points);

    void setPointList(const QList<QPointF> &points);
    void clear();

    [[nodiscard]] int getPointListSize() const noexcept { return static_cast<int>(m_points.size()); }
    [[nodiscard]] bool isEmpty() const noexcept { return m_points.isEmpty(); }
    [[nodiscard]] const QList<QPointF> &getPointList() const noexcept { return m_points; }
    /// Point `index`, or (0, 0) when the index is outside the list.
    [[nodiscard]] QPointF getPoint(int index) const;
    /// False after sortPointListByY, or after addPoint(…, false) appended a point left of the last one,
    /// until sortPointListByX.
    [[nodiscard]] bool isSortedByX() const noexcept { return m_sortedByX; }

    /// Adds (x, y). With `keepSorted` the point goes to its place in x order (after points of equal x);
    /// without it, it is appended, which is cheaper when the caller adds points in ascending x.
    /// Returns false, adding nothing, when x is NaN.
    bool addPoint(double x, double y, bool keepSorted);
    /// Stable sort by y, ascending or descending; NaN intensities go last either way.
    void sortPointListByY(bool ascending);
    /// Stable sort by x, restoring the order the look-ups need.
    void sortPointListByX();

    /// Index of the last point with x ≤ `x`, or -1 when there is none (empty list, `x` left of every
    /// point, or NaN). With `approximate`, a point whose x equals `x` within 1e-12 × max(1, |x|)
    /// counts as equal, so a bound computed with rounding still finds the point it was taken from.
    [[nodiscard]] int getIndexLessOrEqual(double x, bool approximate) const;
    /// Points with lo ≤ x ≤ hi (`includeLo`, `includeHi` true) or lo < x < hi (false), in x order.
    /// Empty when lo > hi or either bound is NaN.
    [[nodiscard]] QList<QPointF> getAreaPointList(double lo, double hi, bool includeLo, bool includeHi) const;
    /// The index range [first, end) of getAreaPointList's points, without copying them; first ≥ end
    /// when there are none.
    [[nodiscard]] std::pair<int, int> getAreaIndexRange(double lo, double hi, bool includeLo, bool includeHi) const;
    /// Points with x in [lo, hi] when `inclusive`, in (lo, hi) otherwise.
    [[nodiscard]] QList<QPointF> getDataPoints(double lo, double hi, bool inclusive) const;
    /// Sum of y over the points with x in [start, end]; 0 when start > end or there are none.
    [[nodiscard]] double computeSumIntensities(double start, double end) const;

private:
    /// First index whose x is not below lo (includeLo) or above lo (!includeLo).
    [[nodiscard]] int lowerIndex(double lo, bool includeLo) const;
    /// One past the last index whose x is at most hi (includeHi) or below hi (!includeHi).
    [[nodiscard]] int upperIndex(double hi, bool includeHi) const;

    QList<QPointF> m_points;
    bool m_sortedByX = true;
};

/// The first point of greatest y, ignoring NaN intensities; (0, 0) when there is none.
ZEQ_COMMON_STABLE_EXPORT QPointF getMaxPoint(const QList<QPointF> &points);
ZEQ_COMMON_STABLE_EXPORT QPointF getMaxPoint(QList<QPointF>::const_iterator first, QList<QPointF>::const_iterator end);

/// Index of the point whose x is nearest to `x` in a list sorted by ascending x (the lower index on a
/// tie); -1 for an empty list or a NaN `x`.
ZEQ_COMMON_STABLE_EXPORT int findClosestIndex(const QList<QPointF> &points, double x);
