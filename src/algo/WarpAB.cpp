#include "algo/WarpAB.h"

#include "math/ApproxEqual.h"

#include <algorithm>
#include <cmath>

namespace zeq
{

namespace
{

// Anchors closer than this count as one value: the segment between them has no slope.
constexpr double kFlat = 1e-12;

/// Anchor lists ready for look-ups: `from` ascending. Refers to the stored lists when they already
/// are, so mapping a value does not copy them.
class Axis
{
public:
    Axis(const QList<double> &from, const QList<double> &to)
        : m_from(&from)
        , m_to(&to)
    {
        if (!std::is_sorted(from.cbegin(), from.cend())) {
            m_sortedFrom = from;
            m_sortedTo = to;
            std::sort(m_sortedFrom.begin(), m_sortedFrom.end());
            std::sort(m_sortedTo.begin(), m_sortedTo.end());
            m_from = &m_sortedFrom;
            m_to = &m_sortedTo;
        }
    }

    [[nodiscard]] double map(double x) const
    {
        const QList<double> &f = *m_from;
        const QList<double> &t = *m_to;
        const qsizetype n = f.size();
        if (n == 0 || n != t.size()) {
            return x;
        }
        if (n == 1) {
            return x - f[0] + t[0];
        }
        const qsizetype j = std::lower_bound(f.cbegin(), f.cend(), x) - f.cbegin();
        if (j == n) {
            return extend(f[n - 2], f[n - 1], t[n - 2], t[n - 1], x);
        }
        qsizetype i = j;
        if (!approxEqual(f[j], x)) {
            if (j == 0) {
                return extend(f[1], f[0], t[1], t[0], x);
            }
            i = j - 1;
        }
        if (i == n - 1) {
            return t[n - 1];
        }
        const double width = f[i + 1] - f[i];
        const double s = std::abs(width) <= kFlat ? 0.0 : std::clamp((x - f[i]) / width, 0.0, 1.0);
        return (1.0 - s) * t[i] + s * t[i + 1];
    }

private:
    // The line through (inner, innerTo) and (outer, outerTo), read at x beyond `outer`.
    static double extend(double inner, double outer, double innerTo, double outerTo, double x)
    {
        const double d = inner - outer;
        if (std::abs(d) <= kFlat) {
            return outerTo;
        }
        return outerTo + (innerTo - outerTo) / d * (x - outer);
    }

    const QList<double> *m_from;
    const QList<double> *m_to;
    QList<double> m_sortedFrom;
    QList<double> m_sortedTo;
};

QList<QPointF> mapAll(const Axis &axis, const QList<QPointF> &points)
{
    QList<QPointF> mapped;
    mapped.reserve(points.size());
    for (const QPointF &p : points) {
        mapped.append({ axis.map(p.x()), p.y() });
    }
    return mapped;
}

} // namespace

Error WarpAB::setAnchors(const QList<double> &a, const QList<double> &b)
{
    Error err;
    if (a.size() != b.size()) {
        err.setError(kBadParameterError)
            .addErrorMessage(QStringLiteral("A.size(%1) != B.size(%2)").arg(a.size()).arg(b.size()));
        return ZEQ_ECATCH(err);
    }
    for (qsizetype i = 0; i < a.size(); ++i) {
        if (!std::isfinite(a[i]) || !std::isfinite(b[i])) {
            err.setError(kBadParameterError)
                .addErrorMessage(QStringLiteral("Anchor pair %1 (%2, %3) is not finite").arg(i).arg(a[i]).arg(b[i]));
            return ZEQ_ECATCH(err);
        }
    }
    anchorA = a;
    anchorB = b;
    if (!std::is_sorted(anchorA.cbegin(), anchorA.cend())) {
        std::sort(anchorA.begin(), anchorA.end());
        std::sort(anchorB.begin(), anchorB.end());
    }
    return err;
}

Error WarpAB::setAnchors(const QMap<double, double> &map)
{
    Error err = setAnchors(map.keys(), map.values());
    if (err.hasError()) {
        return ZEQ_ECATCH(err);
    }
    return err;
}

double WarpAB::fromAtoB(double x) const
{
    return Axis(anchorA, anchorB).map(x);
}

double WarpAB::fromBtoA(double x) const
{
    return Axis(anchorB, anchorA).map(x);
}

QPointF WarpAB::fromAtoB(const QPointF &p) const
{
    return { fromAtoB(p.x()), p.y() };
}

QPointF WarpAB::fromBtoA(const QPointF &p) const
{
    return { fromBtoA(p.x()), p.y() };
}

QList<QPointF> WarpAB::fromAtoB(const QList<QPointF> &points) const
{
    return mapAll(Axis(anchorA, anchorB), points);
}

QList<QPointF> WarpAB::fromBtoA(const QList<QPointF> &points) const
{
    return mapAll(Axis(anchorB, anchorA), points);
}

void WarpAB::clear()
{
    anchorA.clear();
    anchorB.clear();
}

} // namespace zeq
