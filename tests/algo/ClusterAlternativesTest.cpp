#include "algo/ClusterAlternatives.h"

#include "algo/AveragineComparisonScoring.h"
#include "algo/SpectrumClusterSearch.h"
#include "support/SyntheticPeaks.h"
#include "zeq_common_stable/PlotBase.h"

#include <gtest/gtest.h>

#include <cmath>

namespace
{

// Clean peptide clusters: asking for alternatives leaves every cluster as it was, and each cluster
// fits better than its readings one isotope off and at any other charge, which sit where they say.
TEST(ClusterAlternativesTest, CleanClustersBeatTheirAlternativesWithoutChanging)
{
    zeq::test::SyntheticPeaks peaks(7);
    peaks.setJitter(1.0, 0.02);
    const struct {
        double mass;
        int charge;
    } truths[] = { { 1200.6, 1 }, { 1850.9, 2 }, { 2430.2, 3 }, { 3120.5, 2 } };
    for (const auto &t : truths) {
        peaks.addCluster(t.mass, t.charge, 1e6);
    }
    zeq::SpectrumSearchOptions options;
    const QList<zeq::SpectrumCluster> plain = zeq::findSpectrumClusters(peaks.points(), options);
    options.alternatives = true;
    const QList<zeq::SpectrumCluster> explained = zeq::findSpectrumClusters(peaks.points(), options);

    ASSERT_EQ(explained.size(), plain.size());
    ASSERT_EQ(plain.size(), std::size(truths));
    for (qsizetype i = 0; i < plain.size(); ++i) {
        const zeq::ChargeScoreInfo &c = explained[i].cluster;
        EXPECT_EQ(c.charge, plain[i].cluster.charge);
        EXPECT_EQ(c.mzOffset, plain[i].cluster.mzOffset);
        EXPECT_EQ(c.score, plain[i].cluster.score);
        EXPECT_FALSE(plain[i].alternatives);
        ASSERT_TRUE(explained[i].alternatives);
        const zeq::ClusterAlternatives &a = *explained[i].alternatives;
        SCOPED_TRACE(c.mzOffset);
        EXPECT_EQ(a.chosen.charge, c.charge);
        EXPECT_NEAR(a.monoBelow.monoMz, c.mzOffset - 1.0 / c.charge, 0.01);
        EXPECT_NEAR(a.monoAbove.monoMz, c.mzOffset + 1.0 / c.charge, 0.01);
        EXPECT_TRUE(a.otherCharge.isValid());
        EXPECT_NE(a.otherCharge.charge, c.charge);
        EXPECT_GT(a.confidence(), 0.0);
        EXPECT_LE(a.confidence(), 1.0);
    }
}

TEST(ClusterAlternativesTest, AClusterWithoutAChargeHasNone)
{
    zeq::test::SyntheticPeaks peaks(3);
    peaks.addCluster(1500.0, 2, 1e5);
    const PlotBase plot(peaks.points());
    zeq::ChargeScoreInfo unplaced;
    unplaced.mzOffset = 751.0;
    for (const int charge : { 0, -2 }) {
        unplaced.charge = charge;
        const zeq::ClusterAlternatives a = zeq::findClusterAlternatives(plot, unplaced, zeq::ProcessorOptions());
        EXPECT_FALSE(a.chosen.isValid() || a.otherCharge.isValid() || a.monoBelow.isValid() || a.monoAbove.isValid());
        EXPECT_TRUE(std::isnan(a.confidence()));
    }
}

} // namespace
