#include "algo/Discretizer.h"

#include "support/MessageGuard.h"

#include <gtest/gtest.h>

#include <limits>

using zeq::Discretizer;
using zeq::test::MessageGuard;

TEST(DiscretizerTest, KeepsTheMaximumPerBinAdvancingOneBinPerPoint)
{
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const struct {
        const char *name;
        QList<QPointF> points;
        QList<double> expected;
    } rows[] = {
        { "two full bins", { { 0.2, 5 }, { 0.9, 7 }, { 1.5, 3 }, { 1.7, 4 } }, { 7, 4 } },
        { "upper edge belongs to the lower bin", { { 0.5, 1 }, { 1.0, 9 }, { 1.01, 2 } }, { 9, 2 } },
        // Bins 1 and 2 are empty: 3.5 lands in bin 1, not 3.
        { "empty bins shift the next point down", { { 0.5, 1 }, { 3.5, 2 } }, { 1, 2 } },
        // 2.3 and 2.6 share bin 2, but the first lands one bin low and the second catches up.
        { "catching up a step per point", { { 0.5, 1 }, { 2.3, 6 }, { 2.6, 8 } }, { 1, 6, 8 } },
        { "before the origin counts as bin 0", { { -3, 2 }, { 0.5, 1 } }, { 2 } },
        { "starting beyond bin 0", { { 1.5, 4 }, { 1.6, 6 }, { 2.5, 1 } }, { 6, 1 } },
        { "non-finite points skipped", { { 0.5, nan }, { nan, 9 }, { 0.6, 3 } }, { 3 } },
        { "negative values keep their maximum", { { 0.1, -4 }, { 0.2, -2 }, { 0.3, -3 } }, { -2 } },
        { "empty", {}, {} },
    };
    for (const auto &row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(Discretizer(0.0, 1.0).discretizeAsMaximumFromSet(row.points), row.expected);
    }
    EXPECT_EQ(Discretizer(10.0, 0.5).discretizeAsMaximumFromSet({ { 10.2, 1 }, { 10.7, 2 }, { 11.1, 3 } }),
              QList<double>({ 1, 2, 3 }));
}

TEST(DiscretizerTest, BadGridGivesNothing)
{
    const QList<QPointF> points = { { 0.5, 1 }, { 1.5, 2 } };
    const double widths[] = {
        0.0, -1.0, std::numeric_limits<double>::quiet_NaN(), std::numeric_limits<double>::infinity()
    };
    for (double width : widths) {
        SCOPED_TRACE(width);
        MessageGuard guard;
        EXPECT_TRUE(Discretizer(0.0, width).discretizeAsMaximumFromSet(points).isEmpty());
        EXPECT_TRUE(guard.contains(u"bin width"_qs));
    }
    MessageGuard guard;
    EXPECT_TRUE(Discretizer(std::numeric_limits<double>::infinity(), 1.0).discretizeAsMaximumFromSet(points).isEmpty());
}
