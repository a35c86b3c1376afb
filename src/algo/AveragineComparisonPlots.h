#pragma once

#include "algo/AveragineComparisonScoring.h"
#include "zeq_common_core_export.h"
#include "zeq_common_stable/Error.h"
#include "zeq_qt_shared_libs_core/ZEQ_QEnumsChemUtils.h"

#include <QList>
#include <QPointF>

#include <string>
#include <vector>

namespace zeq
{

/// Samples the model `f` over [start, end] into `out`, more densely near its isotope peaks.
/// Nothing is sampled when step ≤ 0 or end + step ≤ start.
ZEQ_COMMON_CORE_EXPORT void
sampleAveragine(const AveragineIsotopeFunction &f, double start, double end, double step, QList<QPointF> &out);

/// The averagine envelope of a fitted cluster (mono m/z, charge, intensity scale, constant peak
/// width σ in m/z) as points for drawing. Charge 0 gives no points.
ZEQ_COMMON_CORE_EXPORT void makeIsotopePlot(double mono,
                                            int charge,
                                            double scale,
                                            double stdDev,
                                            double step,
                                            QList<QPointF> &out,
                                            chem::ZEQ_QEnumsChemUtils::IonMode mode);

/// The exact isotope distribution of a sequence of building blocks (IsotopeWorkspace units, e.g.
/// residue letters), monoisotope first. Unknown unit names are skipped.
class ZEQ_COMMON_CORE_EXPORT SpecificIsotopeDistribution
{
public:
    /// Folds in the units of `units` in order, then unit "1" (water) if addUnitOne, then unit "2"
    /// (a hydrogen) countUnitTwo times; tail entries below threshold × the tallest are dropped.
    SpecificIsotopeDistribution(const std::string &units, bool addUnitOne, int countUnitTwo, double threshold);

    [[nodiscard]] const std::vector<double> &getIsoList() const noexcept { return m_isoList; }
    /// Writes the values to standard output, one per line.
    void PrintOutIsoList() const;

private:
    std::vector<double> m_isoList;
};

/// For a neutral mass seen at `charge`, the observed point nearest the expected m/z of its most
/// abundant isotope, and the monoisotopic m/z that point implies. Fails with kError when there is no
/// point, or (with a tolerance in ppm) when the implied mono lies too far from the expected one;
/// the outputs then keep what was written so far. Null outputs or charge 0 give kBadParameterError.
ZEQ_COMMON_CORE_EXPORT Error get_best_observed_v2(const QList<QPointF> &points,
                                                  double mass,
                                                  int charge,
                                                  chem::ZEQ_QEnumsChemUtils::IonMode mode,
                                                  const double *ppmTolerance,
                                                  double *expectedMz,
                                                  QPointF *observed,
                                                  double *monoMz);

} // namespace zeq
