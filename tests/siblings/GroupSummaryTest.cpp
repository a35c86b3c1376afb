#include "zeq_common_core_mini/GroupSummary.h"

#include <gtest/gtest.h>

TEST(GroupSummaryTest, EachMethodSummarisesTheUsableCells)
{
    const VariantItems values = { 2, u"4.5"_qs, QVariant(), u"x"_qs, u""_qs, 2, -1.5 };
    const struct {
        ColumnFriendlyName::GroupingMethod method;
        QVariant expected;
    } rows[] = {
        { ColumnFriendlyName::First, u"first"_qs },
        { ColumnFriendlyName::Sum, 7.0 },
        { ColumnFriendlyName::Mean, 7.0 / 4 },
        { ColumnFriendlyName::Min, -1.5 },
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

TEST(GroupSummaryTest, NumericMethodsWithoutNumbersGiveNull)
{
    FriendlyNameStruct field;
    field.groupingMethod = ColumnFriendlyName::Mean;
    EXPECT_TRUE(rn::GroupSummary().makeValue({ u"a"_qs, QVariant() }, u"a"_qs, field).isNull());
    field.groupingMethod = ColumnFriendlyName::JoinUnique;
    EXPECT_EQ(rn::GroupSummary(u"|"_qs).makeValue({ u"b"_qs, u"a"_qs, u"b"_qs }, {}, field), QVariant(u"b|a"_qs));
}
