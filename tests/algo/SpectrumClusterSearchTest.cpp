#include "algo/SpectrumClusterSearch.h"

#include "algo/AveragineComparisonScoring.h"

#include <gtest/gtest.h>

using zeq::PrecursorChoice;
using zeq::SpectrumCluster;

namespace
{

SpectrumCluster cluster(int charge, double mono, double share, const QList<int> &isotopes)
{
    SpectrumCluster c;
    c.cluster.charge = charge;
    c.cluster.mzOffset = mono;
    c.cluster.percentIonCurrent = share;
    for (const int k : isotopes) {
        c.cluster.points.append({ mono + k * zeq::kIsotopeSpacing / charge, 1.0 });
    }
    return c;
}

TEST(SpectrumClusterSearchTest, MatchedIsotopesCountDistinctIsotopesWithinTheTolerance)
{
    const zeq::MassTolerance tolerance(zeq::MassTolerance::ppm, 10.0);
    SpectrumCluster c = cluster(2, 700.0, 0.5, { 0, 1, 1, 3 });
    c.cluster.points.append({ 700.0 + 2.5 * zeq::kIsotopeSpacing / 2, 1.0 }); // between isotopes
    EXPECT_EQ(zeq::matchedIsotopeCount(c.cluster, tolerance), 3);
    EXPECT_DOUBLE_EQ(zeq::matchedIntensity(c.cluster, tolerance), 4.0);
}

// The instrument selected an isotope of one cluster: that cluster is its precursor, however much
// more of the window another explains.
TEST(SpectrumClusterSearchTest, PrecursorIsTheClusterWithAnIsotopeAtTheSelectedMz)
{
    const zeq::MassTolerance tolerance(zeq::MassTolerance::ppm, 10.0);
    const QList<SpectrumCluster> clusters{ cluster(3, 600.0, 0.6, { 0, 1, 2 }), cluster(2, 600.2, 0.3, { 0, 1, 2 }) };
    const double secondIsotopeOfTheSmaller = 600.2 + zeq::kIsotopeSpacing / 2;
    const struct {
        double selected;
        QList<SpectrumCluster> clusters;
        PrecursorChoice::Basis basis;
        qsizetype index;
    } rows[] = {
        { secondIsotopeOfTheSmaller, clusters, PrecursorChoice::SelectedIsotope, 1 },
        { 612.0, clusters, PrecursorChoice::LargestCluster, 0 },
        // Beyond the highest isotope matched, the model's isotope alone does not count.
        { 600.2 + 4 * zeq::kIsotopeSpacing / 2, clusters, PrecursorChoice::LargestCluster, 0 },
        { 600.0, {}, PrecursorChoice::NoCluster, -1 },
    };
    for (const auto &row : rows) {
        SCOPED_TRACE(row.selected);
        const PrecursorChoice choice = zeq::choosePrecursor(row.selected, row.clusters, tolerance);
        EXPECT_EQ(choice.basis, row.basis);
        EXPECT_EQ(choice.index, row.index);
    }
}

} // namespace
