#include "math/LinearRegression.h"

#include <gtest/gtest.h>

#include <limits>

using zeq::LinearRegression;

namespace
{

QList<LinearRegression::PointData> points(const QList<QPointF> &xy, const QList<int> &mids = {})
{
    QList<LinearRegression::PointData> list;
    for (qsizetype i = 0; i < xy.size(); ++i) {
        list.append({ xy[i], QStringLiteral("p%1").arg(i), mids.value(i, 0) });
    }
    return list;
}

} // namespace

TEST(LinearRegressionTest, NormalisesByTheSmallestXThenByGroup)
{
    LinearRegression regression;
    ASSERT_FALSE(regression.setup_normalization({ { 3, 4.0 }, { 1, 2.0 } }).hasError());
    // Given in descending x: the scale is the y at x = 1, i.e. 2, not the first point's 12.
    const Error err = regression.compute_regression(points({ { 3, 12 }, { 2, 4 }, { 1, 2 } }, { 3, 1, 1 }));
    ASSERT_FALSE(err.hasError()) << qPrintable(err.errorString());
    const QList<LinearRegression::PointData> &data = regression.getDataPoints();
    ASSERT_EQ(data.size(), 3);
    EXPECT_EQ(data[0].label, u"p2");
    EXPECT_DOUBLE_EQ(data[2].point.y(), 3.0); // 12 / 2 / (4 / 2)
    // An exact line through the origin: the intercept's rounding noise is zeroed.
    EXPECT_EQ(regression.getCoefficients().value(0, 1.0), 0.0);
    EXPECT_DOUBLE_EQ(regression.getRate(), 1.0);
}

TEST(LinearRegressionTest, FitsConstantsAndRendersBeyondTheData)
{
    LinearRegression regression;
    ASSERT_FALSE(regression.compute_regression(points({ { 4, 5 } })).hasError());
    EXPECT_DOUBLE_EQ(regression.eval(-100.0), 1.0);

    // A zero first y is no scale: y stays as given.
    ASSERT_FALSE(regression.compute_regression(points({ { 10, 0 }, { 20, 10 } })).hasError());
    EXPECT_EQ(regression.getFittedLineForRendering(), QList<QPointF>({ { 8, -2 }, { 22, 12 } }));

    // Empty input clears the fit.
    ASSERT_FALSE(regression.compute_regression({}).hasError());
    EXPECT_DOUBLE_EQ(regression.eval(3.0), 0.0);
}

TEST(LinearRegressionTest, BadPointsFailWithTheirReason)
{
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const struct {
        const char *name;
        QList<QPointF> xy;
        QMap<int, double> refs;
        const char *message;
    } rows[] = {
        { "one x", { { 2, 1 }, { 2, 3 } }, {}, "two distinct, finite x" },
        { "NaN x", { { 1, 1 }, { nan, 3 } }, {}, "no finite x" },
        { "zero reference", { { 1, 1 }, { 2, 3 } }, { { 0, 0.0 } }, "factor" },
    };
    for (const auto &row : rows) {
        SCOPED_TRACE(row.name);
        LinearRegression regression;
        ASSERT_FALSE(regression.setup_normalization(row.refs).hasError());
        const Error err = regression.compute_regression(points(row.xy));
        EXPECT_TRUE(err.errorString().contains(QLatin1String(row.message))) << qPrintable(err.errorString());
    }
}
