#include "math/MassTolerance.h"

#include <benchmark/benchmark.h>

#include <random>

// The window look-up sits in the inner loop of spectrum matching: it must stay allocation-free
// on success.
static void BM_GetBoundsPpm(benchmark::State &state)
{
    const zeq::MassTolerance tolerance(zeq::MassTolerance::ppm, 10.0);
    std::mt19937 rng(7);
    std::uniform_real_distribution<double> mass(100.0, 5000.0);
    double m = mass(rng);
    for (auto _ : state) {
        benchmark::DoNotOptimize(tolerance.getBounds(m));
        m += 0.001;
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_GetBoundsPpm);
