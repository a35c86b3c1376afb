#include "algo/AveragineComparisonSearch.h"

#include "algo/AveragineComparisonClusterLoop.h"
#include "algo/AveragineComparisonScoring.h"
#include "support/MessageGuard.h"
#include "zeq_common_stable/PlotBase.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

using namespace zeq;

namespace
{

// Two peptide clusters as the model draws them: z = 2 at m/z 700 and z = 3 at m/z 701.2.
QList<QPointF> twoClusters()
{
    QList<QPointF> points;
    const struct {
        double mono;
        int charge;
        double height;
    } clusters[] = { { 700.0, 2, 1e5 }, { 701.2, 3, 6e4 } };
    for (const auto &c : clusters) {
        const std::vector<double> &d = sharedAveragineModel().isotopeIntensityFractions(c.charge * c.mono);
        for (size_t i = 0; i < d.size(); ++i) {
            points.append(QPointF(c.mono + static_cast<double>(i) * 1.00235 / c.charge, c.height * d[i]));
        }
    }
    return points;
}

} // namespace

TEST(AveragineComparisonSearchTest, FindsBothClustersOfAWindow)
{
    const PlotBase plot(twoClusters());
    QList<ChargeScoreInfo> out;
    findChargesAndMonos(ProcessorOptions(), plot, 699.0, 706.0, QStringLiteral("ignored"), 0.02, out);
    ASSERT_EQ(out.size(), 2);
    EXPECT_EQ(out.at(0).charge, 2);
    EXPECT_NEAR(out.at(0).mzOffset, 700.0, 0.005);
    EXPECT_EQ(out.at(1).charge, 3);
    EXPECT_NEAR(out.at(1).mzOffset, 701.2, 0.005);

    // These forms take the uncertainty as it is, and keep every cluster (minimum share 0).
    ProcessorOptions opts;
    opts.stdDev = 0.015 / std::sqrt(1000.0);
    QList<ChargeScoreInfo> best;
    findBestMonos(plot, 699.0, 706.0, opts, best);
    EXPECT_TRUE(std::is_sorted(best.cbegin(), best.cend(), charge_mz_Less));
    EXPECT_GE(best.size(), 2);
    for (const ChargeScoreInfo &found : out) {
        EXPECT_TRUE(std::any_of(best.cbegin(), best.cend(), [&found](const ChargeScoreInfo &c) {
            return c.charge == found.charge && std::abs(c.mzOffset - found.mzOffset) < 1e-9;
        }));
    }
    QList<ChargeScoreInfo> iso;
    findBestMonos_isomatcher(plot, 699.0, 706.0, opts.stdDev, SqrtUncertainty, iso);
    EXPECT_EQ(iso, best);
}

TEST(AveragineComparisonSearchTest, BadInputGivesNoClusters)
{
    const PlotBase plot(twoClusters());
    PlotBase unsorted;
    for (const QPointF &p : twoClusters()) {
        unsorted.addPoint(1400.0 - p.x(), p.y(), false);
    }
    const auto opts = [](double stdDev, int minCharge = 1, int maxCharge = ProcessorOptions().maxCharge) {
        ProcessorOptions o;
        o.stdDev = stdDev;
        o.minCharge = minCharge;
        o.maxCharge = maxCharge;
        return o;
    };
    const double sigma = ProcessorOptions().stdDev;
    const struct {
        const char *name;
        PlotBase plot;
        double start, end;
        ProcessorOptions opts;
    } rows[] = {
        { "empty plot", PlotBase(), 699.0, 706.0, opts(sigma) },
        { "not sorted by m/z", unsorted, 600.0, 800.0, opts(sigma) },
        { "start after end", plot, 706.0, 699.0, opts(sigma) },
        { "zero uncertainty", plot, 699.0, 706.0, opts(0.0) },
        { "reversed charge range", plot, 699.0, 706.0, opts(sigma, 5, 2) },
        { "charge limit INT_MAX", plot, 699.0, 706.0, opts(sigma, 1, std::numeric_limits<int>::max()) },
    };
    const QList<ChargeScoreInfo> sentinel{ ChargeScoreInfo(9, 0.1, 1.0, 1.0, {}) };
    for (const auto &row : rows) {
        SCOPED_TRACE(row.name);
        QList<ChargeScoreInfo> out = sentinel;
        findChargesAndMonos(row.opts, row.plot, row.start, row.end, QString(), 0.0, out);
        EXPECT_TRUE(out.isEmpty());
    }
    // The findBestMonos forms leave the list alone when they refuse the input.
    QList<ChargeScoreInfo> kept = sentinel;
    findBestMonos(plot, 706.0, 699.0, ProcessorOptions(), kept);
    findBestMonos_isomatcher(plot, 699.0, 706.0, 0.0, SqrtUncertainty, kept);
    EXPECT_EQ(kept, sentinel);

    const test::MessageGuard guard;
    EXPECT_FALSE(testFindMonoInput(2.0, 1.0, 0.01));
    EXPECT_TRUE(guard.contains(QStringLiteral("spectrum window start and end positions mixmatched")));
}

// One bad intensity used to empty the window (NaN, a large negative value) or give NaN scores
// (+inf); it must count as a point of intensity 0 and leave the rest of the window to be searched.
TEST(AveragineComparisonSearchTest, UnusableIntensitiesReadAsZero)
{
    const double inf = std::numeric_limits<double>::infinity();
    QList<QPointF> zeroed = twoClusters();
    zeroed[3].setY(0.0);
    QList<ChargeScoreInfo> expected;
    findChargesAndMonos(ProcessorOptions(), PlotBase(zeroed), 699.0, 706.0, QString(), 0.02, expected);
    ASSERT_FALSE(expected.isEmpty());
    QList<ChargeScoreInfo> expectedBest;
    findBestMonos(PlotBase(zeroed), 699.0, 706.0, ProcessorOptions(), expectedBest);

    for (const double bad : { std::nan(""), inf }) {
        SCOPED_TRACE(bad);
        QList<QPointF> points = zeroed;
        points[3].setY(bad);
        const PlotBase plot(points);
        const test::MessageGuard guard;
        QList<ChargeScoreInfo> out;
        findChargesAndMonos(ProcessorOptions(), plot, 699.0, 706.0, QString(), 0.02, out);
        EXPECT_EQ(out, expected);
        EXPECT_TRUE(
            guard.contains(QStringLiteral("1 point(s) with a negative or non-finite intensity read as intensity 0")));
        QList<ChargeScoreInfo> best;
        findBestMonos(plot, 699.0, 706.0, ProcessorOptions(), best);
        EXPECT_EQ(best, expectedBest);
    }
}

// keepAboveNoise (zeq deisotope --snr, the centroider's noise floor) keeps points at least `ratio` times the median of
// the positive intensities: zeros (a profile's baseline) and unusable values neither count towards the median nor
// survive.
TEST(SignalToNoiseTest, KeepsPointsAboveAMultipleOfTheMedian)
{
    const double nan = std::nan("");
    const struct {
        const char *name;
        QList<double> intensities;
        double ratio;
        double noise;
        QList<double> kept;
    } rows[] = {
        { "odd count", { 1, 2, 100, 3, 4 }, 3.0, 3.0, { 100 } },
        { "even count", { 8, 2, 6, 4 }, 1.2, 5.0, { 8, 6 } },
        { "baseline zeros", { 0, 0, 0, 0, 5, 10, 20 }, 1.0, 10.0, { 10, 20 } },
        { "unusable values", { nan, -1, 3, 9, INFINITY }, 1.0, 6.0, { 9 } },
        { "nothing positive", { 0, 0 }, 1.0, 0.0, {} },
    };
    for (const auto &row : rows) {
        SCOPED_TRACE(row.name);
        QList<QPointF> points;
        for (qsizetype i = 0; i < row.intensities.size(); ++i) {
            points.append(QPointF(100.0 + double(i), row.intensities.at(i)));
        }
        EXPECT_EQ(noiseLevel(points), row.noise);
        QList<double> kept;
        for (const QPointF &p : keepAboveNoise(points, row.ratio)) {
            kept.append(p.y());
        }
        EXPECT_EQ(kept, row.kept);
    }
}
