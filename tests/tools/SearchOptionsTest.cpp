#include "SearchOptions.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace zeq::cli;

namespace
{

struct Row {
    const char *name;
    QStringList args;
    const char *usageError; ///< empty when accepted
    double sigmaAt1000; ///< the model's σ at m/z 1000, m/z
    double sigmaAt4000;
};

void PrintTo(const Row &row, std::ostream *os)
{
    *os << row.name;
}

class SearchOptionsTest : public ::testing::TestWithParam<Row>
{
};

} // namespace

// The σ that a plot draws must be the one the search fitted with, for every scaling and unit.
TEST_P(SearchOptionsTest, ReadsTheWidthTheSearchUses)
{
    const Row &row = GetParam();
    CommandParser cmd(u"test"_qs, QString(), QString(), QString());
    SearchOptions::add(cmd);
    ASSERT_EQ(cmd.parse(row.args, 0, 0), std::nullopt);
    const SearchOptions search = SearchOptions::read(cmd);
    EXPECT_EQ(cmd.usageError(), QString::fromUtf8(row.usageError));
    if (!cmd.usageError().isEmpty()) {
        return;
    }
    EXPECT_NEAR(search.sigmaAt(1000.0), row.sigmaAt1000, 1e-12);
    EXPECT_NEAR(search.sigmaAt(4000.0), row.sigmaAt4000, 1e-12);
}

INSTANTIATE_TEST_SUITE_P(
    Rows,
    SearchOptionsTest,
    ::testing::Values(Row{ "Defaults", {}, "", 0.015, 0.030 },
                      Row{ "PpmDefaultIsTheSameWidthAt1000", { u"--scaling"_qs, u"PPM"_qs }, "", 0.015, 0.060 },
                      Row{ "Constant", { u"--scaling"_qs, u"constant"_qs, u"--sigma"_qs, u"0.02"_qs }, "", 0.02, 0.02 },
                      // A refused value is reported, not the crossing that its fallback would cause.
                      Row{ "FirstRefusalWins",
                           { u"--min-charge"_qs, u"2.5"_qs, u"--max-charge"_qs, u"0"_qs },
                           "--min-charge needs a whole number, got \"2.5\"",
                           0.0,
                           0.0 }),
    [](const ::testing::TestParamInfo<Row> &info) { return std::string(info.param.name); });
