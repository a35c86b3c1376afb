#include "algo/ImprovedClusterSearch.h"

#include "algo/AveragineComparisonSearch.h"
#include "algo/SpectrumClusterSearch.h"
#include "support/ChainIsotopes.h"
#include "support/SyntheticPeaks.h"
#include "zeq_common_stable/PlotBase.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

using zeq::ChargeScoreInfo;
using zeq::ImprovedSearchOptions;

namespace
{

QList<ChargeScoreInfo>
search(const ImprovedSearchOptions &options, const QList<QPointF> &points, double start, double end)
{
    QList<ChargeScoreInfo> out;
    zeq::findClustersImproved(options, PlotBase(points), start, end, 0.01, out);
    return out;
}

bool found(const QList<ChargeScoreInfo> &clusters, int charge, double mono)
{
    return std::any_of(clusters.cbegin(), clusters.cend(), [&](const ChargeScoreInfo &c) {
        return c.charge == charge && std::abs(c.mzOffset - mono) <= 10e-6 * mono;
    });
}

// A lone peak after a strong cluster makes a cluster explaining almost nothing; the design's loop
// ends there and never tries the weaker real cluster behind it.
TEST(ImprovedClusterSearchTest, WeakClusterBehindASmallOneIsFound)
{
    const QList<QPointF> points{
        { 602.7, 1e5 },   { 605.0, 1e7 },       { 605.5013, 0.8e7 }, { 606.0026, 0.4e7 }, { 606.504, 0.15e7 },
        { 608.0, 0.9e5 }, { 608.5013, 0.85e5 }, { 609.0026, 0.5e5 }, { 609.504, 0.2e5 },
    };
    QList<ChargeScoreInfo> design;
    zeq::findChargesAndMonos(zeq::ProcessorOptions(), PlotBase(points), 595.0, 612.0, QString(), 0.01, design);
    ASSERT_FALSE(found(design, 2, 608.0)); // what the repair is for

    ImprovedSearchOptions options;
    const QList<ChargeScoreInfo> clusters = search(options, points, 595.0, 612.0);
    EXPECT_TRUE(found(clusters, 2, 605.0));
    EXPECT_TRUE(found(clusters, 2, 608.0));
    options.searchPastSmallClusters = false;
    EXPECT_FALSE(found(search(options, points, 595.0, 612.0), 2, 608.0));
}

ImprovedSearchOptions onlyRepair(int repair)
{
    ImprovedSearchOptions o;
    bool *const flags[] = { &o.searchPastSmallClusters, &o.ownExplainedMarks, &o.widthFromData,
                            &o.envelopePlacement,       &o.clearOfNoise,      &o.chargeFromSpacing };
    for (int i = 0; i < 6; ++i) {
        *flags[i] = repair < 0 || i == repair;
    }
    return o;
}

// Every repair on, each alone, and none: clusters standing clear of each other come out right, and
// with none the results are the design's to the last bit.
TEST(ImprovedClusterSearchTest, SeparateClustersAreFoundWhateverRepairsAreOn)
{
    zeq::test::SyntheticPeaks peaks(7);
    peaks.setJitter(2.0, 0.05);
    const struct {
        double mass;
        int charge;
    } truth[] = { { 1500.0, 1 }, { 2400.0, 2 }, { 2950.0, 3 }, { 4100.0, 4 } };
    QList<double> monos;
    for (const auto &t : truth) {
        monos.append(peaks.addCluster(t.mass, t.charge, 1e6 / t.charge));
    }
    peaks.addNoisePeaks(40, 700.0, 1600.0, 2e4);
    const QList<QPointF> points = peaks.points();

    for (const int repair : { -1, 0, 1, 2, 3, 4, 5, 6 }) {
        SCOPED_TRACE(repair);
        const ImprovedSearchOptions options = onlyRepair(repair);
        const QList<ChargeScoreInfo> clusters = search(options, points, 700.0, 1600.0);
        for (qsizetype i = 0; i < monos.size(); ++i) {
            EXPECT_TRUE(found(clusters, truth[i].charge, monos[i])) << monos[i];
        }
        if (repair == 6) {
            QList<ChargeScoreInfo> design;
            zeq::findChargesAndMonos(options.processor, PlotBase(points), 700.0, 1600.0, QString(), 0.01, design);
            EXPECT_EQ(clusters, design);
        }
    }
}

// At high charge the design's model width lets neighbouring charges fit nearly alike, and its apex
// placement lands isotopes off the monoisotope.
TEST(ImprovedClusterSearchTest, ProteinsAtHighChargeGetChargeAndMonoRight)
{
    const struct {
        double mass;
        int charge;
    } rows[] = { { 48000.0, 30 }, { 48000.0, 36 }, { 25000.0, 22 }, { 12000.0, 14 } };
    for (const auto &row : rows) {
        SCOPED_TRACE(row.charge);
        zeq::test::SyntheticPeaks peaks(static_cast<std::uint64_t>(row.charge));
        peaks.setJitter(2.0, 0.05);
        const double mono = peaks.addCluster(row.mass, row.charge, 1e6);
        const double lo = mono - 2.0;
        const double hi = mono + 4.0;
        peaks.addNoisePeaks(12, lo, hi, 2e4);
        ImprovedSearchOptions options;
        options.processor.maxCharge = 40;
        const QList<ChargeScoreInfo> clusters = search(options, peaks.points(), lo, hi);
        ASSERT_FALSE(clusters.isEmpty());
        EXPECT_EQ(clusters.constFirst().charge, row.charge);
        EXPECT_TRUE(found(clusters, row.charge, mono));

        // The whole-spectrum search takes the same mode.
        zeq::SpectrumSearchOptions whole;
        whole.processor = options.processor;
        whole.improved = ImprovedSearchOptions();
        QList<ChargeScoreInfo> reported;
        for (const zeq::SpectrumCluster &c : zeq::findSpectrumClusters(peaks.points(), whole)) {
            reported.append(c.cluster);
        }
        EXPECT_TRUE(found(reported, row.charge, mono));
    }
}

// Each repair's own case, searched as the program searches a spectrum: with every repair on exactly
// the true clusters are reported, and with that repair off they are not.
TEST(ImprovedClusterSearchTest, EachRepairMendsItsCase)
{
    struct Truth {
        int charge;
        double mono;
    };
    struct Row {
        const char *repair;
        bool ImprovedSearchOptions::*flag;
        QList<QPointF> points;
        QList<Truth> truth;
    };
    // A cluster beside noise at the detection limit, two of whose peaks sit a charge-1 spacing apart.
    const QList<QPointF> noisy{ { 700.0, 1000.0 },   { 700.6, 1800.0 }, { 701.2, 3000.0 },   { 702.2026, 2400.0 },
                                { 703.4, 1500.0 },   { 704.0, 1e5 },    { 704.5013, 0.9e5 }, { 705.0026, 0.45e5 },
                                { 705.504, 0.15e5 }, { 706.3, 2000.0 }, { 707.1, 1200.0 } };
    QList<Row> rows{ { "clearOfNoise", &ImprovedSearchOptions::clearOfNoise, noisy, { { 2, 704.0 } } } };
    // Proteins from their formulas, whose envelopes a charge higher fits about as well.
    for (const std::uint64_t seed : { 33, 51 }) {
        zeq::test::SeededRandom random(seed);
        const int charge = random.between(18, 34);
        const int length = random.between(150, 400);
        Row row{ "chargeFromSpacing", &ImprovedSearchOptions::chargeFromSpacing, {}, { { charge, 0.0 } } };
        row.points = zeq::test::isotopesOf(zeq::test::smallProtein(random, length), charge, 1e6, &row.truth[0].mono);
        rows.append(row);
    }
    // Two clusters of one charge 30 ppm apart, which the model's width at the precision of a window
    // alone merges, among a spectrum of isolated ones that show the precision.
    for (const std::uint64_t seed : { 1, 2 }) {
        zeq::test::SyntheticPeaks peaks(seed);
        peaks.setJitter(2.0, 0.05);
        Row row{ "precisionPerSpectrum", &ImprovedSearchOptions::precisionPerSpectrum, {}, {} };
        for (int i = 0; i < 30; ++i) {
            row.truth.append({ 2, peaks.addCluster(1200.0 + 60.0 * i, 2, 1e6) });
        }
        row.truth.append({ 2, peaks.addCluster(3400.0, 2, 1e6) });
        row.truth.append({ 2, peaks.addCluster(3400.06, 2, 0.6e6) });
        row.points = peaks.points();
        rows.append(row);
    }
    for (const Row &row : rows) {
        SCOPED_TRACE(row.repair);
        zeq::SpectrumSearchOptions whole;
        whole.improved = ImprovedSearchOptions();
        const auto readsRight = [&] {
            QList<ChargeScoreInfo> clusters;
            for (const zeq::SpectrumCluster &c : zeq::findSpectrumClusters(row.points, whole)) {
                clusters.append(c.cluster);
            }
            return clusters.size() == row.truth.size()
                && std::all_of(row.truth.cbegin(), row.truth.cend(), [&](const Truth &t) {
                       return found(clusters, t.charge, t.mono);
                   });
        };
        EXPECT_TRUE(readsRight());
        *whole.improved.*row.flag = false;
        EXPECT_FALSE(readsRight());
    }
}

// A window cut at a noise threshold may hold nothing but a cluster's tallest isotopes: its own
// weakest isotope is no noise floor to stand clear of.
TEST(ImprovedClusterSearchTest, ClusterAloneInItsWindowIsKept)
{
    const QList<QPointF> points{ { 1000.0, 1e6 }, { 1000.5013, 0.9e6 }, { 1001.0026, 0.5e6 } };
    EXPECT_TRUE(found(search(ImprovedSearchOptions(), points, 999.0, 1002.0), 2, 1000.0));
}

TEST(ImprovedClusterSearchTest, InvalidInputGivesNoClusters)
{
    const QList<QPointF> sorted{ { 600.0, 1e5 }, { 601.0033, 4e4 } };
    ImprovedSearchOptions tooHigh;
    tooHigh.processor.maxCharge = zeq::kMaxChargeLimit + 1;
    ImprovedSearchOptions noWidth;
    noWidth.processor.stdDev = 0.0;
    EXPECT_TRUE(search(tooHigh, sorted, 590.0, 610.0).isEmpty());
    EXPECT_TRUE(search(noWidth, sorted, 590.0, 610.0).isEmpty());
    EXPECT_TRUE(search(ImprovedSearchOptions(), sorted, 700.0, 710.0).isEmpty());
}

} // namespace
