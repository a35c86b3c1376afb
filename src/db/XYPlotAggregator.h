#pragma once

#include "zeq_common_core_export.h"
#include "zeq_common_core_mini/RowNode.h"

#include <QList>
#include <QPointF>

namespace zeq
{

/// Collects one (x, y) point per pushed row from two numeric columns, for a scatter or line plot.
class ZEQ_COMMON_CORE_EXPORT XYPlotAggregator
{
public:
    XYPlotAggregator(int xColumn, int yColumn)
        : m_xColumn(xColumn)
        , m_yColumn(yColumn)
    {
    }

    /// Adds a point unless either cell fails to convert to a number (logged to
    /// "zeq.common_core_dev") or the row is null.
    void push(const RowNode *row);
    /// The points in push order.
    [[nodiscard]] QList<QPointF> value() const { return m_points; }

private:
    QList<QPointF> m_points;
    int m_xColumn;
    int m_yColumn;
};

} // namespace zeq
