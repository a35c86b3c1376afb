#include "zeq_qt_shared_libs_core/AveragineIsotopeDistribution.h"

#include "zeq_qt_shared_libs_core/IsotopeWorkspace.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <numeric>
#include <thread>

namespace
{

size_t tallestIndex(const std::vector<double> &d)
{
    return static_cast<size_t>(std::max_element(d.cbegin(), d.cend()) - d.cbegin());
}

} // namespace

TEST(AveragineIsotopeDistributionTest, KnownPatternsCountsAndTallestPeaks)
{
    const AveragineIsotopeDistribution model;
    const struct {
        double mass;
        std::vector<double> relative;
    } patterns[] = { { 1000.0, { 1.0, 0.533, 0.166, 0.038 } }, { 2000.0, { 0.922, 1.0, 0.630, 0.291 } } };
    for (const auto &row : patterns) {
        const std::vector<double> &d = model.isotopeIntensityFractions(row.mass);
        for (size_t i = 0; i < row.relative.size() && i < d.size(); ++i) {
            EXPECT_NEAR(d[i] / d[tallestIndex(d)], row.relative[i], 0.01) << row.mass << " " << i;
        }
    }
    const struct {
        double mass;
        size_t count, tallest;
    } shapes[] = { { 1000.0, 4, 0 }, { 1800.0, 6, 0 }, { 1900.0, 6, 1 },   { 2000.0, 6, 1 },
                   { 3400.0, 8, 1 }, { 3480.0, 8, 2 }, { 10000.0, 16, 6 }, { 40000.0, 43, 24 } };
    for (const auto &row : shapes) {
        const std::vector<double> &d = model.isotopeIntensityFractions(row.mass);
        EXPECT_EQ(d.size(), row.count) << row.mass;
        EXPECT_EQ(tallestIndex(d), row.tallest) << row.mass;
    }
}

// Every fraction against a direct convolution of the rounded composition at that very mass, at
// log-spaced masses over the exact range and the binned range above it.
TEST(AveragineIsotopeDistributionTest, FractionsMatchTheExactConvolutionFrom50DaTo1MDa)
{
    const AveragineIsotopeDistribution model;
    std::vector<double> masses = { 199999.99, 200000.0, 350000.0, 777777.7, 1.0e6 };
    for (double m = 50.0; m < 200000.0; m *= 1.09) {
        masses.push_back(m);
    }
    for (double mass : masses) {
        const std::array<int, 5> counts = AveragineIsotopeDistribution::composition(mass);
        std::vector<double> exact;
        std::vector<int> running;
        ASSERT_FALSE(
            constructNextIsotope(0.0, IsotopeWorkspace(), { counts.begin(), counts.end() }, exact, running).hasError());
        const std::vector<double> &d = model.isotopeIntensityFractions(mass);
        ASSERT_FALSE(d.empty()) << mass;
        for (size_t i = 0; i < d.size(); ++i) {
            ASSERT_NEAR(d[i], i < exact.size() ? exact[i] : 0.0, 0.002) << "mass " << mass << " isotope " << i;
        }
        const size_t top = tallestIndex(d);
        const double sum = std::accumulate(d.cbegin(), d.cend(), 0.0);
        EXPECT_TRUE(sum > 0.98 && sum <= 1.0 + 1e-12) << mass << " " << sum;
        // Ends at the last peak of 1 % of the tallest, unless padded to two peaks past the tallest.
        EXPECT_TRUE(d.size() == top + 3 || (d.size() > top + 3 && d.back() >= 0.01 * d[top])) << mass;
    }
}

// The masses where one atom count rounds up are where a table of compositions can slip.
TEST(AveragineIsotopeDistributionTest, MassesWhereTheCompositionStepsAreCovered)
{
    const AveragineIsotopeDistribution model;
    const std::array<double, 5> atomsPerAveragine = { 4.9384, 7.7583, 1.3577, 1.4773, 0.0417 };
    for (double atoms : atomsPerAveragine) {
        for (int count : { 0, 1, 7, 300, 2000 }) {
            const double step = (count + 0.5) * 111.1254 / atoms;
            double mass = step * (1.0 - 4e-16);
            for (int k = 0; k < 8 && mass < 200000.0; ++k, mass = std::nextafter(mass, HUGE_VAL)) {
                ASSERT_FALSE(model.isotopeIntensityFractions(mass).empty()) << mass;
            }
        }
    }
    for (double mass : { std::nextafter(1000.0, 0.0), std::nextafter(200000.0, 0.0), 1e-300 }) {
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
    for (double mass : { -1.0, -inf, inf, std::numeric_limits<double>::quiet_NaN(), std::nextafter(1.0e6, inf) }) {
        EXPECT_EQ(&model.isotopeIntensityFractions(mass), empty) << mass;
    }
}

TEST(AveragineIsotopeDistributionTest, ConcurrentFirstReadsAgreeAndReferencesStay)
{
    std::vector<double> masses;
    std::vector<std::vector<double>> expected;
    const AveragineIsotopeDistribution serial;
    for (double m = 300.0; m < 260000.0; m *= 1.02) {
        masses.push_back(m);
        expected.push_back(serial.isotopeIntensityFractions(m));
    }
    const AveragineIsotopeDistribution shared;
    const std::vector<double> &early = shared.isotopeIntensityFractions(5000.0);
    std::vector<int> mismatches(4, 0);
    std::vector<std::thread> threads;
    for (size_t t = 0; t < mismatches.size(); ++t) {
        // Each thread starts at a different mass, so first uses of a chunk collide.
        threads.emplace_back([&, t] {
            for (size_t i = 0; i < masses.size(); ++i) {
                const size_t k = (i + t * masses.size() / 4) % masses.size();
                mismatches[t] += shared.isotopeIntensityFractions(masses[k]) != expected[k];
            }
        });
    }
    std::for_each(threads.begin(), threads.end(), [](std::thread &thread) { thread.join(); });
    EXPECT_EQ(mismatches, std::vector<int>(4, 0));
    EXPECT_EQ(&shared.isotopeIntensityFractions(5000.3), &early); // same composition, same pattern
}
