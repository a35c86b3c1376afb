// zeq digest over a generated proteome: the per-protein digestion, the rows it makes, and the whole
// command's work from the FASTA file to the rendered table.
#include "FastaInput.h"
#include "ProteinDigester.h"

#include <QFile>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <cmath>
#include <random>

using namespace zeq::cli;

namespace
{

constexpr int kProteins = 20'000;

// Background amino-acid frequencies (percent) of curated protein databases; lengths log-normal with
// a median of 420 residues (mean about 560), as in a human proteome, each protein starting with M.
const QString &proteomeFile()
{
    static QTemporaryDir dir;
    static const QString path = [] {
        static constexpr char residues[] = "ARNDCQEGHILKMFPSTWYV";
        std::discrete_distribution<int> residue{ 8.25, 5.53, 4.06, 5.45, 1.37, 3.93, 6.75, 7.07, 2.27, 5.96,
                                                 9.66, 5.84, 2.42, 3.86, 4.70, 6.56, 5.34, 1.08, 2.92, 6.87 };
        std::lognormal_distribution<double> length(std::log(420.0), 0.75);
        std::mt19937 random(2026);
        QByteArray text;
        for (int i = 0; i < kProteins; ++i) {
            text += ">sp|Q" + QByteArray::number(100000 + i) + "|GEN" + QByteArray::number(i) + " generated\nM";
            const int n = std::clamp(static_cast<int>(length(random)), 30, 30'000);
            for (int j = 1; j < n; ++j) {
                text += residues[residue(random)];
                if (j % 60 == 59) {
                    text += '\n';
                }
            }
            text += '\n';
        }
        const QString file = dir.filePath(QStringLiteral("proteome.fasta"));
        QFile out(file);
        if (!out.open(QIODevice::WriteOnly) || out.write(text) != text.size()) {
            std::abort();
        }
        return file;
    }();
    return path;
}

const FastaProteins &proteome()
{
    static const FastaProteins proteins = [] {
        FastaProteins read;
        if (readFastaProteins(proteomeFile(), &read)) {
            std::abort();
        }
        return read;
    }();
    return proteins;
}

DigestSettings trypsinTwoMissed()
{
    DigestSettings settings; // the program's defaults: lengths 7 to 50, any mass
    settings.maxMissedCleavages = 2;
    return settings;
}

void BM_DigestProteins(benchmark::State &state)
{
    const FastaProteins &proteins = proteome();
    ProteinDigester digester(trypsinTwoMissed());
    qsizetype peptides = 0;
    for (auto _ : state) {
        peptides = 0;
        for (const QString &sequence : proteins.sequences) {
            if (digester.digest(sequence).hasError()) {
                state.SkipWithError("a generated protein failed to digest");
            }
            peptides += digester.peptides().size();
        }
    }
    state.SetItemsProcessed(state.iterations() * kProteins);
    state.counters["peptides"] = static_cast<double>(peptides);
}
BENCHMARK(BM_DigestProteins)->Unit(benchmark::kMillisecond);

// The command's work once the file is read: digestion and the rendered output, TSV written line by
// line (argument 0) or a table through the writer's cells (argument 1).
void BM_DigestProteinsToOutput(benchmark::State &state)
{
    const FastaProteins &proteins = proteome();
    const TableWriter::Format format = state.range(0) == 0 ? TableWriter::Tsv : TableWriter::Table;
    qsizetype bytes = 0;
    for (auto _ : state) {
        const zeq::Result<QByteArray> text = digestProteins(proteins, trypsinTwoMissed(), format);
        if (text.hasError()) {
            state.SkipWithError("a generated protein failed to digest");
            break;
        }
        bytes = text.value().size();
    }
    state.SetItemsProcessed(state.iterations() * kProteins);
    state.counters["output_MB"] = static_cast<double>(bytes) / 1e6;
}
BENCHMARK(BM_DigestProteinsToOutput)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// Everything but writing the bytes out: read the file, digest, render TSV.
void BM_DigestFastaFile(benchmark::State &state)
{
    for (auto _ : state) {
        FastaProteins proteins;
        if (readFastaProteins(proteomeFile(), &proteins)) {
            state.SkipWithError("the generated FASTA could not be read");
            break;
        }
        benchmark::DoNotOptimize(digestProteins(proteins, trypsinTwoMissed(), TableWriter::Tsv));
    }
    state.SetItemsProcessed(state.iterations() * kProteins);
}
BENCHMARK(BM_DigestFastaFile)->Unit(benchmark::kMillisecond);

} // namespace
