// Runs the built zeq program as a user would and checks its exit status, standard output and
// standard error.
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace
{

struct Row {
    const char *name;
    QStringList args; ///< "@DATA@", "@FASTA@" and "@TMP@": the peak-list, FASTA and a scratch folder
    int exitCode;
    const char *out; ///< regular expression that standard output must contain
    const char *err = "^$"; ///< the same for standard error
};

void PrintTo(const Row &row, std::ostream *os)
{
    *os << row.name;
}

struct Outcome {
    int exitCode = -1;
    QString out;
    QString err;
};

Outcome run(const QStringList &args, const QString &stdoutFile = QString())
{
    QProcess process;
    if (!stdoutFile.isEmpty()) {
        process.setStandardOutputFile(stdoutFile);
    }
    process.start(QStringLiteral(ZEQ_PROGRAM), args);
    EXPECT_TRUE(process.waitForFinished(120'000)) << qPrintable(args.join(u' '));
    EXPECT_EQ(process.exitStatus(), QProcess::NormalExit);
    return { process.exitCode(),
             QString::fromUtf8(process.readAllStandardOutput()),
             QString::fromUtf8(process.readAllStandardError()) };
}

class ZeqProgramTest : public ::testing::TestWithParam<Row>
{
protected:
    static void SetUpTestSuite()
    {
        s_dir = new QTemporaryDir;
        QByteArray withHeader = "m/z,intensity\n";
        QFile sample(QStringLiteral(ZEQ_TEST_DATA_DIR "/peaklists/isotope_clusters.txt"));
        ASSERT_TRUE(sample.open(QIODevice::ReadOnly));
        withHeader += sample.readAll();
        write(u"header.csv"_qs, withHeader);
        write(u"longline.txt"_qs, "700.1 10\n" + QByteArray(1'000'000, 'x') + '\n');
        write(u"binary.fasta"_qs, QByteArray("\x89PNG\r\n\x1A\n\0\0", 10));
        write(u"latin1.fasta"_qs, ">caf\xE9\nMK\n\nMK?\n"); // the '?' is illegal
        write(u"text-first.fasta"_qs, "; made by hand\nMKV\n>P1\nMKV\n");
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
    QStringList args = row.args;
    for (QString &arg : args) {
        arg.replace(u"@DATA@"_qs, QStringLiteral(ZEQ_TEST_DATA_DIR "/peaklists"))
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

INSTANTIATE_TEST_SUITE_P(
    Help,
    ZeqProgramTest,
    ::testing::Values(
        Row{ "Program",
             { u"--help"_qs },
             0,
             "Usage: zeq .*\n(.|\n)*charges SPECTRUM(.|\n)*tolerance MASS(.|\n)*--help" },
        Row{ "Version", { u"--version"_qs }, 0, "^zeq \\d+\\.\\d+\\.\\d+\n" },
        Row{ "Charges",
             { u"charges"_qs, u"--help"_qs },
             0,
             "Usage: zeq charges(.|\n)*--max-charge <z> +Highest charge tried, 1 to 500\\. Default: 35\\."
             "(.|\n)*mono_mass(.|\n)*smaller is better(.|\n)*1\\.6002" },
        Row{ "Tolerance", { u"tolerance"_qs, u"-h"_qs }, 0, "Usage: zeq tolerance(.|\n)*--format(.|\n)*asymmetric" }),
    [](const ::testing::TestParamInfo<Row> &info) { return std::string(info.param.name); });

INSTANTIATE_TEST_SUITE_P(
    BadUsage,
    ZeqProgramTest,
    ::testing::Values(
        Row{ "NoCommand", {}, 2, "^$", kRefused },
        Row{ "UnknownCommand", { u"frob"_qs }, 2, "^$", "unknown command \"frob\"" },
        Row{ "ToleranceWithoutUnit", { u"tolerance"_qs, u"1000"_qs, u"10"_qs }, 2, "^$", "has no unit" },
        Row{ "NegativeTolerance", { u"tolerance"_qs, u"1000"_qs, u"-5ppm"_qs }, 2, "^$", "above 0" },
        Row{ "MillionsOfPpm", { u"tolerance"_qs, u"1000"_qs, u"2e6ppm"_qs }, 2, "^$", "below 1000000" },
        Row{ "OverflowingTolerance", { u"tolerance"_qs, u"1000"_qs, u"1e309ppm"_qs }, 2, "^$", "finite" },
        Row{ "NanMass", { u"tolerance"_qs, u"nan"_qs, u"10ppm"_qs }, 2, "^$", "mass must be a finite number" },
        Row{ "NegativeMass", { u"tolerance"_qs, u"-1000"_qs, u"10ppm"_qs }, 2, "^$", "mass must be at least 0" },
        Row{ "ToleranceExtraArgument", { u"tolerance"_qs, u"1"_qs, u"2"_qs, u"ppm"_qs, u"x"_qs }, 2, "^$", kRefused },
        Row{ "FractionalCharge",
             { u"charges"_qs, u"@DATA@/isotope_clusters.txt"_qs, u"--min-charge"_qs, u"2.7"_qs },
             2,
             "^$",
             "--min-charge needs a whole number, got \"2\\.7\"" },
        Row{ "HugeMaxCharge",
             { u"charges"_qs, u"@DATA@/isotope_clusters.txt"_qs, u"--max-charge"_qs, u"1e20"_qs },
             2,
             "^$",
             "--max-charge must be from 1 to 500" },
        Row{ "NegativePercent",
             { u"charges"_qs, u"@DATA@/isotope_clusters.txt"_qs, u"--min-percent"_qs, u"-5"_qs },
             2,
             "^$",
             "--min-percent must be from 0 to 100" },
        Row{ "MinChargeAboveMax",
             { u"charges"_qs,
               u"@DATA@/isotope_clusters.txt"_qs,
               u"--min-charge"_qs,
               u"9"_qs,
               u"--max-charge"_qs,
               u"3"_qs },
             2,
             "^$",
             "above --max-charge" },
        Row{ "StartAfterEnd",
             { u"charges"_qs, u"@DATA@/isotope_clusters.txt"_qs, u"--start"_qs, u"900"_qs, u"--end"_qs, u"800"_qs },
             2,
             "^$",
             "lies after" },
        Row{ "UnknownOption",
             { u"charges"_qs, u"x.txt"_qs, u"--bogus"_qs },
             2,
             "^$",
             "'bogus'; see zeq charges --help" },
        Row{ "UnknownFormat", { u"charges"_qs, u"x.txt"_qs, u"--format"_qs, u"xml"_qs }, 2, "^$", "unknown format" },
        Row{ "NoSpectrum", { u"charges"_qs }, 2, "^$", "usage: zeq charges" }),
    [](const ::testing::TestParamInfo<Row> &info) { return std::string(info.param.name); });

INSTANTIATE_TEST_SUITE_P(
    BadInput,
    ZeqProgramTest,
    ::testing::Values(
        Row{ "MissingFile", { u"charges"_qs, u"@TMP@/missing.txt"_qs }, 1, "^$", "Can't read .*missing\\.txt" },
        Row{ "MalformedLine",
             { u"charges"_qs, u"@DATA@/malformed.txt"_qs },
             1,
             "^$",
             "malformed\\.txt line 4: expected two numbers, m/z and intensity, got \"700\\.90 abc\"" },
        Row{ "LongLineCut", { u"charges"_qs, u"@TMP@/longline.txt"_qs }, 1, "^$", "line 2: [^\n]*\"x{80}…\"\n$" }),
    [](const ::testing::TestParamInfo<Row> &info) { return std::string(info.param.name); });

INSTANTIATE_TEST_SUITE_P(
    Results,
    ZeqProgramTest,
    ::testing::Values(
        Row{ "ChargesTable",
             { u"charges"_qs, u"@DATA@/isotope_clusters.txt"_qs },
             0,
             "^# window 651\\.4486 - 1049\\.2441 m/z, 160 points, 5 clusters\n"
             "charge +mono_mz +mono_mass +percent +score\n +17 +998\\.1551 +16951\\.5133 +49\\.89 " },
        Row{ "ChargesWindowTsv",
             { u"charges"_qs,
               u"@DATA@/isotope_clusters.txt"_qs,
               u"--start"_qs,
               u"695"_qs,
               u"--end"_qs,
               u"710"_qs,
               u"--max-charge"_qs,
               u"4"_qs,
               u"--format"_qs,
               u"tsv"_qs },
             0,
             "^charge\tmono_mz\tmono_mass\tpercent\tscore\n2\t699\\.34[0-9]+\t1396\\.6" },
        Row{ "ChargesCsv",
             { u"charges"_qs, u"@DATA@/isotope_clusters.txt"_qs, u"--format"_qs, u"csv"_qs },
             0,
             "^charge,mono_mz,mono_mass,percent,score\n17,998\\.1551,16951\\.5133,49\\.89," },
        Row{ "ChargesJson",
             { u"charges"_qs, u"@DATA@/isotope_clusters.txt"_qs, u"--format"_qs, u"json"_qs },
             0,
             "^\\[\n  \\{\"charge\": 17, \"mono_mz\": 998\\.1551, \"mono_mass\": 16951\\.5133, \"percent\": 49\\.89" },
        Row{ "HeaderLineSkipped", { u"charges"_qs, u"@TMP@/header.csv"_qs }, 0, "160 points, 5 clusters" },
        Row{ "MinChargeFilters",
             { u"charges"_qs,
               u"@DATA@/isotope_clusters.txt"_qs,
               u"--min-charge"_qs,
               u"4"_qs,
               u"--format"_qs,
               u"tsv"_qs },
             0,
             "^charge[^\n]*\n17\t[^\n]*\n4\t[^\n]*\n$" },
        Row{ "Tolerance",
             { u"tolerance"_qs, u"1000"_qs, u"10ppm"_qs },
             0,
             "^mass +tolerance +unit +lower +upper\n *1000 +10 +ppm +999\\.99 +1000\\.01" },
        Row{ "ToleranceUnitApart",
             { u"tolerance"_qs, u"1000"_qs, u"0.5"_qs, u"Da"_qs, u"--format"_qs, u"csv"_qs },
             0,
             "^mass,tolerance,unit,lower,upper\n1000,0\\.5,Dalton,999\\.5,1000\\.5\n$" }),
    [](const ::testing::TestParamInfo<Row> &info) { return std::string(info.param.name); });

INSTANTIATE_TEST_SUITE_P(
    Fasta,
    ZeqProgramTest,
    ::testing::Values(
        Row{ "Help", { u"fasta"_qs, u"--help"_qs }, 0, "Usage: zeq fasta(.|\n)*check FILE(.|\n)*stats FILE" },
        Row{ "NoCommand", { u"fasta"_qs }, 2, "^$", kRefused },
        Row{ "UnknownCommand", { u"fasta"_qs, u"sort"_qs, u"x"_qs }, 2, "^$", "unknown fasta command \"sort\"" },
        Row{ "CheckWithoutFile", { u"fasta"_qs, u"check"_qs }, 2, "^$", "usage: zeq fasta check" },
        Row{ "UnknownRule",
             { u"fasta"_qs, u"check"_qs, u"@FASTA@/small.fasta"_qs, u"--rule"_qs, u"amino"_qs },
             2,
             "^$",
             "unknown rule \"amino\"" },
        Row{ "EmptyDecoyPrefix",
             { u"fasta"_qs, u"stats"_qs, u"@FASTA@/small.fasta"_qs, u"--decoy-prefix"_qs, u""_qs },
             2,
             "^$",
             "non-empty prefix" },
        Row{ "CheckClean", { u"fasta"_qs, u"check"_qs, u"@FASTA@/small.fasta"_qs }, 0, "^ *line +protein +illegal\n$" },
        Row{ "CheckLetters",
             { u"fasta"_qs, u"check"_qs, u"@FASTA@/illegal.fasta"_qs, u"--format"_qs, u"tsv"_qs },
             1,
             "^line\tprotein\tillegal\n3\tP2 digit and star\t1 \\*\n5\tP3 blank\tU\\+0020\n7\tP4 angle\t<\n$",
             "illegal\\.fasta: 3 of 4 proteins hold characters the letters rule does not allow\n$" },
        Row{ "CheckExtended",
             { u"fasta"_qs,
               u"check"_qs,
               u"@FASTA@/illegal.fasta"_qs,
               u"--rule"_qs,
               u"extended"_qs,
               u"--format"_qs,
               u"csv"_qs },
             1,
             "^line,protein,illegal\n5,P3 blank,U\\+0020\n7,P4 angle,<\n$",
             "2 of 4" },
        Row{ "CheckPrintableJson",
             { u"fasta"_qs,
               u"check"_qs,
               u"@FASTA@/illegal.fasta"_qs,
               u"--rule"_qs,
               u"PRINTABLE"_qs,
               u"--format"_qs,
               u"json"_qs },
             1,
             "^\\[\n  \\{\"line\": 5, \"protein\": \"P3 blank\", \"illegal\": \"U\\+0020\"\\}\n\\]\n$",
             "1 of 4" },
        Row{ "CheckLatin1NamesTheFileAndLine",
             { u"fasta"_qs, u"check"_qs, u"@TMP@/latin1.fasta"_qs, u"--format"_qs, u"csv"_qs },
             1,
             "^line,protein,illegal\n1,caf\u00e9,\\?\n$",
             "latin1\\.fasta: 1 of 1" },
        Row{ "Stats",
             { u"fasta"_qs, u"stats"_qs, u"@FASTA@/small.fasta"_qs, u"--format"_qs, u"tsv"_qs },
             0,
             "^group\titem\tvalue\tpercent\n"
             "proteins\tall\t4\t100\\.00\n"
             "proteins\tdecoy DECOY_\t1\t25\\.00\n"
             "proteins\tdecoy REV_\t0\t0\\.00\n"
             "proteins\tdecoy rev_\t1\t25\\.00\n"
             "length\tshortest\t11\t\n"
             "length\tquartile 1\t11\t\n"
             "length\tmedian\t16\\.5\t\n"
             "length\tmean\t16\\.5\t\n"
             "length\tquartile 3\t22\t\n"
             "length\tlongest\t22\t\n"
             "residues\tall\t66\t\n"
             "residue\tA\t18\t27\\.27\n"
             "residue\tC\t2\t3\\.03\n" },
        Row{ "StatsOwnDecoyPrefix",
             { u"fasta"_qs,
               u"stats"_qs,
               u"@FASTA@/small.fasta"_qs,
               u"--decoy-prefix"_qs,
               u"sp|"_qs,
               u"--format"_qs,
               u"csv"_qs },
             0,
             "^group,item,value,percent\nproteins,all,4,100\\.00\nproteins,decoy sp\\|,2,50\\.00\nlength," },
        Row{ "MissingFile",
             { u"fasta"_qs, u"stats"_qs, u"@TMP@/missing.fasta"_qs },
             1,
             "^$",
             "Can't open .*missing\\.fasta" },
        Row{ "Binary", { u"fasta"_qs, u"stats"_qs, u"@TMP@/binary.fasta"_qs }, 1, "^$", "binary\\.fasta is not text" },
        Row{ "TextBeforeHeader",
             { u"fasta"_qs, u"check"_qs, u"@TMP@/text-first.fasta"_qs },
             1,
             "^$",
             "text-first\\.fasta line 2: sequence text before the first '>' header\n$" }),
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

    const Outcome refused =
        run({ u"tolerance"_qs, u"1000"_qs, u"10ppm"_qs, u"-o"_qs, dir.filePath(u"no/such/dir.csv"_qs) });
    EXPECT_EQ(refused.exitCode, 1);
    EXPECT_TRUE(refused.err.startsWith(u"zeq: Can't write "_qs)) << qPrintable(refused.err);
}
