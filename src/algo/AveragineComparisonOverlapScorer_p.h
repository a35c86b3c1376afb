#pragma once

#include "algo/AveragineComparisonRecords.h"
#include "zeq_qt_shared_libs_core/AveragineIsotopeDistribution.h"

#include <QList>
#include <QPointF>

#include <array>
#include <optional>
#include <utility>
#include <vector>

class PlotBase;

namespace zeq::detail
{

/// The averagine peak train of one placement at scale 1, at m/z x; `empty` when no isotope lies
/// within the window (the model then gives exactly 0 at any scale).
struct ModelShape {
    double sum = 0.0;
    bool empty = false;
};
ModelShape modelShape(const std::vector<double> &d, int charge, double mzOffset, double sigma, double x, int window);

/// The isotopes [lo, hi] within `window` peak widths of m/z x (none when lo > hi), and x and the
/// width in isotope units.
struct IsotopeWindow {
    double u;
    double w;
    long long lo;
    long long hi;
};
IsotopeWindow isotopeWindow(size_t size, int charge, double mzOffset, double sigma, double x, int window);

/// The model pattern of a placement that passes the overlap score's input checks other than the
/// scale, or null; logs nothing.
const AveragineIsotopeDistribution::Pattern *
placementDistribution(const PlotBase &plot, const AveragineIsotopeDistribution &model, int charge, double mzOffset);

/// findMzOffset and findScaleFactor without their final calcOverlapScore: false where they return
/// before scoring. On success `pattern`, when given, is the placement's model pattern.
bool placeWithoutScore(const AveragineIsotopeDistribution &model,
                       const QPointF &peak,
                       int z,
                       ChargeScoreInfo &info,
                       const AveragineIsotopeDistribution::Pattern **pattern = nullptr);
bool scaleWithoutScore(const AveragineIsotopeDistribution &model,
                       QPointF peak,
                       int z,
                       double mzOffset,
                       ChargeScoreInfo &info,
                       const AveragineIsotopeDistribution::Pattern **pattern = nullptr);

/// Working storage of an OverlapScorer, kept between scorers so that scoring allocates nothing once
/// the vectors have grown to the windows seen.
struct OverlapScorerBuffers {
    struct Run {
        int begin; // points [begin, end) on the peak of one isotope
        int end;
        size_t isotope;
    };
    // What a point adds to the score's numerator and denominator, the scale-free factors worked out
    // as the score's own expressions would: `tall` when its intensity lies in the range of the
    // tallest isotope, `flat` (times the tallest isotope's height) otherwise.
    struct Terms {
        double y;
        double tallNumerator;
        double tallDenominator;
        double flatNumerator;
        double flatDenominator;
    };
    std::vector<Run> runs;
    std::vector<Terms> unassigned; // the points on no isotope's peak, in m/z order
    std::vector<Terms> side; // per window point, its terms when on a peak but not matched
    std::vector<double> matchPenalty; // per window point
    std::vector<ModelShape> shapes; // per window point, filled on first use
    std::vector<char> hasShape;
    std::vector<int> matched; // per run and score: the slot of the point matched, or -1
    std::vector<double> matchedModel; // per match: the model's height at its point
    std::vector<size_t> matchedIsotopes; // ascending, with repeats
    // For bounds over a range of scales: per point of a run, the least numerator term and the
    // greatest denominator term it adds as a side point, and their running sums.
    struct TermBounds {
        double numerator;
        double denominator;
    };
    std::vector<TermBounds> runTerms;
    std::vector<TermBounds> runPrefix;
    // For estimates after the first: the unassigned points' intensities ascending, and the running
    // sums of their terms in that order (flat factors and terms in the tall range).
    struct Sums {
        double flatNumerator = 0.0;
        double flatDenominator = 0.0;
        double tallNumerator = 0.0;
        double tallDenominator = 0.0;
    };
    std::vector<std::pair<double, size_t>> order;
    std::vector<double> sortedUnassigned;
    std::vector<Sums> unassignedPrefix;
};

/// Rounding allowances for a sum of non-negative terms whose number, with the products on the way,
/// is k: the computed sum lies within γ = k·u of its exact value, but for an absolute allowance
/// `tiny` where values are subnormal; γ is doubled twice for margin.
struct Rounding {
    double gamma;
    double tiny;

    explicit Rounding(size_t k)
        : gamma(4.0 * static_cast<double>(k) * 0x1p-53)
        , tiny(static_cast<double>(k) * 0x1p-1000)
    {
    }
};

/// A score known to lie within value ± error; error 0 when value is the score itself.
struct ScoreEstimate {
    double value = 0.0;
    double error = 0.0;
};

/// The overlap score of one placement (charge, mono m/z, σ from the parameters) at any number of
/// scales. What does not depend on the scale — the window of points, their isotope runs, the model's
/// shape at each point — is worked out once, so the scale refinements score a placement many times
/// for little more than the cost of one. Holds references to the plot, distribution and parameters.
class OverlapScorer
{
public:
    /// The placement must pass placementDistribution's checks; `pattern` is its model. The buffers
    /// belong to this scorer while it lives.
    OverlapScorer(const PlotBase &plot,
                  const AveragineIsotopeDistribution::Pattern &pattern,
                  const TestParameters &tp,
                  int charge,
                  double mzOffset,
                  OverlapScorerBuffers &buffers);

    /// False when the window of points around the pattern is empty or outside the plot.
    [[nodiscard]] bool windowOk() const noexcept { return m_windowOk; }
    [[nodiscard]] int first() const noexcept { return m_first; }
    [[nodiscard]] int last() const noexcept { return m_last; }

    /// Writes info's score and matchVector for a scale ≥ 0 (or NaN) and empties its points. The
    /// window must be ok.
    void score(double scale, ChargeScoreInfo &info);

    /// score(scale, info) unless, without the model's heights and their powers, the score is found
    /// to be `bar` or more: then a value at or above the bar that the score is not below is returned,
    /// and info has no matches. The window must be ok.
    std::optional<double> scoreUnlessAtLeast(double scale, std::optional<double> bar, ChargeScoreInfo &info);

    /// The scores at two scales ≥ 0 from the same matches, their sums taken in whatever order is
    /// fastest, each with a bound on the difference rounding can make. For comparisons: two
    /// estimates whose intervals do not overlap order the scores as score() would. The window must
    /// be ok.
    std::array<ScoreEstimate, 2> estimate(const std::array<double, 2> &scales);

    /// A value the score does not go below at any scale in [a, b] (0 < a ≤ b), or −∞ when none is
    /// found (always where an intensity other than 0 lies outside 2^−900…2^900). The window must be
    /// ok.
    double leastOver(double a, double b);

private:
    using Run = OverlapScorerBuffers::Run;
    using Terms = OverlapScorerBuffers::Terms;
    using TermBounds = OverlapScorerBuffers::TermBounds;
    using Sums = OverlapScorerBuffers::Sums;

    double modelAt(int pointIndex, double scale);
    void prepareEstimates();
    // One scale of estimate().
    template <bool Crowded> ScoreEstimate estimateAt(double scale, bool sorted);
    // Out of line: the scores' loops want modelAt inline and its first-use path out of the way.
    [[gnu::noinline]] void fillShape(int pointIndex);
    // At least the model's height at scale 1 at a window point of a run of `isotope`, without its
    // powers where not known.
    double shapeCeiling(size_t slot, size_t isotope);
    // The model's height at scale 1 at a window point.
    double exactShape(size_t slot);
    void chooseMatches(double scale);
    template <bool Crowded>
    void sumUnmatched(double tallLow,
                      double tallHigh,
                      double tallest,
                      double &numerator,
                      double &denominator,
                      size_t &sidePoints);
    template <bool Crowded> double leastOverIn(double a, double b);
    void weighMatches(double scale, std::vector<PointAndPercentAccountFor> &matches);
    double lowerBound(double scale, double numerator, double denominator, size_t sidePoints);
    // The weights of the coverage and of the missing isotopes, which the score, its estimates and
    // its bounds must share.
    [[nodiscard]] double coverageWeight() const noexcept { return m_tp.chargeSearchActive ? 3.0 : 1.5; }
    [[nodiscard]] double missingWeight() const noexcept { return m_tp.chargeSearchActive ? 15.0 : 1.5; }

    const QList<QPointF> &m_points;
    const std::vector<double> &m_d;
    const TestParameters &m_tp;
    int m_charge;
    double m_mzOffset;
    double m_sigma;
    double m_isotopeWidth = 0.0; // a peak's half width in isotope units
    size_t m_kmax = 0;
    double m_perIsotope = 0.0; // 1/√(isotopes), the coverage term's weight
    double m_sumOfSquares; // Σ d²
    int m_estimates = 0;
    bool m_crowded = false; // many points: sums without branches
    int m_first = 0;
    int m_last = -1;
    bool m_windowOk = false;
    OverlapScorerBuffers &m_buffers;
};

/// One placement (charge and mono m/z) scored at many scales: with one OverlapScorer when the
/// placement can be scored, otherwise through calcOverlapScore, which logs every failure as a single
/// call would. Either way the results are calcOverlapScore's with `model`. One at a time per thread:
/// the scorers share their buffers.
class PlacementScores
{
public:
    /// `pattern`, when given, is the placement's pattern in `model` (as placeWithoutScore gives it).
    PlacementScores(const PlotBase &plot,
                    const AveragineIsotopeDistribution &model,
                    const TestParameters &tp,
                    const ChargeScoreInfo &placement,
                    const AveragineIsotopeDistribution::Pattern *pattern = nullptr);

    /// info is the placement at info.scaleFact.
    void score(ChargeScoreInfo &info);
    /// score(info), unless the score is found to be `bar` or more without the model's heights: then
    /// info's score is a value at or above the bar that the score is not below, and info has no
    /// matches. True when scored.
    bool scoreUnlessAtLeast(ChargeScoreInfo &info, double bar);
    /// Whether the score at scale a is above the score at scale b, when their estimates tell.
    [[nodiscard]] std::optional<bool> higherByEstimate(double a, double b);
    /// A value the score does not go below at any scale in [a, b] (0 < a ≤ b), or −∞.
    [[nodiscard]] double leastOver(double a, double b);
    [[nodiscard]] const AveragineIsotopeDistribution &model() const noexcept { return m_model; }

private:
    const PlotBase &m_plot;
    const AveragineIsotopeDistribution &m_model;
    const TestParameters &m_tp;
    std::optional<OverlapScorer> m_scorer;
};

/// searchFineScaleFactorBinary on a placement whose scores come from `scores`, made with the shared
/// model. With a `floor`, the refinement may stop once its score is sure to be at least the floor:
/// info's score is then a value at or above the floor that the refined score is not below, and
/// info has no matches.
void refineScaleBinary(PlacementScores &scores,
                       double lowFactor,
                       double highFactor,
                       int iterations,
                       ChargeScoreInfo &info,
                       std::optional<double> floor = std::nullopt);

} // namespace zeq::detail
