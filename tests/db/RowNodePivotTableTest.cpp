#include "db/RowNodePivotTable.h"

#include "support/MessageGuard.h"
#include "support/RowTreeBuilder.h"

#include <gtest/gtest.h>

#include <limits>
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
    return test::join(rows, u"Name"_qs);
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

TEST(RowNodePivotTableTest, CellsForEachLayout)
{
    const QList<VariantItems> rows = {
        { u"n1"_qs, u"B"_qs, u"x"_qs, u"ox"_qs, 5.0 },
        { u"n2"_qs, u"A"_qs, u"y"_qs, u"ox"_qs, 2.0 },
        { u"n3"_qs, u"A"_qs, u"x"_qs, u"ox"_qs, 7.0 },
        { u"n4"_qs, u"A"_qs, u"x"_qs, u"ac"_qs, 1.0 },
        { u"n5"_qs, u"A"_qs, u"x"_qs, u"ox"_qs, 9.0 },
        { u"n6"_qs, u""_qs, u"x"_qs, QVariant(), QVariant() },
        { u"n7"_qs, QVariant(), u""_qs, QVariant(), QVariant() },
    };
    RowNode source = test::makeTable({ u"Name"_qs, u"Row"_qs, u"Col"_qs, u"Mod"_qs, u"Score"_qs }, rows);
    source.addChild(new RowNode(VariantItems{ u"n8"_qs, u"A"_qs }, &source)); // a short row: no Col cell
    Options thirdLevel = crossing(u"Row"_qs, u"Col"_qs);
    thirdLevel.groupBy = { u"Mod"_qs };
    thirdLevel.sortBy = { u"Score:-"_qs };
    const struct {
        const char *name;
        Options options;
        QString cells;
    } layouts[] = {
        { "crossing, empty values get their own label",
          crossing(u"Row"_qs, u"Col"_qs),
          u"(empty)/(empty):n7 (empty)/x:n6 (empty)/y: A/(empty):n8 A/x:n3 n4 n5 A/y:n2 B/(empty): B/x:n1 B/y:"_qs },
        { "a third level orders rows inside each cell",
          thirdLevel,
          u"(empty)/(empty):n7 (empty)/x:n6 (empty)/y: A/(empty):n8 A/x:n4 n5 n3 A/y:n2 B/(empty): B/x:n1 B/y:"_qs },
    };
    for (const auto &layout : layouts) {
        SCOPED_TRACE(layout.name);
        RowNodePivotTable pivot(source);
        ASSERT_FALSE(pivot.makePivotTable(layout.options).hasError());
        EXPECT_EQ(cells(pivot), layout.cells);
        EXPECT_EQ(test::join(pivot.source()->children(), u"Name"_qs), u"n1 n2 n3 n4 n5 n6 n7 n8");
    }
}

TEST(RowNodePivotTableTest, LabelOrderByStrategyAndColumnType)
{
    // Label is unregistered text, ScanNumber a registered integer, Score a registered double.
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
        { "text mode", "ScanNumber", RowNodePivotTable::UseOptions, Options::Text, asText },
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
    }
}

TEST(RowNodePivotTableTest, NonFiniteNumbersGetTheirOwnLabelsNaNFirst)
{
    const double inf = std::numeric_limits<double>::infinity();
    const double nan = std::numeric_limits<double>::quiet_NaN();
    // Score is a registered double column: it groups as numbers and its labels sort as numbers.
    const RowNode scores = test::makeTable({ u"Name"_qs, u"Score"_qs, u"Col"_qs },
                                           { { u"n1"_qs, 1.0, u"x"_qs },
                                             { u"n2"_qs, inf, u"x"_qs },
                                             { u"n3"_qs, nan, u"y"_qs },
                                             { u"n4"_qs, -inf, u"x"_qs },
                                             { u"n5"_qs, inf, u"y"_qs },
                                             { u"n6"_qs, 1.0, u"y"_qs },
                                             { u"n7"_qs, nan, u"x"_qs } });
    RowNodePivotTable pivot(scores);
    ASSERT_FALSE(pivot.makePivotTable(crossing(u"Score"_qs, u"Col"_qs)).hasError());
    EXPECT_EQ(cells(pivot), u"nan/x:n7 nan/y:n3 -inf/x:n4 -inf/y: 1/x:n1 1/y:n6 inf/x:n2 inf/y:n5");
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
    EXPECT_TRUE(guard.contains(u"Unhandled type: \"Boolean\""_qs));
    EXPECT_EQ(pivot.pivotRowNames(), (QList<QString>{ u"false"_qs, u"true"_qs }));
}

// The cells point into the table's own tree; a copy must point into its own.
TEST(RowNodePivotTableTest, CopiesOwnTheRowsTheirCellsList)
{
    std::optional<RowNodePivotTable> original(RowNodePivotTable(
        test::makeTable({ u"Name"_qs, u"Row"_qs }, { { u"n1"_qs, u"A"_qs }, { u"n2"_qs, u"A"_qs } })));
    ASSERT_FALSE(original->makePivotTable(crossing(u"Row"_qs, u"Nope"_qs)).hasError());
    RowNodePivotTable copy = *original;
    const RowNode *originalRoot = original->pivotItemAt(0, 0).first()->root();
    original.reset();
    EXPECT_NE(copy.pivotItemAt(0, 0).first()->root(), originalRoot);
    EXPECT_EQ(names(copy.pivotItemAt(0, 0)), u"n1 n2");
}
