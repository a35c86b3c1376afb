#pragma once

#include "algo/AveragineComparisonRecords.h"

#include <QList>
#include <QPointF>

#include <vector>

class AveragineIsotopeDistribution;
class PlotBase;

namespace zeq_reference::detail
{
using namespace zeq;

/// The averagine peak train of one placement at scale 1, at m/z x; `empty` when no isotope lies
/// within the window (the model then gives exactly 0 at any scale).
struct ModelShape {
    double sum = 0.0;
    bool empty = false;
};
ModelShape modelShape(const std::vector<double> &d, int charge, double mzOffset, double sigma, double x, int window);

/// The model distribution of a placement that passes the overlap score's input checks other than
/// the scale, or null; logs nothing.
const std::vector<double> *
placementDistribution(const PlotBase &plot, const AveragineIsotopeDistribution &model, int charge, double mzOffset);

/// Working storage of an OverlapScorer, kept between scorers so that scoring allocates nothing once
/// the vectors have grown to the windows seen.
struct OverlapScorerBuffers {
    struct Run {
        int begin; // points [begin, end) on the peak of one isotope
        int end;
        size_t isotope;
    };
    std::vector<Run> runs;
    std::vector<int> unassigned;
    std::vector<ModelShape> shapes; // per window point, filled on first use
    std::vector<char> hasShape;
    std::vector<char> explained; // per window point: marked as explained by an earlier cluster
    std::vector<int> side;
    std::vector<size_t> matchedIsotopes; // ascending, with repeats
};

/// The overlap score of one placement (charge, mono m/z, σ from the parameters) at any number of
/// scales. What does not depend on the scale — the window of points, their isotope runs, the model's
/// shape at each point — is worked out once, so the scale refinements score a placement many times
/// for little more than the cost of one. Holds references to the plot, distribution and parameters.
class OverlapScorer
{
public:
    /// The placement must pass placementDistribution's checks; `d` is its distribution. The buffers
    /// belong to this scorer while it lives.
    OverlapScorer(const PlotBase &plot,
                  const std::vector<double> &d,
                  const TestParameters &tp,
                  int charge,
                  double mzOffset,
                  OverlapScorerBuffers &buffers);
    OverlapScorer(const PlotBase &,
                  std::vector<double> &&,
                  const TestParameters &,
                  int,
                  double,
                  OverlapScorerBuffers &) = delete;

    /// False when the window of points around the pattern is empty or outside the plot.
    [[nodiscard]] bool windowOk() const noexcept { return m_windowOk; }
    [[nodiscard]] int first() const noexcept { return m_first; }
    [[nodiscard]] int last() const noexcept { return m_last; }

    /// Writes info's score and matchVector for a scale ≥ 0 (or NaN) and empties its points. The
    /// window must be ok.
    void score(double scale, ChargeScoreInfo &info);

private:
    using Run = OverlapScorerBuffers::Run;

    double modelAt(int pointIndex, double scale);
    double penalty(int pointIndex, double q) const;
    void resolve(const Run &run, double scale, std::vector<PointAndPercentAccountFor> &matches);

    const QList<QPointF> &m_points;
    const std::vector<double> &m_d;
    const TestParameters &m_tp;
    int m_charge;
    double m_mzOffset;
    double m_sigma;
    size_t m_kmax = 0;
    int m_first = 0;
    int m_last = -1;
    bool m_windowOk = false;
    OverlapScorerBuffers &m_buffers;
};

} // namespace zeq_reference::detail
