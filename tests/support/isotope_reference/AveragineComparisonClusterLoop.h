#pragma once

#include "algo/AveragineComparisonRecords.h"

#include <QList>
#include <QPointF>

class PlotBase;

namespace zeq_reference
{
using namespace zeq;

/// Fits clusters on the window's points from the most intense down, skipping points that earlier
/// clusters explain, until a cluster explains at most half of minPercent of `total` (the window's
/// intensity) or every point is explained. `out` is replaced, in charge_mz_Less order.
/// Intensities that are negative, infinite or NaN are read as 0, with a warning: they can neither
/// anchor nor spoil a cluster, and matched point indices remain those of `plot`.
void eliminateTagListPeaks(const PlotBase &plot,
                           double start,
                           double end,
                           double total,
                           double minPercent,
                           TestParameters &tp,
                           QList<ChargeScoreInfo> &out);

/// The points, in input order, whose intensity is at least `ratio` times the smallest one.
/// Points whose intensity is negative, infinite or NaN are left out, with a warning.
QList<QPointF> filterSignalToNoise(const QList<QPointF> &points, double ratio);

/// A spectrum's noise level: the median of its positive, finite intensities (0 when it has none).
/// Zeros are left out: they are a profile's empty baseline, and counted they would make it 0.
double noiseLevel(const QList<QPointF> &points);

/// The points, in input order, whose intensity is at least `ratio` times noiseLevel(points); points
/// of zero, negative or non-finite intensity are dropped.
QList<QPointF> keepAboveNoise(const QList<QPointF> &points, double ratio);

} // namespace zeq_reference
