#include "algo/BuiltInEnzymes.h"
#include "algo/ProteinDigestNumberingList.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <tuple>

namespace
{

constexpr int kProteins = 20'000;
constexpr int kLookUps = 100'000;

// A proteome of natural composition: background amino-acid frequencies (percent) of curated
// protein databases, lengths uniform in 50..2000, each protein starting with methionine.
const QList<QString> &proteome()
{
    static const QList<QString> proteins = [] {
        static constexpr char residues[] = "ARNDCQEGHILKMFPSTWYV";
        std::discrete_distribution<int> residue{ 8.25, 5.53, 4.06, 5.45, 1.37, 3.93, 6.75, 7.07, 2.27, 5.96,
                                                 9.66, 5.84, 2.42, 3.86, 4.70, 6.56, 5.34, 1.08, 2.92, 6.87 };
        std::mt19937 random(2024);
        std::uniform_int_distribution<int> length(50, 2000);
        QList<QString> list;
        list.reserve(kProteins);
        for (int i = 0; i < kProteins; ++i) {
            QString protein(length(random), Qt::Uninitialized);
            protein[0] = u'M';
            for (qsizetype j = 1; j < protein.size(); ++j) {
                protein[j] = QLatin1Char(residues[residue(random)]);
            }
            list.append(protein);
        }
        return list;
    }();
    return proteins;
}

zeq::ProteinDigestNumberingList numberedProteome()
{
    zeq::ProteinDigestNumberingList list;
    const QList<QString> &proteins = proteome();
    for (int i = 0; i < kProteins; ++i) {
        const Error err = list.insertProtein(i, {}, {}, proteins[i], zeq::BuiltInProteases::kTrypsin);
        if (err.hasError()) { // a generated proteome always digests; anything else is a broken benchmark
            std::fprintf(stderr, "%s\n", qPrintable(err.errorString()));
            std::abort();
        }
    }
    return list;
}

void BM_InsertProteome(benchmark::State &state)
{
    qsizetype residues = 0;
    for (const QString &protein : proteome()) {
        residues += protein.size();
    }
    for (auto _ : state) {
        zeq::ProteinDigestNumberingList list = numberedProteome();
        benchmark::DoNotOptimize(list);
        state.PauseTiming();
        list = {};
        state.ResumeTiming();
    }
    state.SetItemsProcessed(state.iterations() * kProteins);
    state.counters["residues"] = static_cast<double>(residues);
}
BENCHMARK(BM_InsertProteome)->Unit(benchmark::kMillisecond)->Iterations(5);

// Peptide-sized ranges (6..30 residues) at random places of random proteins. Argument 1 visits them
// protein by protein, as when a search result is annotated per protein; argument 0 in random order,
// where each look-up waits on memory for the table node and the protein's numbers.
void BM_RangeLookUp(benchmark::State &state)
{
    struct Query {
        int protein;
        int start;
        int end;
    };
    static const zeq::ProteinDigestNumberingList list = numberedProteome();
    std::mt19937 random(7);
    std::uniform_int_distribution<int> protein(0, kProteins - 1);
    QList<Query> queries;
    queries.reserve(kLookUps);
    for (int i = 0; i < kLookUps; ++i) {
        const int id = protein(random);
        const int length = static_cast<int>(proteome()[id].size());
        const int start = std::uniform_int_distribution<int>(0, length - 6)(random);
        const int end = std::min(length - 1, start + std::uniform_int_distribution<int>(5, 29)(random));
        queries.append({ id, start, end });
    }
    if (state.range(0) == 1) {
        std::sort(queries.begin(), queries.end(), [](const Query &a, const Query &b) {
            return std::tie(a.protein, a.start) < std::tie(b.protein, b.start);
        });
    }
    const zeq::ProteinDigestionItem &trypsin = zeq::BuiltInProteases::kTrypsin;
    for (auto _ : state) {
        int found = 0;
        for (const Query &query : queries) {
            zeq::ProteinDigestNumbering::DigestInfo info;
            found += list.getDigestInfo(query.protein, query.start, query.end, trypsin, &info);
            benchmark::DoNotOptimize(info);
        }
        if (found != kLookUps) {
            state.SkipWithError("a range was not found");
        }
    }
    state.SetItemsProcessed(state.iterations() * kLookUps);
}
BENCHMARK(BM_RangeLookUp)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

} // namespace
