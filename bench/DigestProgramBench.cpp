// zeq digest over a generated proteome: the per-protein digestion, the rows it makes, and the whole
// command's work from the FASTA file to the written output.
#include "CommandLine.h"
#include "PeptideRows.h"
#include "algo/ProteomeDigestion.h"
#include "zeq_qt_shared_libs_core/ReadFasta.h"

#include <QFile>
#include <QFileInfo>
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

const QList<QString> &proteome()
{
    static const QList<QString> sequences = [] {
        QList<QString> names;
        QList<QString> read;
        if (readFasta(proteomeFile().toStdWString(), 0, true, &names, &read, {}).hasError()) {
            std::abort();
        }
        return read;
    }();
    return sequences;
}

zeq::ProteomeDigestionSettings trypsinTwoMissed()
{
    zeq::ProteomeDigestionSettings settings; // the program's defaults: lengths 7 to 50, any mass
    settings.maxMissedCleavages = 2;
    return settings;
}

void BM_DigestProteins(benchmark::State &state)
{
    zeq::ProteomeDigestion digestion(trypsinTwoMissed());
    qsizetype peptides = 0;
    for (auto _ : state) {
        peptides = 0;
        for (const QString &sequence : proteome()) {
            if (digestion.digest(sequence).hasError()) {
                state.SkipWithError("a generated protein failed to digest");
            }
            peptides += digestion.peptides().size();
        }
    }
    state.SetItemsProcessed(state.iterations() * kProteins);
    state.counters["peptides"] = static_cast<double>(peptides);
}
BENCHMARK(BM_DigestProteins)->Unit(benchmark::kMillisecond);

// The command's work from the FASTA file on, as zeq digest does it: proteins read and digested one
// at a time, rows streamed into a file in the temporary folder; TSV (argument 0), or the aligned
// table, which reads the file twice (argument 1).
void BM_DigestFastaFile(benchmark::State &state)
{
    const TableWriter::Format format = state.range(0) == 0 ? TableWriter::Tsv : TableWriter::Table;
    const QString output = proteomeFile() + QStringLiteral(".out");
    zeq::ProteomeDigestion digestion(trypsinTwoMissed());
    for (auto _ : state) {
        ResultStream out(output);
        TableWriter table(format, peptideColumns());
        table.streamTo(&out);
        if (format == TableWriter::Table) {
            const Error err = digestion.digestFastaFile(
                proteomeFile(), [&](const FastaEntry &, const QString &accession, const auto &peptides) {
                    measurePeptideRows(accession, peptides, &table);
                    return true;
                });
            if (err.hasError()) {
                state.SkipWithError("the generated FASTA could not be digested");
                break;
            }
            table.fixWidths();
        }
        const Error err = digestion.digestFastaFile(
            proteomeFile(), [&](const FastaEntry &, const QString &accession, const auto &peptides) {
                addPeptideRows(accession, digestion.residues(), peptides, &table);
                return table.ok();
            });
        if (err.hasError() || !table.finish() || out.finish() != kExitSuccess) {
            state.SkipWithError("the generated FASTA could not be digested");
            break;
        }
    }
    state.SetItemsProcessed(state.iterations() * kProteins);
    state.counters["output_MB"] = static_cast<double>(QFileInfo(output).size()) / 1e6;
}
BENCHMARK(BM_DigestFastaFile)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

} // namespace
