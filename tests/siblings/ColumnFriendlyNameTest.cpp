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
        { kCalcMr, T::Mass },     { kMs2ChargeState, T::Integer },         { kScore, T::Double },
        { ksequence, T::String }, { kProteinCoveragePercent, T::Percent },
    };
    for (const auto &row : rows) {
        SCOPED_TRACE(row.name.toStdString());
        const FriendlyNameStruct field = ColumnFriendlyName::field(row.name);
        EXPECT_EQ(field.dataType, row.type);
    }
}
