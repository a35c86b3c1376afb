#include "algo/SpectraSumming.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <limits>
#include <random>

using zeq::MassTolerance;
using zeq::SpectraSumming;

namespace
{

SpectraSumming::Options dalton(double neighbor, double peak)
{
    return { MassTolerance(MassTolerance::Dalton, neighbor), MassTolerance(MassTolerance::Dalton, peak) };
}

// The kernel exactly as stated: walk out from each point while the neighbour is closer than w.
QList<QPointF> directKernel(const SpectraSumming::Options &options, const QList<QPointF> &points)
{
    QList<QPointF> out;
    for (qsizetype i = 0; i < points.size(); ++i) {
        const double xi = points[i].x();
        const double w = SpectraSumming::width(options.neighborTolerance, xi);
        double weight = points[i].y() * w;
        double centre = xi * weight;
        for (qsizetype j = i - 1; j >= 0 && xi - points[j].x() < w; --j) {
            const double k = (w - (xi - points[j].x())) * points[j].y();
            weight += k;
            centre += k * points[j].x();
        }
        for (qsizetype j = i + 1; j < points.size() && points[j].x() - xi < w; ++j) {
            const double k = (w - (points[j].x() - xi)) * points[j].y();
            weight += k;
            centre += k * points[j].x();
        }
        out.append({ centre / weight, weight / w });
    }
    return out;
}

// Peptide-like spectra: peaks shared by every spectrum with a few ppm of jitter, plus noise.
QList<zeq::Spectra> randomSpectra(std::mt19937 &random, int count, int shared, int noise)
{
    std::uniform_real_distribution<double> mz(200.0, 2000.0);
    std::uniform_real_distribution<double> unit(0.0, 1.0);
    QList<double> peaks;
    for (int k = 0; k < shared; ++k) {
        peaks.append(mz(random));
    }
    QList<zeq::Spectra> spectra(count);
    for (zeq::Spectra &s : spectra) {
        for (double peak : peaks) {
            s.points.append({ peak * (1.0 + (unit(random) - 0.5) * 1e-5), 100.0 + 1e4 * unit(random) });
        }
        for (int k = 0; k < noise; ++k) {
            s.points.append({ mz(random), 1.0 + 10.0 * unit(random) });
        }
        std::sort(s.points.begin(), s.points.end(), [](QPointF a, QPointF b) { return a.x() < b.x(); });
    }
    return spectra;
}

} // namespace

TEST(SpectraSummingTest, KernelMatchesTheDirectSumOnRandomSpectra)
{
    const SpectraSumming::Options optionsList[] = {
        {},
        { MassTolerance(MassTolerance::ppm, 200.0), MassTolerance(MassTolerance::ppm, 10.0) },
        dalton(0.05, 0.05),
    };
    std::mt19937 random(3);
    for (const SpectraSumming::Options &options : optionsList) {
        SCOPED_TRACE(options.neighborTolerance.tolerance());
        // An odd number of spectra, one of them unsorted, for the merge of the pool.
        QList<zeq::Spectra> spectra = randomSpectra(random, 31, 40, 300);
        std::shuffle(spectra[7].points.begin(), spectra[7].points.end(), random);
        QList<QPointF> pooled;
        for (const zeq::Spectra &s : spectra) {
            pooled += s.points;
        }
        std::sort(pooled.begin(), pooled.end(), [](QPointF a, QPointF b) { return a.x() < b.x(); });
        pooled = SpectraSumming::mergeDuplicates(pooled);
        const QList<QPointF> fast = SpectraSumming::sumNeighbors(options, pooled);
        const QList<QPointF> direct = directKernel(options, pooled);
        ASSERT_EQ(fast.size(), direct.size());
        for (qsizetype i = 0; i < fast.size(); ++i) {
            ASSERT_NEAR(fast[i].x(), direct[i].x(), 1e-9) << "point " << i;
            ASSERT_NEAR(fast[i].y(), direct[i].y(), 1e-9 * direct[i].y()) << "point " << i;
        }
        EXPECT_EQ(SpectraSumming::doSumming(options, spectra),
                  SpectraSumming::filterPairs(options, SpectraSumming::filterPeaks(options, fast)));
    }
}

TEST(SpectraSummingTest, SumsSpectraAndSurvivesBadInput)
{
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    const struct {
        const char *name;
        SpectraSumming::Options options;
        QList<zeq::Spectra> spectra;
        QList<QPointF> expected;
    } rows[] = {
        { "equal m/z merge", dalton(0.01, 0.01), { { { { 500, 10 } } }, { { { 500, 30 } } } }, { { 500, 40 } } },
        { "non-finite points dropped",
          dalton(0.01, 0.01),
          { { { { nan, 1 }, { 300, inf }, { 400, 2 }, { -inf, 5 } } } },
          { { 400, 2 } } },
        // No kernel: the points are only pooled, merged and filtered.
        { "zero Dalton tolerance",
          dalton(0.0, 0.0),
          { { { { 400, 2 }, { 400.001, 3 } } } },
          { { 400, 2 }, { 400.001, 3 } } },
        { "infinite tolerance", dalton(inf, inf), { { { { 400, 2 } } } }, { { 400, 2 } } },
        { "a lone zero keeps its m/z",
          dalton(0.5, 0.5),
          { { { { 100, 0 } } }, { { { 100.5, 2 } } } },
          { { 100, 0 }, { 100.5, 2 } } },
        // The 0.02 floor applies, also to a NaN tolerance: the two points smooth into one peak.
        { "NaN ppm tolerance",
          { MassTolerance(MassTolerance::ppm, nan), MassTolerance(MassTolerance::ppm, nan) },
          { { { { 400, 2 }, { 400.001, 3 } } } },
          { { 400.001 - 0.001 * 2 * 0.019 / (2 * 0.019 + 3 * 0.02), (3 * 0.02 + 2 * 0.019) / 0.02 } } },
    };
    for (const auto &row : rows) {
        SCOPED_TRACE(row.name);
        const QList<QPointF> sum = SpectraSumming::doSumming(row.options, row.spectra);
        ASSERT_EQ(sum.size(), row.expected.size());
        for (qsizetype i = 0; i < sum.size(); ++i) {
            EXPECT_NEAR(sum[i].x(), row.expected[i].x(), 1e-9);
            EXPECT_NEAR(sum[i].y(), row.expected[i].y(), 1e-9);
        }
    }
}

TEST(SpectraSummingTest, MzNearTheLargestDoubleSumsAsItsScaledDown)
{
    // Scaling m/z and the widths by a power of two scales the exact sum; near 1e300 the squared m/z
    // offsets of the kernel overflow (a NaN m/z) unless it works in units of the width.
    std::mt19937 random(5);
    const QList<zeq::Spectra> spectra = randomSpectra(random, 5, 40, 300);
    // Far below the rest: the windows restart far from where they were.
    const QList<zeq::Spectra> withOutlier = spectra + QList<zeq::Spectra>{ { { { 0.5, 7 } } } };
    const struct {
        const char *name;
        QList<zeq::Spectra> spectra;
        SpectraSumming::Options options;
        int exponent;
    } rows[] = {
        // Wide enough that the 0.02 floor, which does not scale, never applies.
        { "ppm", spectra, { MassTolerance(MassTolerance::ppm, 200.0), MassTolerance(MassTolerance::ppm, 200.0) }, 990 },
        { "Dalton", withOutlier, dalton(0.05, 0.05), 990 },
        // Joined midway, at about 1.4e308: the sum of the two m/z overflows.
        { "twins", { { { { 500, 10 }, { 500.25, 10 } } } }, dalton(0.5, 0.5), 1014 },
    };
    for (const auto &row : rows) {
        SCOPED_TRACE(row.name);
        const auto scaled = [&](double value) { return std::ldexp(value, row.exponent); };
        QList<zeq::Spectra> big = row.spectra;
        for (zeq::Spectra &s : big) {
            for (QPointF &p : s.points) {
                p.rx() = scaled(p.x());
            }
        }
        SpectraSumming::Options options = row.options;
        for (MassTolerance *t : { &options.neighborTolerance, &options.peakTolerance }) {
            if (t->unit() == MassTolerance::Dalton) {
                *t = MassTolerance(MassTolerance::Dalton, scaled(t->tolerance()));
            }
        }
        const QList<QPointF> expected = SpectraSumming::doSumming(row.options, row.spectra);
        const QList<QPointF> sum = SpectraSumming::doSumming(options, big);
        ASSERT_EQ(sum.size(), expected.size());
        for (qsizetype i = 0; i < sum.size(); ++i) {
            ASSERT_EQ(sum[i].x(), scaled(expected[i].x())) << "point " << i;
            ASSERT_EQ(sum[i].y(), expected[i].y()) << "point " << i;
        }
    }
}
