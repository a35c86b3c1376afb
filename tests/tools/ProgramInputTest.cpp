// Runs zeq on inputs that are not regular files (a process substitution, a named pipe, standard
// input) as a user would: each is read once, whole, or the command fails saying why.
#include "support/TestFiles.h"
#include "support/ZeqRun.h"

#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <csignal>
#include <sys/resource.h>

using namespace zeq::test;

namespace
{

/// Runs `script` in bash with $ZEQ naming the program and $T a temporary folder. A pipe opened a
/// second time waits for a writer that never comes: the timeout turns that into a failure.
Outcome shell(const QString &script, const QString &folder)
{
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(u"ZEQ"_qs, QStringLiteral(ZEQ_PROGRAM));
    environment.insert(u"T"_qs, folder);
    process.setProcessEnvironment(environment);
    process.start(u"bash"_qs, { u"-c"_qs, u"set -o pipefail; timeout 30 "_qs + script });
    EXPECT_TRUE(process.waitForFinished(60'000)) << qPrintable(script);
    return { process.exitCode(),
             QString::fromUtf8(process.readAllStandardOutput()),
             QString::fromUtf8(process.readAllStandardError()) };
}

} // namespace

TEST(ProgramInputTest, PipesGiveWhatTheFileGives)
{
    const struct {
        const char *command;
        const char *file;
    } rows[] = {
        { "fasta stats", ZEQ_TEST_DATA_DIR "/fasta/small.fasta" },
        { "fasta check", ZEQ_TEST_DATA_DIR "/fasta/illegal.fasta" },
        { "digest", ZEQ_TEST_DATA_DIR "/fasta/small.fasta" },
        { "charges", ZEQ_TEST_DATA_DIR "/peaklists/isotope_clusters.txt" },
        { "sum --ms-level all", ZEQ_SAMPLES_DIR "/sample.mzML" },
        { "deisotope --format csv", ZEQ_TEST_DATA_DIR "/peaklists/isotope_clusters.txt" },
    };
    QTemporaryDir dir;
    for (const auto &row : rows) {
        SCOPED_TRACE(row.command);
        const QString command = u"\"$ZEQ\" "_qs + QString::fromUtf8(row.command);
        const QString file = u"'"_qs + QString::fromUtf8(row.file) + u"'"_qs;
        const Outcome direct = shell(command + u" "_qs + file, dir.path());
        ASSERT_GE(direct.out.count(u'\n'), 3) << qPrintable(direct.err);
        const QString ways[] = {
            command + u" <(cat "_qs + file + u")"_qs,
            u"bash -c 'rm -f \"$T/p\"; mkfifo \"$T/p\"; cat \"$1\" > \"$T/p\" & exec "_qs + command
                + u" \"$T/p\"' - "_qs + file,
        };
        for (const QString &way : ways) {
            const Outcome piped = shell(way, dir.path());
            EXPECT_EQ(piped.exitCode, direct.exitCode)
                << qPrintable(way) << "\npiped: " << qPrintable(piped.err) << "direct: " << qPrintable(direct.err);
            // deisotope names the file it read in its first column.
            EXPECT_EQ(QString(piped.out).remove(QRegularExpression(u"(?m)^[^,\n]*/(p|\\d+),"_qs)),
                      QString(direct.out).remove(QRegularExpression(u"(?m)^[^,\n]*\\.txt,"_qs)))
                << qPrintable(way);
        }
    }
}

TEST(ProgramInputTest, StandardInputThatCannotBeCopiedWholeFails)
{
    QTemporaryDir dir;
    QByteArray peaks;
    for (int i = 0; i < 20'000; ++i) {
        peaks += QByteArray::number(100.0 + i * 0.01) + ' ' + QByteArray::number(1 + i % 7) + '\n';
    }
    const QString input = writeFile(dir.filePath(u"peaks.txt"_qs), peaks);
    const Outcome whole = runZeq({ u"sum"_qs, u"-"_qs }, [&](QProcess &p) { p.setStandardInputFile(input); });
    EXPECT_EQ(whole.exitCode, 0) << qPrintable(whole.err);
    // A full temporary folder, as the kernel reports it to a process whose files may not grow.
    const Outcome cut = runZeq({ u"sum"_qs, u"-"_qs }, [&](QProcess &p) {
        p.setStandardInputFile(input);
        p.setChildProcessModifier([] {
            const rlimit small{ 64 * 1024, 64 * 1024 };
            std::signal(SIGXFSZ, SIG_IGN);
            setrlimit(RLIMIT_FSIZE, &small);
        });
    });
    EXPECT_EQ(cut.exitCode, 1);
    EXPECT_EQ(cut.out, QString());
    EXPECT_EQ(cut.err, u"zeq: Can't copy standard input to a temporary file: File too large\n"_qs);
}

TEST(ProgramInputTest, MessagesNameStandardInputAsSuch)
{
    QTemporaryDir dir;
    for (const auto &[text, message] :
         { std::pair{ "400 x\n", "line 1: expected two numbers" }, std::pair{ "# none\n", "holds no points" } }) {
        const QString input = writeFile(dir.filePath(u"peaks.txt"_qs), text);
        const Outcome read = runZeq({ u"charges"_qs, u"-"_qs }, [&](QProcess &p) { p.setStandardInputFile(input); });
        EXPECT_TRUE(read.err.startsWith(u"zeq: standard input "_qs + QString::fromUtf8(message)))
            << qPrintable(read.err);
    }
}
