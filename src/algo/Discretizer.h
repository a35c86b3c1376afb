#pragma once

#include "zeq_common_core_export.h"

#include <QList>
#include <QPointF>

namespace zeq
{

/// Puts a point series onto a regular grid: bin k spans (origin + k·binWidth, origin + (k+1)·binWidth],
/// and its value is the largest y of its points.
class ZEQ_COMMON_CORE_EXPORT Discretizer
{
public:
    Discretizer(double origin, double binWidth)
        : m_origin(origin)
        , m_binWidth(binWidth)
    {
    }

    /// For points ascending by x. The bin advances by at most one per point, so after an empty bin the
    /// following points land one bin low until a bin holds two points; the result may then be shorter
    /// than the grid up to the last x. A series starting above bin 0 has its first opened bin at
    /// entry 0. Points with a non-finite x or y are skipped; a bin width that is not finite and
    /// positive, or a non-finite origin, gives an empty list.
    [[nodiscard]] QList<double> discretizeAsMaximumFromSet(const QList<QPointF> &points) const;

    [[nodiscard]] double origin() const noexcept { return m_origin; }
    [[nodiscard]] double binWidth() const noexcept { return m_binWidth; }

private:
    double m_origin;
    double m_binWidth;
};

} // namespace zeq
