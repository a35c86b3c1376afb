#include "db/RowNodePivotTable.h"

#include "support/MessageGuard.h"
#include "support/RowTreeBuilder.h"

#include <gtest/gtest.h>

#include <memory>
#include <optional>

using namespace zeq;
using Options = RowNodePivotTableOptions;

namespace
{

Options crossing(const QString &rows, const QString &cols)
{
    Options options;
    options.rows = { rows };
    options.cols = { cols };
    return options;
}

QString names(const QList<RowNode *> &rows)
{
    QList<QString> texts;
    for (const RowNode *row : rows) {
        texts.append(row->getDataAt(u"Name"_qs).toString());
    }
    return texts.join(u' ');
}

// Every cell as "row/column:names", row-major.
QString cells(const RowNodePivotTable &pivot)
{
    QList<QString> texts;
    for (int r = 0; r < pivot.rowCount(); ++r) {
        for (int c = 0; c < pivot.columnCount(); ++c) {
            texts.append(
                QStringLiteral("%1/%2:%3")
                    .arg(pivot.pivotRowNames()[r], pivot.pivotColumnNames()[c], names(pivot.pivotItemAt(r, c))));
        }
    }
    return texts.join(u' ');
}

} // namespace

TEST(RowNodePivotTableTest, CrossesTwoColumns)
{
    const RowNode source = test::makeTable({ u"Name"_qs, u"Row"_qs, u"Col"_qs },
                                           { { u"n1"_qs, u"B"_qs, u"x"_qs },
                                             { u"n2"_qs, u"A"_qs, u"y"_qs },
                                             { u"n3"_qs, u"A"_qs, u"x"_qs },
                                             { u"n4"_qs, u"A"_qs, u"x"_qs } });
    RowNodePivotTable pivot(source);
    ASSERT_FALSE(pivot.makePivotTable(crossing(u"Row"_qs, u"Col"_qs)).hasError());
    EXPECT_EQ(pivot.pivotRowNames(), (QList<QString>{ u"A"_qs, u"B"_qs }));
    EXPECT_EQ(pivot.pivotColumnNames(), (QList<QString>{ u"x"_qs, u"y"_qs }));
    EXPECT_EQ(cells(pivot), u"A/x:n3 n4 A/y:n2 B/x:n1 B/y:");
    EXPECT_FALSE(pivot.isPivotRowNamesHidden() || pivot.isPivotColumnNamesHidden());
    EXPECT_TRUE(pivot.pivotItemAt(2, 0).isEmpty());
    EXPECT_TRUE(pivot.pivotItemAt(0, -1).isEmpty());
    EXPECT_EQ(pivot.source()->getChildListSize(), 4); // the source copy is not regrouped
    EXPECT_EQ(test::shape(pivot.pivotTable(), u"Name"_qs), u"[[n3 n4] n2] n1");
}

TEST(RowNodePivotTableTest, LabelOrderByStrategyAndColumnType)
{
    // The same values three ways: Label as text (unregistered), ScanNumber (registered integer)
    // and Score (registered double) as numbers. Numeric columns also group numerically, so their
    // labels arrive as 9, 9.5, 10.
    const RowNode source =
        test::makeTable({ u"Label"_qs, u"ScanNumber"_qs, u"Score"_qs },
                        { { u"10"_qs, 10.0, 10.0 }, { u"9.5"_qs, 9.5, 9.5 }, { u"9"_qs, 9.0, 9.0 } });
    const QList<QString> asText = { u"10"_qs, u"9"_qs, u"9.5"_qs };
    const QList<QString> asInteger = { u"9.5"_qs, u"9"_qs, u"10"_qs }; // 9.5 is no integer: 0
    const QList<QString> asDouble = { u"9"_qs, u"9.5"_qs, u"10"_qs };
    const struct {
        const char *name;
        const char *column;
        RowNodePivotTable::SortingStrategy strategy;
        Options::SortMode mode;
        QList<QString> labels;
    } rows[] = {
        { "integer column", "ScanNumber", RowNodePivotTable::UseColumnType, Options::Text, asInteger },
        { "double column", "Score", RowNodePivotTable::UseColumnType, Options::Text, asDouble },
        { "unregistered column", "Label", RowNodePivotTable::UseColumnType, Options::Integer, asText },
        { "text mode", "ScanNumber", RowNodePivotTable::UseOptions, Options::Text, asText },
        { "integer mode", "Label", RowNodePivotTable::UseOptions, Options::Integer, asInteger },
        { "double mode", "Label", RowNodePivotTable::UseOptions, Options::Double, asDouble },
        { "unknown strategy", "ScanNumber", RowNodePivotTable::SortingStrategy(7), Options::Text, asDouble },
        { "unknown mode", "ScanNumber", RowNodePivotTable::UseOptions, Options::SortMode(9), asDouble },
    };
    for (const auto &row : rows) {
        SCOPED_TRACE(row.name);
        RowNodePivotTable pivot(source);
        pivot.setSortingStrategy(row.strategy);
        Options options = crossing(QString::fromLatin1(row.column), QString::fromLatin1(row.column));
        options.rowSortMode = row.mode;
        options.colSortMode = row.mode;
        ASSERT_FALSE(pivot.makePivotTable(options).hasError());
        EXPECT_EQ(pivot.pivotRowNames(), row.labels);
        EXPECT_EQ(pivot.pivotColumnNames(), row.labels);
    }
}

TEST(RowNodePivotTableTest, EmptyValuesGetTheirOwnLabel)
{
    const RowNode source = test::makeTable({ u"Name"_qs, u"Row"_qs, u"Col"_qs },
                                           { { u"n1"_qs, u"B"_qs, u"x"_qs },
                                             { u"n2"_qs, u""_qs, u"x"_qs },
                                             { u"n3"_qs, QVariant(), u""_qs },
                                             { u"n4"_qs, u"A"_qs } }); // a short row: no Col cell
    RowNodePivotTable pivot(source);
    ASSERT_FALSE(pivot.makePivotTable(crossing(u"Row"_qs, u"Col"_qs)).hasError());
    EXPECT_EQ(pivot.pivotRowNames(), (QList<QString>{ u"(empty)"_qs, u"A"_qs, u"B"_qs }));
    EXPECT_EQ(cells(pivot), u"(empty)/(empty):n3 (empty)/x:n2 A/(empty):n4 A/x: B/(empty): B/x:n1");
}

TEST(RowNodePivotTableTest, NoFieldsGiveOneHiddenCellWithEveryRow)
{
    const RowNode source =
        test::makeTable({ u"Name"_qs, u"G"_qs }, { { u"n1"_qs, 2 }, { u"n2"_qs, 1 }, { u"n3"_qs, 2 } });
    RowNodePivotTable pivot(source);
    Options options;
    options.groupBy = { u"G"_qs };
    ASSERT_FALSE(pivot.makePivotTable(options).hasError());
    EXPECT_TRUE(pivot.isPivotRowNamesHidden());
    EXPECT_TRUE(pivot.isPivotColumnNamesHidden());
    EXPECT_EQ(pivot.pivotRowNames(), QList<QString>{ RowNodePivotTable::HIDDEN_ROW_LABEL });
    EXPECT_EQ(names(pivot.pivotItemAt(0, 0)), u"n1 n2 n3");

    RowNodePivotTable empty(test::makeTable({ u"Name"_qs }, {}));
    ASSERT_FALSE(empty.makePivotTable(crossing(u"Name"_qs, u"Nope"_qs)).hasError());
    EXPECT_EQ(empty.rowCount(), 0);
    EXPECT_TRUE(empty.pivotItemAt(0, 0).isEmpty());
}

TEST(RowNodePivotTableTest, ThirdLevelOrdersRowsInsideEachCell)
{
    const RowNode source = test::makeTable({ u"Name"_qs, u"Row"_qs, u"Col"_qs, u"Mod"_qs, u"Score"_qs },
                                           { { u"n1"_qs, u"A"_qs, u"x"_qs, u"ox"_qs, 5.0 },
                                             { u"n2"_qs, u"A"_qs, u"x"_qs, u"ac"_qs, 1.0 },
                                             { u"n3"_qs, u"A"_qs, u"x"_qs, u"ox"_qs, 9.0 },
                                             { u"n4"_qs, u"A"_qs, u"y"_qs, u"ox"_qs, 2.0 } });
    RowNodePivotTable pivot(source);
    Options options = crossing(u"Row"_qs, u"Col"_qs);
    options.groupBy = { u"Mod"_qs };
    options.sortBy = { u"Score:-"_qs };
    ASSERT_FALSE(pivot.makePivotTable(options).hasError());
    EXPECT_EQ(cells(pivot), u"A/x:n2 n3 n1 A/y:n4");
}

TEST(RowNodePivotTableTest, ExtraFieldsAndUnknownTypesAreReported)
{
    const RowNode source = test::makeTable({ u"Name"_qs, u"Selected"_qs }, { { u"n1"_qs, true }, { u"n2"_qs, false } });
    RowNodePivotTable pivot(source);
    test::MessageGuard guard;
    Options options = crossing(u"Selected"_qs, u"Name"_qs);
    options.rows.append(u"Name"_qs);
    options.cols.append(u"Selected"_qs);
    ASSERT_FALSE(pivot.makePivotTable(options).hasError());
    EXPECT_TRUE(guard.contains(u"More then one row fields provided, support not implemented yet!"_qs));
    EXPECT_TRUE(guard.contains(u"More then one column fields provided, support not implemented yet!"_qs));
    EXPECT_TRUE(guard.contains(u"Unhandled type: \"Boolean\""_qs));
    EXPECT_TRUE(guard.contains(u"Using sort rule 0"_qs));
    EXPECT_EQ(pivot.pivotRowNames(), (QList<QString>{ u"false"_qs, u"true"_qs }));
    EXPECT_EQ(pivot.options().rows.size(), 2);

    EXPECT_EQ(std::unique_ptr<Comparator>(fromSortMode(Options::SortMode(3))), nullptr);
    EXPECT_TRUE(guard.contains(u"unhandled sort mode 3"_qs));
}

// The cells point into the table's own tree; a copy must point into its own.
TEST(RowNodePivotTableTest, CopiesOwnTheRowsTheirCellsList)
{
    std::optional<RowNodePivotTable> original(RowNodePivotTable(
        test::makeTable({ u"Name"_qs, u"Row"_qs }, { { u"n1"_qs, u"A"_qs }, { u"n2"_qs, u"A"_qs } })));
    Options options;
    options.rows = { u"Row"_qs };
    ASSERT_FALSE(original->makePivotTable(options).hasError());
    RowNodePivotTable copy = *original;
    const RowNode *originalRoot = original->pivotItemAt(0, 0).first()->root();
    original.reset();
    ASSERT_EQ(copy.pivotItemAt(0, 0).size(), 2);
    EXPECT_NE(copy.pivotItemAt(0, 0).first()->root(), originalRoot);
    EXPECT_EQ(names(copy.pivotItemAt(0, 0)), u"n1 n2");

    RowNodePivotTable assigned(RowNode{});
    assigned = copy;
    RowNodePivotTable moved(std::move(copy));
    EXPECT_EQ(names(moved.pivotItemAt(0, 0)), u"n1 n2");
    EXPECT_EQ(names(assigned.pivotItemAt(0, 0)), u"n1 n2");
}
