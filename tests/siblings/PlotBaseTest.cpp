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

TEST(PlotBaseTest, IndexLessOrEqualFindsLastPointNotRightOfX)
{
    const PlotBase plot = samplePlot();
    const struct {
        double x;
        int exact, approximate;
    } rows[] = {
        { 99.0, -1, -1 },
        { 200.0, 2, 2 }, // the last of equal x
        { 200.0 * (1.0 - 1e-14), 0, 2 },
        { NaN, -1, -1 },
    };
    for (const auto &row : rows) {
        EXPECT_EQ(plot.getIndexLessOrEqual(row.x, false), row.exact) << row.x;
        EXPECT_EQ(plot.getIndexLessOrEqual(row.x, true), row.approximate) << row.x;
    }
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
        { 200.0, 200.0, false, true, {} },
        { 300.0, 100.0, true, true, {} },
    };
    for (const auto &row : rows) {
        SCOPED_TRACE(testing::Message() << row.lo << " " << row.hi << " " << row.includeLo << row.includeHi);
        EXPECT_EQ(xs(plot.getAreaPointList(row.lo, row.hi, row.includeLo, row.includeHi)), row.expected);
    }
    EXPECT_EQ(xs(plot.getDataPoints(200.0, 400.0, false)), (QList<double>{ 300.0 }));
    EXPECT_DOUBLE_EQ(plot.computeSumIntensities(200.0, 300.0), 9.0);
}
