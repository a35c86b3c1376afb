#include "db/FieldNamesComparator.h"

#include "db/FieldNamesComparator_p.h"
#include "support/MessageGuard.h"
#include "support/RowTreeBuilder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <limits>
#include <random>

using zeq::FieldNamesComparator;

namespace
{

QString sortedBy(RowNode &table, const QString &sorting)
{
    QList<RowNode *> rows = table.children();
    std::stable_sort(rows.begin(), rows.end(), FieldNamesComparator({}, { sorting }, &table));
    return zeq::test::join(rows, u"Name"_qs);
}

} // namespace

TEST(FieldNamesComparatorTest, OrderAndTypeMarks)
{
    // "Mass" is not a registered column, so it compares as text unless marked; "CalcMr" is numeric.
    RowNode table = zeq::test::makeTable(
        { u"Name"_qs, u"Mass"_qs, u"CalcMr"_qs },
        { { u"ten"_qs, 10.0, 10.0 }, { u"nine"_qs, 9.0, 9.0 }, { u"hundred"_qs, 100, 100 }, { u"B"_qs }, { u"a"_qs } });
    const struct {
        const char *specification;
        const char *order;
    } rows[] = {
        { "Mass", "B a ten hundred nine" },
        { "Mass:-:r", "hundred ten nine B a" },
        { "Mass:-:x", "hundred ten nine B a" }, // an unknown type mark keeps the sorting default, numbers
        { "CalcMr", "B a nine ten hundred" },
        { "Name", "B a hundred nine ten" }, // texts are exact and case sensitive
        { "NoSuchColumn:-", "ten nine hundred B a" },
    };
    for (const auto &row : rows) {
        SCOPED_TRACE(row.specification);
        EXPECT_EQ(sortedBy(table, QString::fromUtf8(row.specification)), QString::fromUtf8(row.order));
    }
}

TEST(FieldNamesComparatorTest, NumbersAreEqualWithinTheRelativeTolerance)
{
    const double inf = std::numeric_limits<double>::infinity();
    const double nan = std::numeric_limits<double>::quiet_NaN();
    enum Order { Before, Same, After };
    const struct {
        double a, b;
        Order order;
    } rows[] = {
        { 1e15, 1e15 + 0.5, Same },
        { 1.0, 1.0000000000001, Same },
        { 1.0, 1.000000000002, Before },
        // Non-finite values equal only themselves; NaN comes first, and every NaN is one group.
        { inf, 1e308, After },
        { nan, nan, Same },
        { nan, -inf, Before },
    };
    for (const auto &row : rows) {
        SCOPED_TRACE(QStringLiteral("%1 %2").arg(row.a, 0, 'g', 17).arg(row.b, 0, 'g', 17).toStdString());
        RowNode table = zeq::test::makeTable({ u"X"_qs }, { { row.a }, { row.b } });
        const FieldNamesComparator comparator({ u"X:+:r"_qs }, {}, &table);
        const RowNode *a = table.getChild(0);
        const RowNode *b = table.getChild(1);
        EXPECT_EQ(comparator.isSameGoup(a, b), row.order == Same);
        EXPECT_EQ(comparator(a, b), row.order == Before);
        EXPECT_EQ(comparator(b, a), row.order == After);
    }
}

TEST(FieldNamesComparatorTest, TextCellsInNumericColumns)
{
    RowNode table =
        zeq::test::makeTable({ u"X"_qs }, { { u""_qs }, { u"2.5"_qs }, { u"abc"_qs }, { QVariant() }, { -1 } });
    const zeq::test::MessageGuard quiet;
    const FieldNamesComparator comparator({ u"X:+:r"_qs }, {}, &table);
    QList<double> numbers;
    for (const RowNode *row : table.children()) {
        numbers.append(comparator.cellNumber(row->getDataAt(0), 0));
    }
    EXPECT_EQ(numbers, (QList<double>{ 0.0, 2.5, 0.0, 0.0, -1.0 }));
    EXPECT_TRUE(comparator.isSameGoup(table.getChild(0), table.getChild(2))); // "" and "abc" both count 0
    EXPECT_TRUE(comparator(table.getChild(4), table.getChild(0)));
}

// Regrouping sorts through precomputed keys; they must give exactly the comparator's order.
TEST(FieldNamesComparatorTest, PrecomputedKeysGiveTheComparatorsOrder)
{
    std::mt19937 rng(5);
    std::uniform_int_distribution<int> pick(0, 5);
    const QList<QVariant> texts = { u"b"_qs, u"B"_qs, u"a"_qs, 12, QVariant(), u"12"_qs };
    const QList<QVariant> numbers = {
        1.0, 1.0 + 1e-13, 2.0, u"2"_qs, u""_qs, -3, std::numeric_limits<double>::infinity(), u"-inf"_qs, u"nan"_qs,
    };
    std::uniform_int_distribution<int> pickNumber(0, int(numbers.size()) - 1);
    QList<VariantItems> rows;
    for (int i = 0; i < 300; ++i) {
        rows.append({ texts[pick(rng)], numbers[pickNumber(rng)], i });
    }
    RowNode table = zeq::test::makeTable({ u"T"_qs, u"N"_qs, u"I"_qs }, rows);
    const FieldNamesComparator comparator({ u"T:-"_qs, u"N:+:r"_qs }, { u"N:-:s"_qs }, &table);

    const std::vector<RowNode *> input(table.children().cbegin(), table.children().cend());
    std::vector<RowNode *> expected = input;
    std::stable_sort(expected.begin(), expected.end(), comparator);
    const zeq::detail::RowKeys keys(comparator, input);
    const std::vector<quint32> order = keys.stableOrder();
    ASSERT_EQ(order.size(), expected.size());
    for (size_t i = 0; i < order.size(); ++i) {
        ASSERT_EQ(input[order[i]], expected[i]) << "position " << i;
        if (i > 0) {
            ASSERT_EQ(keys.sameGroup(order[i - 1], order[i]), comparator.isSameGoup(expected[i - 1], expected[i]));
        }
    }
}
