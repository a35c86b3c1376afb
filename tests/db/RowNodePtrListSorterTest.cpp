#include "db/RowNodePtrListSorter.h"

#include "support/MessageGuard.h"
#include "support/RowTreeBuilder.h"
#include "zeq_common_core_mini/VariantComparator.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <limits>
#include <random>

using zeq::RowNodePtrListSorter;

namespace
{

// The ids of `rows` (only those whose cell in column 1 equals `*value`, if given), ascending.
QList<int> ids(const QList<RowNode *> &rows, const QVariant *value = nullptr)
{
    QList<int> ids;
    for (const RowNode *row : rows) {
        if (!value || VariantComparator::compare(row->getDataAt(1), *value) == 0) {
            ids.append(row->getDataAt(0).toInt());
        }
    }
    std::sort(ids.begin(), ids.end());
    return ids;
}

} // namespace

TEST(RowNodePtrListSorterTest, SelectFindsExactlyWhatALinearFilterFinds)
{
    std::mt19937 rng(17);
    std::uniform_int_distribution<int> small(0, 9);
    std::uniform_int_distribution<int> kind(0, 6);
    const double inf = std::numeric_limits<double>::infinity();
    const double nan = std::numeric_limits<double>::quiet_NaN();
    QList<VariantItems> rows;
    for (int i = 0; i < 600; ++i) {
        const int n = small(rng);
        const QVariant cells[] = { n, n + 0.0, QString::number(n), QVariant(), inf, -inf, nan };
        rows.append({ i, cells[kind(rng)] });
    }
    RowNode table = zeq::test::makeTable({ u"Id"_qs, u"Cell"_qs }, rows);
    RowNodePtrListSorter sorter(table.children());
    ASSERT_FALSE(sorter.sortByColumn(u"Cell"_qs).hasError());
    EXPECT_TRUE(std::is_sorted(sorter.rows().cbegin(), sorter.rows().cend(), [](const RowNode *a, const RowNode *b) {
        return VariantComparator::lessThan(a->getDataAt(1), b->getDataAt(1));
    }));
    table.children() = sorter.rows(); // the static form searches children already in order

    QList<QVariant> probes = { QVariant(), 11, -1, 4.5, u"x"_qs, inf, -inf, nan, 1e308 };
    for (int n = 0; n < 10; ++n) {
        probes << n << double(n) << QString::number(n);
    }
    for (const QVariant &probe : probes) {
        SCOPED_TRACE(probe.toString().toStdString() + " " + (probe.typeName() ? probe.typeName() : "null"));
        const QList<int> expected = ids(sorter.rows(), &probe);
        EXPECT_EQ(ids(sorter.select(probe)), expected);
        EXPECT_EQ(ids(RowNodePtrListSorter::select(&table, 1, probe)), expected);
    }
}

TEST(RowNodePtrListSorterTest, BadInputFindsNothing)
{
    zeq::test::MessageGuard guard;
    RowNodePtrListSorter empty;
    EXPECT_FALSE(empty.sortByColumn(u"A"_qs).hasError());
    RowNodePtrListSorter withNull({ nullptr });
    EXPECT_EQ(withNull.sortByColumn(u"A"_qs).code(), kBadParameterError);

    RowNode table = zeq::test::makeTable({ u"A"_qs }, { { 3 }, { 1 }, { 2 }, { 1 } });
    RowNodePtrListSorter sorter(table.children());
    EXPECT_EQ(sorter.sortByColumn(u"B"_qs).code(), kBadParameterError);
    EXPECT_TRUE(sorter.select(1).isEmpty());
    ASSERT_FALSE(sorter.sortByColumn(u"A"_qs).hasError());
    EXPECT_EQ(sorter.select(1).size(), 2);
}
