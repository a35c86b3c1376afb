#include "zeq_common_core_mini/FindLinearCoeffs.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <random>

namespace
{

struct Line {
    double intercept;
    double slope;
};

// The weighted least-squares line from centred sums, in long double.
Line closedForm(const QList<QPointF> &points, const QList<double> &weights)
{
    long double sw = 0, sx = 0, sy = 0;
    for (qsizetype i = 0; i < points.size(); ++i) {
        sw += weights[i];
        sx += weights[i] * points[i].x();
        sy += weights[i] * points[i].y();
    }
    const long double mx = sx / sw, my = sy / sw;
    long double sxx = 0, sxy = 0;
    for (qsizetype i = 0; i < points.size(); ++i) {
        const long double dx = points[i].x() - mx;
        sxx += weights[i] * dx * dx;
        sxy += weights[i] * dx * (points[i].y() - my);
    }
    const long double slope = sxy / sxx;
    return { double(my - slope * mx), double(slope) };
}

} // namespace

TEST(FindLinearCoeffsTest, MatchesTheClosedFormOnNoisyLines)
{
    // Far from zero and narrow (m/z, retention times in seconds) is where the normal equations fail.
    const struct {
        const char *name;
        double origin;
        double span;
    } rows[] = { { "near zero", -5.0, 10.0 }, { "m/z", 1500.0, 0.05 }, { "far", 1e6, 1.0 } };
    std::mt19937 random(11);
    const auto uniform = [&](double lo, double hi) { return std::uniform_real_distribution<double>(lo, hi)(random); };
    for (const auto &row : rows) {
        for (int trial = 0; trial < 20; ++trial) {
            SCOPED_TRACE(testing::Message() << row.name << " trial " << trial);
            const double slope = uniform(-100.0, 100.0);
            const double intercept = uniform(-1000.0, 1000.0);
            const int n = 3 + int(random() % 40);
            QList<QPointF> points;
            QList<double> weights;
            for (int i = 0; i < n; ++i) {
                const double x = row.origin + uniform(0.0, row.span);
                const double noise = uniform(-0.01, 0.01) * row.span * std::abs(slope);
                points.append({ x, intercept + slope * (x - row.origin) + noise });
                weights.append(trial % 2 ? 1.0 : uniform(0.1, 5.0));
            }
            QList<double> c;
            ASSERT_TRUE(findLinearCoeffs(points, weights, 2, c));
            ASSERT_EQ(c.size(), 2);
            const Line expected = closedForm(points, weights);
            EXPECT_NEAR(c[1], expected.slope, 1e-8 * std::max(1.0, std::abs(expected.slope)));
            // Compared where the data is: the intercept alone is far outside it for "far".
            const double at = row.origin + row.span / 2;
            EXPECT_NEAR(c[0] + c[1] * at, expected.intercept + expected.slope * at, 1e-6);
        }
    }
}

TEST(FindLinearCoeffsTest, RefusesWhatHasNoUniqueFit)
{
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const QList<QPointF> three = { { 1, 1 }, { 2, 2 }, { 3, 3 } };
    const QList<double> ones = { 1, 1, 1 };
    const struct {
        const char *name;
        QList<QPointF> points;
        QList<double> weights;
        int count;
    } rows[] = {
        { "no coefficients", three, ones, 0 },
        { "more weights than points", three, { 1, 1, 1, 1 }, 2 },
        { "one x for a line", { { 2, 1 }, { 2, 5 }, { 2, 3 } }, ones, 2 },
        { "distinct x only with zero weight", three, { 1, 0, 0 }, 2 },
        { "NaN y", { { 1, 1 }, { 2, nan }, { 3, 3 } }, ones, 2 },
        { "negative weight", three, { 1, -1, 1 }, 2 },
    };
    for (const auto &row : rows) {
        SCOPED_TRACE(row.name);
        QList<double> c = { 42.0 };
        EXPECT_FALSE(findLinearCoeffs(row.points, row.weights, row.count, c));
        EXPECT_TRUE(c.isEmpty());
    }
}
