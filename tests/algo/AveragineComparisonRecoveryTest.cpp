// Clusters drawn from the averagine model (fixed seeds) must come back with the right charge and a
// mono within σ; the floors sit a little below the measured rates.
#include "algo/AveragineComparisonScoring.h"
#include "algo/AveragineComparisonSearch.h"
#include "support/SyntheticPeaks.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>

using namespace zeq;
using zeq::test::SyntheticPeaks;

namespace
{

struct Cluster {
    double mass;
    int charge;
    double mono;
    double lastMz;
};

struct Row {
    const char *name;
    double minMass;
    double maxMass;
    int minCharge;
    int maxCharge;
    int clusters;
    double optionStdDev; // σ wanted at m/z 1000
    double intensityNoise;
    double floor;
};

// By name: gtest's default prints the struct's bytes, padding included, which are never written.
void PrintTo(const Row &row, std::ostream *os)
{
    *os << row.name;
}

// Both recovery and resolution are judged at the σ the search used.
double sigmaAt(const Row &row, double mz)
{
    return findStdDev(row.optionStdDev / std::sqrt(1000.0), mz, SqrtUncertainty);
}

// A charge a real instrument shows for the mass: m/z between 400 and 2500.
Cluster drawCluster(SyntheticPeaks &rng, const Row &row)
{
    for (;;) {
        const double mass = row.minMass + (row.maxMass - row.minMass) * rng.uniform();
        const int z = row.minCharge + static_cast<int>((row.maxCharge - row.minCharge + 1) * rng.uniform());
        const double mono = test::monoMzOf(mass, z);
        if (mono >= 400.0 && mono <= 2500.0) {
            const auto isotopes = static_cast<double>(sharedAveragineModel().isotopeIntensityFractions(mass).size());
            return { mass, z, mono, mono + isotopes * SyntheticPeaks::IsotopeSpacing / z };
        }
    }
}

// Overlaps need different charges and every peak 4σ from the others' to be told apart.
bool resolvable(const Row &row, const Cluster &a, const Cluster &b)
{
    if (a.charge == b.charge) {
        return false;
    }
    const double minGap = 4.0 * sigmaAt(row, a.mono);
    for (double x = a.mono; x <= a.lastMz; x += SyntheticPeaks::IsotopeSpacing / a.charge) {
        const double k = std::round((x - b.mono) * b.charge / SyntheticPeaks::IsotopeSpacing);
        if (std::abs(x - (b.mono + k * SyntheticPeaks::IsotopeSpacing / b.charge)) < minGap) {
            return false;
        }
    }
    return true;
}

QList<Cluster> drawWindow(SyntheticPeaks &rng, const Row &row)
{
    for (;;) {
        QList<Cluster> clusters{ drawCluster(rng, row) };
        // Some first clusters leave no room for the others: draw again.
        for (int tries = 0; tries < 1000 && clusters.size() < row.clusters; ++tries) {
            const Cluster c = drawCluster(rng, row);
            const Cluster &first = clusters.constFirst();
            const bool overlaps = c.mono > first.mono - 1.5 && c.mono < first.lastMz - 0.3;
            if (overlaps && std::all_of(clusters.cbegin(), clusters.cend(), [&](const Cluster &o) {
                    return resolvable(row, c, o);
                })) {
                clusters.append(c);
            }
        }
        if (clusters.size() == row.clusters) {
            return clusters;
        }
    }
}

class AveragineComparisonRecoveryTest : public ::testing::TestWithParam<Row>
{
};

TEST_P(AveragineComparisonRecoveryTest, FindsChargeAndMono)
{
    const Row &row = GetParam();
    constexpr int windows = 40;
    SyntheticPeaks rng(11);
    int recovered = 0;
    int total = 0;
    for (int i = 0; i < windows; ++i) {
        const QList<Cluster> truth = drawWindow(rng, row);
        SyntheticPeaks spectrum(1000 + i);
        spectrum.setJitter(2.0, row.intensityNoise);
        double lo = truth.constFirst().mono;
        double hi = truth.constFirst().lastMz;
        double height = 1e5;
        for (const Cluster &c : truth) {
            spectrum.addCluster(c.mass, c.charge, height);
            height -= 1.5e4;
            lo = std::min(lo, c.mono);
            hi = std::max(hi, c.lastMz);
        }
        spectrum.addNoisePeaks(20, lo - 3.0, hi + 3.0, 3e3);
        ProcessorOptions opts;
        opts.stdDev = row.optionStdDev;
        QList<ChargeScoreInfo> found;
        findChargesAndMonos(opts, spectrum.plot(), lo - 2.0, hi + 2.0, QString(), 0.02, found);

        for (const Cluster &t : truth) {
            ++total;
            recovered += std::any_of(found.cbegin(), found.cend(), [&](const ChargeScoreInfo &c) {
                return c.charge == t.charge && std::abs(c.mzOffset - t.mono) <= sigmaAt(row, t.mono);
            });
        }
    }
    const double rate = static_cast<double>(recovered) / total;
    std::printf("recovered %s: %d of %d (%.0f %%)\n", row.name, recovered, total, 100.0 * rate);
    EXPECT_GE(rate, row.floor);
}

// Large proteins at a high-resolution σ and low intensity noise, where the search can tell charges apart.
INSTANTIATE_TEST_SUITE_P(
    Windows,
    AveragineComparisonRecoveryTest,
    ::testing::Values(Row{ "peptides05to4kDa", 500, 4000, 1, 4, 1, 0.015, 0.05, 0.95 },
                      Row{ "smallProteins4to15kDa", 4000, 15000, 3, 15, 1, 0.015, 0.05, 0.85 },
                      Row{ "proteins15to60kDaLowNoise", 15000, 60000, 10, 35, 1, 0.005, 0.01, 0.85 },
                      Row{ "threePeptides", 500, 4000, 1, 4, 3, 0.015, 0.05, 0.85 }),
    [](const ::testing::TestParamInfo<Row> &info) { return std::string(info.param.name); });

} // namespace
