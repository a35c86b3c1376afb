#pragma once

#include "zeq_common_core_mini_export.h"

#include <QList>
#include <QPointF>

/// Weighted least-squares polynomial fit: the `count` coefficients c (constant first) that minimise
/// Σ weights[i] · (y_i − Σ c_k · x_i^k)². Returns false, with `coefficients` emptied, when `count` is
/// below 1, the lists differ in length, a value is not finite, a weight is negative, fewer distinct x
/// values carry a positive weight than there are coefficients, or the system is numerically singular.
/// The fit is solved by Householder QR on x centred and scaled to [−1, 1], so data far from x = 0
/// (retention times, m/z) keeps its precision; the normal equations would square the condition number.
ZEQ_COMMON_CORE_MINI_EXPORT bool
findLinearCoeffs(const QList<QPointF> &points, const QList<double> &weights, int count, QList<double> &coefficients);
