#include "math/LinearRegression.h"

#include "ZeqLogging.h"
#include "zeq_common_core_mini/FindLinearCoeffs.h"

#include <algorithm>
#include <cmath>

namespace zeq
{

namespace
{

// A first y this small cannot scale the others; it is logged and left out of the normalisation.
constexpr double kZeroScale = 1e-12;
// Coefficients below this are rounding noise of an exact fit, e.g. the intercept of a line through 0.
constexpr double kZeroCoefficient = 1e-15;

} // namespace

Error LinearRegression::setup_normalization(const QMap<int, double> &refs)
{
    m_mid_normalizer = refs;
    if (!m_mid_normalizer.isEmpty()) {
        const double r = m_mid_normalizer.first();
        for (auto it = m_mid_normalizer.begin(); it != m_mid_normalizer.end(); ++it) {
            it.value() /= r;
            qCDebug(lcCore) << "mid=" << it.key() << "m_mid_normalizer=" << m_mid_normalizer;
        }
    }
    qCDebug(lcCore) << "m_mid_normalizer=" << m_mid_normalizer;
    return Error();
}

Error LinearRegression::compute_regression(const QList<PointData> &points)
{
    Error err;
    coefficients.clear();
    if (points.isEmpty()) {
        return err;
    }
    // Checked before sorting: a NaN would break the ordering the sort relies on.
    for (const PointData &p : points) {
        if (!std::isfinite(p.point.x())) {
            err.setError(kBadParameterError)
                .addErrorMessage(QStringLiteral("Point \"%1\" has no finite x (%2)").arg(p.label).arg(p.point.x()));
            return ZEQ_ECATCH(err);
        }
    }
    dataPoints = points;
    std::stable_sort(dataPoints.begin(), dataPoints.end(), [](const PointData &a, const PointData &b) {
        return a.point.x() < b.point.x();
    });
    double scale = std::abs(dataPoints.constFirst().point.y());
    if (scale <= kZeroScale) {
        qCDebug(lcCore) << "LinearRegression::setup: scale factor is zero:" << scale;
        scale = 1.0;
    }
    for (PointData &p : dataPoints) {
        const double factor = m_mid_normalizer.value(p.mid, 1.0);
        p.point.setY(p.point.y() / scale / factor);
        if (!std::isfinite(p.point.y())) {
            err.setError(kBadParameterError)
                .addErrorMessage(QStringLiteral("Point \"%1\" at x %2 has no finite normalised y (mid %3, factor %4)")
                                     .arg(p.label)
                                     .arg(p.point.x())
                                     .arg(p.mid)
                                     .arg(factor));
            return ZEQ_ECATCH(err);
        }
    }
    err = fit();
    if (err.hasError()) {
        return ZEQ_ECATCH(err);
    }
    return err;
}

Error LinearRegression::fit()
{
    Error err;
    QList<QPointF> xy;
    xy.reserve(dataPoints.size());
    for (const PointData &p : dataPoints) {
        xy.append(p.point);
    }
    if (xy.size() == 1) {
        coefficients = { xy.constFirst().y() };
    } else if (!findLinearCoeffs(xy, QList<double>(xy.size(), 1.0), 2, coefficients) || coefficients.size() != 2) {
        err.setError(kBadParameterError)
            .addErrorMessage(
                QStringLiteral("No line fits %1 points: they need two distinct, finite x values").arg(xy.size()));
        return ZEQ_ECATCH(err);
    }
    for (double &c : coefficients) {
        if (std::abs(c) < kZeroCoefficient) {
            c = 0.0;
        }
    }
    return err;
}

double LinearRegression::eval(double x) const
{
    double value = 0.0;
    for (qsizetype k = coefficients.size(); k-- > 0;) {
        value = value * x + coefficients.at(k);
    }
    return value;
}

double LinearRegression::getRate() const
{
    return coefficients.size() == 2 ? coefficients.at(1) : 0.0;
}

QList<QPointF> LinearRegression::getFittedLineForRendering() const
{
    if (dataPoints.isEmpty()) {
        return {};
    }
    // Sorted by x, so the ends are the extremes.
    const double x0 = dataPoints.constFirst().point.x();
    const double x1 = dataPoints.constLast().point.x();
    const double e = 0.2 * (x1 - x0);
    return { QPointF(x0 - e, eval(x0 - e)), QPointF(x1 + e, eval(x1 + e)) };
}

void LinearRegression::debug() const
{
    qCDebug(lcCore) << "LinearRegression::debug()";
    for (const PointData &p : dataPoints) {
        qCDebug(lcCore) << p.point << ":" << p.label;
    }
    for (qsizetype i = 0; i < coefficients.size(); ++i) {
        qCDebug(lcCore) << "i = " << i << ":" << coefficients.at(i);
    }
    qCDebug(lcCore) << getFittedLineForRendering();
}

void LinearRegression::clear()
{
    dataPoints.clear();
    coefficients.clear();
    m_mid_normalizer.clear();
}

} // namespace zeq
