#pragma once

#include "algo/AveragineComparisonRecords.h"
#include "zeq_common_core_export.h"

class PlotBase;

namespace zeq
{

/// What else a found cluster could have been, for judging how sure the choice is: the best fit at
/// any other charge, and the same charge with the monoisotope one isotope lower and one higher.
/// Every reading, the cluster's own included, is scored afresh and alike: placed as the search
/// places its final candidates (the most abundant model isotope on the tallest point near its m/z),
/// its scale refined, and scored without the charge search's extra terms and without counting any
/// point as explained by another cluster. Scores are the search's misfit: smaller fits better.

/// One reading of a cluster's points; charge 0 when it could not be placed or scored.
struct ZEQ_COMMON_CORE_EXPORT ClusterReading {
    int charge = 0;
    double monoMz = 0.0; ///< Th
    double score = 0.0;

    [[nodiscard]] bool isValid() const noexcept { return charge > 0; }
};

struct ZEQ_COMMON_CORE_EXPORT ClusterAlternatives {
    ClusterReading chosen; ///< the cluster as found (charge, mono, scale), rescored
    ClusterReading otherCharge; ///< the best-scoring reading at any other charge the search tries
    ClusterReading monoBelow; ///< the same charge, mono one isotope lower
    ClusterReading monoAbove; ///< the same charge, mono one isotope higher

    /// The valid alternative with the lowest score (otherCharge, then monoBelow, then monoAbove on
    /// ties); invalid when there is none.
    [[nodiscard]] ClusterReading runnerUp() const;
    /// How much better the choice fits than the runner-up, as the score gap over the runner-up's
    /// score: 1 − chosen / runner-up. Near 1 when the choice fits far better, 0 for a tie, below 0
    /// when the runner-up fits better. Scores are at least 0; NaN when either reading is missing or
    /// unscored.
    [[nodiscard]] double confidence() const;
};

/// The alternatives of `cluster`, found by findChargesAndMonos(`options`, `plot`, ...), on that
/// plot. Charges tried for otherCharge: 1 to options.maxCharge. A cluster without a charge of at
/// least 1 or without a mono m/z gives every reading invalid.
[[nodiscard]] ZEQ_COMMON_CORE_EXPORT ClusterAlternatives findClusterAlternatives(const PlotBase &plot,
                                                                                 const ChargeScoreInfo &cluster,
                                                                                 const ProcessorOptions &options);

} // namespace zeq
