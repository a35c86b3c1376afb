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
        // Bins 1 and 2 are empty: 3.5 lands in bin 1, not 3.
        { "empty bins shift the next point down", { { 0.5, 1 }, { 3.5, 2 } }, { 1, 2 } },
        // 2.3 and 2.6 share bin 2, but the first lands one bin low and the second catches up.
        { "catching up a step per point", { { 0.5, 1 }, { 2.3, 6 }, { 2.6, 8 } }, { 1, 6, 8 } },
        { "non-finite points skipped", { { 0.5, nan }, { nan, 9 }, { 0.6, 3 } }, { 3 } },
    };
    for (const auto &row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(Discretizer(0.0, 1.0).discretizeAsMaximumFromSet(row.points), row.expected);
    }
}

TEST(DiscretizerTest, BadGridGivesNothing)
{
    const QList<QPointF> points = { { 0.5, 1 }, { 1.5, 2 } };
    const double widths[] = { 0.0, std::numeric_limits<double>::quiet_NaN() };
    for (double width : widths) {
        SCOPED_TRACE(width);
        MessageGuard guard;
        EXPECT_TRUE(Discretizer(0.0, width).discretizeAsMaximumFromSet(points).isEmpty());
        EXPECT_TRUE(guard.contains(u"bin width"_qs));
    }
}
