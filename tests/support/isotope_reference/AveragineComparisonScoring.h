#pragma once

#include "algo/AveragineComparisonRecords.h"
#include "zeq_qt_shared_libs_core/AveragineIsotopeDistribution.h"

#include <QPointF>

#include <optional>
#include <vector>

class PlotBase;

namespace zeq_reference
{
using namespace zeq;

/// Distance between neighbouring isotopes, in m/z × charge.
constexpr double kIsotopeSpacing = 1.0026;
constexpr double kInverseSpacing = 0.9974067424695792;
/// Added to σ when a peak width is expressed in isotope units.
constexpr double kWidthFloor = 0.015;
constexpr double kGaussianBase = 2.71828183;
/// An m/z at or below this was never assigned.
constexpr double kUnsetMz = -2147483648.0;
/// Score of a candidate that could not be scored; ranks behind any real fit.
constexpr double kDefaultScore = 7.524;
/// Score of a candidate that matched at most one isotope.
constexpr double sparseMatchScore(int charge)
{
    return 1.6 + charge * 0.0001;
}

/// The one averagine model of the process, built when the library is loaded; safe to read from
/// any thread.
const AveragineIsotopeDistribution &sharedAveragineModel();

/// The model peak train of one candidate cluster: the averagine isotope fractions (not owned: they
/// belong to the model that handed them out) as Gaussian peaks of width σ (m/z), spaced
/// 1.0026 / charge from the monoisotopic m/z and scaled to observed intensity.
class AveragineIsotopeFunction
{
public:
    explicit AveragineIsotopeFunction(const std::vector<double> &distribution)
        : m_distribution(&distribution)
    {
    }
    // Only a reference is kept: a temporary distribution would dangle.
    explicit AveragineIsotopeFunction(std::vector<double> &&) = delete;

    [[nodiscard]] const std::vector<double> &averagIsoDist() const noexcept { return *m_distribution; }
    [[nodiscard]] const std::vector<double> &getDistributionList() const noexcept { return *m_distribution; }
    [[nodiscard]] int charge() const noexcept { return m_charge; }
    [[nodiscard]] double mzOffset() const noexcept { return m_mzOffset; }
    [[nodiscard]] double stdDev() const noexcept { return m_stdDev; }
    [[nodiscard]] double scaleFact() const noexcept { return m_scaleFact; }

    void setCharge(int charge) noexcept { m_charge = charge; }
    void setMzOffset(double mzOffset) noexcept { m_mzOffset = mzOffset; }
    void setScaleFact(double scaleFact) noexcept { m_scaleFact = scaleFact; }
    /// σ at the current m/z offset, which must therefore be set first.
    void setStdDev(double s, UncertaintyScaling scaling) { m_stdDev = findStdDev(s, m_mzOffset, scaling); }

    /// Model intensity at m/z x. A window below 1 sums every isotope; from 1 on only the isotopes
    /// within `window` peak widths of x take part, and x far from all of them gives exactly 0.
    [[nodiscard]] double evaluate(double x, int window) const;
    /// Index of the isotope whose peak covers x, or a negative value.
    [[nodiscard]] int peakOverlapIndex(double x) const;

private:
    const std::vector<double> *m_distribution;
    int m_charge = -1;
    double m_mzOffset = -1.7976931348623157e308;
    double m_stdDev = -1.0;
    double m_scaleFact = -1.0;
};

/// Index of the first largest element; none for an empty list.
std::optional<size_t> findMaxIndex(const std::vector<double> &values);

/// Scores info's charge, mzOffset and scaleFact against the plot: writes score (7.524 when the
/// candidate cannot be scored) and matchVector, and empties points.
void calcOverlapScore(const PlotBase &plot,
                      const AveragineIsotopeDistribution &model,
                      const TestParameters &tp,
                      ChargeScoreInfo &info);
/// `penalty` for a point that an earlier cluster already explains, else 1.
double find_penalty_scale_factor_if_accounted_for(const TestParameters &tp, int pointIndex, double penalty);

/// Places info (charge z, set by the caller) with its most abundant isotope on `peak`, scales it
/// to the peak and scores it.
void findMzOffset(const PlotBase &plot,
                  const AveragineIsotopeDistribution &model,
                  const TestParameters &tp,
                  const QPointF &peak,
                  int z,
                  ChargeScoreInfo &info);
void findScaleFactor(const PlotBase &plot,
                     const AveragineIsotopeDistribution &model,
                     const TestParameters &tp,
                     QPointF peak,
                     int z,
                     double mzOffset,
                     ChargeScoreInfo &info);

/// Bisects the scale between lowFactor and highFactor times the current one, then rescores info.
void searchFineScaleFactorBinary(const PlotBase &plot,
                                 double lowFactor,
                                 double highFactor,
                                 int iterations,
                                 const TestParameters &tp,
                                 ChargeScoreInfo &info);

} // namespace zeq_reference
