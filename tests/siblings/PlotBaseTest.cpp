#include "zeq_common_stable/PlotBase.h"

#include <gtest/gtest.h>

#include <limits>

namespace
{

constexpr double NaN = std::numeric_limits<double>::quiet_NaN();

QList<double> xs(const QList<QPointF> &points)
{
    QList<double> out;
    for (const QPointF &p : points) {
        out.append(p.x());
    }
    return out;
}

// x 100, 200, 200, 300, 400 with y 1..5; a NaN position is dropped.
PlotBase samplePlot()
{
    return PlotBase({ { 300.0, 4.0 }, { NaN, 9.0 }, { 100.0, 1.0 }, { 200.0, 2.0 }, { 400.0, 5.0 }, { 200.0, 3.0 } });
}

} // namespace

TEST(PlotBaseTest, PointsAreSortedStablyByXAndOutOfRangeAccessGivesOrigin)
{
    const PlotBase plot = samplePlot();
    EXPECT_EQ(xs(plot.getPointList()), (QList<double>{ 100.0, 200.0, 200.0, 300.0, 400.0 }));
    EXPECT_EQ(plot.getPoint(2), QPointF(200.0, 3.0));
    for (int index : { -1, 5, std::numeric_limits<int>::min() }) {
        EXPECT_EQ(plot.getPoint(index), QPointF()) << index;
    }
}

TEST(PlotBaseTest, IndexLessOrEqualFindsLastPointNotRightOfX)
{
    const PlotBase plot = samplePlot();
    const struct {
        double x;
        int exact, approximate;
    } rows[] = {
        { 99.0, -1, -1 },
        { 100.0, 0, 0 },
        { 200.0, 2, 2 }, // the last of equal x
        { 200.0 * (1.0 - 1e-14), 0, 2 },
        { 399.999, 3, 3 },
        { 1e9, 4, 4 },
        { NaN, -1, -1 },
        { -std::numeric_limits<double>::infinity(), -1, -1 },
    };
    for (const auto &row : rows) {
        EXPECT_EQ(plot.getIndexLessOrEqual(row.x, false), row.exact) << row.x;
        EXPECT_EQ(plot.getIndexLessOrEqual(row.x, true), row.approximate) << row.x;
    }
    EXPECT_EQ(PlotBase().getIndexLessOrEqual(1.0, true), -1);
}

TEST(PlotBaseTest, WindowsIncludeTheirBoundsOnlyWhenAsked)
{
    const PlotBase plot = samplePlot();
    const struct {
        double lo, hi;
        bool includeLo, includeHi;
        QList<double> expected;
    } rows[] = {
        { 100.0, 300.0, true, true, { 100.0, 200.0, 200.0, 300.0 } },
        { 100.0, 300.0, false, true, { 200.0, 200.0, 300.0 } },
        { 100.0, 300.0, true, false, { 100.0, 200.0, 200.0 } },
        { 200.0, 200.0, true, true, { 200.0, 200.0 } },
        { 200.0, 200.0, false, true, {} },
        { 300.0, 100.0, true, true, {} },
        { NaN, 300.0, true, true, {} },
    };
    for (const auto &row : rows) {
        SCOPED_TRACE(testing::Message() << row.lo << " " << row.hi << " " << row.includeLo << row.includeHi);
        EXPECT_EQ(xs(plot.getAreaPointList(row.lo, row.hi, row.includeLo, row.includeHi)), row.expected);
    }
    EXPECT_EQ(xs(plot.getDataPoints(200.0, 400.0, false)), (QList<double>{ 300.0 }));
    EXPECT_DOUBLE_EQ(plot.computeSumIntensities(200.0, 300.0), 9.0);
    EXPECT_DOUBLE_EQ(plot.computeSumIntensities(300.0, 100.0), 0.0);
}

TEST(PlotBaseTest, AddingAndSortingTrackTheXOrder)
{
    PlotBase plot = samplePlot();
    plot.addPoint(200.0, 7.0, true);
    EXPECT_EQ(plot.getPoint(3), QPointF(200.0, 7.0)); // after the points of equal x
    plot.addPoint(50.0, 9.0, false);
    EXPECT_FALSE(plot.isSortedByX());
    EXPECT_FALSE(plot.addPoint(NaN, 1.0, true));
    plot.addPoint(250.0, NaN, true); // sorts on demand
    EXPECT_EQ(xs(plot.getPointList()), (QList<double>{ 50.0, 100.0, 200.0, 200.0, 200.0, 250.0, 300.0, 400.0 }));

    plot.sortPointListByY(false);
    EXPECT_EQ(xs(plot.getPointList()), (QList<double>{ 50.0, 200.0, 400.0, 300.0, 200.0, 200.0, 100.0, 250.0 }));
    EXPECT_FALSE(plot.isSortedByX());
    plot.sortPointListByX();
    EXPECT_TRUE(plot.isSortedByX());
}

TEST(PlotBaseTest, FreeHelpersPreferTheFirstOnTies)
{
    EXPECT_EQ(getMaxPoint({ { 1.0, 2.0 }, { 2.0, NaN }, { 3.0, 7.0 }, { 4.0, 7.0 } }), QPointF(3.0, 7.0));
    EXPECT_EQ(getMaxPoint({ { 1.0, NaN } }), QPointF());

    const QList<QPointF> points = { { 100.0, 1.0 }, { 200.0, 1.0 }, { 300.0, 1.0 } };
    const struct {
        double x;
        int expected;
    } rows[] = { { -5.0, 0 }, { 150.0, 0 }, { 151.0, 1 }, { 250.0, 1 }, { 1e9, 2 }, { NaN, -1 } };
    for (const auto &row : rows) {
        EXPECT_EQ(findClosestIndex(points, row.x), row.expected) << row.x;
    }
    EXPECT_EQ(findClosestIndex({}, 1.0), -1);
}
