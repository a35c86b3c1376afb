// `zeq deisotope` over a generated LC-MS run of 1,000 MS1 spectra of about 2,000 centroided points
// each: reading the file alone, and the whole program with one and with two threads, its peak
// memory taken from /usr/bin/time -v.
#include "SpectrumSource.h"
#include "support/SpectrumFileWriter.h"
#include "support/SyntheticPeaks.h"

#include <QCoreApplication>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdio>

namespace
{

constexpr int kSpectra = 1000;
constexpr int kPoints = 2000;

/// Peptide clusters at charges 1 to 4 between 600 and 4,000 Da, then noise up to kPoints points
/// over m/z 300 to 1,800; one seed per spectrum.
zeq::test::SpectrumToWrite makeSpectrum(int scan)
{
    zeq::test::SyntheticPeaks peaks(7919ULL * static_cast<unsigned>(scan));
    peaks.setJitter(2.0, 0.05);
    for (int i = 0; i < 150; ++i) {
        const double mass = 600.0 + 3400.0 * peaks.uniform();
        const int charge = 1 + static_cast<int>(4.0 * peaks.uniform());
        peaks.addCluster(mass, charge, std::pow(10.0, 4.0 + 2.0 * peaks.uniform()));
    }
    const qsizetype clusterPoints = peaks.points().size();
    peaks.addNoisePeaks(static_cast<int>(kPoints - clusterPoints), 300.0, 1800.0, 5.0e3);
    zeq::test::SpectrumToWrite s;
    s.scan = scan;
    s.retentionTime = 0.05 * scan;
    s.points = peaks.points();
    return s;
}

const QString &runFile()
{
    static QTemporaryDir dir;
    static const QString path = [] {
        QList<zeq::test::SpectrumToWrite> spectra;
        for (int scan = 1; scan <= kSpectra; ++scan) {
            spectra.append(makeSpectrum(scan));
        }
        // ZEQ_BENCH_RUN names a file to write the run to and keep, for timing the program by hand.
        const QString kept = qEnvironmentVariable("ZEQ_BENCH_RUN");
        const QString file = kept.isEmpty() ? dir.filePath(QStringLiteral("run.mzML")) : kept;
        const QString failure = zeq::test::writeSpectrumFile(file, zeq::test::SpectrumFileKind::MzML64Zlib, spectra);
        if (!failure.isEmpty()) {
            std::fprintf(stderr, "DeisotopeBench: %s\n", qPrintable(failure));
        }
        return file;
    }();
    return path;
}

void BM_ReadRun(benchmark::State &state)
{
    const QString &file = runFile();
    for (auto _ : state) {
        const zeq::Result<QList<zeq::cli::Spectrum>> spectra = zeq::cli::readSpectra(file, {});
        if (spectra.hasError() || spectra.value().size() != kSpectra) {
            static const QByteArray why = spectra.hasError() ? spectra.error().errorString().toUtf8()
                                                             : QByteArrayLiteral("the run was not read whole");
            state.SkipWithError(why.constData());
            return;
        }
        benchmark::DoNotOptimize(spectra);
    }
    state.SetItemsProcessed(state.iterations() * kSpectra);
}
BENCHMARK(BM_ReadRun)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);

void BM_Deisotope(benchmark::State &state)
{
    const QString &file = runFile();
    const QString output = file + QStringLiteral(".csv");
    const QStringList args{ QStringLiteral("-v"),        QStringLiteral(ZEQ_PROGRAM),
                            QStringLiteral("deisotope"), file,
                            QStringLiteral("--threads"), QString::number(state.range(0)),
                            QStringLiteral("--format"),  QStringLiteral("csv"),
                            QStringLiteral("-o"),        output };
    static const QRegularExpression maxRss(QStringLiteral(R"(Maximum resident set size \(kbytes\): (\d+))"));
    static const QRegularExpression cpu(QStringLiteral(R"((User|System) time \(seconds\): ([\d.]+))"));
    double peakKiB = 0.0;
    double cpuSeconds = 0.0;
    for (auto _ : state) {
        QProcess zeq;
        zeq.start(QStringLiteral("/usr/bin/time"), args);
        if (!zeq.waitForFinished(-1) || zeq.exitCode() != 0) {
            state.SkipWithError("zeq deisotope failed");
            return;
        }
        const QString report = QString::fromUtf8(zeq.readAllStandardError());
        peakKiB = std::max(peakKiB, maxRss.match(report).captured(1).toDouble());
        // On a machine shared with other work the wall time says little; the CPU time does.
        for (const QRegularExpressionMatch &m : cpu.globalMatch(report)) {
            cpuSeconds += m.captured(2).toDouble();
        }
    }
    state.counters["peak_MiB"] = peakKiB / 1024.0;
    state.counters["cpu_s"] = benchmark::Counter(cpuSeconds, benchmark::Counter::kAvgIterations);
    state.SetItemsProcessed(state.iterations() * kSpectra);
}
BENCHMARK(BM_Deisotope)->ArgName("threads")->Arg(1)->Arg(2)->Unit(benchmark::kSecond)->UseRealTime()->Iterations(1);

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
