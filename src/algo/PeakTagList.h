#pragma once

#include "zeq_common_core_export.h"

#include <QList>
#include <QPointF>

namespace zeq
{

/// One point of a spectrum window (m/z, intensity) with its mark "already explained by a cluster"
/// and its position in the window's intensity order.
struct ZEQ_COMMON_CORE_EXPORT PeakTag {
    PeakTag() = default;
    PeakTag(double x, double y, bool excluded, int rank)
        : x(x)
        , y(y)
        , excluded(excluded)
        , rank(rank)
    {
    }

    double x = -1.0;
    double y = -1.0;
    bool excluded = true;
    int rank = -1;
};

/// The points of one spectrum window in two orders, by descending intensity (the order in which
/// clusters are fitted) and by m/z (the window's own order), with the marks of the points that
/// clusters found so far explain. Owned by one search.
class ZEQ_COMMON_CORE_EXPORT PeakTagList
{
public:
    /// Rebuilds the list from the window's points, given in m/z order. Equal intensities keep
    /// m/z order; NaN intensities go last.
    void addPoints2dList(const QList<QPointF> &points);
    void clear();

    [[nodiscard]] int getSize() const noexcept { return static_cast<int>(m_sortedTags.size()); }

    /// The accessors below take a window position (m/z order) or an intensity position; an index
    /// outside the list is logged and answered with a null point, false, or no change.
    [[nodiscard]] QPointF getWindowPoint(int i) const;
    [[nodiscard]] QPointF getWindowPointSorted(int k) const;
    void excludePoint(int i);
    [[nodiscard]] bool checkPointExcludedSorted(int k) const;
    [[nodiscard]] bool checkPointExcludedUnsorted(int i) const;
    /// True for an empty list.
    [[nodiscard]] bool checkAllPointsExcluded() const;

    void setWindowPeakOffset(int offset) noexcept { m_windowPeakOffset = offset; }
    [[nodiscard]] int getWindowPeakOffsetFromSpecpoints() const noexcept { return m_windowPeakOffset; }

    [[nodiscard]] const QList<PeakTag> &sortedTags() const noexcept { return m_sortedTags; }
    [[nodiscard]] const QList<int> &windowToSorted() const noexcept { return m_windowToSorted; }

private:
    QList<PeakTag> m_sortedTags;
    QList<int> m_windowToSorted;
    int m_windowPeakOffset = 0;
};

} // namespace zeq
