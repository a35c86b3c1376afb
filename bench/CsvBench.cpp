#include "io/RowNodeCsvReader.h"
#include "io/RowNodeCsvWriter.h"
#include "zeq_common_core_mini/CsvColumnsReader.h"
#include "zeq_common_core_mini/CsvWriter.h"
#include "zeq_common_core_mini/RowNode.h"

#include <QFileInfo>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <array>
#include <cstdio>
#include <limits>
#include <malloc.h>
#include <memory>
#include <random>

namespace
{

constexpr int kRows = 1'000'000;

// Rows of a peptide result table of ten columns: integers, doubles and short texts. The
// modification texts hold commas and one protein description in ten holds a quoted word, so
// quoting and unquoting are part of what is measured.
class PeptideRows
{
public:
    static QList<QString> columns()
    {
        return { u"Id"_qs,     u"Accession"_qs, u"Description"_qs, u"Sequence"_qs,      u"Charge"_qs,
                 u"CalcMr"_qs, u"Score"_qs,     u"Intensity"_qs,   u"Modifications"_qs, u"ScanNumber"_qs };
    }

    void fill(VariantItems &cells)
    {
        static const std::array<const char *, 6> modifications = { "",
                                                                   "Oxidation (M)",
                                                                   "Phospho (S), Phospho (T)",
                                                                   "Carbamidomethyl (C)",
                                                                   "Deamidation (N), Oxidation (M)",
                                                                   "Acetyl (Protein N-term)" };
        static const char residues[] = "ACDEFGHIKLMNPQRSTVWY";
        const int p = m_protein(m_rng);
        QString sequence(m_length(m_rng), Qt::Uninitialized);
        for (QChar &c : sequence) {
            c = QLatin1Char(residues[m_residue(m_rng)]);
        }
        cells[0] = m_id;
        cells[1] = QStringLiteral("P%1").arg(p, 5, 10, QLatin1Char('0'));
        cells[2] = p % 10 == 0 ? QStringLiteral("Protein %1 \"putative\"").arg(p) : QStringLiteral("Protein %1").arg(p);
        cells[3] = sequence;
        cells[4] = m_charge(m_rng);
        cells[5] = m_mass(m_rng);
        cells[6] = m_score(m_rng);
        cells[7] = m_intensity(m_rng);
        cells[8] = QString::fromLatin1(modifications[size_t(m_modification(m_rng))]);
        cells[9] = 1000 + m_id / 3;
        ++m_id;
    }

private:
    std::mt19937 m_rng{ 11 };
    std::uniform_int_distribution<int> m_protein{ 0, 4999 };
    std::uniform_int_distribution<int> m_charge{ 1, 5 };
    std::uniform_int_distribution<int> m_residue{ 0, 19 };
    std::uniform_int_distribution<int> m_length{ 7, 20 };
    std::uniform_int_distribution<int> m_modification{ 0, 5 };
    std::uniform_real_distribution<double> m_mass{ 500.0, 5000.0 };
    std::uniform_real_distribution<double> m_score{ 0.0, 100.0 };
    std::lognormal_distribution<double> m_intensity{ 12.0, 2.0 };
    int m_id = 0;
};

RowNode makeTable(int rowCount)
{
    PeptideRows rows;
    RowNode root;
    root.addData(PeptideRows::columns(), true);
    root.children().reserve(rowCount);
    for (int i = 0; i < rowCount; ++i) {
        rows.fill(root.addNewChildMatchRootDataSize()->data());
    }
    return root;
}

// The file the reading benchmarks share, written row by row, so that no table has been built and
// freed before the reading starts.
struct CsvFile {
    CsvFile()
        : path(dir.filePath(QStringLiteral("peptides.csv")))
    {
        PeptideRows rows;
        VariantItems cells(PeptideRows::columns().size());
        CsvWriter writer(path);
        bool ok = writer.open() && writer.writeRow(PeptideRows::columns());
        for (int i = 0; ok && i < kRows; ++i) {
            rows.fill(cells);
            ok = writer.writeRow(cells.toVectorString());
        }
        if (!ok || !writer.commit()) {
            std::fprintf(stderr, "CsvBench: %s\n", qPrintable(writer.error().errorString()));
        }
        bytes = QFileInfo(path).size();
    }
    QTemporaryDir dir;
    QString path;
    qint64 bytes = 0;
};

const CsvFile &csvFile()
{
    static const CsvFile file;
    return file;
}

void BM_WriteCsv(benchmark::State &state)
{
    const RowNode table = makeTable(kRows);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("out.csv"));
    for (auto _ : state) {
        benchmark::DoNotOptimize(saveLeafsToCsvFile(table, path));
    }
    const qint64 bytes = QFileInfo(path).size();
    state.counters["MB"] = double(bytes) / 1e6;
    state.SetBytesProcessed(state.iterations() * bytes);
}
BENCHMARK(BM_WriteCsv)->Unit(benchmark::kMillisecond)->Iterations(3);

// After this, memory freed by the process stays in it instead of going back to the system.
void keepFreedMemory()
{
#ifdef __GLIBC__
    mallopt(M_TRIM_THRESHOLD, std::numeric_limits<int>::max());
    mallopt(M_MMAP_THRESHOLD, 32 << 20); // the largest glibc accepts
#endif
}

// Arg 0: the heap as a process finds it, so every page the result needs is touched for the first
// time (glibc hands freed memory back to the system). Arg 1: freed memory is kept and one untimed
// read goes first, so the time is reading and building alone. Freeing the result is not timed.
template <typename Read> void readCsv(benchmark::State &state, Read read)
{
    const CsvFile &file = csvFile();
    if (state.range(0) == 1) {
        keepFreedMemory();
        read(file.path).reset();
    }
    for (auto _ : state) {
        auto result = read(file.path);
        state.PauseTiming();
        result.reset();
        state.ResumeTiming();
    }
    state.SetBytesProcessed(state.iterations() * file.bytes);
}

void BM_ReadCsvIntoRowTree(benchmark::State &state)
{
    readCsv(state, [](const QString &path) {
        auto table = std::make_unique<RowNode>();
        benchmark::DoNotOptimize(zeq::readCSVFile_HeaderRowExpected(path, *table, {}, 0));
        return table;
    });
}

// The sibling reader alone: how much of the above is splitting and decoding the text.
void BM_ReadCsvContent(benchmark::State &state)
{
    readCsv(state, [](const QString &path) {
        return std::make_unique<zeq::Result<CsvContent>>(CsvColumnsReader(path).readContent({}));
    });
}

// Cold runs first: keepFreedMemory() lasts for the rest of the process.
BENCHMARK(BM_ReadCsvIntoRowTree)->Arg(0)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_ReadCsvContent)->Arg(0)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_ReadCsvIntoRowTree)->Arg(1)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_ReadCsvContent)->Arg(1)->Unit(benchmark::kMillisecond)->Iterations(3);

} // namespace
