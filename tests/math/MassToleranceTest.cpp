#include "math/MassTolerance.h"

#include <QJsonObject>

#include <gtest/gtest.h>

using zeq::MassTolerance;

TEST(MassToleranceTest, UnitTextSelectsPpmOnlyForPpm)
{
    MassTolerance tolerance(MassTolerance::Dalton, 1.0);
    tolerance.setUnit(u" PpM "_qs);
    EXPECT_EQ(tolerance.unit(), MassTolerance::ppm);
    // JSON is not trimmed.
    const QJsonObject json{ { u"value"_qs, 5.0 }, { u"unit"_qs, u" PPM "_qs } };
    EXPECT_EQ(MassTolerance::fromJson(json).unit(), MassTolerance::Dalton);
}

TEST(MassToleranceTest, JsonRoundTripsAndReadsLeniently)
{
    const MassTolerance tolerance(MassTolerance::ppm, 4.5);
    EXPECT_EQ(MassTolerance::fromJson(tolerance.toJson()), tolerance);
    const MassTolerance missing = MassTolerance::fromJson(QJsonObject{ { u"unit"_qs, 3 } });
    EXPECT_EQ(missing, MassTolerance(MassTolerance::Dalton, 0.0));
}

TEST(MassToleranceTest, WindowsArePpmAsymmetricAndDaltonClamped)
{
    const auto ppm = MassTolerance(MassTolerance::ppm, 10.0).getBounds(1000.0);
    ASSERT_TRUE(ppm.hasValue());
    EXPECT_DOUBLE_EQ(ppm.value().lower, 999.99);
    EXPECT_DOUBLE_EQ(ppm.value().upper, 1000.0 / 0.99999);

    const auto dalton = MassTolerance(MassTolerance::Dalton, 10.0).getBounds(5.0);
    ASSERT_TRUE(dalton.hasValue());
    EXPECT_DOUBLE_EQ(dalton.value().lower, 0.0);
    EXPECT_DOUBLE_EQ(dalton.value().upper, 15.0);
}

TEST(MassToleranceTest, BoundsFailForOneMillionPpmAndUnknownUnits)
{
    const auto million = MassTolerance(MassTolerance::ppm, 1e6).getBounds(500.0);
    ASSERT_FALSE(million.hasValue());
    EXPECT_EQ(million.error().code(), kBadParameterError);

    const auto unknown = MassTolerance(static_cast<MassTolerance::MassUnit>(5), 1.0).getBounds(500.0);
    ASSERT_FALSE(unknown.hasValue());
    EXPECT_TRUE(unknown.error().errorString().contains(u"unit 5")) << qPrintable(unknown.error().errorString());
}

TEST(MassToleranceTest, WithinToleranceAtTheBoundary)
{
    struct Row {
        const char *name;
        MassTolerance tolerance;
        double value, reference;
        bool within;
    };
    const Row rows[] = {
        { "just under 10 ppm", { MassTolerance::ppm, 10.0 }, 1000.01, 1000.0, true },
        { "over 9.99 ppm", { MassTolerance::ppm, 9.99 }, 1000.01, 1000.0, false },
        { "zero reference", { MassTolerance::ppm, 10.0 }, 0.0, 0.0, false },
        { "dalton edge", { MassTolerance::Dalton, 0.5 }, 100.5, 100.0, true },
    };
    for (const Row &row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(row.tolerance.withinTolerance(row.value, row.reference), row.within);
    }
}
