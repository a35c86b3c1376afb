#include "algo/Discretizer.h"

#include "ZeqLogging.h"

#include <cmath>

namespace zeq
{

QList<double> Discretizer::discretizeAsMaximumFromSet(const QList<QPointF> &points) const
{
    QList<double> result;
    if (!std::isfinite(m_origin) || !std::isfinite(m_binWidth) || m_binWidth <= 0.0) {
        qCWarning(lcCore) << "Discretizer: no grid with origin" << m_origin << "and bin width" << m_binWidth;
        return result;
    }
    qint64 bin = 0;
    qint64 lastOpened = -1;
    for (const QPointF &p : points) {
        if (!std::isfinite(p.x()) || !std::isfinite(p.y())) {
            continue;
        }
        // At most one step per point, even across empty bins: callers depend on this quirk.
        if (p.x() > m_origin + double(bin + 1) * m_binWidth) {
            ++bin;
        }
        // Bins open in order, one at a time, so the current bin is always the last entry, also when
        // the series starts beyond bin 0 and bin 0 never opens.
        if (bin > lastOpened) {
            lastOpened = bin;
            result.append(p.y());
        } else if (p.y() > result.last()) {
            result.last() = p.y();
        }
    }
    return result;
}

} // namespace zeq
