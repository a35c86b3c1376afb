// The cluster search against what it returned before it was made faster: speed-ups must leave every
// cluster, its order and every double unchanged to the last bit, on 10,000 generated windows.
#include "algo/AveragineComparisonOverlapScorer_p.h"
#include "algo/AveragineComparisonScoring.h"
#include "algo/AveragineComparisonSearch.h"
#include "support/SyntheticPeaks.h"

#include <gtest/gtest.h>

#include <array>
#include <bit>
#include <cmath>
#include <cstdint>
#include <limits>
#include <optional>

using zeq::ChargeScoreInfo;
using zeq::test::SyntheticPeaks;

namespace
{

/// FNV-1a over everything a search returns, every double by its bits.
class Digest
{
public:
    void add(std::uint64_t v)
    {
        for (int i = 0; i < 8; ++i, v >>= 8) {
            m_hash = (m_hash ^ (v & 0xff)) * 0x100000001b3ULL;
        }
    }
    void add(double v) { add(std::bit_cast<std::uint64_t>(v)); }
    void add(const ChargeScoreInfo &c)
    {
        add(std::uint64_t(c.charge));
        for (const double v : { c.mzOffset, c.scaleFact, c.score, c.percentIonCurrent }) {
            add(v);
        }
        add(std::uint64_t(c.matchVector.size()));
        for (const auto &m : c.matchVector) {
            add(std::uint64_t(m.pointIndex));
            add(m.percentAccountFor);
        }
        add(std::uint64_t(c.points.size()));
        for (const QPointF &p : c.points) {
            add(p.x());
            add(p.y());
        }
    }
    [[nodiscard]] std::uint64_t value() const { return m_hash; }

private:
    std::uint64_t m_hash = 0xcbf29ce484222325ULL;
};

struct Case {
    PlotBase plot;
    double start;
    double end;
    zeq::ProcessorOptions opts;
    double minPercent;
};

// A window of a few overlapping peptide clusters (every fifth case a small protein at high
// charge), noise peaks and jitter, searched with a random uncertainty model and σ.
Case makeCase(std::uint64_t seed)
{
    SyntheticPeaks s(seed);
    s.setJitter(5.0 * s.uniform(), 0.1 * s.uniform());
    const double scale = std::pow(10.0, 1.0 + 5.0 * s.uniform());
    const bool protein = seed % 5 == 0;
    const double mass = protein ? 6000.0 + 6000.0 * s.uniform() : 600.0 + 3000.0 * s.uniform();
    const int charge = protein ? 6 + static_cast<int>(6 * s.uniform()) : 1 + static_cast<int>(4 * s.uniform());
    const double mono = s.addCluster(mass, charge, scale);
    const int more = static_cast<int>(3 * s.uniform());
    for (int i = 0; i < more; ++i) {
        const int z = 1 + static_cast<int>(4 * s.uniform());
        s.addCluster((mono + 3.0 * s.uniform()) * z, z, scale * (0.1 + s.uniform()));
    }
    const double width = protein ? 5.0 : 4.0;
    s.addNoisePeaks(static_cast<int>(25 * s.uniform()), mono - 1.0, mono + width + 1.0, 0.05 * scale);
    Case c{ s.plot(), mono - 1.0, mono + width, {}, 0.05 * s.uniform() };
    static constexpr zeq::UncertaintyScaling scalings[] = { zeq::SqrtUncertainty,
                                                            zeq::ProportionalUncertainty,
                                                            zeq::ConstantUncertainty };
    c.opts.uncertaintyScaling = scalings[seed % 3];
    const double sigma = 0.004 + 0.02 * s.uniform(); // m/z at 1000
    c.opts.stdDev = c.opts.uncertaintyScaling == zeq::ProportionalUncertainty ? sigma * 1000.0 : sigma;
    c.opts.maxCharge = protein ? 14 : 3 + static_cast<int>(6 * s.uniform());
    return c;
}

// The digest of the search's output on these windows before it was made faster, taken when the
// faster search matched a copy of the old one to the bit on every window (commit 19f331e holds that
// copy, tests/support/isotope_reference, to find which window moved if this ever fails).
constexpr std::uint64_t kReferenceDigest = 0x5148495198159532ULL;
constexpr int kReferenceClusters = 39801;

TEST(IsotopeSearchDifferential, ClustersEqualTheReferenceToTheLastBit)
{
    // Sanitizer builds run this as well: the window count keeps it to seconds there.
    constexpr std::uint64_t windows = 10000;
    Digest digest;
    int clusters = 0;
    for (std::uint64_t seed = 1; seed <= windows; ++seed) {
        const Case c = makeCase(seed);
        QList<ChargeScoreInfo> found;
        zeq::findChargesAndMonos(c.opts, c.plot, c.start, c.end, QString(), c.minPercent, found);
        digest.add(std::uint64_t(found.size()));
        for (const ChargeScoreInfo &cluster : found) {
            digest.add(cluster);
        }
        clusters += static_cast<int>(found.size());
    }
    EXPECT_EQ(clusters, kReferenceClusters);
    EXPECT_EQ(digest.value(), kReferenceDigest) << std::hex << digest.value();
}

// The scale refinement as it was: both scores of every step computed in full.
void refineByScores(const PlotBase &plot, const zeq::TestParameters &tp, ChargeScoreInfo &info)
{
    double s = info.scaleFact;
    double lo = s * 0.5;
    double hi = s * 2.0;
    ChargeScoreInfo up = info;
    ChargeScoreInfo down = info;
    for (int i = 0; i < 10; ++i) {
        up.scaleFact = (s + hi) / 2.0;
        down.scaleFact = (s + lo) / 2.0;
        zeq::calcOverlapScore(plot, zeq::sharedAveragineModel(), tp, up);
        zeq::calcOverlapScore(plot, zeq::sharedAveragineModel(), tp, down);
        if (up.score > down.score) {
            hi = s;
            s = down.scaleFact;
        } else {
            lo = s;
            s = up.scaleFact;
        }
    }
    info.scaleFact = s;
    zeq::calcOverlapScore(plot, zeq::sharedAveragineModel(), tp, info);
}

// σ as findChargesAndMonos reads the options, and some points explained by an earlier cluster.
zeq::TestParameters placementParameters(const Case &c, const QList<QPointF> &window)
{
    zeq::TestParameters tp;
    tp.uncertaintyScaling = c.opts.uncertaintyScaling;
    tp.stdDev = tp.uncertaintyScaling == zeq::SqrtUncertainty ? c.opts.stdDev / std::sqrt(1000.0) : c.opts.stdDev;
    tp.tagList.addPoints2dList(window);
    tp.tagList.setWindowPeakOffset(c.plot.getIndexLessOrEqual(c.start, false) + 1);
    for (int k = 1; k < tp.tagList.getSize(); k += 3) {
        tp.tagList.excludePoint(k);
    }
    return tp;
}

// The refinement compares bounded estimates instead of scores; a bound that is ever too tight
// turns a step the other way. Every window point as anchor at every charge, with and without the
// charge search's terms, some points explained by an earlier cluster.
TEST(IsotopeSearchDifferential, ScaleRefinementEqualsTheOneThatScoresEveryStep)
{
    int refined = 0;
    for (std::uint64_t seed = 1; seed <= 150; ++seed) {
        const Case c = makeCase(seed);
        const QList<QPointF> window = c.plot.getDataPoints(c.start, c.end, true);
        zeq::TestParameters tp = placementParameters(c, window);
        for (const QPointF &anchor : window) {
            for (int z = 1; z <= 8; ++z) {
                for (const bool chargeSearch : { true, false }) {
                    tp.chargeSearchActive = chargeSearch;
                    ChargeScoreInfo placed;
                    placed.charge = z;
                    zeq::findMzOffset(c.plot, zeq::sharedAveragineModel(), tp, anchor, z, placed);
                    ChargeScoreInfo expected = placed;
                    refineByScores(c.plot, tp, expected);
                    zeq::searchFineScaleFactorBinary(c.plot, 0.5, 2.0, 10, tp, placed);
                    ASSERT_EQ(std::bit_cast<std::uint64_t>(placed.scaleFact),
                              std::bit_cast<std::uint64_t>(expected.scaleFact))
                        << "seed " << seed << " charge " << z << " at m/z " << anchor.x();
                    ASSERT_EQ(std::bit_cast<std::uint64_t>(placed.score), std::bit_cast<std::uint64_t>(expected.score));
                    ++refined;
                }
            }
        }
    }
    EXPECT_GT(refined, 10000);
}

// Every step the refinement decides by estimates rests on the score lying within the estimate's
// bound. Checked directly at scales around each placement's, where the refinement's own steps may
// never come close enough to two equal scores to show a bound too tight.
TEST(IsotopeSearchDifferential, EstimatesBoundTheScore)
{
    zeq::detail::OverlapScorerBuffers buffers;
    int checked = 0;
    int inexact = 0;
    int tight = 0;
    int tightOver = 0;
    for (std::uint64_t seed = 1; seed <= 40; ++seed) {
        const Case c = makeCase(seed);
        const QList<QPointF> window = c.plot.getDataPoints(c.start, c.end, true);
        zeq::TestParameters tp = placementParameters(c, window);
        for (const QPointF &anchor : window) {
            for (int z = 1; z <= 8; ++z) {
                // Placed as the search places (without its log messages): tallest isotope on the anchor.
                const auto &top = zeq::sharedAveragineModel().isotopePattern(z * anchor.x());
                const double mono = anchor.x() - static_cast<double>(top.tallest) * zeq::kIsotopeSpacing / z;
                const auto *pattern = zeq::detail::placementDistribution(c.plot, zeq::sharedAveragineModel(), z, mono);
                if (top.fractions.empty() || !pattern) {
                    continue;
                }
                const double scale = anchor.y() / (pattern->fractions[pattern->tallest] + 1e-30);
                for (const bool chargeSearch : { true, false }) {
                    tp.chargeSearchActive = chargeSearch;
                    zeq::detail::OverlapScorer scorer(c.plot, *pattern, tp, z, mono, buffers);
                    if (!scorer.windowOk()) {
                        continue;
                    }
                    for (const double f : { 0.5, 0.8, 1.0, 1.3, 1.9 }) {
                        const std::array<double, 2> scales{ f * scale, 1.05 * f * scale };
                        const std::array<zeq::detail::ScoreEstimate, 2> estimates = scorer.estimate(scales);
                        for (size_t j = 0; j < 2; ++j) {
                            ChargeScoreInfo scored;
                            scorer.score(scales[j], scored);
                            const zeq::detail::ScoreEstimate &e = estimates[j];
                            ASSERT_TRUE(e.error == 0.0 ? e.value == scored.score
                                                       : std::abs(scored.score - e.value) <= e.error)
                                << "seed " << seed << " charge " << z << " at m/z " << anchor.x() << ": score "
                                << scored.score << ", estimate " << e.value << " ± " << e.error;
                            inexact += e.value != scored.score ? 1 : 0;
                            ++checked;
                            // The bound that spares the charge search's scores, with a bar it always
                            // clears.
                            ChargeScoreInfo spared;
                            const std::optional<double> least =
                                scorer.scoreUnlessAtLeast(scales[j], -std::numeric_limits<double>::infinity(), spared);
                            ASSERT_TRUE(least && !(*least > scored.score))
                                << "seed " << seed << " charge " << z << " at m/z " << anchor.x() << ": score "
                                << scored.score << ", bound " << least.value_or(NAN);
                            tight += *least > 0.5 * scored.score ? 1 : 0;
                            // The bound over a range of scales, at one of them.
                            const double atScale = scorer.leastOver(scales[j], scales[j]);
                            ASSERT_FALSE(atScale > scored.score) << "seed " << seed << " charge " << z;
                            tightOver += atScale > 0.5 * scored.score ? 1 : 0;
                        }
                        const double over = scorer.leastOver(scales[0] / 1.3, scales[1]);
                        for (const double s : { scales[0] / 1.3, scales[0] / 1.1, scales[0], scales[1] }) {
                            ChargeScoreInfo scored;
                            scorer.score(s, scored);
                            ASSERT_FALSE(over > scored.score) << "seed " << seed << " charge " << z << " at scale " << s
                                                              << ": score " << scored.score << ", bound " << over;
                        }
                    }
                }
            }
        }
    }
    EXPECT_GT(checked, 50000);
    EXPECT_GT(inexact, checked / 10); // the bound is put to work, not only the exact cases
    EXPECT_GT(tight, checked / 10);
    EXPECT_GT(tightOver, checked / 10);
}

} // namespace
