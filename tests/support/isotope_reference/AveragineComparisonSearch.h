#pragma once

#include "algo/AveragineComparisonRecords.h"

#include <QList>
#include <QPointF>
#include <QString>

class AveragineIsotopeDistribution;
class PlotBase;

namespace zeq_reference
{
using namespace zeq;

/// The highest charge limit findChargesAndMonos accepts.
inline constexpr int kMaxChargeLimit = 500;

/// Every isotope cluster in the window [start, end] of a centroided spectrum (m/z ascending), by
/// descending share of the window's intensity. Clusters explaining at most half of minPercent
/// (a fraction, 0..1) end the search. Invalid options (maxCharge above kMaxChargeLimit among them),
/// a window without intensity or a plot not sorted by m/z give an empty list; `name` is not used.
/// Negative, infinite and NaN intensities are read as 0, with a warning.
void findChargesAndMonos(const ProcessorOptions &opts,
                         const PlotBase &plot,
                         double start,
                         double end,
                         const QString &name,
                         double minPercent,
                         QList<ChargeScoreInfo> &out);

/// a ≤ b and an uncertainty s above 0; logs what is wrong.
bool testFindMonoInput(double a, double b, double s);

/// The charge in tp's range whose averagine pattern, placed on the peak or on one of its isotope
/// neighbours, fits best; charge −1 when no charge was tried.
void searchCharge(const PlotBase &plot,
                  const AveragineIsotopeDistribution &model,
                  TestParameters &tp,
                  const QPointF &peak,
                  ChargeScoreInfo &out);
/// The cluster that explains the peak: its charge, then its monoisotope walked down and up the
/// isotope ladder while the fit stays acceptable, with the matched points filled in.
ChargeScoreInfo
searchMaxPeak(const PlotBase &plot, const AveragineIsotopeDistribution &model, TestParameters &tp, const QPointF &peak);
/// Whether the walk may move from cur to its neighbour cand, downwards (direction −1) or
/// upwards (+1).
bool compareNearMonos(const ChargeScoreInfo &cand, const ChargeScoreInfo &cur, int direction);
/// The first most intense point with m/z in [lo, hi]; `point` is left alone when there is none.
void getMostIntensePointWithinBound(const PlotBase &plot, double lo, double hi, QPointF &point, bool *found);

} // namespace zeq_reference
