// Profile spectra centroided before the cluster search: one busy orbital-trap MS1 spectrum of about
// 50,000 profile points (150 peptide and protein clusters at m/z 350-1,800 among small noise peaks),
// centroided alone, and centroided then cut into search windows and searched, on one thread, as
// `zeq deisotope` does for each spectrum.
#include "ProfileCentroider.h"
#include "algo/AveragineComparisonSearch.h"
#include "algo/SpectrumWindows.h"
#include "support/ProfileRun.h"
#include "zeq_common_stable/PlotBase.h"

#include <QLoggingCategory>

#include <benchmark/benchmark.h>

#include <algorithm>

namespace
{

const zeq::test::ProfileSpectrum &spectrum()
{
    static const zeq::test::ProfileSpectrum s = [] {
        // The search's diagnostics, which zeq deisotope shows only with --verbose.
        QLoggingCategory::setFilterRules(QStringLiteral("zeq.*=false"));
        return zeq::test::makeBenchmarkProfileSpectrum();
    }();
    return s;
}

void BM_Centroid(benchmark::State &state)
{
    const QList<QPointF> &profile = spectrum().profile;
    qsizetype peaks = 0;
    for (auto _ : state) {
        const QList<QPointF> centroids = zeq::cli::centroidProfile(profile);
        peaks = centroids.size();
        benchmark::DoNotOptimize(centroids.data());
    }
    state.counters["points"] = double(profile.size());
    state.counters["peaks"] = double(peaks);
}
BENCHMARK(BM_Centroid)->Unit(benchmark::kMillisecond);

/// The search over every window of `points` as zeq deisotope cuts them; returns the clusters
/// reported.
qsizetype searchAll(const QList<QPointF> &points, qsizetype *windowCount)
{
    const zeq::ProcessorOptions options;
    const PlotBase plot(points);
    qsizetype clusters = 0;
    const QList<zeq::SearchWindow> windows = zeq::searchWindows(points);
    QList<zeq::ChargeScoreInfo> found;
    for (const zeq::SearchWindow &w : windows) {
        zeq::findChargesAndMonos(options, plot, w.start, w.end, QString(), 0.01, found);
        clusters += std::count_if(
            found.cbegin(), found.cend(), [&w](const zeq::ChargeScoreInfo &c) { return w.reports(c.mzOffset); });
    }
    *windowCount = windows.size();
    return clusters;
}

void BM_CentroidAndSearch(benchmark::State &state)
{
    const QList<QPointF> &profile = spectrum().profile;
    qsizetype clusters = 0;
    qsizetype windows = 0;
    for (auto _ : state) {
        clusters = searchAll(zeq::cli::centroidProfile(profile), &windows);
        benchmark::DoNotOptimize(clusters);
    }
    state.counters["windows"] = double(windows);
    state.counters["clusters"] = double(clusters);
}
BENCHMARK(BM_CentroidAndSearch)->Unit(benchmark::kMillisecond);

/// For comparison: the search over the spectrum's exact apexes, without its noise peaks.
void BM_SearchApexesOnly(benchmark::State &state)
{
    qsizetype clusters = 0;
    qsizetype windows = 0;
    for (auto _ : state) {
        clusters = searchAll(spectrum().apexes, &windows);
        benchmark::DoNotOptimize(clusters);
    }
    state.counters["windows"] = double(windows);
    state.counters["clusters"] = double(clusters);
}
BENCHMARK(BM_SearchApexesOnly)->Unit(benchmark::kMillisecond);

} // namespace
