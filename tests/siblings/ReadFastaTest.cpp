#include "zeq_qt_shared_libs_core/ReadFasta.h"

#include "support/TestFiles.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace
{

struct Fasta {
    Error err;
    QList<QString> names;
    QList<QString> sequences;
};

class ReadFastaTest : public ::testing::Test
{
protected:
    QString write(const QByteArray &bytes) { return zeq::test::writeFile(m_dir.filePath(u"in.fasta"_qs), bytes); }

    static Fasta read(const QString &path, int limit = 0, const std::function<bool(const QString &)> &progress = {})
    {
        Fasta out;
        out.err = readFasta(path.toStdWString(), limit, true, &out.names, &out.sequences, progress);
        return out;
    }

    QTemporaryDir m_dir;
};

TEST_F(ReadFastaTest, AcceptsEveryLayoutQuirk)
{
    const QList<QString> twoNames = { u"P1 first"_qs, u"P2"_qs };
    const QList<QString> twoSequences = { u"ACDEFGH"_qs, u"KLM"_qs };
    const struct {
        const char *name;
        QByteArray bytes;
        QList<QString> names;
        QList<QString> sequences;
    } rows[] = {
        { "mixed line ends", ">P1 first\r\nACD\rEFGH\n>P2\rKLM", twoNames, twoSequences },
        { "byte-order mark", "\xEF\xBB\xBF>P1 first\nACD\nEFGH\n>P2\nKLM\n", twoNames, twoSequences },
        { "blank lines and blank-only lines",
          "\n\n>P1 first\n\nACD\n  \t\nEFGH\n\n>P2\nKLM\n\n\n",
          twoNames,
          twoSequences },
        { "trailing white space", ">P1 first \t\nACD  \r\nEFGH\t\n>P2\f\nKLM \v\n", twoNames, twoSequences },
        { "comment lines", ";file comment\n>P1 first\n;inside\nACD\nEFGH\n>P2\nKLM\n;last", twoNames, twoSequences },
        { "characters inside a line are kept", ">P1\nAC D*\n 1-x\n", { u"P1"_qs }, { u"AC D* 1-x"_qs } },
        { "header text kept after '>'", ">  sp|P1|X desc\nA\n", { u"  sp|P1|X desc"_qs }, { u"A"_qs } },
        { "headers without sequence", ">P1\n>P2\n\n>P3", { u"P1"_qs, u"P2"_qs, u"P3"_qs }, { {}, {}, {} } },
        { "UTF-8 text", ">Prot\xC3\xA9ine\nA\xC3\x9F\n", { u"Prot\u00e9ine"_qs }, { u"A\u00df"_qs } },
        { "empty file", "", {}, {} },
    };
    for (const auto &row : rows) {
        SCOPED_TRACE(row.name);
        const Fasta got = read(write(row.bytes));
        ASSERT_FALSE(got.err.hasError()) << qPrintable(got.err.errorString());
        EXPECT_EQ(got.names, row.names);
        EXPECT_EQ(got.sequences, row.sequences);
    }
}

TEST_F(ReadFastaTest, MalformedInputNamesFileAndLine)
{
    const QByteArray limitExceeded = ">P0\nAC\n>P1\nAC\n>P2\nAC\n>P3\nAC\n";
    const struct {
        const char *name;
        QByteArray bytes;
        int limit;
        QString message; // after "<path> "
    } rows[] = {
        { "sequence before the first header", ";c\n\nACD\n>P1\nA\n", 0, u"line 3: sequence text before"_qs },
        { "NUL byte in a sequence", QByteArray(">P1\nAC\nA\0C\n", 11), 0, u"line 3: binary data"_qs },
        { "more proteins than the limit", limitExceeded, 3, u"line 7: more than 3 proteins"_qs },
    };
    for (const auto &row : rows) {
        SCOPED_TRACE(row.name);
        const QString path = write(row.bytes);
        const Fasta got = read(path, row.limit);
        ASSERT_TRUE(got.err.hasError());
        EXPECT_EQ(got.err.code(), kError);
        EXPECT_TRUE(got.err.errorString().startsWith(path + u' ' + row.message)) << qPrintable(got.err.errorString());
        // Never a partial read.
        EXPECT_TRUE(got.names.isEmpty());
        EXPECT_TRUE(got.sequences.isEmpty());
    }
    EXPECT_FALSE(read(write(limitExceeded), 4).err.hasError());
}

TEST_F(ReadFastaTest, UnopenableFilesAreFileOpenErrors)
{
    for (const QString &path : { m_dir.filePath(u"missing.fasta"_qs), m_dir.path() }) {
        SCOPED_TRACE(qPrintable(path));
        const Fasta got = read(path);
        EXPECT_EQ(got.err.code(), kFileOpenError);
        EXPECT_TRUE(got.err.errorString().contains(path)) << qPrintable(got.err.errorString());
    }
    QList<QString> names;
    EXPECT_EQ(readFasta(write(">P\nA").toStdWString(), 0, true, &names, nullptr, {}).code(), kBadParameterError);
}

TEST_F(ReadFastaTest, MarkerKeptOnRequestListsReplacedHeaderLinesCounted)
{
    QList<QString> names = { u"stale"_qs };
    QList<QString> sequences = { u"stale"_qs };
    QList<qint64> lines = { 99 };
    const QString path = write(";c\r\n>P1\rA\r\n\r\n>P2\n\n>P3");
    ASSERT_FALSE(readFasta(path.toStdWString(), 0, false, &names, &sequences, {}, &lines).hasError());
    EXPECT_EQ(names, (QList<QString>{ u">P1"_qs, u">P2"_qs, u">P3"_qs }));
    EXPECT_EQ(sequences, (QList<QString>{ u"A"_qs, {}, {} }));
    EXPECT_EQ(lines, (QList<qint64>{ 2, 5, 7 }));
}

TEST_F(ReadFastaTest, ProgressEveryThousandProteinsAndStop)
{
    QByteArray bytes;
    for (int i = 0; i < 2500; ++i) {
        bytes += ">P" + QByteArray::number(i) + "\nMK\n";
    }
    const QString path = write(bytes);
    QList<QString> reports;
    const Fasta all = read(path, 0, [&](const QString &text) {
        reports.append(text);
        return true;
    });
    ASSERT_FALSE(all.err.hasError());
    EXPECT_EQ(all.names.size(), 2500);
    EXPECT_EQ(reports, (QList<QString>{ path + u": 1000 proteins read"_qs, path + u": 2000 proteins read"_qs }));

    const Fasta stopped = read(path, 0, [](const QString &) { return false; });
    EXPECT_TRUE(stopped.err.errorString().contains(u"line 1999: reading stopped"_qs))
        << qPrintable(stopped.err.errorString());
    EXPECT_TRUE(stopped.names.isEmpty());
}

// Lines and characters across the reader's 1 MiB block boundary, and a line longer than a block.
TEST_F(ReadFastaTest, BlockBoundaries)
{
    Fasta got;
    QList<qint64> lines;
    const auto readLines = [&](const QByteArray &bytes) {
        got = Fasta();
        got.err = readFasta(write(bytes).toStdWString(), 0, true, &got.names, &got.sequences, {}, &lines);
        ASSERT_FALSE(got.err.hasError()) << qPrintable(got.err.errorString());
    };
    // The CR of a CRLF as the last byte of the first block is one line end with its LF.
    readLines(">P1\r\n" + QByteArray((1 << 20) - 6, 'A') + "\r\n>P2\r\nC\r\n");
    EXPECT_EQ(lines, (QList<qint64>{ 1, 3 }));
    // "é" split by the boundary inside a sequence line.
    readLines(">P1\n" + QByteArray((1 << 20) - 5, 'A') + "\xC3\xA9\n");
    EXPECT_EQ(got.sequences, QList<QString>{ QString((1 << 20) - 5, u'A') + u'\u00e9' });
    // A header and a sequence line each longer than two blocks.
    const QByteArray longName(2'500'000, 'h');
    readLines(">" + longName + "\r" + QByteArray(2'500'000, 'C') + "\n>P2\nA");
    EXPECT_EQ(got.names, (QList<QString>{ QString::fromLatin1(longName), u"P2"_qs }));
    EXPECT_EQ(got.sequences, (QList<QString>{ QString(2'500'000, u'C'), u"A"_qs }));
    EXPECT_EQ(lines, (QList<qint64>{ 1, 3 }));
}

} // namespace
