// Runs `zeq deisotope` on spectrum files written from known clusters, on a real instrument file,
// and on broken input, as a user would.
#include "support/SpectrumFileWriter.h"
#include "support/SyntheticPeaks.h"
#include "support/TestFiles.h"
#include "support/ZeqRun.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

using namespace zeq::test;

namespace
{

Outcome run(const QStringList &args)
{
    return runZeq(QStringList{ u"deisotope"_qs } + args);
}

struct Known {
    double mass;
    int charge;
    double height;
};

// Scan 1 (MS1): interleaved peptides near m/z 700, a protein at charge 17, a lone singly charged
// peptide far from both. Scan 2 (MS2): fragments of the 2+ peptide, whose precursor it isolates.
// Scan 3 (MS1): one peptide, later in the run.
const Known kScan1[] = { { 1396.68, 2, 1.0e5 }, { 2101.05, 3, 6.0e4 }, { 16951.5, 17, 8.0e4 }, { 1500.8, 1, 5.0e4 } };
const Known kScan2[] = { { 800.4, 1, 3.0e4 }, { 1100.6, 1, 2.0e4 } };
const Known kScan3[] = { { 2500.2, 3, 7.0e4 } };

struct Cluster {
    int scan;
    int charge;
    double mono;
};

QList<Cluster> s_truth;

template <std::size_t N>
SpectrumToWrite makeSpectrum(int scan, int level, double rt, const Known (&clusters)[N], std::uint64_t seed)
{
    SyntheticPeaks peaks(seed);
    peaks.setJitter(1.0, 0.03);
    for (const Known &k : clusters) {
        s_truth.append({ scan, k.charge, peaks.addCluster(k.mass, k.charge, k.height) });
    }
    peaks.addNoisePeaks(40, 400.0, 1600.0, 1.5e3);
    SpectrumToWrite s;
    s.scan = scan;
    s.msLevel = level;
    s.retentionTime = rt;
    // Values that a 32-bit float holds exactly (m/z in steps of 2^-10, whole intensities), so that
    // every file kind carries the same spectrum.
    for (const QPointF &p : peaks.points()) {
        s.points.append(QPointF(std::round(p.x() * 1024.0) / 1024.0, std::round(p.y())));
    }
    return s;
}

/// The CSV columns `first` to `last` of every row, one row a line.
QString columns(const QString &csv, int first, int last)
{
    QStringList rows = csv.split(u'\n', Qt::SkipEmptyParts);
    for (QString &row : rows) {
        row = row.section(u',', first, last);
    }
    return rows.join(u'\n');
}

class DeisotopeProgramTest : public ::testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        s_dir = new QTemporaryDir;
        QList<SpectrumToWrite> spectra{ makeSpectrum(1, 1, 1.0, kScan1, 11),
                                        makeSpectrum(2, 2, 1.05, kScan2, 12),
                                        makeSpectrum(3, 1, 2.0, kScan3, 13) };
        spectra[1].precursorMz = s_truth.constFirst().mono;
        const struct {
            const char *name;
            SpectrumFileKind kind;
        } files[] = { { "run.mzML", SpectrumFileKind::MzML64Zlib },
                      { "run32.mzML", SpectrumFileKind::MzML32Plain },
                      { "run.mzXML", SpectrumFileKind::MzXML },
                      { "run.mgf", SpectrumFileKind::Mgf } };
        for (const auto &f : files) {
            ASSERT_EQ(writeSpectrumFile(path(f.name), f.kind, spectra), QString()) << f.name;
        }
        QFile full(path("run.mzML"));
        ASSERT_TRUE(full.open(QIODevice::ReadOnly));
        QFile truncated(path("truncated.mzML"));
        ASSERT_TRUE(truncated.open(QIODevice::WriteOnly));
        truncated.write(full.read(full.size() / 2));

        // Compressed runs cut short and with a changed byte: their damage shows only at the end.
        QByteArray compressed = gzipOf(path("run.mzML"));
        writeFile(path("cut.mzML.gz"), compressed.left(compressed.size() / 2));
        compressed[compressed.size() - 6] = char(compressed.at(compressed.size() - 6) ^ 0x5a);
        writeFile(path("changed.mzML.gz"), compressed);
    }
    static void TearDownTestSuite() { delete s_dir; }
    static QString path(const char *name) { return s_dir->filePath(QString::fromUtf8(name)); }

    static inline QTemporaryDir *s_dir = nullptr;
};

} // namespace

TEST_F(DeisotopeProgramTest, SampleRunGivesBackEveryClusterPutIn)
{
    const QString sample = QStringLiteral(ZEQ_SAMPLES_DIR "/sample.mzML");
    const Outcome ms1 = run({ sample, u"--format"_qs, u"csv"_qs });
    const Outcome precursors = run({ sample, u"--precursor"_qs, u"--format"_qs, u"csv"_qs });
    ASSERT_EQ(ms1.exitCode, 0) << qPrintable(ms1.err);
    const QStringList truth = QString::fromUtf8(fileContents(QStringLiteral(ZEQ_SAMPLES_DIR "/sample_truth.csv")))
                                  .split(u'\n', Qt::SkipEmptyParts)
                                  .mid(1);
    ASSERT_GE(truth.size(), 15);
    for (const QString &known : truth) {
        const QStringList cells = known.split(u',');
        // An MS2 spectrum's truth is its precursor, which --precursor reports under the MS2 scan.
        const QString &out = cells.at(4).startsWith(u"precursor"_qs) ? precursors.out : ms1.out;
        bool found = false;
        for (const QString &line : out.split(u'\n', Qt::SkipEmptyParts).mid(1)) {
            const QStringList row = line.split(u',');
            found = found
                || (row.at(2) == cells.at(0) && row.at(6) == cells.at(1)
                    && std::abs(row.at(7).toDouble() - cells.at(2).toDouble()) < 0.01);
        }
        EXPECT_TRUE(found) << qPrintable(known);
    }
}

TEST_F(DeisotopeProgramTest, EveryFileKindGivesTheSameRows)
{
    const QStringList csv{ u"--format"_qs, u"csv"_qs, u"--ms-level"_qs, u"all"_qs };
    const Outcome reference = run(QStringList{ path("run.mzML") } + csv);
    ASSERT_EQ(reference.exitCode, 0) << qPrintable(reference.err);
    for (const char *name : { "run32.mzML", "run.mzXML" }) {
        const Outcome other = run(QStringList{ path(name) } + csv);
        // Everything but the file's name.
        EXPECT_EQ(columns(other.out, 1, -1), columns(reference.out, 1, -1)) << name;
    }
    // MGF holds the MS2 spectra alone, with times in whole seconds and m/z in ten digits: the
    // clusters are the same.
    const Outcome ms2 = run({ path("run.mzML"), u"--ms-level"_qs, u"2"_qs, u"--format"_qs, u"csv"_qs });
    const Outcome mgf = run({ path("run.mgf"), u"--ms-level"_qs, u"2"_qs, u"--format"_qs, u"csv"_qs });
    EXPECT_GT(ms2.out.count(u'\n'), 1);
    EXPECT_EQ(columns(mgf.out, 6, 8), columns(ms2.out, 6, 8));
}

TEST_F(DeisotopeProgramTest, OneWindowAndThreadCountsAgree)
{
    const Outcome window = run({ path("run.mzML"), u"--scan"_qs, u"1"_qs, u"--window"_qs, u"695:705"_qs });
    EXPECT_TRUE(window.err.startsWith(u"zeq: 1 spectra, 1 windows, "_qs)) << qPrintable(window.err);
    const QStringList all{ path("run.mzML"), path("run.mzXML"), u"--ms-level"_qs, u"all"_qs };
    const Outcome one = run(all + QStringList{ u"--threads"_qs, u"1"_qs });
    const Outcome two = run(all + QStringList{ u"--threads"_qs, u"2"_qs });
    EXPECT_EQ(one.exitCode, 0);
    EXPECT_EQ(one.out, two.out);
}

TEST_F(DeisotopeProgramTest, PlotsTheSelectedSpectrumWithEveryClusterLabelled)
{
    const QString sample = QStringLiteral(ZEQ_SAMPLES_DIR "/sample.mzML");
    const Outcome svg =
        run({ sample, u"--scan"_qs, u"3"_qs, u"--plot"_qs, path("scan3.svg"), u"--format"_qs, u"csv"_qs });
    ASSERT_EQ(svg.exitCode, 0) << qPrintable(svg.err);
    QStringList expected;
    for (const QString &line : svg.out.split(u'\n', Qt::SkipEmptyParts).mid(1)) {
        expected.append(line.section(u',', 6, 6) + u"+ "_qs + line.section(u',', 7, 7));
    }
    ASSERT_GE(expected.size(), 4);

    const QString drawn = QString::fromUtf8(fileContents(path("scan3.svg")));
    for (const QString &label : expected) {
        EXPECT_TRUE(drawn.contains(label)) << qPrintable(label);
    }
}

TEST_F(DeisotopeProgramTest, RealInstrumentRun)
{
    const Outcome result =
        run({ QStringLiteral(ZEQ_REAL_MZML), u"--format"_qs, u"csv"_qs, u"--min-percent"_qs, u"5"_qs });
    ASSERT_EQ(result.exitCode, 0) << qPrintable(result.err);
    // The file holds 11 spectra but its index lists 10: it is read without the index, saying so.
    EXPECT_TRUE(result.err.startsWith(u"zeq: warning: "_qs)) << qPrintable(result.err);
    EXPECT_TRUE(result.err.contains(u"\nzeq: 11 spectra, "_qs)) << qPrintable(result.err);
    int multiplyCharged = 0;
    for (const QString &line : result.out.split(u'\n', Qt::SkipEmptyParts).mid(1)) {
        const int charge = line.section(u',', 6, 6).toInt();
        EXPECT_TRUE(charge >= 1 && charge <= 35) << qPrintable(line);
        multiplyCharged += charge > 1 ? 1 : 0;
    }
    EXPECT_GT(multiplyCharged, 5);

    // No ion below m/z 200 carries more than two charges; unchecked, the dense noise of this run's
    // low m/z fits the closely spaced isotopes of charges 20 to 35.
    const Outcome all = run({ QStringLiteral(ZEQ_REAL_MZML), u"--format"_qs, u"csv"_qs });
    ASSERT_EQ(all.exitCode, 0) << qPrintable(all.err);
    for (const QString &line : all.out.split(u'\n', Qt::SkipEmptyParts).mid(1)) {
        EXPECT_TRUE(line.section(u',', 7, 7).toDouble() >= 200.0 || line.section(u',', 6, 6).toInt() <= 2)
            << qPrintable(line);
    }
}

TEST_F(DeisotopeProgramTest, RefusesBadInputAndUsage)
{
    const struct {
        QStringList args;
        int exitCode;
        const char *message;
    } rows[] = {
        { { path("missing.mzML") }, 1, "Can't read .*missing\\.mzML: no such file" },
        { { path("truncated.mzML") }, 1, "truncated\\.mzML: unreadable spectrum file: " },
        { { path("cut.mzML.gz") }, 1, "cut\\.mzML\\.gz: unreadable spectrum file: its gzip compression is damaged" },
        { { path("changed.mzML.gz") },
          1,
          "changed\\.mzML\\.gz: unreadable spectrum file: its gzip compression is damaged" },
        { { path("run.mzML"), u"--ms-level"_qs, u"3"_qs }, 2, "--ms-level must be 1, 2 or all" },
        { {}, 2, "usage: zeq deisotope" },
        { { path("run.mzML"), u"--plot"_qs, path("p.svg") }, 2, "--plot draws one spectrum: choose it with --scan N" },
        { { path("run.mzML"), u"--plot"_qs, path("none/p.png"), u"--scan"_qs, u"1"_qs }, 1, "Can't write .*p\\.png" },
        { { path("run.mzML"), u"--format"_qs, u"mgf"_qs }, 2, "--format mgf writes MS2 spectra .*: add --precursor" },
        { { path("run.mzML"), u"--explain"_qs, u"--format"_qs, u"mzml"_qs }, 2, "--explain adds table columns" },
        { { path("run.mzML"), u"--peak-picking"_qs, u"sometimes"_qs },
          2,
          "--peak-picking must be auto, always or never, got \"sometimes\"" },
    };
    for (const auto &row : rows) {
        const Outcome result = run(row.args);
        EXPECT_EQ(result.exitCode, row.exitCode) << qPrintable(row.args.join(u' '));
        EXPECT_TRUE(result.out.isEmpty());
        EXPECT_TRUE(QRegularExpression(u"^zeq: [^\n]*"_qs + QString::fromUtf8(row.message) + u"[^\n]*\n$"_qs)
                        .match(result.err)
                        .hasMatch())
            << qPrintable(result.err);
    }
    // No refused plot left a file, whole or partial.
    EXPECT_EQ(QDir(s_dir->path()).entryList({ u"p.*"_qs }), QStringList());
}

// "-" reads standard input, whichever reader the content picks: the rows are the file's.
TEST_F(DeisotopeProgramTest, ReadsStandardInput)
{
    for (const QString &file :
         { path("run.mzML"), path("run.mgf"), QStringLiteral(ZEQ_TEST_DATA_DIR "/peaklists/isotope_clusters.txt") }) {
        SCOPED_TRACE(qPrintable(file));
        const QStringList csv{ u"--format"_qs, u"csv"_qs, u"--ms-level"_qs, u"all"_qs };
        const Outcome named = run(QStringList{ file } + csv);
        const Outcome piped = runZeq(QStringList{ u"deisotope"_qs, u"-"_qs } + csv,
                                     [&file](QProcess &process) { process.setStandardInputFile(file); });
        ASSERT_EQ(piped.exitCode, 0) << qPrintable(piped.err);
        EXPECT_GT(piped.out.count(u'\n'), 1);
        EXPECT_EQ(columns(piped.out, 1, -1), columns(named.out, 1, -1));
        EXPECT_TRUE(piped.out.section(u'\n', 1, 1).startsWith(u"-,"_qs)) << qPrintable(piped.out);
    }
}

// --snr is a signal-to-noise ratio: the noise level is the spectrum's median intensity, so the
// lone noise peaks go and the clusters stay. (As a multiple of the smallest intensity, 3 kept
// every noise peak.)
TEST_F(DeisotopeProgramTest, SignalToNoiseKeepsTheClustersAndDropsTheNoise)
{
    const Outcome result = run({ QStringLiteral(ZEQ_SAMPLES_DIR "/sample.mzML"),
                                 u"--scan"_qs,
                                 u"1"_qs,
                                 u"--min-isotopes"_qs,
                                 u"1"_qs,
                                 u"--snr"_qs,
                                 u"3"_qs,
                                 u"--format"_qs,
                                 u"csv"_qs });
    ASSERT_EQ(result.exitCode, 0) << qPrintable(result.err);
    const QStringList rows = result.out.split(u'\n', Qt::SkipEmptyParts).mid(1);
    QStringList truth = QString::fromUtf8(fileContents(QStringLiteral(ZEQ_SAMPLES_DIR "/sample_truth.csv")))
                            .split(u'\n', Qt::SkipEmptyParts)
                            .filter(QRegularExpression(u"^1,"_qs));
    ASSERT_EQ(rows.size(), truth.size()) << qPrintable(result.out);
    for (const QString &row : rows) {
        const auto known = std::find_if(truth.cbegin(), truth.cend(), [&row](const QString &t) {
            return t.section(u',', 1, 1) == row.section(u',', 6, 6)
                && std::abs(t.section(u',', 2, 2).toDouble() - row.section(u',', 7, 7).toDouble()) < 0.01;
        });
        EXPECT_NE(known, truth.cend()) << qPrintable(row);
    }
}

// --precursor sets each MS2 precursor's clusters beside what the file states for it, and counts a
// stated precursor as agreeing only when a cluster has both its charge and its m/z.
TEST_F(DeisotopeProgramTest, PrecursorsAreComparedWithWhatTheFileStates)
{
    const qsizetype first = s_truth.size();
    QList<SpectrumToWrite> spectra{ makeSpectrum(1, 1, 1.0, kScan1, 11) };
    const Cluster doubly = s_truth.at(first);
    const Cluster triply = s_truth.at(first + 1);
    const struct {
        double mz;
        std::optional<int> charge;
    } ms2[] = {
        { doubly.mono, 2 }, // agrees
        { doubly.mono + 1.00335 / 2, 2 }, // its second isotope: differs
        { triply.mono, 2 }, // the wrong charge: differs
        { doubly.mono, std::nullopt }, // no charge stated
    };
    QHash<int, int> charges;
    for (const auto &m : ms2) {
        const int scan = int(spectra.size()) + 1;
        spectra.append({ scan, 2, 1.0, m.mz, 1.5, { { 200.0, 10.0 } } });
        if (m.charge) {
            charges.insert(scan, *m.charge);
        }
    }
    for (const auto &[name, kind] : { std::pair{ "stated.mzML", SpectrumFileKind::MzML64Zlib },
                                      std::pair{ "stated.mzXML", SpectrumFileKind::MzXML } }) {
        SCOPED_TRACE(name);
        ASSERT_EQ(writeSpectrumFile(path(name), kind, spectra, charges), QString());
        const Outcome result = run({ path(name), u"--precursor"_qs, u"--format"_qs, u"csv"_qs });
        ASSERT_EQ(result.exitCode, 0) << qPrintable(result.err);
        EXPECT_TRUE(result.out.startsWith(u"file,"_qs)
                    && result.out.section(u'\n', 0, 0).endsWith(u",isotopes,instrument_charge,instrument_mz"_qs));
        EXPECT_TRUE(result.err.contains(u"; instrument precursors: 1 agree, 2 differ, 1 without\n"_qs))
            << qPrintable(result.err);
        const QStringList rows = result.out.split(u'\n', Qt::SkipEmptyParts).mid(1);
        for (int i = 0; i < 4; ++i) {
            const QString scan = QString::number(i + 2);
            const QString stated = (ms2[i].charge ? QString::number(*ms2[i].charge) : QString()) + u','
                + QString::number(ms2[i].mz, 'f', 4);
            const QStringList of = rows.filter(QRegularExpression(u"^[^,]*,[^,]*,"_qs + scan + u","_qs));
            ASSERT_FALSE(of.isEmpty()) << qPrintable(scan);
            for (const QString &row : of) {
                EXPECT_EQ(row.section(u',', 13, 14), stated) << qPrintable(row);
            }
        }
        // The MGF keeps the file's values in a comment wherever the precursor found is not what it states.
        const Outcome mgf = run({ path(name), u"--precursor"_qs, u"--format"_qs, u"mgf"_qs });
        EXPECT_EQ(mgf.out.count(u"BEGIN IONS\n"_qs), 4);
        EXPECT_EQ(mgf.out.count(u"# instrument: "_qs), 3);
    }
    // Without --precursor the columns are the thirteen of before.
    const Outcome plain = run({ path("stated.mzML"), u"--format"_qs, u"csv"_qs });
    EXPECT_TRUE(plain.out.section(u'\n', 0, 0).endsWith(u",scale,isotopes"_qs));
    EXPECT_FALSE(plain.err.contains(u"instrument"_qs));
}

// The spectra written come back: an MGF entry holds the MS2 spectrum's own points with the
// precursor found, an mzML spectrum one centroid per cluster at its mono_mz, with a charge array.
TEST_F(DeisotopeProgramTest, WrittenSpectraReadBack)
{
    const Outcome mgf =
        run({ path("run.mzML"), u"--precursor"_qs, u"--format"_qs, u"mgf"_qs, u"-o"_qs, path("out.mgf") });
    ASSERT_EQ(mgf.exitCode, 0) << qPrintable(mgf.err);
    const QString entries = QString::fromUtf8(fileContents(path("out.mgf")));
    // run.mzML states the precursor's m/z but no charge: the comment keeps what it states.
    const QRegularExpressionMatch entry =
        QRegularExpression(u"^# instrument: PEPMASS=[0-9.]+ no CHARGE\nBEGIN IONS\nTITLE=scan=2\n"
                           "RTINSECONDS=63\nSCANS=2\nPEPMASS=([0-9.]+)\nCHARGE=2\\+\n"_qs)
            .match(entries);
    ASSERT_TRUE(entry.hasMatch()) << qPrintable(entries.left(400));
    EXPECT_NEAR(entry.captured(1).toDouble(), s_truth.constFirst().mono, 0.01);
    EXPECT_EQ(entries.count(u"END IONS"_qs), 1);
    const QStringList ms2{ u"--ms-level"_qs, u"2"_qs, u"--format"_qs, u"csv"_qs };
    const Outcome original = run(QStringList{ path("run.mzML") } + ms2);
    EXPECT_EQ(columns(run(QStringList{ path("out.mgf") } + ms2).out, 2, -1), columns(original.out, 2, -1));

    const QStringList all{ path("run.mzML"), u"--ms-level"_qs, u"all"_qs, u"--format"_qs };
    const Outcome table = run(all + QStringList{ u"csv"_qs });
    ASSERT_EQ(run(all + QStringList{ u"mzml"_qs, u"-o"_qs, path("out.mzML") }).exitCode, 0);
    EXPECT_EQ(QString::fromUtf8(fileContents(path("out.mzML"))).count(u"\"MS:1000516\""_qs), 3);
    const Outcome back = run({ path("out.mzML"), u"--ms-level"_qs, u"all"_qs });
    EXPECT_TRUE(back.err.startsWith(u"zeq: 3 spectra, "_qs)) << qPrintable(back.err);
    const Outcome scan1 = runZeq({ u"sum"_qs,
                                   path("out.mzML"),
                                   u"--scan"_qs,
                                   u"1"_qs,
                                   u"--tolerance"_qs,
                                   u"0.0001Da"_qs,
                                   u"--format"_qs,
                                   u"csv"_qs });
    QStringList written;
    for (const QString &line : scan1.out.split(u'\n', Qt::SkipEmptyParts).mid(1)) {
        written.append(QString::number(line.section(u',', 0, 0).toDouble(), 'f', 4));
    }
    QStringList monos = table.out.split(u'\n', Qt::SkipEmptyParts).filter(QRegularExpression(u"^[^,]*,[^,]*,1,"_qs));
    for (QString &row : monos) {
        row = row.section(u',', 7, 7);
    }
    std::sort(
        monos.begin(), monos.end(), [](const QString &a, const QString &b) { return a.toDouble() < b.toDouble(); });
    EXPECT_GE(monos.size(), 4);
    EXPECT_EQ(written, monos);

    const Outcome corrected =
        run({ path("run.mzML"), u"--precursor"_qs, u"--format"_qs, u"mzml"_qs, u"-o"_qs, path("precursor.mzML") });
    ASSERT_EQ(corrected.exitCode, 0) << qPrintable(corrected.err);
    EXPECT_TRUE(fileContents(path("precursor.mzML")).contains("name=\"charge state\" value=\"2\""));
}
