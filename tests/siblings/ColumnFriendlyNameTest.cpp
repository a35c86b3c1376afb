#include "zeq_common_core_mini/ColumnFriendlyName.h"

#include "constants/StringConstants.h"

#include <gtest/gtest.h>

// The registry spells the library's exported column names itself; a renamed constant must not
// silently turn a numeric column into text.
TEST(ColumnFriendlyNameTest, KnowsTheLibrarysNumericAndTextColumns)
{
    using T = FriendlyNameStruct;
    const struct {
        const QString &name;
        T::DataType type;
    } rows[] = {
        { kCalcMr, T::Mass },        { kObservedMz, T::Mass },
        { kMonoIsoMass, T::Mass },   { kMs2ChargeState, T::Integer },
        { kScore, T::Double },       { kIntensity, T::Double },
        { kScanNumber, T::Integer }, { kProteinCoveragePercent, T::Percent },
        { ksequence, T::String },    { kProteinName, T::String },
    };
    for (const auto &row : rows) {
        SCOPED_TRACE(row.name.toStdString());
        const FriendlyNameStruct field = ColumnFriendlyName::field(row.name);
        EXPECT_FALSE(field.displayName.isEmpty());
        EXPECT_EQ(field.dataType, row.type);
        EXPECT_TRUE(ColumnFriendlyName::getColumnFriendlyNames().contains(row.name));
    }
}

TEST(ColumnFriendlyNameTest, SpecificationMarksFallBackToTheNameAndUnknownIsPlainText)
{
    EXPECT_EQ(ColumnFriendlyName::field(u"Score:-"_qs), ColumnFriendlyName::field(kScore));
    EXPECT_EQ(ColumnFriendlyName::field(u"Mass:-"_qs), FriendlyNameStruct());
    EXPECT_EQ(ColumnFriendlyName::field(u":Score"_qs), FriendlyNameStruct());
    EXPECT_EQ(ColumnFriendlyName::field(u"score"_qs), FriendlyNameStruct());
}

TEST(ColumnFriendlyNameTest, UnknownTypeCodesAreNamedByTheirNumber)
{
    EXPECT_EQ(FriendlyNameStruct::typeToString(FriendlyNameStruct::DataType(9)), u"Unknown(9)");
}
