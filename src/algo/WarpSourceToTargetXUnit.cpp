#include "algo/WarpSourceToTargetXUnit.h"

#include <QMetaEnum>

namespace zeq
{

using namespace ZEQ_QEnumsXUnit;

namespace
{

bool minutesToPi(XUnit source, XUnit target)
{
    return source == Minutes && target == IsoelecticPoint;
}

bool piToMinutes(XUnit source, XUnit target)
{
    return source == IsoelecticPoint && target == Minutes;
}

QString unitName(XUnit unit)
{
    const char *key = QMetaEnum::fromType<XUnit>().valueToKey(unit);
    return key ? QString::fromLatin1(key) : QString::number(static_cast<int>(unit));
}

} // namespace

Error WarpSourceToTargetXUnit::setWarp(const QList<double> &source,
                                       const QList<double> &target,
                                       XUnit sourceUnit,
                                       XUnit targetUnit)
{
    Error err;
    if (sourceUnit == targetUnit) {
        err = m_warp.setAnchors(source, target);
        if (!err.hasError()) {
            // Kept for callers that relied on the anchors being set, but warping an axis onto
            // itself is a mistake worth reporting.
            err.setError(kError).addErrorMessage(
                QStringLiteral("Source and target units are the same (%1)").arg(unitName(sourceUnit)));
        }
        return ZEQ_ECATCH(err);
    }
    if (minutesToPi(sourceUnit, targetUnit)) {
        err = m_warp.setAnchors(source, target);
    } else if (piToMinutes(sourceUnit, targetUnit)) {
        err = m_warp.setAnchors(target, source);
    }
    if (err.hasError()) {
        return ZEQ_ECATCH(err);
    }
    return err;
}

Error WarpSourceToTargetXUnit::setWarp(const QMap<double, double> &sourceToTarget, XUnit sourceUnit, XUnit targetUnit)
{
    Error err = setWarp(sourceToTarget.keys(), sourceToTarget.values(), sourceUnit, targetUnit);
    if (err.hasError()) {
        return ZEQ_ECATCH(err);
    }
    return err;
}

double WarpSourceToTargetXUnit::warpSourceToTarget(double x, XUnit sourceUnit, XUnit targetUnit) const
{
    if (minutesToPi(sourceUnit, targetUnit)) {
        return m_warp.fromAtoB(x + m_translateMinutes - m_translateIsoelectricPoint);
    }
    if (piToMinutes(sourceUnit, targetUnit)) {
        return m_warp.fromBtoA(x) + m_translateIsoelectricPoint;
    }
    return x;
}

QPointF WarpSourceToTargetXUnit::warpSourceToTarget(const QPointF &p, XUnit sourceUnit, XUnit targetUnit) const
{
    return { warpSourceToTarget(p.x(), sourceUnit, targetUnit), p.y() };
}

QList<QPointF>
WarpSourceToTargetXUnit::warpSourceToTarget(const QList<QPointF> &points, XUnit sourceUnit, XUnit targetUnit) const
{
    if (minutesToPi(sourceUnit, targetUnit)) {
        QList<QPointF> shifted = points;
        for (QPointF &p : shifted) {
            p.setX(p.x() + m_translateMinutes - m_translateIsoelectricPoint);
        }
        return m_warp.fromAtoB(shifted);
    }
    if (piToMinutes(sourceUnit, targetUnit)) {
        QList<QPointF> mapped = m_warp.fromBtoA(points);
        for (QPointF &p : mapped) {
            p.rx() += m_translateIsoelectricPoint;
        }
        return mapped;
    }
    return points;
}

void WarpSourceToTargetXUnit::setTranslateMinutes(double value, XUnit unit)
{
    if (unit == Minutes) {
        m_translateMinutes = value;
    } else if (unit == IsoelecticPoint) {
        m_translateIsoelectricPoint = value;
    }
}

void WarpSourceToTargetXUnit::resetTranslateMinutes()
{
    m_translateMinutes = 0.0;
    m_translateIsoelectricPoint = 0.0;
}

void WarpSourceToTargetXUnit::clear()
{
    m_warp.clear();
    resetTranslateMinutes();
}

} // namespace zeq
