#include "algo/WarpAB.h"

#include "algo/WarpSourceToTargetXUnit.h"

#include <gtest/gtest.h>

#include <limits>
#include <random>

using zeq::WarpAB;
using zeq::WarpSourceToTargetXUnit;
using namespace zeq::ZEQ_QEnumsXUnit;

namespace
{

WarpAB warp(const QList<double> &a, const QList<double> &b)
{
    WarpAB w;
    const Error err = w.setAnchors(a, b);
    EXPECT_FALSE(err.hasError()) << qPrintable(err.errorString());
    return w;
}

// Strictly increasing anchors with uneven steps.
QList<double> ascending(std::mt19937 &random, int n, double start)
{
    QList<double> list;
    double v = start;
    for (int i = 0; i < n; ++i) {
        v += std::uniform_real_distribution<double>(0.01, 5.0)(random);
        list.append(v);
    }
    return list;
}

} // namespace

TEST(WarpABTest, RandomMonotoneAnchorsGiveAMonotoneInvertibleMap)
{
    std::mt19937 random(5);
    for (int trial = 0; trial < 50; ++trial) {
        SCOPED_TRACE(trial);
        const int n = 1 + int(random() % 12);
        const WarpAB w = warp(ascending(random, n, -10.0), ascending(random, n, 100.0));
        double previous = -std::numeric_limits<double>::infinity();
        for (double x = -20.0; x < 80.0; x += 0.37) {
            const double b = w.fromAtoB(x);
            EXPECT_GE(b, previous) << "x=" << x;
            previous = b;
            EXPECT_NEAR(w.fromBtoA(b), x, 1e-9 * std::max(1.0, std::abs(x))) << "x=" << x;
        }
    }
}

TEST(WarpABTest, RefusedAnchorsKeepThePreviousOnes)
{
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const struct {
        const char *name;
        QList<double> a, b;
        const char *message;
    } rows[] = {
        { "longer A", { 1, 2, 3 }, { 1, 2 }, "A.size(3) != B.size(2)" },
        { "NaN in B", { 1, 2 }, { 1, nan }, "not finite" },
    };
    for (const auto &row : rows) {
        SCOPED_TRACE(row.name);
        WarpAB w = warp({ 0, 1 }, { 0, 2 });
        const Error err = w.setAnchors(row.a, row.b);
        EXPECT_EQ(err.code(), kBadParameterError);
        EXPECT_TRUE(err.errorString().contains(QLatin1String(row.message))) << qPrintable(err.errorString());
        EXPECT_DOUBLE_EQ(w.fromAtoB(0.5), 1.0);
    }
}

TEST(WarpSourceToTargetXUnitTest, WarpsOnlyBetweenMinutesAndIsoelectricPoint)
{
    WarpSourceToTargetXUnit w;
    // Given pI → minutes: stored with minutes on A all the same.
    ASSERT_FALSE(w.setWarp({ 4, 6 }, { 10, 20 }, IsoelecticPoint, Minutes).hasError());
    EXPECT_EQ(w.warp().anchorsA(), QList<double>({ 10, 20 }));
    w.setTranslateMinutes(2.0, Minutes);
    w.setTranslateMinutes(1.0, IsoelecticPoint);
    w.setTranslateMinutes(99.0, DriftBins);
    EXPECT_DOUBLE_EQ(w.warpSourceToTarget(14.0, Minutes, IsoelecticPoint), 5.0); // fromAtoB(14 + 2 − 1)
    EXPECT_DOUBLE_EQ(w.warpSourceToTarget(5.0, IsoelecticPoint, Minutes), 16.0); // fromBtoA(5) + 1
    EXPECT_DOUBLE_EQ(w.warpSourceToTarget(5.0, Minutes, DriftBins), 5.0);

    // Equal units set the anchors but report the mistake; unrelated units set nothing.
    Error err = w.setWarp(QMap<double, double>{ { 1.0, 2.0 } }, Minutes, Minutes);
    EXPECT_TRUE(err.errorString().contains(u"Minutes"));
    EXPECT_EQ(w.warp().anchorsA(), QList<double>({ 1.0 }));
    EXPECT_FALSE(w.setWarp({ 7, 8 }, { 1, 2 }, Minutes, DriftBins).hasError());
    EXPECT_EQ(w.warp().anchorsA(), QList<double>({ 1.0 }));
}
