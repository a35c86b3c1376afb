#include "algo/AveragineComparisonScoring.h"

#include "algo/AveragineComparison_p.h"
#include "support/MessageGuard.h"
#include "zeq_common_stable/PlotBase.h"

#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <limits>
#include <vector>

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

// The isotope windows' rounding spelled with the maths library, as its definition reads.
double belowByLibrary(double t)
{
    return t > 0.0 ? std::floor(t) : std::ceil(t) - 1.0;
}

int overlapByLibrary(double u, double width, size_t size)
{
    if (!(belowByLibrary(u + width) > belowByLibrary(u - width))) {
        return -1;
    }
    const double k = std::round(u);
    if (!(k < static_cast<double>(size))) {
        return -1;
    }
    return k < INT_MIN ? INT_MIN : static_cast<int>(k);
}

} // namespace

TEST(AveragineComparisonScoringTest, UnscorableCandidatesKeepTheDefaultScore)
{
    const PlotBase plot(modelCluster(1000.0, 2, 100.0));
    const struct {
        PlotBase plot;
        ChargeScoreInfo info;
        const char *message;
    } rows[] = {
        { plot, candidate(-2, -1000.0, 100.0), "charge values less than 1 not permitted" },
        { plot, candidate(2, kUnsetMz, 100.0), "averageDist not found" },
        { plot, candidate(2, 400.0, 100.0), "Likely no values in window." },
        { PlotBase(), candidate(2, 1000.0, 100.0), "specPoints length <= 0" },
    };
    for (const auto &row : rows) {
        SCOPED_TRACE(testing::Message() << row.message << ", charge " << row.info.charge);
        ChargeScoreInfo info = row.info;
        const test::MessageGuard guard;
        calcOverlapScore(row.plot, model, ppm(10.0), info);
        EXPECT_EQ(info.score, kDefaultScore);
        EXPECT_TRUE(guard.contains(QString::fromUtf8(row.message)));
    }
}

// A missing isotope, a second point on a peak, a stray point and marks; values worked out by hand.
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
    } rows[] = { { false, false, 0.080550072481976029 }, { true, true, 0.42157266417699568 } };
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
    findScaleFactor(plot, model, ppm(10.0), points.at(0), 0, 1000.0, info);
    EXPECT_EQ(info.scaleFact, -1.0);

    // The mono tests scale to the tallest point and score; the final one changes nothing more.
    ChargeScoreInfo mono = candidate(2, 1000.0, 0.0);
    testMonoInitial(plot, 20.0, mono);
    EXPECT_NEAR(mono.scaleFact, 100.0, 1e-9);
    ChargeScoreInfo again = mono;
    testMonoFinal(plot, 20.0, again);
    EXPECT_EQ(again, mono);
}

// The window walks round by integer truncation; every value on both sides of the integers and halves,
// signed zeros, the switch to the library at 2^30, infinities and NaN must round as the library does.
// (The model's window of isotopes uses the same truncation; the differential test covers it.)
TEST(AveragineComparisonScoringTest, IsotopeWindowRoundsAsTheMathsLibraryDoes)
{
    constexpr double inf = std::numeric_limits<double>::infinity();
    std::vector<double> us{ std::nan(""), inf, -inf };
    for (const double base : { 0.0, 0.25, 0.5, 1.0, 1.5, 2.0, 3.5, 7.0, 1073741823.5, 1073741824.0, 5e9 }) {
        for (const double v : { base, -base }) {
            us.insert(us.end(), { v, std::nextafter(v, inf), std::nextafter(v, -inf) });
        }
    }
    for (const double u : us) {
        for (const double w : { 0.0, 0.02, 0.25, 0.5, 0.75, 1.0, 3.0, 1073741824.0, std::nan("") }) {
            for (const size_t size : { size_t(1), size_t(6) }) {
                EXPECT_EQ(detail::overlappedIsotope(u, w, size), overlapByLibrary(u, w, size))
                    << "u " << u << " width " << w << " isotopes " << size;
            }
        }
    }
}
