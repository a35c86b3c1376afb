#include "zeq_qt_shared_libs_core/AveragineIsotopeDistribution.h"

#include <benchmark/benchmark.h>

#include <malloc.h>
#include <memory>
#include <random>

namespace
{

std::vector<double> randomMasses(double lo, double hi, size_t count)
{
    std::mt19937 rng(7);
    std::uniform_real_distribution<double> mass(lo, hi);
    std::vector<double> out(count);
    for (double &m : out) {
        m = mass(rng);
    }
    return out;
}

// Heap in use, in MB (glibc). Unlike the resident set it does not count memory freed by earlier
// benchmarks and kept by the allocator.
double heapMegabytes()
{
    const struct mallinfo2 info = mallinfo2();
    return static_cast<double>(info.uordblks + info.hblkhd) / (1024.0 * 1024.0);
}

// One look-up per 125 Da touches every chunk and bin of the range.
void fill(const AveragineIsotopeDistribution &model, double lo, double hi)
{
    for (double m = lo; m <= hi; m += 125.0) {
        benchmark::DoNotOptimize(model.isotopeIntensityFractions(m).data());
    }
}

} // namespace

// The scoring loop asks for a pattern on every candidate: the look-up of a warm table must stay in
// the nanoseconds.
static void BM_AveragineLookup(benchmark::State &state)
{
    const AveragineIsotopeDistribution model;
    const std::vector<double> masses = randomMasses(50.0, static_cast<double>(state.range(0)), 4096);
    fill(model, 50.0, static_cast<double>(state.range(0)));
    size_t i = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(model.isotopeIntensityFractions(masses[i]).data());
        i = (i + 1) & 4095;
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_AveragineLookup)->Arg(10'000)->Arg(200'000)->Arg(1'000'000);

// Library load: the process-wide model is constructed then, so construction must be cheap.
static void BM_AveragineConstruct(benchmark::State &state)
{
    for (auto _ : state) {
        benchmark::DoNotOptimize(std::make_unique<AveragineIsotopeDistribution>());
    }
}
BENCHMARK(BM_AveragineConstruct);

// First use of one mass: fills the 1 kDa chunk (or 250 Da bin) around it.
static void BM_AveragineFirstUse(benchmark::State &state)
{
    const double mass = static_cast<double>(state.range(0));
    for (auto _ : state) {
        const AveragineIsotopeDistribution model;
        benchmark::DoNotOptimize(model.isotopeIntensityFractions(mass).data());
    }
}
BENCHMARK(BM_AveragineFirstUse)
    ->Arg(1'500)
    ->Arg(50'500)
    ->Arg(199'500)
    ->Arg(600'000)
    ->Arg(999'000)
    ->Unit(benchmark::kMicrosecond);

// The whole table of a range, with the memory it holds.
static void BM_AveragineFullTable(benchmark::State &state)
{
    const double lo = static_cast<double>(state.range(0));
    const double hi = static_cast<double>(state.range(1));
    double megabytes = 0.0;
    for (auto _ : state) {
        const double before = heapMegabytes();
        const AveragineIsotopeDistribution model;
        fill(model, lo, hi);
        megabytes = heapMegabytes() - before;
    }
    state.counters["MB"] = megabytes;
}
BENCHMARK(BM_AveragineFullTable)
    ->Args({ 50, 200'000 })
    ->Args({ 200'000, 1'000'000 })
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3);
