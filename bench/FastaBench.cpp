#include "utils/FastaProteinReader.h"
#include "utils/FastaUtils.h"
#include "zeq_common_core_mini/RowNode.h"
#include "zeq_qt_shared_libs_core/ReadFasta.h"

#include <QFile>
#include <QLoggingCategory>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <array>
#include <cstdio>
#include <memory>
#include <string>
#include <sys/resource.h>

// FASTA files are generated on first use into a temporary folder and read back from the page cache.
// Peak memory (ru_maxrss) is the process's whole life: run one benchmark per process to read it,
// e.g. --benchmark_filter=BM_LoadFromFastaCli/1.

namespace
{

enum Size { kProteome20k = 0, kFile500MB = 1 };

// Background amino-acid frequencies (percent) of curated protein databases; lengths uniform in
// 50..1000 (mean 525, near that of real proteomes), first residue M, 60 residues a line, headers of
// about 90 characters. A 64 Ki table turns one 16-bit random number into a residue.
class FastaGenerator
{
public:
    FastaGenerator()
    {
        static constexpr char residues[] = "ARNDCQEGHILKMFPSTWYV";
        static constexpr std::array<double, 20> percent = {
            8.25, 5.53, 4.06, 5.45, 1.37, 3.93, 6.75, 7.07, 2.27, 5.96,
            9.66, 5.84, 2.42, 3.86, 4.70, 6.56, 5.34, 1.08, 2.92, 6.87
        };
        double total = 0;
        for (const double p : percent) {
            total += p;
        }
        size_t at = 0;
        double sum = 0;
        for (size_t r = 0; r < percent.size(); ++r) {
            sum += percent[r];
            const auto upTo = r + 1 == percent.size() ? m_table.size() : size_t(sum / total * double(m_table.size()));
            for (; at < upTo; ++at) {
                m_table[at] = residues[r];
            }
        }
    }

    // Writes proteins until `proteins` are written or the file holds `bytes`, whichever comes first.
    qint64 write(const QString &path, qint64 proteins, qint64 bytes)
    {
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly)) {
            return -1;
        }
        std::string chunk;
        qint64 written = 0;
        for (qint64 i = 0; i < proteins && written < bytes; ++i) {
            char header[160];
            const int n = std::snprintf(header,
                                        sizeof header,
                                        ">zq|Z%06lld|PROT%lld_SYNTH Generated protein %lld OS=Synthetic organism "
                                        "OX=%lld GN=G%lld PE=1 SV=1\n",
                                        i,
                                        i,
                                        i,
                                        i % 9973,
                                        i);
            chunk.append(header, size_t(n));
            const qint64 length = 50 + qint64(next() % 951);
            for (qint64 r = 0; r < length; ++r) {
                chunk.push_back(r == 0 ? 'M' : m_table[next() & 0xFFFF]);
                if (r % 60 == 59 || r + 1 == length) {
                    chunk.push_back('\n');
                }
            }
            if (chunk.size() >= (size_t(4) << 20)) {
                written += file.write(chunk.data(), qint64(chunk.size()));
                chunk.clear();
            }
        }
        written += file.write(chunk.data(), qint64(chunk.size()));
        return written;
    }

private:
    // xorshift64*: fast enough to make 500 MB in a couple of seconds.
    quint64 next()
    {
        m_state ^= m_state >> 12;
        m_state ^= m_state << 25;
        m_state ^= m_state >> 27;
        return (m_state * 0x2545F4914F6CDD1DULL) >> 32;
    }

    std::array<char, 65536> m_table{};
    quint64 m_state = 2024;
};

struct FastaFile {
    QString path;
    qint64 bytes = 0;
};

const FastaFile &fastaFile(Size size)
{
    static QTemporaryDir dir;
    static std::array<std::unique_ptr<FastaFile>, 2> files;
    auto &file = files[size];
    if (!file) {
        QLoggingCategory::setFilterRules(QStringLiteral("zeq.common_core.debug=false"));
        file = std::make_unique<FastaFile>();
        file->path = dir.filePath(size == kProteome20k ? QStringLiteral("proteome20k.fasta")
                                                       : QStringLiteral("file500MB.fasta"));
        file->bytes = size == kProteome20k ? FastaGenerator().write(file->path, 20'000, qint64(1) << 40)
                                           : FastaGenerator().write(file->path, qint64(1) << 40, 500'000'000);
        // Read once, so that every timed run finds the file in the page cache.
        QFile warm(file->path);
        if (warm.open(QIODevice::ReadOnly)) {
            while (!warm.read(qint64(1) << 24).isEmpty()) { }
        }
    }
    return *file;
}

void reportMemory(benchmark::State &state, const FastaFile &file, qsizetype proteins)
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    state.counters["file_MB"] = double(file.bytes) / 1e6;
    state.counters["proteins"] = double(proteins);
    state.counters["peak_RSS_MB"] = double(usage.ru_maxrss) * 1024 / 1e6;
    state.SetBytesProcessed(state.iterations() * file.bytes);
}

void BM_ReadFasta(benchmark::State &state)
{
    const FastaFile &file = fastaFile(Size(state.range(0)));
    const std::wstring path = file.path.toStdWString();
    qsizetype proteins = 0;
    for (auto _ : state) {
        QList<QString> names;
        QList<QString> sequences;
        const Error err = readFasta(path, 0, true, &names, &sequences, {});
        if (err.hasError()) {
            state.SkipWithError(qPrintable(err.errorString()));
            break;
        }
        proteins = names.size();
        benchmark::DoNotOptimize(sequences.constData());
        state.PauseTiming();
        names = {};
        sequences = {};
        state.ResumeTiming();
    }
    reportMemory(state, file, proteins);
}
BENCHMARK(BM_ReadFasta)->Arg(kProteome20k)->Arg(kFile500MB)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_LoadFromFastaCli(benchmark::State &state)
{
    const FastaFile &file = fastaFile(Size(state.range(0)));
    qsizetype proteins = 0;
    for (auto _ : state) {
        RowNode root;
        const Error err = zeq::FastaUtils::loadFromFastaCli(file.path, root, {}, zeq::FastaUtils::AminoAcidLetters);
        if (err.hasError()) {
            state.SkipWithError(qPrintable(err.errorString()));
            break;
        }
        proteins = root.getChildListSize();
        state.PauseTiming();
        root.clear();
        state.ResumeTiming();
    }
    reportMemory(state, file, proteins);
}
BENCHMARK(BM_LoadFromFastaCli)->Arg(kProteome20k)->Arg(kFile500MB)->Unit(benchmark::kMillisecond)->UseRealTime();

// The streaming read: encoding check, then one protein at a time into one reused entry.
void BM_StreamFasta(benchmark::State &state)
{
    const FastaFile &file = fastaFile(Size(state.range(0)));
    qsizetype proteins = 0;
    for (auto _ : state) {
        zeq::FastaProteinReader reader;
        Error err = reader.open(file.path);
        FastaEntry entry;
        qint64 residues = 0;
        proteins = 0;
        while (!err.hasError() && reader.next(&entry)) {
            residues += entry.sequence.size();
            ++proteins;
        }
        if (err.hasError() || reader.error().hasError()) {
            state.SkipWithError("the generated FASTA could not be read");
            break;
        }
        benchmark::DoNotOptimize(residues);
    }
    reportMemory(state, file, proteins);
}
BENCHMARK(BM_StreamFasta)->Arg(kProteome20k)->Arg(kFile500MB)->Unit(benchmark::kMillisecond)->UseRealTime();

// Not the library: what first use of fresh memory costs on this machine, the floor under a reader
// that fills about 2.2 bytes of new memory (UTF-16 text, lists, string headers) per byte of file.
void BM_FirstTouch(benchmark::State &state)
{
    const qint64 bytes = state.range(0) << 20;
    for (auto _ : state) {
        std::unique_ptr<char[]> memory(new char[size_t(bytes)]);
        for (qint64 at = 0; at < bytes; at += 4096) {
            memory[size_t(at)] = 1;
        }
        benchmark::DoNotOptimize(memory.get());
    }
    state.SetBytesProcessed(state.iterations() * bytes);
}
BENCHMARK(BM_FirstTouch)->Arg(64)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace
