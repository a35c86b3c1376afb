#include "ZeqLogging.h"
#include "support/isotope_reference/AveragineComparisonOverlapScorer_p.h"
#include "support/isotope_reference/AveragineComparisonScoring.h"
#include "zeq_common_stable/PlotBase.h"

#include <optional>

namespace zeq_reference
{
using namespace zeq;

namespace
{

// One placement (charge and mono m/z) scored at many scales: with one OverlapScorer when the
// placement can be scored, otherwise through calcOverlapScore, which logs every failure as a single
// call would. Either way the results are calcOverlapScore's with the shared model.
class ScaleScores
{
public:
    ScaleScores(const PlotBase &plot, const TestParameters &tp, const ChargeScoreInfo &placement)
        : m_plot(plot)
        , m_tp(tp)
    {
        const std::vector<double> *d =
            detail::placementDistribution(plot, sharedAveragineModel(), placement.charge, placement.mzOffset);
        if (d) {
            thread_local detail::OverlapScorerBuffers buffers;
            m_scorer.emplace(plot, *d, tp, placement.charge, placement.mzOffset, buffers);
            if (!m_scorer->windowOk()) {
                m_scorer.reset();
            }
        }
    }

    /// info is the placement at info.scaleFact.
    void score(ChargeScoreInfo &info)
    {
        if (!m_scorer) {
            calcOverlapScore(m_plot, sharedAveragineModel(), m_tp, info);
            return;
        }
        if (info.scaleFact < 0.0) {
            info.matchVector.clear();
            info.points.clear();
            info.score = kDefaultScore;
            qCDebug(lcCore) << "scale factor must be a positive value";
            return;
        }
        m_scorer->score(info.scaleFact, info);
    }

private:
    const PlotBase &m_plot;
    const TestParameters &m_tp;
    std::optional<detail::OverlapScorer> m_scorer;
};

} // namespace

void searchFineScaleFactorBinary(const PlotBase &plot,
                                 double lowFactor,
                                 double highFactor,
                                 int iterations,
                                 const TestParameters &tp,
                                 ChargeScoreInfo &info)
{
    ScaleScores scores(plot, tp, info);
    double s = info.scaleFact;
    double lo = s * lowFactor;
    double hi = s * highFactor;
    ChargeScoreInfo up = info;
    ChargeScoreInfo down = info;
    for (int i = 0; i < iterations; ++i) {
        up.scaleFact = (s + hi) / 2.0;
        down.scaleFact = (s + lo) / 2.0;
        scores.score(up);
        scores.score(down);
        if (up.score > down.score) {
            hi = s;
            s = down.scaleFact;
        } else {
            lo = s;
            s = up.scaleFact;
        }
    }
    info.scaleFact = s;
    scores.score(info);
}

} // namespace zeq_reference
