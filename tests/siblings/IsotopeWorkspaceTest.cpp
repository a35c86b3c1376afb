#include "zeq_qt_shared_libs_core/IsotopeWorkspace.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <limits>

namespace
{

// Adds the atoms one at a time: slow, but plainly right.
std::vector<double> atomByAtom(const IsotopeWorkspace &workspace, const std::vector<int> &composition)
{
    std::vector<double> d{ 1.0 };
    for (int e = 0; e < IsotopeWorkspace::ElementCount; ++e) {
        const std::vector<double> &pattern = workspace.isotopeAbundances(e);
        for (int n = 0; n < composition[static_cast<size_t>(e)]; ++n) {
            std::vector<double> next(d.size() + pattern.size() - 1, 0.0);
            for (size_t i = 0; i < d.size(); ++i) {
                for (size_t j = 0; j < pattern.size(); ++j) {
                    next[i + j] += d[i] * pattern[j];
                }
            }
            d.swap(next);
        }
    }
    return d;
}

} // namespace

TEST(IsotopeWorkspaceTest, FoldsAreExactConvolutionsAndTheThresholdCutsOnlyTheTail)
{
    const IsotopeWorkspace workspace;
    // Folded in two steps; 36S exercises the gap at offset 3 of sulfur.
    std::vector<double> d;
    std::vector<int> running = { 1, 1, 1, 1, 1 };
    ASSERT_FALSE(constructNextIsotope(0.0, workspace, { 111, 200, 30, 33, 1 }, d, running).hasError());
    ASSERT_FALSE(constructNextIsotope(0.0, workspace, { 111, 149, 31, 33, 1 }, d, running).hasError());
    EXPECT_EQ(running, (std::vector<int>{ 223, 350, 62, 67, 3 }));
    const std::vector<double> expected = atomByAtom(workspace, { 222, 349, 61, 66, 2 });
    ASSERT_LE(d.size(), expected.size()); // a far tail below 1e-30 of the largest may be missing
    for (size_t i = 0; i < expected.size(); ++i) {
        EXPECT_NEAR(i < d.size() ? d[i] : 0.0, expected[i], 1e-13 + 1e-10 * expected[i]) << i;
    }

    // 0.648, 0.263, 0.072, 0.015: the last is below 0.05 × 0.648; a tiny monoisotope is no tail.
    std::vector<double> peptide;
    running.clear();
    ASSERT_FALSE(constructNextIsotope(0.05, workspace, { 34, 53, 7, 15, 0 }, peptide, running).hasError());
    EXPECT_EQ(peptide.size(), 3u);
    std::vector<double> heavy;
    ASSERT_FALSE(constructNextIsotope(0.5, workspace, { 2000, 3000, 500, 600, 10 }, heavy, running).hasError());
    EXPECT_LT(heavy.front(), 1e-6);
    EXPECT_GE(heavy.back(), 0.5 * *std::max_element(heavy.cbegin(), heavy.cend()));
}

TEST(IsotopeWorkspaceTest, BadArgumentsFailWithoutChangingAnything)
{
    const IsotopeWorkspace workspace;
    const struct {
        const char *name;
        double threshold;
        std::vector<int> composition;
        std::vector<int> running;
        const char *message;
    } rows[] = {
        { "four counts", 0.0, { 1, 2, 3, 4 }, {}, "five atom counts" },
        { "span too wide", 0.0, { 150000, 50001, 0, 0, 0 }, {}, "span at most 200000 isotopes" },
        { "running near overflow", 0.0, { 1, 2, 0, 0, 0 }, { 2147483000, 0, 0, 0, 0 }, "running composition" },
        { "NaN threshold", std::numeric_limits<double>::quiet_NaN(), { 1, 2, 0, 0, 0 }, {}, "threshold" },
    };
    for (const auto &row : rows) {
        SCOPED_TRACE(row.name);
        std::vector<double> distribution{ 0.9, 0.1 };
        std::vector<int> running = row.running;
        const Error err = constructNextIsotope(row.threshold, workspace, row.composition, distribution, running);
        EXPECT_EQ(err.code(), kBadParameterError);
        EXPECT_TRUE(err.errorString().contains(QLatin1String(row.message))) << qPrintable(err.errorString());
        EXPECT_EQ(distribution, (std::vector<double>{ 0.9, 0.1 }));
        EXPECT_EQ(running, row.running);
    }
}
