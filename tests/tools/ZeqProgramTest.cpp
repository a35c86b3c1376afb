// Runs the built zeq program as a user would and checks its exit status, standard output and
// standard error.
#include "support/FifoReader.h"
#include "support/FileSizeLimit.h"
#include "support/TestFiles.h"
#include "support/ZeqRun.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

using zeq::test::Outcome;
using zeq::test::runZeq;

namespace
{

struct Row {
    const char *name;
    const char *args; ///< split at spaces; "@CLUSTERS@": a peak list, "@DATA@", "@FASTA@", "@TMP@": folders
    int exitCode;
    const char *out; ///< regular expression that standard output must contain
    const char *err = "^$"; ///< the same for standard error
};

void PrintTo(const Row &row, std::ostream *os)
{
    *os << row.name;
}

Outcome run(const QStringList &args, const QString &stdoutFile = QString())
{
    return runZeq(args, [&stdoutFile](QProcess &process) {
        if (!stdoutFile.isEmpty()) {
            process.setStandardOutputFile(stdoutFile);
        }
    });
}

class ZeqProgramTest : public ::testing::TestWithParam<Row>
{
protected:
    static void SetUpTestSuite()
    {
        s_dir = new QTemporaryDir;
        write(u"longline.txt"_qs, "700.1 10\n" + QByteArray(1'000'000, 'x') + '\n');
        write(u"binary.fasta"_qs, QByteArray("\x89PNG\r\n\x1A\n\0\0", 10));
        write(u"latin1.fasta"_qs, ">caf\xE9\nMK\n\nMK?\n"); // the '?' is illegal
    }
    static void TearDownTestSuite() { delete s_dir; }
    static void write(const QString &name, const QByteArray &bytes)
    {
        QFile file(s_dir->filePath(name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }

    static inline QTemporaryDir *s_dir = nullptr;
};

} // namespace

TEST_P(ZeqProgramTest, ExitStatusAndOutput)
{
    const Row &row = GetParam();
    QStringList args = QString::fromUtf8(row.args).split(u' ', Qt::SkipEmptyParts);
    for (QString &arg : args) {
        arg.replace(u"@CLUSTERS@"_qs, QStringLiteral(ZEQ_TEST_DATA_DIR "/peaklists/isotope_clusters.txt"))
            .replace(u"@DATA@"_qs, QStringLiteral(ZEQ_TEST_DATA_DIR "/peaklists"))
            .replace(u"@FASTA@"_qs, QStringLiteral(ZEQ_TEST_DATA_DIR "/fasta"))
            .replace(u"@TMP@"_qs, s_dir->path());
    }
    const Outcome result = run(args);
    EXPECT_EQ(result.exitCode, row.exitCode) << qPrintable(result.err);
    EXPECT_TRUE(QRegularExpression(QString::fromUtf8(row.out)).match(result.out).hasMatch()) << qPrintable(result.out);
    EXPECT_TRUE(QRegularExpression(QString::fromUtf8(row.err)).match(result.err).hasMatch()) << qPrintable(result.err);
    // Whatever went wrong is said in one line.
    EXPECT_LE(result.err.count(u'\n'), 1) << qPrintable(result.err);
}

const char *const kRefused = "^zeq: [^\n]+\n$";

/// A refusal: nothing on standard output.
Row no(const char *name, const char *args, int exitCode, const char *err)
{
    return { name, args, exitCode, "^$", err };
}

INSTANTIATE_TEST_SUITE_P(
    Charges,
    ZeqProgramTest,
    ::testing::Values(
        Row{ "Program", "--help", 0, "Usage: zeq .*\n(.|\n)*charges SPECTRUM(.|\n)*tolerance MASS(.|\n)*--help" },
        Row{ "VersionShort", "-V", 0, "^zeq [0-9]" },
        Row{ "SumHelpListsMzml",
             "sum --help",
             0,
             "--format <format> (.|\n)* mzml\\s+\\(one centroided\\s+MS1 spectrum\\)" },
        no("NoCommand", "", 2, kRefused),
        no("UnknownCommand", "frob", 2, "unknown command \"frob\""),
        no("ToleranceWithoutUnit", "tolerance 1000 10", 2, "has no unit"),
        no("MissingFile", "charges @TMP@/missing.txt", 1, "Can't read .*missing\\.txt"),
        no("MalformedLine",
           "charges @DATA@/malformed.txt",
           1,
           "malformed\\.txt line 4: expected two numbers, m/z and intensity, got \"700\\.90 abc\""),
        no("LongLineCut", "charges @TMP@/longline.txt", 1, "line 2: [^\n]*\"x{80}…\"\n$"),
        Row{ "ChargesTable",
             "charges @CLUSTERS@",
             0,
             "^# window 651\\.4486 - 1049\\.2441 m/z, 160 points, 5 clusters\n"
             "charge +mono_mz +mono_mass +percent +score\n +17 +998\\.1551 +16951\\.5133 +49\\.89 " },
        Row{ "ToleranceUnitApart",
             "tolerance 1000 0.5 Da --format csv",
             0,
             "^mass,tolerance,unit,lower,upper\n1000,0\\.5,Dalton,999\\.5,1000\\.5\n$" }),
    [](const ::testing::TestParamInfo<Row> &info) { return std::string(info.param.name); });

INSTANTIATE_TEST_SUITE_P(
    Fasta,
    ZeqProgramTest,
    ::testing::Values(
        Row{ "CheckLetters",
             "fasta check @FASTA@/illegal.fasta --format tsv",
             1,
             "^line\tprotein\tillegal\n3\tP2 digit and star\t1 \\*\n5\tP3 blank\tU\\+0020\n7\tP4 angle\t<\n$",
             "illegal\\.fasta: 3 of 4 proteins hold characters the letters rule does not allow\n$" },
        Row{ "CheckLatin1NamesTheFileAndLine",
             "fasta check @TMP@/latin1.fasta --format csv",
             1,
             "^line,protein,illegal\n1,caf\u00e9,\\?\n$",
             "latin1\\.fasta: 1 of 1" },
        Row{ "Stats",
             "fasta stats @FASTA@/small.fasta --format tsv",
             0,
             "^group\titem\tvalue\tpercent\n"
             "proteins\tall\t4\t100\\.00\n"
             "proteins\tdecoy DECOY_\t1\t25\\.00\n(.|\n)*"
             "length\tshortest\t11\t\n(.|\n)*"
             "length\tmedian\t16\\.5\t\n(.|\n)*"
             "residue\tA\t18\t27\\.27\n" },
        no("FastaMissingFile", "fasta stats @TMP@/missing.fasta", 1, "Can't open .*missing\\.fasta"),
        no("Binary", "fasta stats @TMP@/binary.fasta", 1, "binary\\.fasta is not text")),
    [](const ::testing::TestParamInfo<Row> &info) { return std::string(info.param.name); });

TEST(ZeqProgramOutputTest, FullDiskFailsLoudly)
{
    const Outcome result =
        run({ u"charges"_qs, QStringLiteral(ZEQ_TEST_DATA_DIR "/peaklists/isotope_clusters.txt") }, u"/dev/full"_qs);
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_EQ(result.err, u"zeq: Can't write standard output: No space left on device\n"_qs);
}

TEST(ZeqProgramOutputTest, OutputFileHoldsTheResult)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(u"clusters.csv"_qs);
    const Outcome result = run({ u"tolerance"_qs, u"1000"_qs, u"10ppm"_qs, u"-o"_qs, path, u"--format"_qs, u"csv"_qs });
    EXPECT_EQ(result.exitCode, 0) << qPrintable(result.err);
    EXPECT_TRUE(result.out.isEmpty());
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_TRUE(file.readAll().startsWith("mass,tolerance,unit,lower,upper\n1000,10,ppm,999.99,"));

    // Root, who runs the tests, is not stopped by a read-only folder: /proc and a file where a
    // folder should be stand in for one.
    const QByteArray before = zeq::test::fileContents(path);
    const struct {
        QString output;
        rlim_t sizeLimit;
        const char *reason;
    } faults[] = {
        { dir.filePath(u"no/such/dir.csv"_qs), RLIM_INFINITY, "No such file or directory" },
        { dir.path(), RLIM_INFINITY, "it is a folder, not a file" },
        { path + u"/out.csv"_qs, RLIM_INFINITY, "Not a directory" },
        { u"/proc/out.csv"_qs, RLIM_INFINITY, "No such file or directory" },
        { path, 16, "File too large" },
    };
    for (const auto &fault : faults) {
        SCOPED_TRACE(fault.reason);
        const zeq::test::FileSizeLimit limit(fault.sizeLimit); // inherited by the program
        ASSERT_TRUE(limit.active());
        const Outcome refused = run({ u"tolerance"_qs, u"1000"_qs, u"10ppm"_qs, u"-o"_qs, fault.output });
        EXPECT_EQ(refused.exitCode, 1);
        EXPECT_EQ(refused.err, u"zeq: Can't write %1: %2\n"_qs.arg(fault.output, QString::fromUtf8(fault.reason)));
        EXPECT_EQ(zeq::test::fileContents(path), before);
        EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QList<QString>{ u"clusters.csv"_qs });
    }
}

// Fault: -o naming an input replaced it. The refusal comes before anything is read, and a link to
// the input, symbolic or hard, is the input.
TEST(ZeqProgramOutputTest, OutputNamingAnInputIsRefused)
{
    QTemporaryDir dir;
    const QByteArray peaks = "700.1 10\n700.6 5\n";
    const QByteArray fasta = ">P1\nMKPEPTIDER\n";
    for (const auto &[name, bytes] : { std::pair{ "peaks.txt", peaks },
                                       std::pair{ "spectrum.svg", peaks },
                                       std::pair{ "proteins.fasta", fasta },
                                       std::pair{ "catalogue.db", QByteArray() } }) {
        QFile file(dir.filePath(QString::fromUtf8(name)));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }
    const QString in = dir.filePath(u"peaks.txt"_qs);
    ASSERT_TRUE(QFile::link(in, dir.filePath(u"symlink.txt"_qs)));
    ASSERT_EQ(
        ::link(QFile::encodeName(in).constData(), QFile::encodeName(dir.filePath(u"hardlink.txt"_qs)).constData()), 0);
    const struct {
        const char *args;
        const char *file;
    } rows[] = {
        { "charges peaks.txt -o peaks.txt", "peaks.txt" },
        { "sum peaks.txt -o symlink.txt", "peaks.txt" },
        { "deisotope peaks.txt --output hardlink.txt", "peaks.txt" },
        { "deisotope spectrum.svg --scan 1 --plot spectrum.svg", "spectrum.svg" },
        { "digest proteins.fasta -o proteins.fasta", "proteins.fasta" },
        { "fasta stats proteins.fasta -o proteins.fasta", "proteins.fasta" },
        { "mods list --db catalogue.db -o catalogue.db", "catalogue.db" },
    };
    for (const auto &row : rows) {
        SCOPED_TRACE(row.args);
        const QString file = dir.filePath(QString::fromUtf8(row.file));
        const QByteArray before = [&file] {
            QFile f(file);
            return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("unreadable");
        }();
        const Outcome result = runZeq(QString::fromUtf8(row.args).split(u' '),
                                      [&dir](QProcess &process) { process.setWorkingDirectory(dir.path()); });
        EXPECT_EQ(result.exitCode, 2);
        EXPECT_TRUE(result.err.contains(u"would overwrite the input"_qs)) << qPrintable(result.err);
        QFile after(file);
        ASSERT_TRUE(after.open(QIODevice::ReadOnly));
        EXPECT_EQ(after.readAll(), before);
    }
}

TEST(ZeqProgramOutputTest, OutputThroughFifoAndLinkKeepsThem)
{
    QTemporaryDir dir;
    const QStringList args{ u"tolerance"_qs, u"1000"_qs, u"10ppm"_qs, u"--format"_qs, u"csv"_qs, u"-o"_qs };
    const QByteArray header = "mass,tolerance,unit,lower,upper\n";

    const QString fifo = dir.filePath(u"fifo"_qs);
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    zeq::test::FifoReader reader(fifo);
    ASSERT_TRUE(reader.started());
    const Outcome piped = run(args + QStringList{ fifo });
    EXPECT_EQ(piped.exitCode, 0) << qPrintable(piped.err);
    EXPECT_TRUE(reader.finish().startsWith(header));
    EXPECT_FALSE(QFileInfo(fifo).isFile());

    const QString target = dir.filePath(u"target.csv"_qs);
    ASSERT_TRUE(QFile::link(target, dir.filePath(u"link.csv"_qs)));
    const Outcome linked = run(args + QStringList{ dir.filePath(u"link.csv"_qs) });
    EXPECT_EQ(linked.exitCode, 0) << qPrintable(linked.err);
    EXPECT_EQ(QFileInfo(dir.filePath(u"link.csv"_qs)).symLinkTarget(), target);
    QFile file(target);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_TRUE(file.readAll().startsWith(header));
}
