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

} // namespace zeq_reference
