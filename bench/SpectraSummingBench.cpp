// Summing of many centroided spectra of one sample: every spectrum shows the same peptides' isotope
// peaks, each a few ppm off and at its own intensity, among noise peaks of its own.
#include "algo/SpectraSumming.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <random>

namespace
{

constexpr int kPointsPerSpectrum = 5000;
constexpr int kPeptides = 300;
constexpr int kIsotopes = 4;

QList<zeq::Spectra> peptideSpectra(int count, unsigned seed)
{
    std::mt19937 random(seed);
    std::uniform_real_distribution<double> unit(0.0, 1.0);
    // Isotope peaks at 1.00336/z apart with averagine-like heights around 1,500 Da.
    QList<QPointF> shared;
    const double heights[kIsotopes] = { 1.0, 0.8, 0.4, 0.15 };
    for (int p = 0; p < kPeptides; ++p) {
        const int z = 1 + int(random() % 3);
        const double mono = 300.0 + 1700.0 * unit(random);
        const double abundance = 1e4 + 1e6 * unit(random) * unit(random);
        for (int k = 0; k < kIsotopes; ++k) {
            shared.append({ mono + k * 1.00336 / z, abundance * heights[k] });
        }
    }
    QList<zeq::Spectra> spectra(count);
    for (zeq::Spectra &s : spectra) {
        s.points.reserve(kPointsPerSpectrum);
        for (const QPointF &p : shared) {
            const double ppm = (unit(random) - 0.5) * 6.0;
            s.points.append({ p.x() * (1.0 + ppm * 1e-6), p.y() * (0.5 + unit(random)) });
        }
        while (s.points.size() < kPointsPerSpectrum) {
            s.points.append({ 300.0 + 1700.0 * unit(random), 100.0 + 2e3 * unit(random) });
        }
        std::sort(s.points.begin(), s.points.end(), [](QPointF a, QPointF b) { return a.x() < b.x(); });
    }
    return spectra;
}

void BM_DoSumming(benchmark::State &state)
{
    const auto count = static_cast<int>(state.range(0));
    const QList<zeq::Spectra> spectra = peptideSpectra(count, 17);
    const zeq::SpectraSumming::Options options; // 10 ppm, widths floored at 0.02
    qsizetype peaks = 0;
    for (auto _ : state) {
        const QList<QPointF> sum = zeq::SpectraSumming::doSumming(options, spectra);
        peaks = sum.size();
        benchmark::DoNotOptimize(sum.constData());
    }
    state.counters["peaks"] = double(peaks);
    state.SetItemsProcessed(state.iterations() * count * kPointsPerSpectrum);
}
BENCHMARK(BM_DoSumming)->Arg(20)->Arg(200)->Arg(2000)->Unit(benchmark::kMillisecond);

// The smoothing step alone on the pooled points: the part whose cost depends on how many points
// share a kernel.
void BM_SumNeighbors(benchmark::State &state)
{
    const auto count = static_cast<int>(state.range(0));
    QList<QPointF> pooled;
    for (const zeq::Spectra &s : peptideSpectra(count, 17)) {
        pooled += s.points;
    }
    std::sort(pooled.begin(), pooled.end(), [](QPointF a, QPointF b) { return a.x() < b.x(); });
    const zeq::SpectraSumming::Options options;
    for (auto _ : state) {
        benchmark::DoNotOptimize(zeq::SpectraSumming::sumNeighbors(options, pooled).constData());
    }
    state.SetItemsProcessed(state.iterations() * pooled.size());
}
BENCHMARK(BM_SumNeighbors)->Arg(200)->Arg(2000)->Unit(benchmark::kMillisecond);

} // namespace
