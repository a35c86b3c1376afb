#pragma once

#include "algo/WarpAB.h"
#include "algo/ZEQ_QEnumsXUnit.h"
#include "zeq_common_core_export.h"

namespace zeq
{

/// Warps between retention time (minutes) and isoelectric point through anchor pairs, with a shift
/// per unit; any other pair of units leaves values unchanged. The anchors' A axis is always minutes.
class ZEQ_COMMON_CORE_EXPORT WarpSourceToTargetXUnit
{
public:
    using XUnit = ZEQ_QEnumsXUnit::XUnit;

    /// Minutes ↔ isoelectric point sets the anchors, either way round. Equal units set the anchors
    /// all the same and fail with kError; other pairs set nothing and succeed. Anchors that
    /// WarpAB::setAnchors refuses fail with its error and keep the previous ones.
    Error setWarp(const QList<double> &source, const QList<double> &target, XUnit sourceUnit, XUnit targetUnit);
    Error setWarp(const QMap<double, double> &sourceToTarget, XUnit sourceUnit, XUnit targetUnit);

    /// Minutes → pI: fromAtoB(x + translateMinutes − translateIsoelectricPoint);
    /// pI → minutes: fromBtoA(x) + translateIsoelectricPoint; anything else: x.
    [[nodiscard]] double warpSourceToTarget(double x, XUnit sourceUnit, XUnit targetUnit) const;
    [[nodiscard]] QPointF warpSourceToTarget(const QPointF &p, XUnit sourceUnit, XUnit targetUnit) const;
    [[nodiscard]] QList<QPointF>
    warpSourceToTarget(const QList<QPointF> &points, XUnit sourceUnit, XUnit targetUnit) const;

    /// Minutes sets translateMinutes, IsoelecticPoint sets translateIsoelectricPoint; other units
    /// do nothing.
    void setTranslateMinutes(double value, XUnit unit);
    void resetTranslateMinutes();

    [[nodiscard]] const WarpAB &warp() const noexcept { return m_warp; }
    void clear();

private:
    WarpAB m_warp;
    double m_translateMinutes = 0.0;
    double m_translateIsoelectricPoint = 0.0;
};

} // namespace zeq
