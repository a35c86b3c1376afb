#include "db/RowNodeGrouper.h"

#include "support/MessageGuard.h"
#include "support/RowTreeBuilder.h"

#include <gtest/gtest.h>

#include <functional>
#include <limits>
#include <random>

using zeq::test::makeTable;
using zeq::test::shape;

namespace
{

const QString kName = u"Name"_qs;
const QString kLetter = u"Letter"_qs;
const QString kParity = u"Parity"_qs;
const QString kByN = u"N:-:r"_qs;

RowNode lettersTable()
{
    const QList<VariantItems> rows = {
        { u"A1"_qs, u"A"_qs, u"odd"_qs, 1 }, { u"B1"_qs, u"B"_qs, u"odd"_qs, 2 },  { u"A2"_qs, u"A"_qs, u"even"_qs, 3 },
        { u"C1"_qs, u"C"_qs, u"odd"_qs, 4 }, { u"B2"_qs, u"B"_qs, u"even"_qs, 5 }, { u"A3"_qs, u"A"_qs, u"odd"_qs, 6 },
    };
    return makeTable({ kName, kLetter, kParity, u"N"_qs }, rows);
}

bool ok(const Error &err)
{
    return !err.hasError();
}

bool group(RowNode *node, const QString &field, const QList<QString> &sorting = {})
{
    return ok(regroupByFieldNames({ field }, sorting, node));
}

} // namespace

TEST(RowNodeGrouperTest, ShapeAfterEachOperation)
{
    const struct {
        const char *name;
        std::function<bool(RowNode &)> steps;
        const char *shape;
    } rows[] = {
        { "groups keep old order", [](RowNode &t) { return group(&t, kLetter); }, "[A1 A2 A3] [B1 B2] C1" },
        { "regrouping dissolves old groups",
          [](RowNode &t) { return group(&t, kLetter) && group(&t, kParity, { kByN }); },
          "[B2 A2] [A3 C1 B1 A1]" },
        { "sorting without grouping flattens; former group rows stay as plain rows",
          [](RowNode &t) { return group(&t, kLetter) && ok(regroupByFieldNames({}, { kByN }, &t)); },
          "A3 B2 C1 A2 B1 B1 A1 A1" },
        { "multi-level",
          [](RowNode &t) {
              return ok(regroupRowNodesRecursive({ { kParity }, { kLetter } }, { {}, { kByN } }, &t));
          },
          "[A2 B2] [[A3 A1] B1 C1]" },
        { "children one level down; a group sorts by its first row",
          [](RowNode &t) { return group(&t, kParity) && ok(regroupChildrenBy({ kLetter }, { kByN }, &t)); },
          "[B2 A2] [[A3 A1] C1 B1]" },
        { "reverse turns every level",
          [](RowNode &t) { return group(&t, kLetter) && ok(reverse(&t)); },
          "C1 [B2 B1] [A3 A2 A1]" },
    };
    for (const auto &row : rows) {
        SCOPED_TRACE(row.name);
        RowNode table = lettersTable();
        ASSERT_TRUE(row.steps(table));
        EXPECT_EQ(shape(table, kName), QString::fromLatin1(row.shape));
        QList<RowNode *> nodes;
        RowNode::getAllRowNodeList(&table, nodes);
        for (const RowNode *node : nodes) {
            ASSERT_TRUE(node->parent()->children().contains(node));
        }
    }
}

TEST(RowNodeGrouperTest, NumericGroupingUsesTheRelativeTolerance)
{
    // CalcMr is a registered mass column, so it groups as numbers; X is text.
    const QList<VariantItems> rows = {
        { u"a"_qs, 1.0, u"1"_qs },       { u"b"_qs, 2.0, u"1.0"_qs },          { u"c"_qs, 1.0000000000001, u"1"_qs },
        { u"d"_qs, u"1"_qs, u"1.0"_qs }, { u"e"_qs, 1.000000000002, u"2"_qs },
    };
    RowNode table = makeTable({ kName, u"CalcMr"_qs, u"X"_qs }, rows);
    RowNode byText = table;
    ASSERT_TRUE(group(&table, u"CalcMr"_qs));
    EXPECT_EQ(shape(table, kName), u"[a c d] e b");
    ASSERT_TRUE(group(&byText, u"X"_qs));
    EXPECT_EQ(shape(byText, kName), u"[a c] [b d] e");
}

TEST(RowNodeGrouperTest, InfiniteAndNaNCellsGroupAndSortApart)
{
    const double inf = std::numeric_limits<double>::infinity();
    const double nan = std::numeric_limits<double>::quiet_NaN();
    // 5,000 scores 0–99, 1 % of them +inf: one group per score, one more for the infinite cells, last.
    std::mt19937 rng(11);
    std::uniform_int_distribution<int> score(0, 99);
    std::bernoulli_distribution infinite(0.01);
    QList<VariantItems> scores;
    int infinities = 0;
    for (int i = 0; i < 5000; ++i) {
        const bool isInfinite = infinite(rng);
        infinities += isInfinite ? 1 : 0;
        scores.append({ i, isInfinite ? inf : double(score(rng)) });
    }
    RowNode table = makeTable({ kName, u"Score"_qs }, scores);
    ASSERT_TRUE(group(&table, u"Score"_qs));
    ASSERT_EQ(table.getChildListSize(), 101);
    for (int g = 0; g < table.getChildListSize(); ++g) {
        for (const RowNode *row : RowNodeGrouper::childrenOrLeaf(table.getChild(g))) {
            ASSERT_EQ(row->getDataAt(1).toDouble(), g < 100 ? double(g) : inf) << "group " << g;
        }
    }
    EXPECT_EQ(table.getChild(100)->getChildListSize(), infinities);

    // NaN cells form one group, first when ascending.
    RowNode numbers = makeTable({ u"X"_qs }, { { nan }, { 1.0 }, { inf }, { -inf }, { nan }, { inf }, { 1.0 } });
    ASSERT_TRUE(group(&numbers, u"X:+:r"_qs));
    EXPECT_EQ(shape(numbers, u"X"_qs), u"[nan nan] -inf [1 1] [inf inf]");
}

TEST(RowNodeGrouperTest, NothingToGroupLeavesTheTreeAlone)
{
    RowNode single = makeTable({ kName, kLetter }, { { u"A1"_qs, u"A"_qs } });
    RowNode table = lettersTable();
    zeq::test::MessageGuard guard;
    for (const Error &err : {
             regroupByFieldNames({ kLetter }, {}, &single),
             regroupByFieldNames({ kLetter }, {}, nullptr),
             regroupByFieldNames({}, {}, &table),
         }) {
        EXPECT_FALSE(err.hasError());
    }
    // One grouping level without its sorting list is a caller's mistake, not "nothing to do".
    const Error uneven = regroupRowNodesRecursive({ { kLetter } }, {}, &table);
    EXPECT_EQ(uneven.code(), kBadParameterError);
    EXPECT_EQ(uneven.errorMessages(), QList<QString>{ u"1 grouping levels but 0 sorting levels"_qs });
    EXPECT_EQ(shape(single, kName) + u'|' + shape(table, kName), u"A1|A1 B1 A2 C1 B2 A3");
}

TEST(RowNodeGrouperTest, LeftJoinCopiesFromTheFirstMatchingRow)
{
    RowNode left = makeTable({ u"Key"_qs, u"Score"_qs },
                             { { u"p1"_qs, 1 }, { u"p2"_qs, 2 }, { u"p3"_qs, 3 }, { u"12"_qs, 4 }, { 1, 5 } });
    left.getChild(0)->addData(VariantItems{ u"extra"_qs }); // a row longer than the columns
    const QList<VariantItems> rightRows = {
        { u"p2"_qs, 20, u"second"_qs }, { u"p1"_qs, 10, u"first"_qs }, { u"p2"_qs, 21, u"shadowed"_qs },
        { 12, 30, u"twelve"_qs },       { 1.0, 40, u"one"_qs },
    };
    const RowNode right = makeTable({ u"Id"_qs, u"Score"_qs, u"Protein"_qs }, rightRows);
    ASSERT_TRUE(ok(leftJoin(right, { u"Key"_qs, u"Id"_qs }, { u"Protein"_qs, u"Score"_qs }, &left)));
    EXPECT_EQ(left.getRootDataAsStringList(), (QList<QString>{ u"Key"_qs, u"Score"_qs, u"Protein"_qs, u"Score"_qs }));
    EXPECT_EQ(left.getChild(0)->data(), (VariantItems{ u"p1"_qs, 1, u"first"_qs, 10 }));
    // QVariant equality across types: the text 12 matches the number 12, 1 matches 1.0.
    EXPECT_EQ(zeq::test::join(left.children(), u"Protein"_qs), u"first second  twelve one");
}

TEST(RowNodeGrouperTest, LeftJoinRejectsBadArgumentsCleanly)
{
    const RowNode right = makeTable({ u"Id"_qs, u"Protein"_qs }, { { u"p1"_qs, u"first"_qs } });
    RowNode left = makeTable({ u"Key"_qs }, { { u"p1"_qs } });
    const struct {
        ErrorCode code;
        Error err;
        QString message;
    } rows[] = {
        { kError,
          leftJoin(right, { u"Key"_qs, u"Id"_qs }, { u"Protein"_qs, u"Missing"_qs }, &left),
          u"No column Missing in the right table"_qs },
        { kBadParameterError,
          leftJoin(right, { QString(), u"Id"_qs }, { u"Protein"_qs }, &left),
          u"No key column named for the left table"_qs },
    };
    for (const auto &row : rows) {
        SCOPED_TRACE(row.message.toStdString());
        EXPECT_EQ(row.err.code(), row.code);
        EXPECT_EQ(row.err.errorMessages(), QList<QString>{ row.message });
    }
    EXPECT_EQ(left.getChild(0)->data(), VariantItems{ u"p1"_qs });
}

TEST(RowNodeGrouperTest, UnifyTablesMatchesColumnsByName)
{
    RowNode target = makeTable({ u"A"_qs, u"B"_qs }, { { 1, 2 } });
    const RowNode source = makeTable({ u"C"_qs, u"A"_qs }, { { u"c"_qs, 10 }, { u"d"_qs, 20 } });
    unifyTables(source, &target);
    EXPECT_EQ(target.getRootDataAsStringList(), (QList<QString>{ u"A"_qs, u"B"_qs, u"C"_qs }));
    EXPECT_EQ(target.getChild(0)->data(), (VariantItems{ 1, 2, QVariant() }));
    EXPECT_EQ(target.getChild(2)->data(), (VariantItems{ 20, QVariant(), u"d"_qs }));

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
}
