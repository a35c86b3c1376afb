#include "algo/AveragineComparisonPlots.h"

#include "constants/MassConstants.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

using namespace zeq;
using chem::ZEQ_QEnumsChemUtils;

namespace
{

struct Lookup {
    Error error;
    double expectedMz = -1.0;
    QPointF observed{ -1.0, -1.0 };
    double monoMz = -1.0;
};

Lookup lookUp(const QList<QPointF> &points,
              double mass,
              int charge,
              const double *ppm = nullptr,
              ZEQ_QEnumsChemUtils::IonMode mode = ZEQ_QEnumsChemUtils::Positive)
{
    Lookup l;
    l.error = get_best_observed_v2(points, mass, charge, mode, ppm, &l.expectedMz, &l.observed, &l.monoMz);
    return l;
}

} // namespace

TEST(AveragineComparisonPlotsTest, MostAbundantIsotopeStepsAtTheTableMasses)
{
    const auto positive = ZEQ_QEnumsChemUtils::Positive;
    const auto negative = ZEQ_QEnumsChemUtils::Negative;
    const auto unknown = static_cast<ZEQ_QEnumsChemUtils::IonMode>(7); // any mode but 1 is positive
    const struct {
        double mass;
        int k;
        ZEQ_QEnumsChemUtils::IonMode mode;
    } rows[] = { { 2499.9, 0, positive },
                 { 2500.0, 1, positive },
                 { 90000.0, 24, positive },
                 { 1000.0, 0, negative },
                 { 1000.0, 0, unknown } };
    for (const auto &row : rows) {
        SCOPED_TRACE(testing::Message() << row.mass << " " << row.mode);
        const int sign = row.mode == negative ? -1 : 1;
        const double expected = (row.mass + row.k * 1.0028 + sign * 2 * kProtonMass) / 2;
        const Lookup l = lookUp({ QPointF(expected + 0.001, 50.0) }, row.mass, 2, nullptr, row.mode);
        EXPECT_FALSE(l.error.hasError());
        EXPECT_DOUBLE_EQ(l.monoMz, expected + 0.001 - row.k * 1.0028 / 2);
    }
}

TEST(AveragineComparisonPlotsTest, LookupFailures)
{
    const Lookup empty = lookUp({}, 1000.0, 1);
    EXPECT_EQ(empty.error.code(), kError);

    const double mono = 1000.0 + kProtonMass;
    const double tolerance = 10.0;
    const Lookup near = lookUp({ QPointF(mono * (1 + 5e-6), 1.0) }, 1000.0, 1, &tolerance);
    EXPECT_FALSE(near.error.hasError());
    const Lookup far = lookUp({ QPointF(mono * (1 + 20e-6), 1.0) }, 1000.0, 1, &tolerance);
    EXPECT_EQ(far.error.code(), kError);
    EXPECT_TRUE(far.error.errorString().contains(u"ppm"));

    EXPECT_EQ(lookUp({ QPointF(1.0, 1.0) }, 1000.0, 0).error.code(), kBadParameterError);
}

TEST(AveragineComparisonPlotsTest, SequenceDistributionFoldsKnownUnits)
{
    const std::vector<double> peptide = SpecificIsotopeDistribution("PEPTIDE", true, 0, 1e-4).getIsoList();
    ASSERT_GE(peptide.size(), 4u);
    EXPECT_NEAR(peptide[0], 0.648, 0.005);
    EXPECT_NEAR(peptide[1], 0.263, 0.005);
    // Unknown names are skipped; without a tail cut the order of the units does not matter.
    const std::vector<double> exact = SpecificIsotopeDistribution("PEPTIDE", true, 0, 0.0).getIsoList();
    const std::vector<double> shuffled = SpecificIsotopeDistribution("ED?ITP#EP", true, 0, 0.0).getIsoList();
    ASSERT_EQ(shuffled.size(), exact.size());
    for (size_t i = 0; i < exact.size(); ++i) {
        EXPECT_NEAR(shuffled[i], exact[i], 1e-12);
    }
}

TEST(AveragineComparisonPlotsTest, EnvelopeIsSampledDenselyOnlyNearPeaks)
{
    QList<QPointF> plot;
    makeIsotopePlot(1000.0, 2, 500.0, 0.01, 0.001, plot, ZEQ_QEnumsChemUtils::Positive);
    ASSERT_FALSE(plot.isEmpty());
    const auto top =
        std::max_element(plot.cbegin(), plot.cend(), [](const QPointF &a, const QPointF &b) { return a.y() < b.y(); });
    const double mass = 2 * 1000.0 - 2 * kProtonMass;
    const std::vector<double> &d = sharedAveragineModel().isotopeIntensityFractions(mass);
    EXPECT_NEAR(top->y(), 500.0 * *std::max_element(d.cbegin(), d.cend()), 5.0);
    double smallest = 1.0;
    double largest = 0.0;
    for (qsizetype i = 1; i < plot.size(); ++i) {
        const double step = plot.at(i).x() - plot.at(i - 1).x();
        smallest = std::min(smallest, step);
        largest = std::max(largest, step);
    }
    EXPECT_NEAR(smallest, 0.001, 1e-9);
    EXPECT_NEAR(largest, 0.004, 1e-9);
}
