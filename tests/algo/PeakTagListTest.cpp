#include "algo/PeakTagList.h"

#include "support/MessageGuard.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

using zeq::PeakTagList;

namespace
{

QList<QPointF> window(const QList<double> &intensities)
{
    QList<QPointF> points;
    for (qsizetype i = 0; i < intensities.size(); ++i) {
        points.append(QPointF(500.0 + static_cast<double>(i), intensities.at(i)));
    }
    return points;
}

QList<double> sortedWindowPositions(const PeakTagList &tags)
{
    QList<double> out;
    for (const zeq::PeakTag &tag : tags.sortedTags()) {
        out.append(tag.x - 500.0);
    }
    return out;
}

} // namespace

TEST(PeakTagListTest, OrdersByIntensityWithLowerMzFirstAndKeepsMarksInBothOrders)
{
    PeakTagList tags;
    tags.addPoints2dList(window({ 5, 9, 9, 1 }));
    EXPECT_EQ(sortedWindowPositions(tags), (QList<double>{ 1, 2, 0, 3 }));
    EXPECT_EQ(tags.windowToSorted(), (QList<int>{ 2, 0, 1, 3 }));

    // Marks are kept per point in both orders.
    tags.setWindowPeakOffset(12);
    tags.addPoints2dList(window({ 5, 9, 9, 1 }));
    EXPECT_EQ(tags.getWindowPeakOffsetFromSpecpoints(), 0); // rebuilding clears the offset
    EXPECT_FALSE(tags.checkAllPointsExcluded());
    tags.excludePoint(0);
    EXPECT_TRUE(tags.checkPointExcludedSorted(2));
    EXPECT_FALSE(tags.checkPointExcludedSorted(0));
    for (int i = 1; i < 4; ++i) {
        tags.excludePoint(i);
    }
    EXPECT_TRUE(tags.checkAllPointsExcluded());

    const double nan = std::numeric_limits<double>::quiet_NaN();
    tags.addPoints2dList(window({ nan, 2, nan, 7 }));
    EXPECT_EQ(sortedWindowPositions(tags), (QList<double>{ 3, 1, 0, 2 }));
}

// The only out-of-range look-ups of this program: the warning counters are process-wide.
TEST(PeakTagListTest, OutOfRangeIndicesAreLoggedNotRead)
{
    PeakTagList tags;
    tags.addPoints2dList(window({ 3, 4 }));
    const zeq::test::MessageGuard guard;
    for (int i = 0; i < 7; ++i) {
        EXPECT_FALSE(tags.checkPointExcludedSorted(2 + i));
        EXPECT_FALSE(tags.checkPointExcludedUnsorted(-1 - i));
    }
    EXPECT_EQ(tags.getWindowPoint(2), QPointF());
    EXPECT_EQ(tags.getWindowPointSorted(-1), QPointF());
    tags.excludePoint(5);
    EXPECT_FALSE(tags.checkAllPointsExcluded());

    QList<QString> texts;
    for (const auto &m : guard.messages()) {
        texts.append(m.text);
    }
    // Five of each kind; the fifth announced as the last.
    EXPECT_EQ(texts.count(QStringLiteral("index out of bounds with 6")), 1);
    EXPECT_FALSE(guard.contains(QStringLiteral("with 7")));
    EXPECT_EQ(texts.count(QStringLiteral("last index out of bounds warning")), 1);
    EXPECT_EQ(texts.count(QStringLiteral("last index out of bounds warning ")), 1);
}
