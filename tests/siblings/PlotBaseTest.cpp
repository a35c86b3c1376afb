#include "zeq_common_stable/PlotBase.h"

#include <gtest/gtest.h>

#include <cmath>
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

// x 100, 200, 200, 300, 400 with y 1..5.
PlotBase samplePlot()
{
    return PlotBase({ { 300.0, 4.0 }, { 100.0, 1.0 }, { 200.0, 2.0 }, { 400.0, 5.0 }, { 200.0, 3.0 } });
}

} // namespace

TEST(PlotBaseTest, ConstructionSortsByXStablyAndDropsNaNPositions)
{
    const PlotBase plot({ { 300.0, 4.0 }, { NaN, 9.0 }, { 100.0, 1.0 }, { 200.0, 2.0 }, { 200.0, 3.0 } });
    ASSERT_EQ(plot.getPointListSize(), 4);
    EXPECT_EQ(xs(plot.getPointList()), (QList<double>{ 100.0, 200.0, 200.0, 300.0 }));
    // Equal x keep their arrival order.
    EXPECT_EQ(plot.getPoint(1).y(), 2.0);
    EXPECT_EQ(plot.getPoint(2).y(), 3.0);
    EXPECT_TRUE(plot.isSortedByX());
}

TEST(PlotBaseTest, PointAccessOutsideTheListGivesOrigin)
{
    const PlotBase plot = samplePlot();
    EXPECT_EQ(plot.getPoint(0), QPointF(100.0, 1.0));
    for (int index : { -1, 5, std::numeric_limits<int>::min(), std::numeric_limits<int>::max() }) {
        EXPECT_EQ(plot.getPoint(index), QPointF()) << index;
    }
    EXPECT_EQ(PlotBase().getPoint(0), QPointF());
}

TEST(PlotBaseTest, IndexLessOrEqualFindsLastPointNotRightOfX)
{
    const PlotBase plot = samplePlot();
    const struct {
        double x;
        int exact;
        int approximate;
    } rows[] = {
        { 99.0, -1, -1 },
        { 100.0, 0, 0 },
        { 150.0, 0, 0 },
        { 200.0, 2, 2 }, // the last of equal x
        { 200.0 * (1.0 - 1e-14), 0, 2 },
        { 399.999, 3, 3 },
        { 400.0, 4, 4 },
        { 1e9, 4, 4 },
        { NaN, -1, -1 },
        { -std::numeric_limits<double>::infinity(), -1, -1 },
    };
    for (const auto &row : rows) {
        SCOPED_TRACE(row.x);
        EXPECT_EQ(plot.getIndexLessOrEqual(row.x, false), row.exact);
        EXPECT_EQ(plot.getIndexLessOrEqual(row.x, true), row.approximate);
    }
    EXPECT_EQ(PlotBase().getIndexLessOrEqual(1.0, true), -1);
}

TEST(PlotBaseTest, AreaBoundsAreIncludedOnlyWhenAsked)
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
        { 100.0, 300.0, false, false, { 200.0, 200.0 } },
        { 200.0, 200.0, true, true, { 200.0, 200.0 } },
        { 200.0, 200.0, false, true, {} },
        { 0.0, 1e9, false, false, { 100.0, 200.0, 200.0, 300.0, 400.0 } },
        { 450.0, 500.0, true, true, {} },
        { 300.0, 100.0, true, true, {} },
        { NaN, 300.0, true, true, {} },
        { 100.0, NaN, true, true, {} },
    };
    for (const auto &row : rows) {
        SCOPED_TRACE(testing::Message() << row.lo << " " << row.hi << " " << row.includeLo << row.includeHi);
        EXPECT_EQ(xs(plot.getAreaPointList(row.lo, row.hi, row.includeLo, row.includeHi)), row.expected);
    }
    EXPECT_EQ(xs(plot.getDataPoints(200.0, 400.0, true)), (QList<double>{ 200.0, 200.0, 300.0, 400.0 }));
    EXPECT_EQ(xs(plot.getDataPoints(200.0, 400.0, false)), (QList<double>{ 300.0 }));
}

TEST(PlotBaseTest, SumOfIntensitiesCoversTheClosedWindow)
{
    const PlotBase plot = samplePlot();
    EXPECT_DOUBLE_EQ(plot.computeSumIntensities(100.0, 400.0), 15.0);
    EXPECT_DOUBLE_EQ(plot.computeSumIntensities(200.0, 300.0), 9.0);
    EXPECT_DOUBLE_EQ(plot.computeSumIntensities(201.0, 299.0), 0.0);
    EXPECT_DOUBLE_EQ(plot.computeSumIntensities(300.0, 100.0), 0.0);
    EXPECT_DOUBLE_EQ(plot.computeSumIntensities(NaN, 400.0), 0.0);
    EXPECT_DOUBLE_EQ(PlotBase().computeSumIntensities(0.0, 1.0), 0.0);
}

TEST(PlotBaseTest, AddedPointsKeepOrderOnlyWhenAsked)
{
    PlotBase plot = samplePlot();
    EXPECT_TRUE(plot.addPoint(200.0, 7.0, true));
    EXPECT_EQ(plot.getPoint(3), QPointF(200.0, 7.0)); // after the points of equal x
    EXPECT_TRUE(plot.addPoint(500.0, 8.0, false));
    EXPECT_TRUE(plot.isSortedByX());
    EXPECT_TRUE(plot.addPoint(50.0, 9.0, false));
    EXPECT_FALSE(plot.isSortedByX());
    EXPECT_EQ(plot.getPoint(plot.getPointListSize() - 1), QPointF(50.0, 9.0));
    EXPECT_TRUE(plot.addPoint(250.0, 1.0, true)); // sorting on demand restores the order
    EXPECT_TRUE(plot.isSortedByX());
    EXPECT_EQ(xs(plot.getPointList()), (QList<double>{ 50.0, 100.0, 200.0, 200.0, 200.0, 250.0, 300.0, 400.0, 500.0 }));
    EXPECT_FALSE(plot.addPoint(NaN, 1.0, true));
    EXPECT_EQ(plot.getPointListSize(), 9);
}

TEST(PlotBaseTest, SortingByIntensityIsStableWithNaNLast)
{
    PlotBase plot({ { 1.0, 5.0 }, { 2.0, NaN }, { 3.0, 9.0 }, { 4.0, 5.0 }, { 5.0, 1.0 } });
    plot.sortPointListByY(false);
    EXPECT_EQ(xs(plot.getPointList()), (QList<double>{ 3.0, 1.0, 4.0, 5.0, 2.0 }));
    EXPECT_FALSE(plot.isSortedByX());
    plot.sortPointListByY(true);
    EXPECT_EQ(xs(plot.getPointList()), (QList<double>{ 5.0, 1.0, 4.0, 3.0, 2.0 }));
    plot.sortPointListByX();
    EXPECT_EQ(xs(plot.getPointList()), (QList<double>{ 1.0, 2.0, 3.0, 4.0, 5.0 }));
    EXPECT_TRUE(plot.isSortedByX());
}

TEST(PlotBaseTest, MaxPointIsFirstOfTheTallestIgnoringNaN)
{
    EXPECT_EQ(getMaxPoint({ { 1.0, 2.0 }, { 2.0, NaN }, { 3.0, 7.0 }, { 4.0, 7.0 } }), QPointF(3.0, 7.0));
    EXPECT_EQ(getMaxPoint({ { 1.0, -3.0 }, { 2.0, -2.0 } }), QPointF(2.0, -2.0));
    EXPECT_EQ(getMaxPoint({ { 1.0, NaN } }), QPointF());
    EXPECT_EQ(getMaxPoint({}), QPointF());
}

TEST(PlotBaseTest, ClosestIndexPrefersTheLowerOnTies)
{
    const QList<QPointF> points = { { 100.0, 1.0 }, { 200.0, 1.0 }, { 300.0, 1.0 } };
    const struct {
        double x;
        int expected;
    } rows[] = { { -5.0, 0 },  { 100.0, 0 }, { 149.0, 0 }, { 150.0, 0 },
                 { 151.0, 1 }, { 250.0, 1 }, { 299.0, 2 }, { 1e9, 2 } };
    for (const auto &row : rows) {
        EXPECT_EQ(findClosestIndex(points, row.x), row.expected) << row.x;
    }
    EXPECT_EQ(findClosestIndex(points, NaN), -1);
    EXPECT_EQ(findClosestIndex({}, 1.0), -1);
}
