#include "algo/AveragineComparisonScoring.h"

#include "support/MessageGuard.h"
#include "zeq_common_stable/PlotBase.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace zeq;

namespace
{

const AveragineIsotopeDistribution &model = sharedAveragineModel();

// The averagine pattern of mass charge × mono, placed exactly where the scoring expects it.
QList<QPointF> modelCluster(double mono, int charge, double scale)
{
    const std::vector<double> &d = model.isotopeIntensityFractions(charge * mono);
    QList<QPointF> points;
    for (size_t i = 0; i < d.size(); ++i) {
        points.append(QPointF(mono + static_cast<double>(i) * kIsotopeSpacing / charge, scale * d[i]));
    }
    return points;
}

ChargeScoreInfo candidate(int charge, double mono, double scale)
{
    ChargeScoreInfo info;
    info.charge = charge;
    info.mzOffset = mono;
    info.scaleFact = scale;
    return info;
}

TestParameters ppm(double s)
{
    TestParameters tp;
    tp.stdDev = s;
    tp.uncertaintyScaling = ProportionalUncertainty;
    return tp;
}

} // namespace

TEST(AveragineComparisonScoringTest, ModelPeaksSitOnTheIsotopesAndVanishFarAway)
{
    const std::vector<double> &d = model.isotopeIntensityFractions(2000.0);
    AveragineIsotopeFunction f(d);
    f.setCharge(2);
    f.setMzOffset(1000.0);
    f.setStdDev(0.01, ConstantUncertainty);
    f.setScaleFact(100.0);
    EXPECT_NEAR(f.evaluate(1000.0 + kIsotopeSpacing / 2, 1), 100.0 * d[1], 1e-6);
    EXPECT_NEAR(f.evaluate(1000.0, 0), 100.0 * d[0], 1e-6);
    EXPECT_EQ(f.evaluate(1000.25, 1), 0.0);
    EXPECT_EQ(f.evaluate(900.0, 4), 0.0);
    EXPECT_EQ(f.evaluate(1e300, 3), 0.0);

    EXPECT_EQ(f.peakOverlapIndex(1000.0 + 2 * kIsotopeSpacing / 2 + 0.005), 2);
    EXPECT_EQ(f.peakOverlapIndex(1000.25), -1);
    EXPECT_LT(f.peakOverlapIndex(999.0), 0);
    EXPECT_EQ(f.peakOverlapIndex(1000.0 + 40 * kIsotopeSpacing / 2), -1); // past the last isotope
    EXPECT_EQ(f.peakOverlapIndex(std::nan("")), -1);
}

TEST(AveragineComparisonScoringTest, MaxIndexIsTheFirstLargest)
{
    EXPECT_EQ(findMaxIndex({ 0.2, 0.5, 0.5, 0.1 }), 1u);
    const test::MessageGuard guard;
    EXPECT_FALSE(findMaxIndex({}).has_value());
    EXPECT_TRUE(guard.contains(QStringLiteral("findMaxIndex returning invalid (empty list)")));
}

TEST(AveragineComparisonScoringTest, UnscorableCandidatesKeepTheDefaultScore)
{
    const PlotBase plot(modelCluster(1000.0, 2, 100.0));
    const struct {
        PlotBase plot;
        ChargeScoreInfo info;
        const char *message;
    } rows[] = {
        { plot, candidate(0, 1000.0, 100.0), "averageDist not found" },
        { plot, candidate(-2, -1000.0, 100.0), "charge values less than 1 not permitted" },
        { plot, candidate(2, kUnsetMz, 100.0), "averageDist not found" },
        { plot, candidate(2, 1000.0, -1.0), "scale factor must be a positive value" },
        { plot, candidate(2, 400.0, 100.0), "Likely no values in window." },
        { PlotBase(), candidate(2, 1000.0, 100.0), "specPoints length <= 0" },
    };
    for (const auto &row : rows) {
        SCOPED_TRACE(testing::Message() << row.message << ", charge " << row.info.charge);
        ChargeScoreInfo info = row.info;
        const test::MessageGuard guard;
        calcOverlapScore(row.plot, model, ppm(10.0), info);
        EXPECT_EQ(info.score, kDefaultScore);
        EXPECT_TRUE(info.matchVector.empty());
        EXPECT_TRUE(guard.contains(QString::fromUtf8(row.message)));
    }
}

TEST(AveragineComparisonScoringTest, OneMatchedIsotopeGivesTheSparseScore)
{
    for (double y : { 1.0, 50.0, 1e6 }) {
        SCOPED_TRACE(y);
        const PlotBase plot(QList<QPointF>{ QPointF(1000.0, y), QPointF(1000.001, y / 2) });
        ChargeScoreInfo info = candidate(2, 1000.0, y / model.isotopeIntensityFractions(2000.0)[0]);
        calcOverlapScore(plot, model, ppm(10.0), info);
        EXPECT_DOUBLE_EQ(info.score, 1.6002);
        ASSERT_EQ(info.matchVector.size(), 1u);
        EXPECT_EQ(info.matchVector.front().pointIndex, 0); // closest to the expected height
    }
}

// Every term of the score at once: a missing isotope (E / y = 4), a second point on its peak, a
// point between two peaks, and marks from earlier clusters on every point but window point 0. The
// values were worked out term by term from the definition of the score.
TEST(AveragineComparisonScoringTest, ScoreWeighsEveryKindOfPoint)
{
    QList<QPointF> points = modelCluster(1000.0, 2, 100.0);
    points[2].setY(points[2].y() / 4.0);
    points.append({ QPointF(1000.25, 30.0), QPointF(1001.003, 5.0) });
    const PlotBase plot(points);
    const struct {
        bool chargeSearch;
        bool marked;
        double score;
    } rows[] = { { false, false, 0.080550072481976029 },
                 { false, true, 0.076150459365767961 },
                 { true, false, 0.51508807015874791 },
                 { true, true, 0.42157266417699568 } };
    for (const auto &row : rows) {
        SCOPED_TRACE(testing::Message() << row.chargeSearch << row.marked);
        TestParameters tp = ppm(10.0);
        tp.chargeSearchActive = row.chargeSearch;
        if (row.marked) {
            tp.tagList.addPoints2dList(plot.getPointList());
            for (int i = 0; i < tp.tagList.getSize(); ++i) {
                tp.tagList.excludePoint(i);
            }
        }
        ChargeScoreInfo info = candidate(2, 1000.0, 100.0);
        calcOverlapScore(plot, model, tp, info);
        EXPECT_NEAR(info.score, row.score, 1e-12 * row.score);
        EXPECT_EQ(info.matchVector.size(), points.size() - 3u); // none on the missing isotope, nor the stray
    }
}

TEST(AveragineComparisonScoringTest, PenaltyReadsTheWindowPositionAsAnIntensityPosition)
{
    TestParameters tp;
    tp.tagList.addPoints2dList({ QPointF(1, 5), QPointF(2, 9), QPointF(3, 9), QPointF(4, 1) });
    tp.tagList.setWindowPeakOffset(10);
    tp.tagList.excludePoint(1); // intensity position 0
    tp.tagList.excludePoint(3); // intensity position 3
    EXPECT_EQ(find_penalty_scale_factor_if_accounted_for(tp, 11, 0.2), 1.0); // reads position 1
    EXPECT_EQ(find_penalty_scale_factor_if_accounted_for(tp, 13, 0.2), 0.2);
    tp.tagList.excludePoint(0);
    EXPECT_EQ(find_penalty_scale_factor_if_accounted_for(tp, 10, 0.2), 1.0); // window point 0: never
    EXPECT_EQ(find_penalty_scale_factor_if_accounted_for(tp, 14, 0.2), 1.0);
    EXPECT_EQ(find_penalty_scale_factor_if_accounted_for(tp, 2, 0.2), 1.0);
}

TEST(AveragineComparisonScoringTest, ExactClusterIsPlacedScaledAndMatchedIsotopeByIsotope)
{
    const QList<QPointF> points = modelCluster(1000.0, 2, 100.0);
    const PlotBase plot(points);
    ChargeScoreInfo info;
    info.charge = 2;
    findMzOffset(plot,
                 model,
                 ppm(10.0),
                 points.at(static_cast<qsizetype>(*findMaxIndex(model.isotopeIntensityFractions(2000.0)))),
                 2,
                 info);
    EXPECT_NEAR(info.mzOffset, 1000.0, 1e-9);
    EXPECT_NEAR(info.scaleFact, 100.0, 1e-9);
    EXPECT_LT(info.score, 1e-3);
    ASSERT_EQ(info.matchVector.size(), static_cast<size_t>(points.size()));
    for (size_t i = 0; i < info.matchVector.size(); ++i) {
        EXPECT_EQ(info.matchVector[i].pointIndex, static_cast<int>(i));
        EXPECT_NEAR(info.matchVector[i].percentAccountFor, 1.0, 1e-9);
    }
    findScaleFactor(plot, model, ppm(10.0), points.at(0), 0, 1000.0, info);
    EXPECT_EQ(info.scaleFact, -1.0);

    // The mono tests scale to the tallest point and score; the final one changes nothing more.
    ChargeScoreInfo mono = candidate(2, 1000.0, 0.0);
    testMonoInitial(plot, 20.0, mono);
    EXPECT_NEAR(mono.scaleFact, 100.0, 1e-9);
    EXPECT_LT(mono.score, 1e-3);
    ChargeScoreInfo again = mono;
    testMonoFinal(plot, 20.0, again);
    EXPECT_EQ(again, mono);
    ChargeScoreInfo none = candidate(0, 1000.0, 3.0);
    const test::MessageGuard guard;
    testMonoInitial(plot, 20.0, none);
    EXPECT_EQ(none.scaleFact, 3.0);
    EXPECT_TRUE(guard.contains(QStringLiteral("averagDist.size() =")));
}

TEST(AveragineComparisonScoringTest, RefinementsFindScaleAndPosition)
{
    const PlotBase plot(modelCluster(1000.0, 2, 100.0));
    const TestParameters tp = ppm(10.0);

    ChargeScoreInfo unchanged = candidate(2, 1000.0, 70.0);
    searchFineScaleFactorBinary(plot, 0.5, 2.0, 0, tp, unchanged);
    ChargeScoreInfo scored = candidate(2, 1000.0, 70.0);
    calcOverlapScore(plot, model, tp, scored);
    EXPECT_EQ(unchanged, scored);

    ChargeScoreInfo binary = candidate(2, 1000.0, 70.0);
    searchFineScaleFactorBinary(plot, 0.5, 2.0, 10, tp, binary);
    EXPECT_NEAR(binary.scaleFact, 100.0, 2.0);
    EXPECT_LT(binary.score, scored.score);

    ChargeScoreInfo scan = candidate(2, 1000.0, 50.0);
    searchFineScaleFactor(plot, 0.5, 4.0, 1.1, tp, scan);
    EXPECT_NEAR(scan.scaleFact, 100.0, 6.0);
    ChargeScoreInfo endless = candidate(2, 1000.0, 50.0);
    searchFineScaleFactor(plot, 0.5, 4.0, 1.0, tp, endless);
    EXPECT_EQ(endless.scaleFact, 50.0);

    ChargeScoreInfo moved = candidate(2, 1000.02, 100.0);
    searchFinePosition(plot, 0.05, 0.05, 0.001, tp, moved);
    EXPECT_NEAR(moved.mzOffset, 1000.0, 0.0015);
    ChargeScoreInfo still = candidate(2, 1000.02, 100.0);
    searchFinePosition(plot, 0.05, 0.05, 0.0, tp, still);
    EXPECT_EQ(still.score, kDefaultScore);
    EXPECT_EQ(still.mzOffset, 1000.02);
    searchFinePosition(plot, -0.1, 0.05, 0.01, tp, still);
    EXPECT_EQ(still.score, kDefaultScore);
    ChargeScoreInfo nowhere = candidate(2, 400.0, 100.0); // no points near any offset tried
    searchFinePosition(plot, 0.05, 0.05, 0.01, tp, nowhere);
    EXPECT_EQ(nowhere.score, kDefaultScore);
    EXPECT_EQ(nowhere.mzOffset, 400.0);
}
