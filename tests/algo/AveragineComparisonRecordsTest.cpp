#include "algo/AveragineComparisonRecords.h"

#include <gtest/gtest.h>

#include <cmath>
#include <tuple>

using namespace zeq;

namespace
{

ChargeScoreInfo cluster(int charge, double mono)
{
    ChargeScoreInfo info;
    info.charge = charge;
    info.mzOffset = mono;
    return info;
}

QList<double> sortedMonos(QList<ChargeScoreInfo> list)
{
    sortByMzForCharge(list);
    QList<double> out;
    for (const ChargeScoreInfo &info : list) {
        out.append(info.mzOffset);
    }
    return out;
}

} // namespace

TEST(AveragineComparisonRecordsTest, OrderingSortingAndUniqueness)
{
    // Charges first, whatever the m/z; m/z only within one charge.
    EXPECT_TRUE(charge_mz_Less(cluster(2, 900.0), cluster(3, 500.0)));
    EXPECT_TRUE(charge_mz_Less(cluster(2, 500.0), cluster(2, 900.0)));

    EXPECT_EQ(sortedMonos({ cluster(2, 900), cluster(2, 700), cluster(2, 800), cluster(3, 600), cluster(3, 500) }),
              (QList<double>{ 700, 800, 900, 500, 600 }));
    // Runs are consecutive entries: a charge seen again later starts a run of its own.
    EXPECT_EQ(sortedMonos({ cluster(2, 9), cluster(2, 8), cluster(3, 7), cluster(2, 6), cluster(2, 5) }),
              (QList<double>{ 8, 9, 7, 5, 6 }));

    const QList<ChargeScoreInfo> list{ cluster(2, 1000.0) };
    EXPECT_FALSE(isUniqueInMonoList(list, cluster(2, 1000.0000005)));
    EXPECT_TRUE(isUniqueInMonoList(list, cluster(2, 1000.00001)));
    TestParameters tp;
    tp.stdDev = 10.0; // ppm: σ = 0.01 at m/z 1000
    EXPECT_FALSE(areUnique(tp, cluster(2, 1000.0), cluster(2, 1000.009)));
    EXPECT_TRUE(areUnique(tp, cluster(2, 1000.0), cluster(2, 1000.011)));
}

TEST(AveragineComparisonRecordsTest, TextFormRoundTripsAndReading)
{
    using Values = std::tuple<double, int, double, double>;
    const auto read = [](const QString &text) {
        Values v{ -1.0, -1, -1.0, -1.0 };
        makeMonoChargeYScaleStdDevFromString(text, std::get<0>(v), std::get<1>(v), std::get<2>(v), std::get<3>(v));
        return v;
    };
    EXPECT_EQ(makeMonoChargeYScaleStdDevToString(1000.5, 2, 1500.0, 0.01), u"1000.5,+2,1.500000000000e+03,0.01");
    for (const Values &v : { Values{ 1000.5, 7, 1500.0, 0.01 }, Values{ 812.123456789, 7, 3.25e-7, 0.004 } }) {
        const auto [mono, charge, scale, sigma] =
            read(makeMonoChargeYScaleStdDevToString(std::get<0>(v), std::get<1>(v), std::get<2>(v), std::get<3>(v)));
        EXPECT_NEAR(mono, std::get<0>(v), 1e-11 * mono);
        EXPECT_EQ(charge, std::get<1>(v));
        EXPECT_NEAR(scale, std::get<2>(v), 1e-11 * scale);
        EXPECT_NEAR(sigma, std::get<3>(v), 1e-11 * sigma);
    }

    const Values unread{ -1.0, -1, -1.0, -1.0 };
    const struct {
        const char *text;
        Values expected;
    } rows[] = {
        { "mono: 812.4\t, 3 , 2e+2 ,.5 end", { 812.4, 3, 200.0, 0.5 } },
        // The search is not anchored: it finds the form after the exponent's digits.
        { "1e+03,+2,1.5e+03,0.01", { 3.0, 2, 1500.0, 0.01 } },
        { "1000.5,-2,1.5e-03,0.01", unread },
        { "1000.5,+99999999999,1.5e+03,0.01", unread },
        { "1000.5,+2,1.5e+03", unread },
    };
    for (const auto &row : rows) {
        EXPECT_EQ(read(QString::fromUtf8(row.text)), row.expected) << row.text;
    }
}
