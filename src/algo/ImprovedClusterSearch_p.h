#pragma once

#include "algo/AveragineComparisonRecords.h"

#include <QList>
#include <QPointF>

#include <optional>

class PlotBase;

namespace zeq::detail
{

/// The m/z precision of a window's centroids (σ, ppm), from the evenness of the isotope ladders
/// around its tallest points; none when too few ladders show.
std::optional<double> centroidPrecisionPpm(const QList<QPointF> &window);

/// Moves info's placement by whole isotopes so that the model's mean m/z meets the observed
/// cluster's, where a fit at least nearly as good is found there. info keeps its charge.
void recentreOnEnvelope(const PlotBase &plot, const TestParameters &tp, ChargeScoreInfo &info);

/// Moves info to the charge its ladder's spacing calls for, where that is clearly another charge.
void recheckChargeBySpacing(const PlotBase &plot, const TestParameters &tp, ChargeScoreInfo &info);

} // namespace zeq::detail
