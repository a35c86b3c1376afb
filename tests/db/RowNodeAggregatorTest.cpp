#include "db/RowNodeAggregator.h"

#include "support/MessageGuard.h"
#include "support/RowTreeBuilder.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <memory>
#include <random>

using namespace zeq;
using S = AggregatorSettings;

namespace
{

const QString kValue = u"Value"_qs;

RowNode column(const VariantItems &cells)
{
    QList<VariantItems> rows;
    for (const QVariant &cell : cells) {
        rows.append({ cell });
    }
    return test::makeTable({ kValue }, rows);
}

QVariant aggregate(S::Type type, const RowNode &table)
{
    std::unique_ptr<AbstractAggregator> aggregator(AggregatorFactory::makeAggregator(type));
    for (const RowNode *row : table.children()) {
        aggregator->push(row, kValue);
    }
    return aggregator->value();
}

} // namespace

TEST(RowNodeAggregatorTest, KnownSamplesAndSkippedCells)
{
    // Text holding a number counts; letters, empty text, nulls and missing cells do not.
    const RowNode table = column({ 2, u"4"_qs, 4, 4.0, u"5"_qs, 5, u"x"_qs, u""_qs, QVariant(), 7, u"9"_qs });
    EXPECT_DOUBLE_EQ(aggregate(S::Avg, table).toDouble(), 5.0);
    EXPECT_NEAR(aggregate(S::StdDev, table).toDouble(), std::sqrt(32.0 / 7), 1e-12);
    EXPECT_EQ(aggregate(S::Min, table), QVariant(2.0));
    EXPECT_EQ(aggregate(S::Max, table), QVariant(9.0));

    const RowNode one = column({ u"3.5"_qs });
    EXPECT_EQ(aggregate(S::Avg, one), QVariant(3.5));
    EXPECT_EQ(aggregate(S::StdDev, one), QVariant(0.0));
}

// Welford's update must agree with the textbook two-pass formulas, also far from zero where a
// naive sum of squares loses every digit.
TEST(RowNodeAggregatorTest, WelfordMatchesTwoPassOnRandomData)
{
    std::mt19937 rng(3);
    const int n = 2000;
    for (const double offset : { 0.0, 1e9 }) {
        std::normal_distribution<double> noise(offset, 2.5);
        VariantItems cells;
        double mean = 0.0;
        for (int i = 0; i < n; ++i) {
            cells.append(noise(rng));
            mean += cells.last().toDouble() / n;
        }
        double squares = 0.0;
        for (const QVariant &cell : cells) {
            squares += (cell.toDouble() - mean) * (cell.toDouble() - mean);
        }
        const double sd = std::sqrt(squares / (n - 1));

        const RowNode table = column(cells);
        SCOPED_TRACE(offset);
        EXPECT_NEAR(aggregate(S::Avg, table).toDouble(), mean, 1e-12 * std::max(1.0, offset));
        EXPECT_NEAR(aggregate(S::StdDev, table).toDouble(), sd, 1e-6 * sd);
        EXPECT_NEAR(aggregate(S::Sem, table).toDouble(), sd / std::sqrt(double(n)), 1e-6 * sd);
    }
}

TEST(RowNodeAggregatorTest, FactoryAndColumnNames)
{
    test::MessageGuard guard;
    EXPECT_EQ(AggregatorFactory::makeAggregator(S::None), nullptr);
    EXPECT_TRUE(guard.contains(u"Invalid aggregator requested!"_qs));

    EXPECT_EQ(S::makeColumnName(S::Sem, u"Score"_qs), u"SemScore");
}

// A NaN cell is a missing value and is skipped like text; infinities take part and dominate.
TEST(RowNodeAggregatorTest, NaNIsSkippedAndInfinitiesDominate)
{
    const double inf = std::numeric_limits<double>::infinity();
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const struct {
        const char *name;
        VariantItems cells;
        QVariant min, max;
        double mean, stdDev, sem;
    } rows[] = {
        { "NaN anywhere is skipped", { nan, 1.0, nan, 3.0, u"nan"_qs }, 1.0, 3.0, 2.0, std::sqrt(2.0), 1.0 },
        { "+inf after finite values", { 1.0, inf, 3.0 }, 1.0, inf, inf, inf, inf },
        { "both infinities", { 1.0, -inf, inf }, -inf, inf, nan, inf, inf },
    };
    auto same = [](double a, double b) { return (std::isnan(a) && std::isnan(b)) || a == b; };
    for (const auto &row : rows) {
        SCOPED_TRACE(row.name);
        const RowNode table = column(row.cells);
        EXPECT_EQ(aggregate(S::Min, table), row.min);
        EXPECT_EQ(aggregate(S::Max, table), row.max);
        EXPECT_TRUE(same(aggregate(S::Avg, table).toDouble(), row.mean)) << aggregate(S::Avg, table).toDouble();
        EXPECT_TRUE(same(aggregate(S::StdDev, table).toDouble(), row.stdDev)) << aggregate(S::StdDev, table).toDouble();
        EXPECT_TRUE(same(aggregate(S::Sem, table).toDouble(), row.sem)) << aggregate(S::Sem, table).toDouble();
    }
}

TEST(RowNodeAggregatorTest, UniquesMergeIntegerTypesKeepOthersApartAndCountNulls)
{
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const RowNode table = column({ 1, 1.0, qlonglong(1), 1u, true, u"1"_qs, QVariant(), QVariant(), u""_qs, nan, nan });
    UniquesAggregator uniques;
    for (const RowNode *row : table.children()) {
        uniques.push(row, kValue);
    }
    QList<QString> seen;
    for (const QVariant &value : uniques.value()) {
        seen.append(QStringLiteral("%1:%2").arg(QString::fromLatin1(value.typeName()), value.toString()));
    }
    seen.sort();
    EXPECT_EQ(
        seen,
        (QList<QString>{ u":"_qs, u"QString:"_qs, u"QString:1"_qs, u"double:1"_qs, u"double:nan"_qs, u"int:1"_qs }));
}
