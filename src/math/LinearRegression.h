#pragma once

#include "zeq_common_core_export.h"
#include "zeq_common_stable/Error.h"

#include <QList>
#include <QMap>
#include <QPointF>
#include <QString>

namespace zeq
{

/// A straight line fitted through labelled measurements after normalising their y: first by the y of
/// the point with the smallest x, then by a factor per group key ("mid"). Keeps the normalised points
/// and the coefficients (constant first) of the last fit.
class ZEQ_COMMON_CORE_EXPORT LinearRegression
{
public:
    struct PointData {
        QPointF point;
        QString label;
        int mid = 0;
    };

    /// Stores `refs` divided by the value of its smallest key, so that group sits at 1. A zero or
    /// non-finite reference makes every factor non-finite, and a later regression over points of
    /// those groups fails.
    Error setup_normalization(const QMap<int, double> &refs);

    /// Sorts `points` by x, normalises their y and fits a line (a constant for one point). Empty input
    /// succeeds and keeps the previous points. Fails with kBadParameterError when an x or a normalised y
    /// is not finite, or when all points share one x.
    Error compute_regression(const QList<PointData> &points);

    /// Σ coefficients[k]·x^k; 0 before any fit.
    [[nodiscard]] double eval(double x) const;
    /// The slope of a fitted line; 0 for a constant or no fit.
    [[nodiscard]] double getRate() const;
    [[nodiscard]] const QList<PointData> &getDataPoints() const noexcept { return dataPoints; }
    [[nodiscard]] const QList<double> &getCoefficients() const noexcept { return coefficients; }
    /// Two points of the line, from a fifth of the x span before the data to a fifth after it;
    /// empty without points.
    [[nodiscard]] QList<QPointF> getFittedLineForRendering() const;

    void debug() const;
    void clear();

private:
    Error fit();

    QList<PointData> dataPoints;
    QList<double> coefficients;
    QMap<int, double> m_mid_normalizer;
};

} // namespace zeq
