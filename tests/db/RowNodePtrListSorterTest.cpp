#include "db/RowNodePtrListSorter.h"

#include "support/MessageGuard.h"
#include "support/RowTreeBuilder.h"
#include "zeq_common_core_mini/VariantComparator.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>

using zeq::RowNodePtrListSorter;

namespace
{

QList<RowNode *> linearFilter(const QList<RowNode *> &rows, int column, const QVariant &value)
{
    QList<RowNode *> found;
    for (RowNode *row : rows) {
        if (VariantComparator::compare(row->getDataAt(column), value) == 0) {
            found.append(row);
        }
    }
    return found;
}

} // namespace

TEST(RowNodePtrListSorterTest, SelectFindsExactlyWhatALinearFilterFinds)
{
    std::mt19937 rng(17);
    std::uniform_int_distribution<int> small(0, 9);
    std::uniform_int_distribution<int> kind(0, 3);
    QList<VariantItems> rows;
    for (int i = 0; i < 600; ++i) {
        const int n = small(rng);
        const QVariant cell = kind(rng) == 0 ? QVariant(n)
            : kind(rng) == 1                 ? QVariant(n + 0.0)
            : kind(rng) == 2                 ? QVariant(QString::number(n))
                                             : QVariant();
        rows.append({ i, cell });
    }
    RowNode table = zeq::test::makeTable({ u"Id"_qs, u"Cell"_qs }, rows);
    RowNodePtrListSorter sorter(table.children());
    ASSERT_FALSE(sorter.sortByColumn(u"Cell"_qs).hasError());
    EXPECT_TRUE(std::is_sorted(sorter.rows().cbegin(), sorter.rows().cend(), [](const RowNode *a, const RowNode *b) {
        return VariantComparator::lessThan(a->getDataAt(1), b->getDataAt(1));
    }));
    table.children() = sorter.rows(); // the static form searches children already in order

    QList<QVariant> probes = { QVariant(), 11, -1, 4.5, u"x"_qs };
    for (int n = 0; n < 10; ++n) {
        probes << n << double(n) << QString::number(n);
    }
    for (const QVariant &probe : probes) {
        SCOPED_TRACE(probe.toString().toStdString() + " " + (probe.typeName() ? probe.typeName() : "null"));
        auto sortedById = [](QList<RowNode *> found) {
            std::sort(found.begin(), found.end(), [](const RowNode *a, const RowNode *b) {
                return a->getDataAt(0).toInt() < b->getDataAt(0).toInt();
            });
            return found;
        };
        const QList<RowNode *> expected = sortedById(linearFilter(sorter.rows(), 1, probe));
        EXPECT_EQ(sortedById(sorter.select(probe)), expected);
        EXPECT_EQ(sortedById(RowNodePtrListSorter::select(&table, 1, probe)), expected);
    }
}

TEST(RowNodePtrListSorterTest, UnknownColumnLeavesTheSorterUnsorted)
{
    RowNode table = zeq::test::makeTable({ u"A"_qs }, { { 3 }, { 1 }, { 2 }, { 1 } });
    RowNodePtrListSorter sorter(table.children());
    zeq::test::MessageGuard guard;
    const Error err = sorter.sortByColumn(u"B"_qs);
    EXPECT_EQ(err.code(), kBadParameterError);
    EXPECT_TRUE(guard.contains(u"Invalid column name"_qs));
    EXPECT_EQ(sorter.rows(), table.children());
    EXPECT_TRUE(sorter.select(1).isEmpty());
    EXPECT_TRUE(guard.contains(u"Invalid comparator!"_qs));

    ASSERT_FALSE(sorter.sortByColumn(u"A"_qs).hasError());
    EXPECT_EQ(sorter.select(1).size(), 2);
    EXPECT_TRUE(sorter.select(5).isEmpty());
}

TEST(RowNodePtrListSorterTest, EmptyListsAndBadArgumentsFindNothing)
{
    RowNodePtrListSorter empty;
    zeq::test::MessageGuard guard;
    EXPECT_FALSE(empty.sortByColumn(u"A"_qs).hasError());
    EXPECT_TRUE(empty.select(1).isEmpty());
    EXPECT_TRUE(guard.messages().isEmpty());

    RowNodePtrListSorter withNull({ nullptr });
    EXPECT_EQ(withNull.sortByColumn(u"A"_qs).code(), kBadParameterError);

    const RowNode table = zeq::test::makeTable({ u"A"_qs, u"B"_qs }, { { 1, 2 } });
    EXPECT_TRUE(RowNodePtrListSorter::select(nullptr, 0, 1).isEmpty());
    EXPECT_TRUE(RowNodePtrListSorter::select(&table, -1, 1).isEmpty());
    EXPECT_TRUE(RowNodePtrListSorter::select(&table, 2, 1).isEmpty());
    EXPECT_TRUE(RowNodePtrListSorter::select(table.getChild(0), 0, 1).isEmpty());
    EXPECT_EQ(RowNodePtrListSorter::select(&table, 1, 2).size(), 1);
}
