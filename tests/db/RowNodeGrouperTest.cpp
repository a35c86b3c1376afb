#include "db/RowNodeGrouper.h"

#include "support/MessageGuard.h"
#include "support/RowTreeBuilder.h"

#include <gtest/gtest.h>

using zeq::test::makeTable;
using zeq::test::shape;

namespace
{

const QString kName = u"Name"_qs;

// Name, Letter, Parity, N
RowNode lettersTable()
{
    return makeTable({ kName, u"Letter"_qs, u"Parity"_qs, u"N"_qs },
                     { { u"A1"_qs, u"A"_qs, u"odd"_qs, 1 },
                       { u"B1"_qs, u"B"_qs, u"odd"_qs, 2 },
                       { u"A2"_qs, u"A"_qs, u"even"_qs, 3 },
                       { u"C1"_qs, u"C"_qs, u"odd"_qs, 4 },
                       { u"B2"_qs, u"B"_qs, u"even"_qs, 5 },
                       { u"A3"_qs, u"A"_qs, u"odd"_qs, 6 } });
}

int leafCount(const RowNode &node)
{
    QList<RowNode *> leaves;
    RowNode::getLeafRowNodeList(&node, leaves);
    return int(leaves.size());
}

} // namespace

TEST(RowNodeGrouperTest, GroupsKeepTheirRowsInOldOrder)
{
    RowNode table = lettersTable();
    ASSERT_FALSE(regroupByFieldNames({ u"Letter"_qs }, {}, &table).hasError());
    EXPECT_EQ(shape(table, kName), u"[A1 A2 A3] [B1 B2] C1");
    const RowNode *group = table.getChild(0);
    EXPECT_TRUE(group->isGroupNode());
    EXPECT_EQ(group->parent(), &table);
    EXPECT_EQ(group->data(), group->getChild(0)->data());
    EXPECT_EQ(group->getChild(2)->parent(), group);
    EXPECT_EQ(table.getChild(2)->parent(), &table);
}

TEST(RowNodeGrouperTest, RegroupingDissolvesOldGroups)
{
    RowNode table = lettersTable();
    ASSERT_FALSE(regroupByFieldNames({ u"Letter"_qs }, {}, &table).hasError());
    ASSERT_FALSE(regroupByFieldNames({ u"Parity"_qs }, { u"N:-:r"_qs }, &table).hasError());
    EXPECT_EQ(shape(table, kName), u"[B2 A2] [A3 C1 B1 A1]");
    EXPECT_EQ(leafCount(table), 6);
    // Into a subgroup only: the rest of the tree stays as it was.
    ASSERT_FALSE(regroupByFieldNames({ u"Letter:-"_qs }, {}, table.getChild(1)).hasError());
    EXPECT_EQ(shape(table, kName), u"[B2 A2] [C1 B1 [A3 A1]]");
    EXPECT_EQ(table.getChild(1)->parent(), &table);
}

TEST(RowNodeGrouperTest, NumericGroupingUsesTheRelativeTolerance)
{
    // CalcMr is a registered mass column, so it groups as numbers; X is text.
    RowNode table = makeTable({ kName, u"CalcMr"_qs, u"X"_qs },
                              { { u"a"_qs, 1.0, u"1"_qs },
                                { u"b"_qs, 2.0, u"1.0"_qs },
                                { u"c"_qs, 1.0000000000001, u"1"_qs },
                                { u"d"_qs, u"1"_qs, u"1.0"_qs },
                                { u"e"_qs, 1.000000000002, u"2"_qs } });
    RowNode byText = table;
    ASSERT_FALSE(regroupByFieldNames({ u"CalcMr"_qs }, {}, &table).hasError());
    EXPECT_EQ(shape(table, kName), u"[a c d] e b");
    ASSERT_FALSE(regroupByFieldNames({ u"X"_qs }, {}, &byText).hasError());
    EXPECT_EQ(shape(byText, kName), u"[a c] [b d] e");
}

TEST(RowNodeGrouperTest, NothingToGroupLeavesTheTreeAlone)
{
    RowNode single = makeTable({ kName, u"Letter"_qs }, { { u"A1"_qs, u"A"_qs } });
    RowNode empty = makeTable({ kName }, {});
    RowNode table = lettersTable();
    EXPECT_FALSE(regroupByFieldNames({ u"Letter"_qs }, {}, &single).hasError());
    EXPECT_FALSE(regroupByFieldNames({ u"Letter"_qs }, {}, &empty).hasError());
    EXPECT_FALSE(regroupByFieldNames({ u"Letter"_qs }, {}, nullptr).hasError());
    EXPECT_FALSE(regroupByFieldNames({}, {}, &table).hasError());
    EXPECT_FALSE(sortGroupByOneLevel({ u"N:-:r"_qs }, nullptr).hasError());
    EXPECT_FALSE(regroupChildrenBy({ u"Letter"_qs }, {}, nullptr).hasError());
    EXPECT_EQ(shape(single, kName), u"A1");
    EXPECT_EQ(empty.getChildListSize(), 0);
    EXPECT_EQ(shape(table, kName), u"A1 B1 A2 C1 B2 A3");

    // A grouping column that does not exist makes all rows equal: one group, in old order.
    ASSERT_FALSE(regroupByFieldNames({ u"NoSuchColumn"_qs }, {}, &table).hasError());
    EXPECT_EQ(shape(table, kName), u"[A1 B1 A2 C1 B2 A3]");
}

TEST(RowNodeGrouperTest, SortingWithoutGroupingFlattensEveryNode)
{
    RowNode table = lettersTable();
    ASSERT_FALSE(regroupByFieldNames({ u"Letter"_qs }, {}, &table).hasError());
    ASSERT_FALSE(regroupByFieldNames({}, { u"N:-:r"_qs }, &table).hasError());
    // The former group rows (copies of A1 and B1) stay, now as plain rows.
    EXPECT_EQ(shape(table, kName), u"A3 B2 C1 A2 B1 B1 A1 A1");
}

TEST(RowNodeGrouperTest, MultiLevelRegrouping)
{
    RowNode table = lettersTable();
    ASSERT_FALSE(
        regroupRowNodesRecursive({ { u"Parity"_qs }, { u"Letter"_qs } }, { {}, { u"N:-:r"_qs } }, &table).hasError());
    EXPECT_EQ(shape(table, kName), u"[A2 B2] [[A3 A1] B1 C1]");

    zeq::test::MessageGuard guard;
    ASSERT_FALSE(regroupRowNodesRecursive({ { u"Letter"_qs } }, {}, &table).hasError());
    EXPECT_TRUE(guard.contains(u"commonFieldsList.size() != extraSortList.size()"_qs));
    EXPECT_EQ(shape(table, kName), u"[A2 B2] [[A3 A1] B1 C1]");
    EXPECT_FALSE(regroupRowNodesRecursive({}, {}, &table).hasError());
}

TEST(RowNodeGrouperTest, ChildrenAreRegroupedAndSortedOneLevelDown)
{
    RowNode table = lettersTable();
    ASSERT_FALSE(regroupByFieldNames({ u"Parity"_qs }, {}, &table).hasError());
    ASSERT_FALSE(regroupChildrenBy({ u"Letter"_qs }, { u"N:-:r"_qs }, &table).hasError());
    // The group of A3 and A1 carries A3's row, so it sorts by N = 6.
    EXPECT_EQ(shape(table, kName), u"[B2 A2] [[A3 A1] C1 B1]");
    ASSERT_FALSE(sortGroupByOneLevel({ u"Name:-"_qs }, table.getChild(1)).hasError());
    EXPECT_EQ(shape(table, kName), u"[B2 A2] [C1 B1 [A3 A1]]");
}

TEST(RowNodeGrouperTest, ReverseTurnsEveryLevel)
{
    RowNode table = lettersTable();
    ASSERT_FALSE(regroupByFieldNames({ u"Letter"_qs }, {}, &table).hasError());
    ASSERT_FALSE(reverse(&table).hasError());
    EXPECT_EQ(shape(table, kName), u"C1 [B2 B1] [A3 A2 A1]");
    const Error err = reverse(nullptr);
    EXPECT_EQ(err.code(), kBadParameterError);
    EXPECT_FALSE(err.catchPoints().isEmpty());
}

TEST(RowNodeGrouperTest, LeftJoinCopiesFromTheFirstMatchingRow)
{
    RowNode left = makeTable({ u"Key"_qs, u"Score"_qs },
                             { { u"p1"_qs, 1 }, { u"p2"_qs, 2 }, { u"p3"_qs, 3 }, { u"12"_qs, 4 }, { 1, 5 } });
    left.getChild(0)->addData(VariantItems{ u"extra"_qs }); // a row longer than the columns
    const RowNode right = makeTable({ u"Id"_qs, u"Score"_qs, u"Protein"_qs },
                                    { { u"p2"_qs, 20, u"second"_qs },
                                      { u"p1"_qs, 10, u"first"_qs },
                                      { u"p2"_qs, 21, u"shadowed"_qs },
                                      { 12, 30, u"twelve"_qs },
                                      { 1.0, 40, u"one"_qs } });
    ASSERT_FALSE(leftJoin(right, { u"Key"_qs, u"Id"_qs }, { u"Protein"_qs, u"Score"_qs }, &left).hasError());
    // The new Score column is appended although the left table has one already.
    EXPECT_EQ(left.getRootDataAsStringList(), (QList<QString>{ u"Key"_qs, u"Score"_qs, u"Protein"_qs, u"Score"_qs }));
    EXPECT_EQ(left.getChild(0)->data(), (VariantItems{ u"p1"_qs, 1, u"first"_qs, 10 }));
    EXPECT_EQ(left.getChild(1)->data(), (VariantItems{ u"p2"_qs, 2, u"second"_qs, 20 }));
    EXPECT_EQ(left.getChild(2)->data(), (VariantItems{ u"p3"_qs, 3, QVariant(), QVariant() }));
    // QVariant equality across types: the text 12 matches the number 12, 1 matches 1.0.
    EXPECT_EQ(left.getChild(3)->getDataAt(2), QVariant(u"twelve"_qs));
    EXPECT_EQ(left.getChild(4)->getDataAt(2), QVariant(u"one"_qs));
}

TEST(RowNodeGrouperTest, LeftJoinRejectsBadArgumentsCleanly)
{
    const RowNode right = makeTable({ u"Id"_qs, u"Protein"_qs }, { { u"p1"_qs, u"first"_qs } });
    RowNode left = makeTable({ u"Key"_qs }, { { u"p1"_qs } });
    const RowNode before = left;
    EXPECT_EQ(leftJoin(right, { u"Key"_qs, u"Id"_qs }, { u"Protein"_qs, u"Missing"_qs }, &left).code(), kError);
    EXPECT_EQ(left.getRootDataAsStringList(), before.getRootDataAsStringList());
    EXPECT_EQ(left.getChild(0)->data(), before.getChild(0)->data());
    EXPECT_EQ(leftJoin(right, { QString(), u"Id"_qs }, { u"Protein"_qs }, &left).code(), kBadParameterError);
    EXPECT_EQ(leftJoin(right, { u"Key"_qs, QString() }, { u"Protein"_qs }, &left).code(), kBadParameterError);
    EXPECT_EQ(leftJoin(right, { u"Key"_qs, u"Id"_qs }, { u"Protein"_qs }, nullptr).code(), kBadParameterError);
    EXPECT_FALSE(leftJoin(right, { QString(), QString() }, {}, &left).hasError());
    EXPECT_EQ(left.columnCount(), 1);

    // A key column that does not exist matches nothing; the columns still arrive, null.
    ASSERT_FALSE(leftJoin(right, { u"Nope"_qs, u"Id"_qs }, { u"Protein"_qs }, &left).hasError());
    EXPECT_EQ(left.getChild(0)->data(), (VariantItems{ u"p1"_qs, QVariant() }));
}

TEST(RowNodeGrouperTest, LeftJoinSkipsGroupRowsAndMatchesEmptyKeys)
{
    RowNode left = makeTable({ u"Key"_qs, u"G"_qs }, { { u"p1"_qs, 1 }, { u"p2"_qs, 1 }, { QVariant(), 2 } });
    ASSERT_FALSE(regroupByFieldNames({ u"G"_qs }, {}, &left).hasError());
    const RowNode right =
        makeTable({ u"Id"_qs, u"Protein"_qs }, { { u"p1"_qs, u"first"_qs }, { QVariant(), u"nothing"_qs } });
    ASSERT_FALSE(leftJoin(right, { u"Key"_qs, u"Id"_qs }, { u"Protein"_qs }, &left).hasError());
    EXPECT_TRUE(left.getChild(0)->getDataAt(u"Protein"_qs).isNull()); // the group row
    EXPECT_EQ(left.getChild(0)->getChild(0)->getDataAt(u"Protein"_qs), QVariant(u"first"_qs));
    EXPECT_EQ(left.getChild(1)->getDataAt(u"Protein"_qs), QVariant(u"nothing"_qs));
}

TEST(RowNodeGrouperTest, UnifyTablesMatchesColumnsByName)
{
    RowNode target = makeTable({ u"A"_qs, u"B"_qs }, { { 1, 2 } });
    const RowNode source = makeTable({ u"C"_qs, u"A"_qs }, { { u"c"_qs, 10 }, { u"d"_qs, 20 } });
    unifyTables(source, &target);
    EXPECT_EQ(target.getRootDataAsStringList(), (QList<QString>{ u"A"_qs, u"B"_qs, u"C"_qs }));
    EXPECT_EQ(target.getChild(0)->data(), (VariantItems{ 1, 2, QVariant() }));
    EXPECT_EQ(target.getChild(2)->data(), (VariantItems{ 20, QVariant(), u"d"_qs }));

    unifyTables(target, &target);
    EXPECT_EQ(target.getChildListSize(), 6);
    unifyTables(source, nullptr);
}

TEST(RowNodeGrouperTest, MakeGroupSummarisesByColumnMethod)
{
    RowNode table = makeTable({ kName, u"Score"_qs, u"Intensity"_qs, u"Note"_qs, u"CalcMr"_qs },
                              { { u"a"_qs, 3.0, 10.0, u"x"_qs, 500.0 }, { u"b"_qs, 7.0, 5.0, u"y"_qs, 600.0 } });
    QList<RowNode *> rows = table.children();
    rows.insert(1, nullptr);
    const RowNode group =
        RowNodeGrouper::makeGroup(rows, rn::GroupSummary(), { kName }, { { u"CalcMr"_qs, ColumnFriendlyName::Mean } });
    EXPECT_EQ(group.getRootDataAsStringList(), table.getRootDataAsStringList());
    ASSERT_EQ(group.getChildListSize(), 1);
    // Name kept first; Score by its registered Max, Intensity by Sum; Note unregistered: First.
    EXPECT_EQ(group.getChild(0)->data(), (VariantItems{ u"a"_qs, 7.0, 15.0, u"x"_qs, 550.0 }));
    EXPECT_EQ(group.getChild(0)->parent(), &group);

    const RowNode none = RowNodeGrouper::makeGroup({}, rn::GroupSummary(), {}, {});
    EXPECT_EQ(none.columnCount(), 0);
    EXPECT_EQ(none.getChildListSize(), 0);
}
