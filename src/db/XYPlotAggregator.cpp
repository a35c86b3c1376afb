#include "db/XYPlotAggregator.h"

#include "ZeqLogging.h"

namespace zeq
{

void XYPlotAggregator::push(const RowNode *row)
{
    if (!row) {
        return;
    }
    bool ok = false;
    const double x = row->getDataAt(m_xColumn).toDouble(&ok);
    if (!ok) {
        qCWarning(lcCoreDev) << "Could not convert to double";
        return;
    }
    const double y = row->getDataAt(m_yColumn).toDouble(&ok);
    if (!ok) {
        qCWarning(lcCoreDev) << "Could not convert to double";
        return;
    }
    m_points.append(QPointF(x, y));
}

} // namespace zeq
