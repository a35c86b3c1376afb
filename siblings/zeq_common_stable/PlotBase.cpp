#include "zeq_common_stable/PlotBase.h"

#include <algorithm>
#include <cmath>

namespace
{

bool xLess(const QPointF &a, const QPointF &b)
{
    return a.x() < b.x();
}

} // namespace

PlotBase::PlotBase(const QList<QPointF> &points)
{
    setPointList(points);
}

void PlotBase::setPointList(const QList<QPointF> &points)
{
    m_points.clear();
    m_points.reserve(points.size());
    // A NaN x has no place in x order and would break the sort's ordering.
    std::copy_if(points.cbegin(), points.cend(), std::back_inserter(m_points), [](const QPointF &p) {
        return !std::isnan(p.x());
    });
    sortPointListByX();
}

void PlotBase::clear()
{
    m_points.clear();
    m_sortedByX = true;
}

QPointF PlotBase::getPoint(int index) const
{
    if (index < 0 || index >= m_points.size()) {
        return {};
    }
    return m_points.at(index);
}

bool PlotBase::addPoint(double x, double y, bool keepSorted)
{
    if (std::isnan(x)) {
        return false;
    }
    const QPointF point(x, y);
    if (keepSorted && m_sortedByX) {
        m_points.insert(std::upper_bound(m_points.begin(), m_points.end(), point, xLess), point);
        return true;
    }
    if (!m_points.isEmpty() && x < m_points.constLast().x()) {
        m_sortedByX = false;
    }
    m_points.append(point);
    if (keepSorted) {
        sortPointListByX();
    }
    return true;
}

void PlotBase::sortPointListByY(bool ascending)
{
    std::stable_sort(m_points.begin(), m_points.end(), [ascending](const QPointF &a, const QPointF &b) {
        if (std::isnan(a.y()) || std::isnan(b.y())) {
            return !std::isnan(a.y()) && std::isnan(b.y());
        }
        return ascending ? a.y() < b.y() : a.y() > b.y();
    });
    m_sortedByX = std::is_sorted(m_points.cbegin(), m_points.cend(), xLess);
}

void PlotBase::sortPointListByX()
{
    std::stable_sort(m_points.begin(), m_points.end(), xLess);
    m_sortedByX = true;
}

int PlotBase::lowerIndex(double lo, bool includeLo) const
{
    const QPointF key(lo, 0.0);
    const auto it = includeLo ? std::lower_bound(m_points.cbegin(), m_points.cend(), key, xLess)
                              : std::upper_bound(m_points.cbegin(), m_points.cend(), key, xLess);
    return static_cast<int>(it - m_points.cbegin());
}

int PlotBase::upperIndex(double hi, bool includeHi) const
{
    const QPointF key(hi, 0.0);
    const auto it = includeHi ? std::upper_bound(m_points.cbegin(), m_points.cend(), key, xLess)
                              : std::lower_bound(m_points.cbegin(), m_points.cend(), key, xLess);
    return static_cast<int>(it - m_points.cbegin());
}

int PlotBase::getIndexLessOrEqual(double x, bool approximate) const
{
    if (std::isnan(x)) {
        return -1;
    }
    const double bound = approximate && std::isfinite(x) ? x + 1e-12 * std::max(1.0, std::abs(x)) : x;
    return upperIndex(bound, true) - 1;
}

std::pair<int, int> PlotBase::getAreaIndexRange(double lo, double hi, bool includeLo, bool includeHi) const
{
    if (std::isnan(lo) || std::isnan(hi) || lo > hi) {
        return { 0, 0 };
    }
    return { lowerIndex(lo, includeLo), upperIndex(hi, includeHi) };
}

QList<QPointF> PlotBase::getAreaPointList(double lo, double hi, bool includeLo, bool includeHi) const
{
    const auto [first, end] = getAreaIndexRange(lo, hi, includeLo, includeHi);
    if (first >= end) {
        return {};
    }
    return m_points.mid(first, end - first);
}

QList<QPointF> PlotBase::getDataPoints(double lo, double hi, bool inclusive) const
{
    return getAreaPointList(lo, hi, inclusive, inclusive);
}

double PlotBase::computeSumIntensities(double start, double end) const
{
    if (std::isnan(start) || std::isnan(end) || start > end) {
        return 0.0;
    }
    double sum = 0.0;
    for (int i = lowerIndex(start, true), last = upperIndex(end, true); i < last; ++i) {
        sum += m_points.at(i).y();
    }
    return sum;
}

QPointF getMaxPoint(const QList<QPointF> &points)
{
    return getMaxPoint(points.cbegin(), points.cend());
}

QPointF getMaxPoint(QList<QPointF>::const_iterator first, QList<QPointF>::const_iterator end)
{
    const QPointF *best = nullptr;
    for (; first != end; ++first) {
        if (!std::isnan(first->y()) && (!best || first->y() > best->y())) {
            best = &*first;
        }
    }
    return best ? *best : QPointF();
}

int findClosestIndex(const QList<QPointF> &points, double x)
{
    if (points.isEmpty() || std::isnan(x)) {
        return -1;
    }
    const auto it = std::lower_bound(points.cbegin(), points.cend(), QPointF(x, 0.0), xLess);
    const int right = static_cast<int>(it - points.cbegin());
    if (right == 0) {
        return 0;
    }
    if (right == points.size()) {
        return right - 1;
    }
    // Ties go left: the distance to the right neighbour must be strictly smaller to win.
    return points.at(right).x() - x < x - points.at(right - 1).x() ? right : right - 1;
}
