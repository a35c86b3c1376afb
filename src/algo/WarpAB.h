#pragma once

#include "zeq_common_core_export.h"
#include "zeq_common_stable/Error.h"

#include <QList>
#include <QMap>
#include <QPointF>

namespace zeq
{

/// Maps values between two axes A and B tied by anchor pairs (anchorA[i] ↔ anchorB[i]): piecewise
/// linear between anchors, extended linearly beyond them by the outer two anchors, in both directions.
/// The anchors describe a monotone increasing relation: when A is not ascending, both lists are
/// sorted ascending, each on its own.
class ZEQ_COMMON_CORE_EXPORT WarpAB
{
public:
    /// Fails with kBadParameterError, keeping the previous anchors, when the lists differ in length
    /// or hold a value that is not finite.
    Error setAnchors(const QList<double> &a, const QList<double> &b);
    /// Keys on A, values on B; fails as the list form does.
    Error setAnchors(const QMap<double, double> &map);

    /// Without anchors a value maps to itself; with one anchor pair it is shifted by B − A.
    [[nodiscard]] double fromAtoB(double x) const;
    [[nodiscard]] double fromBtoA(double x) const;
    /// The x of the point is mapped, its y kept.
    [[nodiscard]] QPointF fromAtoB(const QPointF &p) const;
    [[nodiscard]] QPointF fromBtoA(const QPointF &p) const;
    [[nodiscard]] QList<QPointF> fromAtoB(const QList<QPointF> &points) const;
    [[nodiscard]] QList<QPointF> fromBtoA(const QList<QPointF> &points) const;

    [[nodiscard]] const QList<double> &anchorsA() const noexcept { return anchorA; }
    [[nodiscard]] const QList<double> &anchorsB() const noexcept { return anchorB; }
    void clear();

private:
    QList<double> anchorA;
    QList<double> anchorB;
};

} // namespace zeq
