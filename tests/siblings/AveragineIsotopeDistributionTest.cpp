#include "zeq_qt_shared_libs_core/AveragineIsotopeDistribution.h"

#include "zeq_qt_shared_libs_core/IsotopeWorkspace.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <numeric>
#include <thread>

namespace
{

size_t tallestIndex(const std::vector<double> &d)
{
    return static_cast<size_t>(std::max_element(d.cbegin(), d.cend()) - d.cbegin());
}

} // namespace

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
