#include "db/RowNodeAggregator.h"
#include "db/RowNodeGrouper.h"
#include "db/RowNodePivotTable.h"
#include "db/RowNodePtrListSorter.h"
#include "zeq_common_core_mini/RowNode.h"

#include <benchmark/benchmark.h>

#include <array>
#include <memory>
#include <random>

namespace
{

// Ten columns of numbers and short texts, like a peptide result table. Every text cell is its own
// allocation, as it would be after reading a file.
RowNode makeTable(int rowCount)
{
    static const std::array<const char *, 8> modifications = { "",       "Oxidation",       "Deamidation", "Phospho",
                                                               "Acetyl", "Carbamidomethyl", "Methyl",      "Pyro-glu" };
    static const char residues[] = "ACDEFGHIKLMNPQRSTVWY";
    std::mt19937 rng(7);
    std::uniform_int_distribution<int> protein(0, 999);
    std::uniform_int_distribution<int> charge(1, 5);
    std::uniform_int_distribution<int> sample(0, 19);
    std::uniform_int_distribution<int> modification(0, int(modifications.size()) - 1);
    std::uniform_int_distribution<int> residue(0, 19);
    std::uniform_int_distribution<int> length(7, 14);
    std::uniform_real_distribution<double> mass(500.0, 5000.0);
    std::uniform_real_distribution<double> score(0.0, 100.0);
    std::lognormal_distribution<double> intensity(12.0, 2.0);

    RowNode root;
    root.addData(QList<QString>{ u"Id"_qs,
                                 u"Protein"_qs,
                                 u"Sequence"_qs,
                                 u"Charge"_qs,
                                 u"CalcMr"_qs,
                                 u"Score"_qs,
                                 u"Intensity"_qs,
                                 u"Sample"_qs,
                                 u"Modifications"_qs,
                                 u"ScanNumber"_qs },
                 true);
    root.children().reserve(rowCount);
    char sequence[16];
    for (int i = 0; i < rowCount; ++i) {
        VariantItems &cells = root.addNewChildMatchRootDataSize()->data();
        const int n = length(rng);
        for (int k = 0; k < n; ++k) {
            sequence[k] = residues[residue(rng)];
        }
        cells[0] = i;
        const int p = protein(rng);
        const char accession[] = { 'P', '0', '0', char('0' + p / 100), char('0' + p / 10 % 10), char('0' + p % 10) };
        cells[1] = QString::fromLatin1(accession, sizeof accession);
        cells[2] = QString::fromLatin1(sequence, n);
        cells[3] = charge(rng);
        cells[4] = mass(rng);
        cells[5] = score(rng);
        cells[6] = intensity(rng);
        const int s = sample(rng);
        const char sampleName[] = { 'S', char('0' + s / 10), char('0' + s % 10) };
        cells[7] = QString::fromLatin1(sampleName, sizeof sampleName);
        cells[8] = QString::fromLatin1(modifications[size_t(modification(rng))]);
        cells[9] = 1000 + i / 3;
    }
    return root;
}

// Groups the table by protein (1,000 groups); a failure skips the benchmark with its message.
bool groupByProtein(RowNode &table, benchmark::State &state)
{
    const Error err = regroupByFieldNames({ u"Protein"_qs }, {}, &table);
    if (err.hasError()) {
        state.SkipWithError(err.errorString().toStdString().c_str());
        return false;
    }
    return true;
}

void BM_BuildTable(benchmark::State &state)
{
    for (auto _ : state) {
        RowNode table = makeTable(int(state.range(0)));
        benchmark::DoNotOptimize(table.getChildListSize());
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_BuildTable)->Arg(1'000'000)->Unit(benchmark::kMillisecond)->Iterations(1);

// Deep copy of the whole table, flat (0) or grouped by protein (1): what a pivot pays first.
void BM_CopyTable(benchmark::State &state)
{
    RowNode table = makeTable(1'000'000);
    if (state.range(0) == 1 && !groupByProtein(table, state)) {
        return;
    }
    for (auto _ : state) {
        auto copy = std::make_unique<RowNode>(table);
        benchmark::DoNotOptimize(copy->getChildListSize());
        state.PauseTiming();
        copy.reset();
        state.ResumeTiming();
    }
    state.SetItemsProcessed(state.iterations() * 1'000'000);
}
BENCHMARK(BM_CopyTable)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->Iterations(3);

// Destruction of such a copy.
void BM_FreeTable(benchmark::State &state)
{
    RowNode table = makeTable(1'000'000);
    if (state.range(0) == 1 && !groupByProtein(table, state)) {
        return;
    }
    for (auto _ : state) {
        state.PauseTiming();
        auto copy = std::make_unique<RowNode>(table);
        state.ResumeTiming();
        copy.reset();
    }
    state.SetItemsProcessed(state.iterations() * 1'000'000);
}
BENCHMARK(BM_FreeTable)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->Iterations(3);

// Each iteration after the first also dissolves the groups the previous one made.
void BM_RegroupTwoColumns(benchmark::State &state)
{
    RowNode table = makeTable(int(state.range(0)));
    for (auto _ : state) {
        benchmark::DoNotOptimize(regroupByFieldNames({ u"Protein"_qs, u"Charge"_qs }, { u"Score:-:r"_qs }, &table));
    }
    state.counters["groups"] = table.getChildListSize();
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_RegroupTwoColumns)->Arg(100'000)->Arg(1'000'000)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_RegroupTwoLevels(benchmark::State &state)
{
    RowNode table = makeTable(int(state.range(0)));
    for (auto _ : state) {
        benchmark::DoNotOptimize(
            regroupRowNodesRecursive({ { u"Protein"_qs }, { u"Charge"_qs } }, { {}, { u"Score:-:r"_qs } }, &table));
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_RegroupTwoLevels)->Arg(1'000'000)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_PivotTable(benchmark::State &state)
{
    zeq::RowNodePivotTable pivot(makeTable(int(state.range(0))));
    zeq::RowNodePivotTableOptions options;
    options.rows = { u"Protein"_qs };
    options.cols = { u"Sample"_qs };
    for (auto _ : state) {
        benchmark::DoNotOptimize(pivot.makePivotTable(options));
    }
    state.counters["cells"] = double(pivot.rowCount()) * pivot.columnCount();
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_PivotTable)->Arg(1'000'000)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_SortByScore(benchmark::State &state)
{
    RowNode table = makeTable(int(state.range(0)));
    for (auto _ : state) {
        benchmark::DoNotOptimize(sortGroupByOneLevel({ u"Score:-:r"_qs }, &table));
        state.PauseTiming();
        std::reverse(table.children().begin(), table.children().end());
        state.ResumeTiming();
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_SortByScore)->Arg(1'000'000)->Unit(benchmark::kMillisecond)->Iterations(3);

// Sorting a list of rows by a cell and finding every row of one mass by binary search.
void BM_SortAndSelect(benchmark::State &state)
{
    const RowNode table = makeTable(int(state.range(0)));
    for (auto _ : state) {
        zeq::RowNodePtrListSorter sorter(table.children());
        benchmark::DoNotOptimize(sorter.sortByColumn(u"CalcMr"_qs));
        for (const RowNode *row : table.children().mid(0, 1000)) {
            benchmark::DoNotOptimize(sorter.select(row->getDataAt(4)));
        }
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_SortAndSelect)->Arg(1'000'000)->Unit(benchmark::kMillisecond)->Iterations(3);

// Mean and standard deviation of one column per group, reading cells by column name.
void BM_AggregatePerGroup(benchmark::State &state)
{
    RowNode table = makeTable(int(state.range(0)));
    if (!groupByProtein(table, state)) {
        return;
    }
    for (auto _ : state) {
        double total = 0.0;
        for (RowNode *group : table.children()) {
            zeq::RunningStatAggregator mean(zeq::RunningStatAggregator::Mean);
            zeq::RunningStatAggregator spread(zeq::RunningStatAggregator::StandardDeviation);
            for (RowNode *row : RowNodeGrouper::childrenOrLeaf(group)) {
                mean.push(row, u"Score"_qs);
                spread.push(row, u"Score"_qs);
            }
            total += mean.value().toDouble() + spread.value().toDouble();
        }
        benchmark::DoNotOptimize(total);
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_AggregatePerGroup)->Arg(1'000'000)->Unit(benchmark::kMillisecond)->Iterations(3);

} // namespace
