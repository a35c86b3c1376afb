// Runs `zeq sum` and `zeq deisotope --sum-scans` on spectrum files whose sum is known, and on broken
// input, as a user would.
#include "support/SpectrumFileWriter.h"
#include "support/SyntheticPeaks.h"
#include "support/ZeqRun.h"

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace zeq::test;

namespace
{

Outcome run(const QStringList &args)
{
    return runZeq(args);
}

Outcome sum(const QStringList &args)
{
    return runZeq(QStringList{ u"sum"_qs } + args);
}

class SumProgramTest : public ::testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        s_dir = new QTemporaryDir;
        // Peaks far apart, so the sum at each m/z is the plain total; values exact in binary.
        QList<SpectrumToWrite> spectra(3);
        spectra[0] = { 1, 1, 1.0, {}, 1.5, { { 400, 100 }, { 600, 50 }, { 900.5, 10 } } };
        spectra[1] = { 2, 1, 2.0, {}, 1.5, { { 400, 300 }, { 800, 20 } } };
        spectra[2] = { 3, 1, 3.0, {}, 1.5, { { 400, 1000 }, { 700.25, 5 } } };
        ASSERT_EQ(writeSpectrumFile(path("run.mzML"), SpectrumFileKind::MzML64Zlib, spectra), QString());
        ASSERT_EQ(writeSpectrumFile(path("run.mzXML"), SpectrumFileKind::MzXML, spectra), QString());
        QFile twins(path("twins.txt"));
        ASSERT_TRUE(twins.open(QIODevice::WriteOnly));
        twins.write("500 10\n500.25 10\n");

        // One 2+ cluster in three scans, below the default minimum share in none of them.
        QList<SpectrumToWrite> weak;
        for (int scan = 1; scan <= 3; ++scan) {
            SyntheticPeaks peaks(7);
            peaks.addCluster(1500.0, 2, 100.0 * scan);
            weak.append({ scan, 1, double(scan), {}, 1.5, peaks.points() });
        }
        ASSERT_EQ(writeSpectrumFile(path("weak.mzML"), SpectrumFileKind::MzML64Zlib, weak), QString());
    }
    static void TearDownTestSuite() { delete s_dir; }
    static QString path(const char *name) { return s_dir->filePath(QString::fromUtf8(name)); }

    static inline QTemporaryDir *s_dir = nullptr;
};

} // namespace

TEST_F(SumProgramTest, SumsTheSelectedSpectra)
{
    const struct {
        const char *name;
        QStringList args;
        const char *csv;
    } rows[] = {
        { "every scan", { path("run.mzML") }, "400,1400\n600,50\n700.25,5\n800,20\n900.5,10\n" },
        { "two scans", { path("run.mzML"), u"--scan"_qs, u"1,2"_qs }, "400,400\n600,50\n800,20\n900.5,10\n" },
        // A peak list is scan 1.
        { "two files",
          { path("run.mzML"), path("twins.txt"), u"--scan"_qs, u"1"_qs },
          "400,100\n500,10\n500.25,10\n600,50\n900.5,10\n" },
        // Smoothed into 15 each at 500.083 and 500.167, then joined as twins.
        { "twins within the tolerance", { path("twins.txt"), u"--tolerance"_qs, u"0.5Da"_qs }, "500.125,15\n" },
    };
    for (const auto &row : rows) {
        SCOPED_TRACE(row.name);
        const Outcome result = sum(row.args + QStringList{ u"--format"_qs, u"csv"_qs });
        ASSERT_EQ(result.exitCode, 0) << qPrintable(result.err);
        EXPECT_EQ(result.out, u"mz,intensity\n"_qs + QString::fromUtf8(row.csv));
    }
}

TEST_F(SumProgramTest, WritesAnMzMLThatReadsBackAsTheSum)
{
    const QString written = path("sum.mzML");
    Outcome result = sum({ path("run.mzML"), path("run.mzXML"), u"--format"_qs, u"mzML"_qs, u"-o"_qs, written });
    ASSERT_EQ(result.exitCode, 0) << qPrintable(result.err);
    EXPECT_EQ(result.err, u"zeq: 6 spectra, 14 points summed into 5 peaks\n"_qs);
    result = sum({ written, u"--format"_qs, u"csv"_qs });
    ASSERT_EQ(result.exitCode, 0) << qPrintable(result.err);
    EXPECT_EQ(result.out, u"mz,intensity\n400,2800\n600,100\n700.25,10\n800,40\n900.5,20\n"_qs);
}

TEST_F(SumProgramTest, RefusesBadUsageAndBadFiles)
{
    const struct {
        const char *name;
        QStringList args;
        int exitCode;
        const char *message;
    } rows[] = {
        { "missing file", { path("absent.mzML") }, 1, "absent.mzML" },
        { "nothing selected", { path("run.mzML"), u"--scan"_qs, u"99"_qs }, 1, "no spectrum" },
        { "no file", {}, 2, "usage" },
    };
    for (const auto &row : rows) {
        SCOPED_TRACE(row.name);
        const Outcome result = sum(row.args);
        EXPECT_EQ(result.exitCode, row.exitCode);
        EXPECT_TRUE(result.err.contains(QString::fromUtf8(row.message))) << qPrintable(result.err);
        EXPECT_TRUE(result.out.isEmpty());
    }
}

TEST_F(SumProgramTest, DeisotopeSearchesTheSumOfEachFile)
{
    const QStringList deisotope{ u"deisotope"_qs, path("weak.mzML"), u"--format"_qs, u"csv"_qs };
    Outcome result = run(deisotope + QStringList{ u"--sum-scans"_qs });
    ASSERT_EQ(result.exitCode, 0) << qPrintable(result.err);
    QStringList lines = result.out.split(u'\n', Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 2) << qPrintable(result.out);
    const QStringList cells = lines.at(1).split(u',');
    EXPECT_EQ(cells.at(1), u"sum of 3 spectra"_qs);
    EXPECT_NEAR(cells.at(7).toDouble(), monoMzOf(1500.0, 2), 0.001);
    const double summedScale = cells.at(11).toDouble();

    result = run(deisotope);
    lines = result.out.split(u'\n', Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 4) << "one cluster per scan without the sum";
    // Heights 100, 200 and 300 add up to twice the tallest scan's.
    EXPECT_NEAR(summedScale / lines.at(3).split(u',').at(11).toDouble(), 2.0, 0.1);

    // Isotope matching and summing have a tolerance each: a wide matching one leaves the sum alone,
    // while a summing one as wide as the 2+ isotope spacing merges the isotopes.
    const QStringList sumScans = deisotope + QStringList{ u"--sum-scans"_qs };
    const Outcome wideMatch = run(sumScans + QStringList{ u"--tolerance"_qs, u"0.6Da"_qs });
    ASSERT_EQ(wideMatch.exitCode, 0) << qPrintable(wideMatch.err);
    EXPECT_EQ(wideMatch.out.section(u'\n', 1, 1).section(u',', 7, 7), cells.at(7));
    EXPECT_EQ(wideMatch.out.section(u'\n', 1, 1).section(u',', 11, 11), cells.at(11));
    const Outcome wideSum = run(sumScans + QStringList{ u"--sum-tolerance"_qs, u"0.6Da"_qs });
    ASSERT_EQ(wideSum.exitCode, 0) << qPrintable(wideSum.err);
    EXPECT_NE(wideSum.out.section(u'\n', 1, 1).section(u',', 7, 11), cells.mid(7, 5).join(u','));
    EXPECT_EQ(run(deisotope + QStringList{ u"--sum-tolerance"_qs, u"1ppm"_qs }).exitCode, 2);
}
