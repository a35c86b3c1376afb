#include "algo/AveragineComparisonRecords.h"

#include <gtest/gtest.h>

#include <climits>
#include <cmath>

using namespace zeq;

namespace
{

ChargeScoreInfo cluster(int charge, double mono)
{
    ChargeScoreInfo info;
    info.charge = charge;
    info.mzOffset = mono;
    return info;
}

QList<double> monos(const QList<ChargeScoreInfo> &list)
{
    QList<double> out;
    for (const ChargeScoreInfo &info : list) {
        out.append(info.mzOffset);
    }
    return out;
}

} // namespace

TEST(AveragineComparisonRecordsTest, StdDevFollowsTheScaling)
{
    EXPECT_DOUBLE_EQ(findStdDev(0.015, 1000.0, SqrtUncertainty), 0.015 * std::sqrt(1000.0));
    EXPECT_DOUBLE_EQ(findStdDev(10.0, 500.0, ProportionalUncertainty), 0.005);
    EXPECT_DOUBLE_EQ(findStdDev(0.02, 700.0, ConstantUncertainty), 0.02);
    EXPECT_DOUBLE_EQ(findStdDev(10.0, 500.0, static_cast<UncertaintyScaling>(9)), 0.005);
    EXPECT_EQ(findStdDev(0.015, 0.0, ConstantUncertainty), 0.0);
    EXPECT_EQ(findStdDev(0.015, -3.0, SqrtUncertainty), 0.0);
}

TEST(AveragineComparisonRecordsTest, FsameComparesPresenceThenValue)
{
    EXPECT_TRUE(fsame(std::nullopt, std::nullopt));
    EXPECT_FALSE(fsame(1.0, std::nullopt));
    EXPECT_TRUE(fsame(0.0, 1e-13));
    EXPECT_TRUE(fsame(1e6, 1e6 + 1e-7));
    EXPECT_FALSE(fsame(1.0, 1.0 + 1e-9));
}

TEST(AveragineComparisonRecordsTest, DefaultHoldsTenPlaceholderMatches)
{
    ChargeScoreInfo info(3, 0.5, 800.0, 12.0, { { 4, 0.9 } });
    info.points.append(QPointF(800.0, 1.0));
    info.clear();
    EXPECT_EQ(info, ChargeScoreInfo());
    EXPECT_EQ(info.charge, 0);
    EXPECT_TRUE(info.points.isEmpty());
    ASSERT_EQ(info.matchVector.size(), 10u);
    EXPECT_EQ(info.matchVector.front().pointIndex, -1);
    EXPECT_EQ(info.score + info.scaleFact + info.mzOffset + info.percentIonCurrent, 0.0);
}

TEST(AveragineComparisonRecordsTest, ChargeThenMzOrder)
{
    // Charges first, whatever the m/z; m/z only within one charge.
    EXPECT_TRUE(charge_mz_Less(cluster(2, 900.0), cluster(3, 500.0)));
    EXPECT_FALSE(charge_mz_Less(cluster(3, 500.0), cluster(2, 900.0)));
    EXPECT_TRUE(charge_mz_Less(cluster(2, 500.0), cluster(2, 900.0)));
    EXPECT_FALSE(charge_mz_Less(cluster(2, 500.0), cluster(2, 500.0)));
}

TEST(AveragineComparisonRecordsTest, SortByMzForChargeSortsEachRunInPlace)
{
    QList<ChargeScoreInfo> list{
        cluster(2, 900.0), cluster(2, 700.0), cluster(2, 800.0), cluster(3, 600.0), cluster(3, 500.0)
    };
    sortByMzForCharge(list);
    EXPECT_EQ(monos(list), (QList<double>{ 700.0, 800.0, 900.0, 500.0, 600.0 }));

    // Runs are consecutive entries: a charge seen again later starts a run of its own.
    QList<ChargeScoreInfo> split{ cluster(2, 9.0), cluster(2, 8.0), cluster(3, 7.0), cluster(2, 6.0), cluster(2, 5.0) };
    sortByMzForCharge(split);
    EXPECT_EQ(monos(split), (QList<double>{ 8.0, 9.0, 7.0, 5.0, 6.0 }));
}

TEST(AveragineComparisonRecordsTest, UniquenessUsesChargeAndMono)
{
    const QList<ChargeScoreInfo> list{ cluster(2, 1000.0) };
    EXPECT_FALSE(isUniqueInMonoList(list, cluster(2, 1000.0000005)));
    EXPECT_TRUE(isUniqueInMonoList(list, cluster(3, 1000.0)));
    EXPECT_TRUE(isUniqueInMonoList(list, cluster(2, 1000.00001)));
    EXPECT_TRUE(isUniqueInMonoList({}, cluster(2, 1000.0)));

    TestParameters tp;
    tp.stdDev = 10.0; // ppm: σ = 0.01 at m/z 1000
    EXPECT_FALSE(areUnique(tp, cluster(2, 1000.0), cluster(2, 1000.009)));
    EXPECT_TRUE(areUnique(tp, cluster(3, 1000.0), cluster(2, 1000.009)));
    EXPECT_TRUE(areUnique(tp, cluster(2, 1000.0), cluster(2, 1000.011)));
}

TEST(AveragineComparisonRecordsTest, HitRatioCountsMatchesPerModelIsotope)
{
    // Mass 2000 (charge × m/z, protons included) has six isotopes in the model.
    ChargeScoreInfo info(2, 0.1, 1000.0, 1.0, { { 1, 1.0 }, { 2, 1.0 }, { 3, 1.0 } });
    EXPECT_DOUBLE_EQ(hitRatio(info), 0.5);
    ChargeScoreInfo none(0, 0.1, 1000.0, 1.0, { { 1, 1.0 } });
    EXPECT_EQ(hitRatio(none), 0.0);
    EXPECT_TRUE(lessHitRatio(none, info));
}

TEST(AveragineComparisonRecordsTest, ExplainedIntensityCapsRatiosAndWeighsMarkedPoints)
{
    ChargeScoreInfo info(2, 0.1, 500.0, 1.0, { { 10, 0.5 }, { 11, 2.0 }, { 14, 1.0 } });
    info.points = { QPointF(500.0, 100.0), QPointF(500.5, 40.0), QPointF(501.0, 10.0) };
    EXPECT_DOUBLE_EQ(info.getPointsIntes(), 50.0 + 40.0 + 10.0);
    EXPECT_DOUBLE_EQ(info.getPointsIntensBetweenIndices(11, 14), 50.0); // both bounds inclusive
    EXPECT_DOUBLE_EQ(info.getPointsIntensBetweenIndices(12, 13), 0.0);

    TestParameters tp;
    tp.tagList.addPoints2dList({ QPointF(500.0, 1.0), QPointF(500.5, 2.0), QPointF(501.0, 3.0) });
    tp.tagList.excludePoint(1); // window point 1 = point index 11 with lower bound 10
    EXPECT_DOUBLE_EQ(info.getPointsIntensBetweenIndices(tp, 10, 12), 50.0 + 0.3 * 40.0);
}

TEST(AveragineComparisonRecordsTest, TextFormRoundTrips)
{
    EXPECT_EQ(makeMonoChargeYScaleStdDevToString(1000.5, 2, 1500.0, 0.01), u"1000.5,+2,1.500000000000e+03,0.01");

    const double values[][3] = { { 1000.5, 1500.0, 0.01 },
                                 { 812.123456789, 3.25e-7, 0.004 },
                                 { 4321.0, 98765.4321, 2.0 } };
    for (const auto &v : values) {
        double mono = 0.0;
        double scale = 0.0;
        double sigma = 0.0;
        int charge = 0;
        makeMonoChargeYScaleStdDevFromString(
            makeMonoChargeYScaleStdDevToString(v[0], 7, v[1], v[2]), mono, charge, scale, sigma);
        EXPECT_NEAR(mono, v[0], 1e-11 * v[0]);
        EXPECT_EQ(charge, 7);
        EXPECT_NEAR(scale, v[1], 1e-11 * v[1]);
        EXPECT_NEAR(sigma, v[2], 1e-11 * v[2]);
    }
}

TEST(AveragineComparisonRecordsTest, TextFormReading)
{
    struct Row {
        const char *name;
        const char *text;
        bool read;
        double mono;
        int charge;
        double scale;
        double sigma;
    };
    const Row rows[] = {
        { "negative exponent", "1000.5,+2,1.5e-03,0.01", true, 1000.5, 2, 0.0015, 0.01 },
        { "no plus, blanks, surrounding text", "mono: 812.4\t, 3 , 2e+2 ,.5 end", true, 812.4, 3, 200.0, 0.5 },
        { "negative charge", "1000.5,-2,1.5e-03,0.01", false, 0, 0, 0, 0 },
        { "upper-case exponent", "1000.5,+2,1.5E-03,0.01", false, 0, 0, 0, 0 },
        { "scale without exponent", "1000.5,+2,1500,0.01", false, 0, 0, 0, 0 },
        // The search is not anchored: it finds the form after the exponent's digits.
        { "mono in exponent notation", "1e+03,+2,1.5e+03,0.01", true, 3.0, 2, 1500.0, 0.01 },
        { "charge beyond an int", "1000.5,+99999999999,1.5e+03,0.01", false, 0, 0, 0, 0 },
        { "empty", "", false, 0, 0, 0, 0 },
        { "three fields", "1000.5,+2,1.5e+03", false, 0, 0, 0, 0 },
    };
    for (const Row &row : rows) {
        SCOPED_TRACE(row.name);
        double mono = -1.0;
        double scale = -1.0;
        double sigma = -1.0;
        int charge = -1;
        makeMonoChargeYScaleStdDevFromString(QString::fromUtf8(row.text), mono, charge, scale, sigma);
        if (row.read) {
            EXPECT_DOUBLE_EQ(mono, row.mono);
            EXPECT_EQ(charge, row.charge);
            EXPECT_DOUBLE_EQ(scale, row.scale);
            EXPECT_DOUBLE_EQ(sigma, row.sigma);
        } else {
            EXPECT_EQ(mono, -1.0);
            EXPECT_EQ(charge, -1);
            EXPECT_EQ(scale, -1.0);
            EXPECT_EQ(sigma, -1.0);
        }
    }
}
