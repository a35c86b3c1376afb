// Cluster search over spectrum windows, the library's headline job, and its inner loop, one
// overlap score. Windows come from the averagine model with fixed seeds (tests/support).
#include "algo/AveragineComparisonScoring.h"
#include "algo/AveragineComparisonSearch.h"
#include "algo/ClusterAlternatives.h"
#include "algo/ImprovedClusterSearch.h"
#include "support/SyntheticPeaks.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>

using zeq::test::SyntheticPeaks;

namespace
{

struct Window {
    PlotBase plot;
    double start;
    double end;
};

Window peptideWindow()
{
    SyntheticPeaks s(1);
    s.setJitter(2.0, 0.05);
    const double mono = s.addCluster(1396.68, 2, 1e5);
    s.addNoisePeaks(40, mono - 3.0, mono + 6.0, 3e3);
    return { s.plot(), mono - 2.0, mono + 5.0 };
}

Window threePeptideWindow()
{
    SyntheticPeaks s(2);
    s.setJitter(2.0, 0.05);
    const double mono = s.addCluster(1396.68, 2, 1e5);
    s.addCluster(2101.05, 3, 6e4);
    s.addCluster(2797.42, 4, 4e4);
    s.addNoisePeaks(40, mono - 3.0, mono + 7.0, 3e3);
    return { s.plot(), mono - 2.0, mono + 6.0 };
}

// Charge states 20 to 35 of a 50 kDa protein: m/z 1430 to 2500, about 45 isotopes each.
Window proteinWindow()
{
    SyntheticPeaks s(3);
    s.setJitter(2.0, 0.05);
    for (int z = 20; z <= 35; ++z) {
        s.addCluster(50000.0, z, 1e5 * (1.0 - std::abs(z - 27) / 10.0));
    }
    s.addNoisePeaks(400, 1400.0, 2540.0, 3e3);
    return { s.plot(), 1400.0, 2540.0 };
}

enum class Mode { Design, Improved, DesignAndAlternatives };

void runSearch(benchmark::State &state, const Window &window, double optionStdDev, Mode mode = Mode::Design)
{
    zeq::ProcessorOptions opts;
    opts.stdDev = optionStdDev;
    zeq::ImprovedSearchOptions improved;
    improved.processor = opts;
    QList<zeq::ChargeScoreInfo> out;
    for (auto _ : state) {
        if (mode == Mode::Improved) {
            zeq::findClustersImproved(improved, window.plot, window.start, window.end, 0.01, out);
        } else {
            zeq::findChargesAndMonos(opts, window.plot, window.start, window.end, QString(), 0.01, out);
        }
        if (mode == Mode::DesignAndAlternatives) {
            for (const zeq::ChargeScoreInfo &c : out) {
                benchmark::DoNotOptimize(zeq::findClusterAlternatives(window.plot, c, opts));
            }
        }
        benchmark::DoNotOptimize(out.data());
    }
    state.counters["clusters"] = static_cast<double>(out.size());
    state.counters["points"] = static_cast<double>(window.plot.getDataPoints(window.start, window.end, true).size());
    state.SetItemsProcessed(state.iterations());
}

} // namespace

// Writes the window first when ZEQ_BENCH_PEPTIDE_WINDOW names a file, so that
// bench/python_overhead.py times the Python module on exactly these points.
static void BM_FindChargesPeptide(benchmark::State &state)
{
    const Window window = peptideWindow();
    if (const char *path = std::getenv("ZEQ_BENCH_PEPTIDE_WINDOW")) {
        if (FILE *f = std::fopen(path, "w")) {
            std::fprintf(f, "# window %.17g %.17g\n", window.start, window.end);
            for (const QPointF &p : window.plot.getPointList()) {
                std::fprintf(f, "%.17g %.17g\n", p.x(), p.y());
            }
            std::fclose(f);
        }
    }
    runSearch(state, window, 0.015);
}
BENCHMARK(BM_FindChargesPeptide)->Unit(benchmark::kMicrosecond);

static void BM_FindChargesThreePeptides(benchmark::State &state)
{
    runSearch(state, threePeptideWindow(), 0.015);
}
BENCHMARK(BM_FindChargesThreePeptides)->Unit(benchmark::kMicrosecond);

static void BM_FindChargesProtein20to35(benchmark::State &state)
{
    runSearch(state, proteinWindow(), 0.005);
}
BENCHMARK(BM_FindChargesProtein20to35)->Unit(benchmark::kMillisecond);

// The same windows in the improved mode, and in the design's with every cluster's alternatives.
static void BM_ModesPeptide(benchmark::State &state)
{
    runSearch(state, peptideWindow(), 0.015, Mode(state.range(0)));
}
BENCHMARK(BM_ModesPeptide)->ArgName("improved|alternatives")->Arg(1)->Arg(2)->Unit(benchmark::kMicrosecond);

static void BM_ModesThreePeptides(benchmark::State &state)
{
    runSearch(state, threePeptideWindow(), 0.015, Mode(state.range(0)));
}
BENCHMARK(BM_ModesThreePeptides)->ArgName("improved|alternatives")->Arg(1)->Arg(2)->Unit(benchmark::kMicrosecond);

static void BM_ModesProtein20to35(benchmark::State &state)
{
    runSearch(state, proteinWindow(), 0.005, Mode(state.range(0)));
}
BENCHMARK(BM_ModesProtein20to35)->ArgName("improved|alternatives")->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond);

// Three peptide clusters among state.range(0) noise peaks in 10 m/z, the noise's total intensity
// held constant so that the same clusters are found: the growth of the search's time with the
// points per window.
static void BM_FindChargesDensity(benchmark::State &state)
{
    SyntheticPeaks s(4);
    s.setJitter(2.0, 0.05);
    const double mono = s.addCluster(1396.68, 2, 1e5);
    s.addCluster(2101.05, 3, 6e4);
    s.addCluster(2797.42, 4, 4e4);
    s.addNoisePeaks(
        static_cast<int>(state.range(0)), mono - 2.0, mono + 8.0, 3e3 * 25.0 / static_cast<double>(state.range(0)));
    runSearch(state, { s.plot(), mono - 2.0, mono + 8.0 }, 0.015);
}
BENCHMARK(BM_FindChargesDensity)->RangeMultiplier(2)->Range(25, 800)->Unit(benchmark::kMillisecond);

// One score of the true placement of a peptide (state.range 0 = 0) or of a 50 kDa protein at
// charge 27 (range 1), as the charge search computes it.
static void BM_CalcOverlapScore(benchmark::State &state)
{
    const bool protein = state.range(0) == 1;
    const Window window = protein ? proteinWindow() : peptideWindow();
    zeq::TestParameters tp;
    tp.chargeSearchActive = true;
    tp.uncertaintyScaling = zeq::SqrtUncertainty;
    tp.stdDev = (protein ? 0.005 : 0.015) / std::sqrt(1000.0);
    zeq::ChargeScoreInfo info;
    info.charge = protein ? 27 : 2;
    info.mzOffset = zeq::test::monoMzOf(protein ? 50000.0 : 1396.68, info.charge);
    info.scaleFact = 1e5 / 0.3;
    for (auto _ : state) {
        zeq::calcOverlapScore(window.plot, zeq::sharedAveragineModel(), tp, info);
        benchmark::DoNotOptimize(info.score);
    }
    state.counters["matches"] = static_cast<double>(info.matchVector.size());
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_CalcOverlapScore)->Arg(0)->Arg(1);
