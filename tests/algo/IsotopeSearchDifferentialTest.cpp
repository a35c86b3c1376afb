// The cluster search against its reference copy (tests/support/isotope_reference): speed-ups must
// leave every cluster, its order and every double unchanged to the last bit.
#include "algo/AveragineComparisonSearch.h"
#include "support/SyntheticPeaks.h"
#include "support/isotope_reference/AveragineComparisonSearch.h"

#include <gtest/gtest.h>

#include <bit>
#include <cstdint>

using zeq::ChargeScoreInfo;
using zeq::test::SyntheticPeaks;

namespace
{

std::uint64_t bits(double v)
{
    return std::bit_cast<std::uint64_t>(v);
}

// The first difference between two result lists, or an empty string.
std::string firstDifference(const QList<ChargeScoreInfo> &a, const QList<ChargeScoreInfo> &b)
{
    if (a.size() != b.size()) {
        return "cluster count " + std::to_string(a.size()) + " vs " + std::to_string(b.size());
    }
    for (qsizetype c = 0; c < a.size(); ++c) {
        const ChargeScoreInfo &x = a[c];
        const ChargeScoreInfo &y = b[c];
        const std::string at = "cluster " + std::to_string(c) + ": ";
        if (x.charge != y.charge || bits(x.mzOffset) != bits(y.mzOffset) || bits(x.scaleFact) != bits(y.scaleFact)
            || bits(x.score) != bits(y.score) || bits(x.percentIonCurrent) != bits(y.percentIonCurrent)) {
            return at + "charge, m/z, scale, score or share";
        }
        if (x.matchVector.size() != y.matchVector.size() || x.points.size() != y.points.size()) {
            return at + "match count";
        }
        for (size_t m = 0; m < x.matchVector.size(); ++m) {
            if (x.matchVector[m].pointIndex != y.matchVector[m].pointIndex
                || bits(x.matchVector[m].percentAccountFor) != bits(y.matchVector[m].percentAccountFor)) {
                return at + "match " + std::to_string(m);
            }
        }
        for (qsizetype p = 0; p < x.points.size(); ++p) {
            if (bits(x.points[p].x()) != bits(y.points[p].x()) || bits(x.points[p].y()) != bits(y.points[p].y())) {
                return at + "point " + std::to_string(p);
            }
        }
    }
    return {};
}

struct Case {
    PlotBase plot;
    double start;
    double end;
    zeq::ProcessorOptions opts;
    double minPercent;
};

// A window of a few overlapping peptide clusters (every fifth case a small protein at high
// charge), noise peaks and jitter, searched with a random uncertainty model and σ.
Case makeCase(std::uint64_t seed)
{
    SyntheticPeaks s(seed);
    s.setJitter(5.0 * s.uniform(), 0.1 * s.uniform());
    const double scale = std::pow(10.0, 1.0 + 5.0 * s.uniform());
    const bool protein = seed % 5 == 0;
    const double mass = protein ? 6000.0 + 6000.0 * s.uniform() : 600.0 + 3000.0 * s.uniform();
    const int charge = protein ? 6 + static_cast<int>(6 * s.uniform()) : 1 + static_cast<int>(4 * s.uniform());
    const double mono = s.addCluster(mass, charge, scale);
    const int more = static_cast<int>(3 * s.uniform());
    for (int i = 0; i < more; ++i) {
        const int z = 1 + static_cast<int>(4 * s.uniform());
        s.addCluster((mono + 3.0 * s.uniform()) * z, z, scale * (0.1 + s.uniform()));
    }
    const double width = protein ? 5.0 : 4.0;
    s.addNoisePeaks(static_cast<int>(25 * s.uniform()), mono - 1.0, mono + width + 1.0, 0.05 * scale);
    Case c{ s.plot(), mono - 1.0, mono + width, {}, 0.05 * s.uniform() };
    static constexpr zeq::UncertaintyScaling scalings[] = { zeq::SqrtUncertainty,
                                                            zeq::ProportionalUncertainty,
                                                            zeq::ConstantUncertainty };
    c.opts.uncertaintyScaling = scalings[seed % 3];
    const double sigma = 0.004 + 0.02 * s.uniform(); // m/z at 1000
    c.opts.stdDev = c.opts.uncertaintyScaling == zeq::ProportionalUncertainty ? sigma * 1000.0 : sigma;
    c.opts.maxCharge = protein ? 14 : 3 + static_cast<int>(6 * s.uniform());
    return c;
}

TEST(IsotopeSearchDifferential, ClustersEqualTheReferenceToTheLastBit)
{
    // Sanitizer builds run this as well: the window count keeps it to seconds there.
    constexpr std::uint64_t windows = 10000;
    int clusters = 0;
    for (std::uint64_t seed = 1; seed <= windows; ++seed) {
        const Case c = makeCase(seed);
        QList<ChargeScoreInfo> now;
        QList<ChargeScoreInfo> before;
        zeq::findChargesAndMonos(c.opts, c.plot, c.start, c.end, QString(), c.minPercent, now);
        zeq_reference::findChargesAndMonos(c.opts, c.plot, c.start, c.end, QString(), c.minPercent, before);
        const std::string difference = firstDifference(now, before);
        ASSERT_TRUE(difference.empty()) << "window " << seed << ", " << difference;
        clusters += static_cast<int>(now.size());
    }
    EXPECT_GT(clusters, static_cast<int>(windows)); // the windows do hold clusters
}

} // namespace
