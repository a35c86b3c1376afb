#include "zeq_qt_shared_libs_core/IsotopeWorkspace.h"

#include "constants/ResidueFormulasConstants.h"

#include <QRegularExpression>

#include <gtest/gtest.h>

#include <algorithm>
#include <limits>
#include <string>

namespace
{

std::vector<double> fold(const std::string &units, double threshold)
{
    const IsotopeWorkspace workspace(IsotopeWorkspace::NaturalAbundances);
    std::vector<double> distribution{ 1.0 };
    std::vector<int> running;
    for (char unit : units) {
        const std::vector<int> *composition = workspace.findUnit(std::string(1, unit));
        EXPECT_NE(composition, nullptr) << unit;
        if (composition) {
            EXPECT_FALSE(constructNextIsotope(threshold, workspace, *composition, distribution, running).hasError());
        }
    }
    return distribution;
}

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

// Equal to rounding; only a far tail below 1e-30 of the largest entry may be missing.
void expectSameDistribution(const std::vector<double> &got, const std::vector<double> &expected)
{
    ASSERT_LE(got.size(), expected.size());
    for (size_t i = 0; i < expected.size(); ++i) {
        EXPECT_NEAR(i < got.size() ? got[i] : 0.0, expected[i], 1e-13 + 1e-10 * expected[i]) << i;
    }
}

} // namespace

TEST(IsotopeWorkspaceTest, PeptideWithWaterGivesTheSamePatternInAnyOrder)
{
    for (const std::string units : { "PEPTIDE1", "1PEPTIDE", "EDITPEP1", "TIDEPEP1" }) {
        SCOPED_TRACE(units);
        const std::vector<double> d = fold(units, 1e-6);
        ASSERT_GE(d.size(), 4u);
        EXPECT_NEAR(d[0], 0.648, 0.001);
        EXPECT_NEAR(d[1], 0.263, 0.001);
        EXPECT_NEAR(d[2], 0.072, 0.001);
        EXPECT_NEAR(d[3], 0.015, 0.001);
    }
}

TEST(IsotopeWorkspaceTest, ResidueUnitsMatchTheResidueFormulas)
{
    const QString symbols = QStringLiteral("CHNOS");
    static const QRegularExpression atom(QStringLiteral("^([A-Z][a-z]?)(\\d*)$"));
    int checked = 0;
    for (const auto &residue : zeq::ResidueFormulasConstants::DEFAULT_RESIDUE_CHEMICAL_FORMULAS_PROTEIN) {
        const std::vector<int> *unit = IsotopeWorkspace().findUnit(std::string(1, residue.letter.toLatin1()));
        if (residue.formula.isEmpty() || residue.formula.contains(QStringLiteral("Se"))) {
            EXPECT_EQ(unit, nullptr) << residue.letter.toLatin1();
            continue;
        }
        std::vector<int> expected(5, 0);
        for (const QString &part : residue.formula.split(u' ')) {
            const auto match = atom.match(part);
            ASSERT_TRUE(match.hasMatch()) << qPrintable(part);
            const int count = match.captured(2).isEmpty() ? 1 : match.captured(2).toInt();
            expected[static_cast<size_t>(symbols.indexOf(match.captured(1)))] += count;
        }
        ASSERT_NE(unit, nullptr) << residue.letter.toLatin1();
        EXPECT_EQ(*unit, expected) << residue.letter.toLatin1();
        ++checked;
    }
    EXPECT_EQ(checked, 21);
    EXPECT_EQ(*IsotopeWorkspace().findUnit("1"), (std::vector<int>{ 0, 2, 0, 1, 0 }));
    EXPECT_EQ(*IsotopeWorkspace().findUnit("2"), (std::vector<int>{ 0, 1, 0, 0, 0 }));
    EXPECT_EQ(IsotopeWorkspace().findUnit("p"), nullptr);
    EXPECT_EQ(IsotopeWorkspace().findUnit(""), nullptr);
}

TEST(IsotopeWorkspaceTest, FoldIsTheExactConvolution)
{
    const IsotopeWorkspace workspace;
    // The averagine composition of 5 kDa with one sulfur; 36S exercises the gap at offset 3.
    const std::vector<int> composition = { 222, 349, 61, 66, 2 };
    std::vector<double> distribution;
    std::vector<int> running;
    ASSERT_FALSE(constructNextIsotope(0.0, workspace, composition, distribution, running).hasError());
    const std::vector<double> expected = atomByAtom(workspace, composition);
    expectSameDistribution(distribution, expected);
    EXPECT_EQ(running, composition);

    // Folding in two steps gives the same as one and adds up the compositions.
    std::vector<double> twoSteps{ 1.0 };
    std::vector<int> runningTwo = { 1, 1, 1, 1, 1 };
    ASSERT_FALSE(constructNextIsotope(0.0, workspace, { 111, 200, 30, 33, 1 }, twoSteps, runningTwo).hasError());
    ASSERT_FALSE(constructNextIsotope(0.0, workspace, { 111, 149, 31, 33, 1 }, twoSteps, runningTwo).hasError());
    EXPECT_EQ(runningTwo, (std::vector<int>{ 223, 350, 62, 67, 3 }));
    expectSameDistribution(twoSteps, expected);
}

TEST(IsotopeWorkspaceTest, ThresholdDropsOnlyTheTrailingTail)
{
    // PEPTIDE with water in one fold: 0.015 is below 0.05 × 0.648, and the kept entries stay as
    // normalised before the cut.
    const IsotopeWorkspace workspace;
    std::vector<double> d;
    std::vector<int> running;
    ASSERT_FALSE(constructNextIsotope(0.05, workspace, { 34, 53, 7, 15, 0 }, d, running).hasError());
    ASSERT_EQ(d.size(), 3u);
    EXPECT_NEAR(d[0], 0.648, 0.001);
    EXPECT_NEAR(d[2], 0.072, 0.001);

    // A monoisotope far below the threshold stays: it is index 0, not tail.
    std::vector<double> heavy;
    running.clear();
    ASSERT_FALSE(constructNextIsotope(0.5, workspace, { 2000, 3000, 500, 600, 10 }, heavy, running).hasError());
    EXPECT_LT(heavy.front(), 1e-6);
    EXPECT_GE(heavy.back(), 0.5 * *std::max_element(heavy.cbegin(), heavy.cend()));
}

TEST(IsotopeWorkspaceTest, RatioSetsChooseTheAbundances)
{
    const IsotopeWorkspace light(IsotopeWorkspace::LightestIsotopesOnly);
    std::vector<double> d;
    std::vector<int> running;
    ASSERT_FALSE(constructNextIsotope(0.0, light, { 50, 80, 14, 15, 1 }, d, running).hasError());
    EXPECT_EQ(d, (std::vector<double>{ 1.0 }));

    const IsotopeWorkspace unknown(static_cast<IsotopeWorkspace::IsotopeCompositionRatios>(7));
    EXPECT_EQ(unknown.ratios(), IsotopeWorkspace::NaturalAbundances);
    EXPECT_EQ(unknown.isotopeAbundances(IsotopeWorkspace::Oxygen), (std::vector<double>{ 0.99757, 0.00038, 0.00205 }));
    EXPECT_TRUE(unknown.isotopeAbundances(5).empty());
    EXPECT_TRUE(unknown.isotopeAbundances(-1).empty());
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
        { "negative count", 0.0, { 1, -2, 0, 0, 0 }, {}, "[1, -2, 0, 0, 0]" },
        { "running of three", 0.0, { 1, 2, 0, 0, 0 }, { 0, 0, 0 }, "running composition" },
        { "running near overflow", 0.0, { 1, 2, 0, 0, 0 }, { 2147483000, 0, 0, 0, 0 }, "running composition" },
        { "span too wide", 0.0, { 150000, 50001, 0, 0, 0 }, {}, "span at most 200000 isotopes" },
        { "NaN threshold", std::numeric_limits<double>::quiet_NaN(), { 1, 2, 0, 0, 0 }, {}, "threshold" },
        { "negative threshold", -0.1, { 1, 2, 0, 0, 0 }, {}, "threshold" },
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
