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

// --snr keeps points at least `ratio` times the median of the positive intensities: zeros (a
// profile's baseline) and unusable values neither count towards the median nor survive.
TEST(SignalToNoiseTest, KeepsPointsAboveAMultipleOfTheMedian)
{
    const double nan = std::nan("");
    const struct {
        const char *name;
        QList<double> intensities;
        double ratio;
        double noise;
        QList<double> kept;
    } rows[] = {
        { "odd count", { 1, 2, 100, 3, 4 }, 3.0, 3.0, { 100 } },
        { "even count", { 8, 2, 6, 4 }, 1.2, 5.0, { 8, 6 } },
        { "baseline zeros", { 0, 0, 0, 0, 5, 10, 20 }, 1.0, 10.0, { 10, 20 } },
        { "unusable values", { nan, -1, 3, 9, INFINITY }, 1.0, 6.0, { 9 } },
        { "nothing positive", { 0, 0 }, 1.0, 0.0, {} },
    };
    for (const auto &row : rows) {
        SCOPED_TRACE(row.name);
        QList<QPointF> points;
        for (qsizetype i = 0; i < row.intensities.size(); ++i) {
            points.append(QPointF(100.0 + double(i), row.intensities.at(i)));
        }
        EXPECT_EQ(noiseLevel(points), row.noise);
        QList<double> kept;
        for (const QPointF &p : keepAboveNoise(points, row.ratio)) {
            kept.append(p.y());
        }
        EXPECT_EQ(kept, row.kept);
    }
}
