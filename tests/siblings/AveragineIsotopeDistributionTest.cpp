#include "zeq_qt_shared_libs_core/AveragineIsotopeDistribution.h"

#include "zeq_qt_shared_libs_core/IsotopeWorkspace.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <numeric>
#include <random>
#include <thread>

namespace
{

size_t tallestIndex(const std::vector<double> &d)
{
    return static_cast<size_t>(std::max_element(d.cbegin(), d.cend()) - d.cbegin());
}

// The full distribution of the rounded averagine composition, computed directly.
std::vector<double> exactPattern(double mass)
{
    const std::array<int, 5> counts = AveragineIsotopeDistribution::composition(mass);
    std::vector<double> d;
    std::vector<int> running;
    EXPECT_FALSE(
        constructNextIsotope(1e-20, IsotopeWorkspace(), { counts.begin(), counts.end() }, d, running).hasError());
    return d;
}

void expectCloseToExact(const AveragineIsotopeDistribution &model, double mass)
{
    SCOPED_TRACE(testing::Message() << "mass " << mass);
    const std::vector<double> &d = model.isotopeIntensityFractions(mass);
    const std::vector<double> exact = exactPattern(mass);
    ASSERT_FALSE(d.empty());
    // Only the listed peaks: the ones cut off are each under 1 % of the tallest.
    for (size_t i = 0; i < d.size(); ++i) {
        ASSERT_NEAR(d[i], i < exact.size() ? exact[i] : 0.0, 0.002) << "isotope " << i;
    }
}

} // namespace

TEST(AveragineIsotopeDistributionTest, KnownPatternsRelativeToTheTallestPeak)
{
    const AveragineIsotopeDistribution model;
    const struct {
        double mass;
        std::vector<double> relative;
    } rows[] = { { 1000.0, { 1.0, 0.533, 0.166, 0.038 } }, { 2000.0, { 0.922, 1.0, 0.630, 0.291 } } };
    for (const auto &row : rows) {
        SCOPED_TRACE(row.mass);
        const std::vector<double> &d = model.isotopeIntensityFractions(row.mass);
        ASSERT_GE(d.size(), row.relative.size());
        const double tallest = d[tallestIndex(d)];
        for (size_t i = 0; i < row.relative.size(); ++i) {
            EXPECT_NEAR(d[i] / tallest, row.relative[i], 0.01) << i;
        }
    }
}

TEST(AveragineIsotopeDistributionTest, IsotopeCountAndTallestPeakFollowTheMass)
{
    const AveragineIsotopeDistribution model;
    const struct {
        double mass;
        size_t count;
    } counts[] = { { 1000.0, 4 }, { 2000.0, 6 }, { 10000.0, 16 }, { 40000.0, 43 } };
    for (const auto &row : counts) {
        EXPECT_EQ(model.isotopeIntensityFractions(row.mass).size(), row.count) << row.mass;
    }
    const struct {
        double mass;
        size_t tallest;
    } moves[] = { { 1800.0, 0 }, { 1900.0, 1 }, { 3400.0, 1 }, { 3480.0, 2 } };
    for (const auto &row : moves) {
        EXPECT_EQ(tallestIndex(model.isotopeIntensityFractions(row.mass)), row.tallest) << row.mass;
    }
}

// Log-spaced masses with jitter over the whole exact range, plus the binned range above it: every
// fraction within 0.002 of a direct convolution at that very mass, and the shape rules hold.
TEST(AveragineIsotopeDistributionTest, FractionsMatchTheExactConvolutionFrom50DaTo1MDa)
{
    const AveragineIsotopeDistribution model;
    std::mt19937 rng(11);
    std::uniform_real_distribution<double> jitter(0.0, 1.0);
    std::vector<double> masses;
    for (double m = 50.0; m < 200000.0; m *= 1.03) {
        masses.push_back(m * (1.0 + 0.03 * jitter(rng)));
    }
    masses.insert(masses.end(), { 199999.99, 200000.0, 200125.0, 350000.0, 777777.7, 999999.0, 1.0e6 });
    for (double mass : masses) {
        expectCloseToExact(model, mass);
        const std::vector<double> &d = model.isotopeIntensityFractions(mass);
        const size_t top = tallestIndex(d);
        const double sum = std::accumulate(d.cbegin(), d.cend(), 0.0);
        EXPECT_TRUE(sum > 0.98 && sum <= 1.0 + 1e-12) << mass << " " << sum;
        EXPECT_GE(d.size(), top + 3) << mass;
        // The list ends at the last peak of 1 % of the tallest unless it is padded past the tallest.
        EXPECT_TRUE(d.size() == top + 3 || d.back() >= 0.01 * d[top]) << mass;
    }
}

// Compositions change at masses where one atom count rounds up; those are where a table can slip.
TEST(AveragineIsotopeDistributionTest, MassesWhereTheCompositionStepsAreCovered)
{
    const AveragineIsotopeDistribution model;
    const std::array<double, 5> atomsPerAveragine = { 4.9384, 7.7583, 1.3577, 1.4773, 0.0417 };
    for (size_t e = 0; e < atomsPerAveragine.size(); ++e) {
        for (int count : { 0, 1, 7, 300, 2000 }) {
            const double step = (count + 0.5) * 111.1254 / atomsPerAveragine[e];
            if (step >= 200000.0) {
                continue;
            }
            double mass = step;
            for (int k = 0; k < 4; ++k) {
                mass = std::nextafter(mass, 0.0);
            }
            for (int k = 0; k < 8; ++k, mass = std::nextafter(mass, HUGE_VAL)) {
                ASSERT_FALSE(model.isotopeIntensityFractions(mass).empty()) << e << " " << count << " " << k;
            }
            expectCloseToExact(model, step);
        }
    }
    // Chunk edges of the table and the smallest masses.
    for (double mass : { 1000.0, std::nextafter(1000.0, 0.0), 199000.0, std::nextafter(200000.0, 0.0), 1e-300, 0.5 }) {
        EXPECT_FALSE(model.isotopeIntensityFractions(mass).empty()) << mass;
    }
    EXPECT_EQ(model.isotopeIntensityFractions(0.5), (std::vector<double>{ 1.0, 0.0, 0.0 }));
}

TEST(AveragineIsotopeDistributionTest, MassesWithoutAMoleculeGiveOneSharedEmptyPattern)
{
    const AveragineIsotopeDistribution model;
    const double inf = std::numeric_limits<double>::infinity();
    const std::vector<double> *empty = &model.isotopeIntensityFractions(0.0);
    EXPECT_TRUE(empty->empty());
    for (double mass :
         { -1.0, -inf, inf, std::numeric_limits<double>::quiet_NaN(), std::nextafter(1.0e6, inf), 1e300 }) {
        EXPECT_EQ(&model.isotopeIntensityFractions(mass), empty) << mass;
    }
    EXPECT_EQ(AveragineIsotopeDistribution::composition(-5.0), (std::array<int, 5>{}));
}

TEST(AveragineIsotopeDistributionTest, ReferencesStayValidWhileTheTableGrows)
{
    const AveragineIsotopeDistribution model;
    const std::vector<double> &first = model.isotopeIntensityFractions(5000.0);
    const std::vector<double> copy = first;
    for (double m = 100.0; m < 250000.0; m += 2003.0) {
        (void)model.isotopeIntensityFractions(m);
    }
    EXPECT_EQ(&model.isotopeIntensityFractions(5000.0), &first);
    EXPECT_EQ(first, copy);
    // Masses of one composition share one pattern.
    EXPECT_EQ(AveragineIsotopeDistribution::composition(5000.0), AveragineIsotopeDistribution::composition(5000.3));
    EXPECT_EQ(&model.isotopeIntensityFractions(5000.3), &first);
}

TEST(AveragineIsotopeDistributionTest, ConcurrentFirstReadsAgreeWithSerialReads)
{
    std::vector<double> masses;
    for (double m = 300.0; m < 60000.0; m *= 1.01) {
        masses.push_back(m);
    }
    std::vector<std::vector<double>> expected;
    {
        const AveragineIsotopeDistribution serial;
        for (double mass : masses) {
            expected.push_back(serial.isotopeIntensityFractions(mass));
        }
    }
    const AveragineIsotopeDistribution shared;
    std::vector<std::thread> threads;
    std::vector<int> mismatches(4, 0);
    for (size_t t = 0; t < mismatches.size(); ++t) {
        threads.emplace_back([&, t] {
            // Each thread walks the masses from a different start, so first uses collide.
            for (size_t i = 0; i < masses.size(); ++i) {
                const size_t k = (i + t * masses.size() / 4) % masses.size();
                mismatches[t] += shared.isotopeIntensityFractions(masses[k]) != expected[k];
            }
        });
    }
    for (std::thread &thread : threads) {
        thread.join();
    }
    EXPECT_EQ(mismatches, std::vector<int>(4, 0));
}
