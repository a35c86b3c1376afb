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
        { "blank lines and blank-only lines",
          "\n\n>P1 first\n\nACD\n  \t\nEFGH\n\n>P2\nKLM\n\n\n",
          twoNames,
          twoSequences },
        { "comment lines", ";file comment\n>P1 first\n;inside\nACD\nEFGH\n>P2\nKLM\n;last", twoNames, twoSequences },
        { "headers without sequence", ">P1\n>P2\n\n>P3", { u"P1"_qs, u"P2"_qs, u"P3"_qs }, { {}, {}, {} } },
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
        EXPECT_TRUE(got.err.errorString().startsWith(path + u' ' + row.message)) << qPrintable(got.err.errorString());
        // Never a partial read.
        EXPECT_TRUE(got.names.isEmpty() && got.sequences.isEmpty());
    }
}

TEST_F(ReadFastaTest, UnopenableFilesAreFileOpenErrors)
{
    for (const QString &path : { m_dir.filePath(u"missing.fasta"_qs), m_dir.path() }) {
        SCOPED_TRACE(qPrintable(path));
        const Fasta got = read(path);
        EXPECT_EQ(got.err.code(), kFileOpenError);
        EXPECT_TRUE(got.err.errorString().contains(path)) << qPrintable(got.err.errorString());
    }
}

TEST_F(ReadFastaTest, ReaderHandsOutOneProteinAtATime)
{
    FastaReader reader;
    ASSERT_FALSE(reader.open(write(QByteArray(">P1\nACD\n;c\n>P2\n\nEF\n>P3\nA\0C\n", 27))).hasError());
    FastaEntry entry;
    ASSERT_TRUE(reader.next(&entry));
    EXPECT_EQ(entry.name, u"P1"_qs);
    EXPECT_EQ(entry.sequence, u"ACD"_qs);
    const QChar *storage = entry.sequence.constData();
    ASSERT_TRUE(reader.next(&entry));
    EXPECT_EQ(entry.sequence, u"EF"_qs);
    EXPECT_EQ(entry.headerLine, 4);
    EXPECT_EQ(entry.sequence.constData(), storage) << "the sequence's storage is reused";
    EXPECT_FALSE(reader.next(&entry));
    EXPECT_TRUE(reader.error().errorString().contains(u"line 8: binary data"_qs))
        << qPrintable(reader.error().errorString());
    EXPECT_FALSE(reader.next(&entry)) << "stays at the failure";
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
}

} // namespace
