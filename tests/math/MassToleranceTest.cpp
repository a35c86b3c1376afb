#include "math/MassTolerance.h"

#include <QJsonObject>

#include <gtest/gtest.h>

using zeq::MassTolerance;

TEST(MassToleranceTest, UnitTextSelectsPpmOnlyForPpm)
{
    struct Row {
        const char *text;
        MassTolerance::MassUnit viaSetUnit;
        MassTolerance::MassUnit viaJson; // JSON is not trimmed
    };
    const Row rows[] = {
        { "ppm", MassTolerance::ppm, MassTolerance::ppm },
        { " PPM ", MassTolerance::ppm, MassTolerance::Dalton },
        { "PpM", MassTolerance::ppm, MassTolerance::ppm },
        { "Da", MassTolerance::Dalton, MassTolerance::Dalton },
    };
    for (const Row &row : rows) {
        SCOPED_TRACE(row.text);
        MassTolerance tolerance(MassTolerance::ppm, 1.0);
        tolerance.setUnit(QString::fromUtf8(row.text));
        EXPECT_EQ(tolerance.unit(), row.viaSetUnit);
        const QJsonObject json{ { u"value"_qs, 5.0 }, { u"unit"_qs, QString::fromUtf8(row.text) } };
        EXPECT_EQ(MassTolerance::fromJson(json).unit(), row.viaJson);
    }
    EXPECT_EQ(MassTolerance::unitToString(static_cast<MassTolerance::MassUnit>(7)), u"Dalton");
}

TEST(MassToleranceTest, DefaultIsTenDaltonJsonRoundTripsAndReadsLeniently)
{
    EXPECT_EQ(MassTolerance().toJson(), (QJsonObject{ { u"value"_qs, 10.0 }, { u"unit"_qs, u"Dalton"_qs } }));
    const MassTolerance tolerance(MassTolerance::ppm, 4.5);
    EXPECT_EQ(MassTolerance::fromJson(tolerance.toJson()), tolerance);
    const MassTolerance missing = MassTolerance::fromJson(QJsonObject{ { u"unit"_qs, 3 } });
    EXPECT_EQ(missing, MassTolerance(MassTolerance::Dalton, 0.0));
    const MassTolerance textValue = MassTolerance::fromJson(QJsonObject{ { u"value"_qs, u"12"_qs } });
    EXPECT_EQ(textValue.tolerance(), 0.0);
}

TEST(MassToleranceTest, PpmWindowIsAsymmetric)
{
    const auto window = MassTolerance(MassTolerance::ppm, 10.0).getBounds(1000.0);
    ASSERT_TRUE(window.hasValue());
    EXPECT_DOUBLE_EQ(window.value().lower, 999.99);
    EXPECT_DOUBLE_EQ(window.value().upper, 1000.0 / 0.99999);
    // The upper bound shrunk by the tolerance comes back to the mass.
    EXPECT_DOUBLE_EQ(window.value().upper * (1.0 - 10e-6), 1000.0);
}

TEST(MassToleranceTest, DaltonWindowIsClampedAtZero)
{
    struct Row {
        double mass, tolerance, lower, upper;
    };
    const Row rows[] = { { 5.0, 10.0, 0.0, 15.0 }, { 100.0, 0.5, 99.5, 100.5 }, { -30.0, 10.0, 0.0, -20.0 } };
    for (const Row &row : rows) {
        SCOPED_TRACE(row.mass);
        const auto window = MassTolerance(MassTolerance::Dalton, row.tolerance).getBounds(row.mass);
        ASSERT_TRUE(window.hasValue());
        EXPECT_DOUBLE_EQ(window.value().lower, row.lower);
        EXPECT_DOUBLE_EQ(window.value().upper, row.upper);
    }
}

TEST(MassToleranceTest, BoundsFailForOneMillionPpmAndUnknownUnits)
{
    const auto million = MassTolerance(MassTolerance::ppm, 1e6).getBounds(500.0);
    ASSERT_FALSE(million.hasValue());
    EXPECT_EQ(million.error().code(), kBadParameterError);
    EXPECT_FALSE(million.error().catchPoints().isEmpty());

    const auto unknown = MassTolerance(static_cast<MassTolerance::MassUnit>(5), 1.0).getBounds(500.0);
    ASSERT_FALSE(unknown.hasValue());
    EXPECT_EQ(unknown.error().code(), kBadParameterError);
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
        { "zero reference, huge tolerance", { MassTolerance::ppm, 1e10 }, 5.0, 0.0, true },
        { "dalton edge", { MassTolerance::Dalton, 0.5 }, 100.5, 100.0, true },
        { "negative dalton", { MassTolerance::Dalton, -1.0 }, 100.0, 100.0, false },
        { "unknown unit", { static_cast<MassTolerance::MassUnit>(3), 1.0 }, 100.0, 100.0, false },
    };
    for (const Row &row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(row.tolerance.withinTolerance(row.value, row.reference), row.within);
    }
}
