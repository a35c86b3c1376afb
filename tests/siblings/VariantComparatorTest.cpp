#include "zeq_common_core_mini/VariantComparator.h"

#include <QByteArray>
#include <QDate>
#include <QList>
#include <QString>

#include <gtest/gtest.h>

#include <limits>

TEST(VariantComparatorTest, RanksNullNaNNumbersTextsOthers)
{
    // 2^53 and 2^53 + 1 are equal as doubles, but not as numbers.
    const QList<QVariant> ascending = {
        QVariant(),
        std::numeric_limits<double>::quiet_NaN(),
        -std::numeric_limits<double>::infinity(),
        std::numeric_limits<qint64>::min(),
        -2,
        false,
        0.5,
        true,
        2u,
        qint64(9007199254740992),
        qint64(9007199254740993),
        std::numeric_limits<quint64>::max(),
        std::numeric_limits<double>::infinity(),
        QString(),
        u"10"_qs,
        u"B"_qs,
        u"b"_qs,
        QDate(2020, 1, 1),
    };
    for (qsizetype i = 0; i < ascending.size(); ++i) {
        for (qsizetype j = 0; j < ascending.size(); ++j) {
            SCOPED_TRACE(QStringLiteral("%1 vs %2").arg(i).arg(j).toStdString());
            EXPECT_EQ(VariantComparator::lessThan(ascending[i], ascending[j]), i < j);
        }
    }
}

// The sorter's binary search is only right if this is a strict weak ordering over any mix of cells.
TEST(VariantComparatorTest, IsAStrictWeakOrderingOnMixedCells)
{
    QList<QVariant> cells;
    for (int n = -3; n <= 3; ++n) {
        cells << QVariant() << n << n + 0.5 << double(n) << QString::number(n) << quint64(n < 0 ? -n : n) << (n > 0)
              << std::numeric_limits<double>::quiet_NaN() << n * std::numeric_limits<double>::infinity();
    }
    for (const QVariant &a : cells) {
        ASSERT_FALSE(VariantComparator::lessThan(a, a));
        for (const QVariant &b : cells) {
            const bool ab = VariantComparator::lessThan(a, b);
            ASSERT_FALSE(ab && VariantComparator::lessThan(b, a));
            const bool equivalentAB = !ab && !VariantComparator::lessThan(b, a);
            for (const QVariant &c : cells) {
                const bool bc = VariantComparator::lessThan(b, c);
                if (ab && bc) {
                    ASSERT_TRUE(VariantComparator::lessThan(a, c));
                }
                if (equivalentAB && !bc && !VariantComparator::lessThan(c, b)) {
                    ASSERT_EQ(VariantComparator::compare(a, c), 0); // equivalence is transitive too
                }
            }
        }
    }
}
