#include "zeq_common_core_mini/GroupSummary.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

TEST(GroupSummaryTest, EachMethodSummarisesTheUsableCells)
{
    const VariantItems values = { 2, u"4.5"_qs, QVariant(), u"x"_qs, u""_qs, 2, -1.5 };
    const struct {
        ColumnFriendlyName::GroupingMethod method;
        QVariant expected;
    } rows[] = {
        { ColumnFriendlyName::First, u"first"_qs },
        { ColumnFriendlyName::Mean, 7.0 / 4 },
        { ColumnFriendlyName::Max, 4.5 },
        { ColumnFriendlyName::Count, 5 },
        { ColumnFriendlyName::JoinUnique, u"2; 4.5; x; -1.5"_qs },
        { ColumnFriendlyName::GroupingMethod(42), u"first"_qs },
    };
    const rn::GroupSummary summary;
    for (const auto &row : rows) {
        SCOPED_TRACE(int(row.method));
        FriendlyNameStruct field;
        field.groupingMethod = row.method;
        const QVariant value = summary.makeValue(values, u"first"_qs, field);
        EXPECT_EQ(value, row.expected);
        EXPECT_EQ(value.typeId(), row.expected.typeId());
    }
}

TEST(GroupSummaryTest, NaNIsSkippedWhereverItStandsAndInfinitiesCount)
{
    const double inf = std::numeric_limits<double>::infinity();
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const struct {
        ColumnFriendlyName::GroupingMethod method;
        VariantItems values;
        double expected;
    } rows[] = {
        { ColumnFriendlyName::Min, { nan, 3.0, 1.0 }, 1.0 },
        { ColumnFriendlyName::Max, { 3.0, nan, 1.0 }, 3.0 },
        { ColumnFriendlyName::Sum, { 3.0, inf, nan }, inf },
    };
    for (size_t i = 0; i < std::size(rows); ++i) {
        SCOPED_TRACE(i);
        const auto &row = rows[i];
        FriendlyNameStruct field;
        field.groupingMethod = row.method;
        const double value = rn::GroupSummary().makeValue(row.values, {}, field).toDouble();
        EXPECT_TRUE(value == row.expected || (std::isnan(value) && std::isnan(row.expected))) << value;
    }
    FriendlyNameStruct field;
    field.groupingMethod = ColumnFriendlyName::Max;
    EXPECT_TRUE(rn::GroupSummary().makeValue({ nan }, {}, field).isNull());
}
