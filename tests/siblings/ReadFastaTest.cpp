#include "zeq_qt_shared_libs_core/ReadFasta.h"

#include "support/TestFiles.h"

#include <QRandomGenerator>
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
        { "LF", ">P1 first\nACD\nEFGH\n>P2\nKLM\n", twoNames, twoSequences },
        { "CRLF", ">P1 first\r\nACD\r\nEFGH\r\n>P2\r\nKLM\r\n", twoNames, twoSequences },
        { "lone CR", ">P1 first\rACD\rEFGH\r>P2\rKLM\r", twoNames, twoSequences },
        { "mixed line ends", ">P1 first\r\nACD\rEFGH\n>P2\rKLM", twoNames, twoSequences },
        { "byte-order mark", "\xEF\xBB\xBF>P1 first\nACD\nEFGH\n>P2\nKLM\n", twoNames, twoSequences },
        { "blank lines and blank-only lines",
          "\n\n>P1 first\n\nACD\n  \t\nEFGH\n\n>P2\nKLM\n\n\n",
          twoNames,
          twoSequences },
        { "trailing white space", ">P1 first \t\nACD  \r\nEFGH\t\n>P2\f\nKLM \v\n", twoNames, twoSequences },
        { "comment lines", ";file comment\n>P1 first\n;inside\nACD\nEFGH\n>P2\nKLM\n;last", twoNames, twoSequences },
        { "no final line end", ">P1 first\nACD\nEFGH\n>P2\nKLM", twoNames, twoSequences },
        { "characters inside a line are kept", ">P1\nAC D*\n 1-x\n", { u"P1"_qs }, { u"AC D* 1-x"_qs } },
        { "header text kept after '>'", ">  sp|P1|X desc\nA\n", { u"  sp|P1|X desc"_qs }, { u"A"_qs } },
        { "headers without sequence", ">P1\n>P2\n\n>P3", { u"P1"_qs, u"P2"_qs, u"P3"_qs }, { {}, {}, {} } },
        { "UTF-8 text", ">Prot\xC3\xA9ine\nA\xC3\x9F\n", { u"Prot\u00e9ine"_qs }, { u"A\u00df"_qs } },
        { "empty file", "", {}, {} },
        { "only comments and blanks", ";x\n\n;y\n", {}, {} },
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
    QByteArray limitExceeded;
    for (int i = 0; i < 4; ++i) {
        limitExceeded += ">P" + QByteArray::number(i) + "\nAC\n";
    }
    const struct {
        const char *name;
        QByteArray bytes;
        int limit;
        QString message; // after "<path> "
    } rows[] = {
        { "sequence before the first header", ";c\n\nACD\n>P1\nA\n", 0, u"line 3: sequence text before"_qs },
        { "binary garbage", QByteArray("\x89PNG\r\n\x1a\n\0\0\0\rIHDR", 16), 0, u"line 1: sequence text before"_qs },
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

// Records in random layouts, several MB so that lines, CRLF pairs and characters fall across the
// reader's block boundaries, some lines longer than a whole block.
TEST_F(ReadFastaTest, LongLinesAndBlockBoundaries)
{
    QRandomGenerator random(17);
    const QByteArray residues = "ACDEFGHIKLMNPQRSTVWY";
    const QList<QByteArray> lineEnds = { "\n", "\r\n", "\r" };
    QList<QString> names;
    QList<QString> sequences;
    QList<qint64> headerLines;
    qint64 line = 1;
    QByteArray bytes;
    while (bytes.size() < 6'000'000) {
        const int kind = random.bounded(20);
        // A few proteins of 1.5 MB on one line, a few 1.2 MB headers, the rest ordinary.
        const qsizetype length = kind == 0 ? 1'500'000 : random.bounded(0, 3000);
        const qsizetype width = kind == 0 ? length + 1 : random.bounded(1, 200);
        QByteArray name = "P" + QByteArray::number(names.size());
        if (kind == 1) {
            name += QByteArray(1'200'000, 'h');
        }
        if (kind == 2) {
            name += " caf\xC3\xA9"; // a two-byte character may straddle a boundary too
        }
        QByteArray sequence(length, Qt::Uninitialized);
        for (char &c : sequence) {
            c = residues.at(random.bounded(residues.size()));
        }
        if (kind == 3 && length > 0) {
            sequence[length / 2] = '\xC3'; // "é" inside a sequence, kept for the sequence check
            sequence.insert(length / 2 + 1, '\xA9');
        }
        names.append(QString::fromUtf8(name));
        sequences.append(QString::fromUtf8(sequence));
        const QByteArray &end = lineEnds.at(random.bounded(3));
        headerLines.append(line++);
        bytes += '>' + name + (random.bounded(4) == 0 ? "  " : "") + end;
        for (qsizetype at = 0; at < sequence.size(); at += width) {
            // Never split the two bytes of "é" over two lines.
            qsizetype take = width;
            if (at + take < sequence.size() && static_cast<unsigned char>(sequence.at(at + take)) == 0xA9) {
                ++take;
            }
            bytes += sequence.mid(at, take) + (random.bounded(8) == 0 ? "\t " : "") + end;
            at += take - width;
            ++line;
        }
        if (random.bounded(10) == 0) {
            bytes += ";comment" + end + end;
            line += 2;
        }
    }
    Fasta got;
    QList<qint64> gotLines;
    got.err = readFasta(write(bytes).toStdWString(), 0, true, &got.names, &got.sequences, {}, &gotLines);
    ASSERT_FALSE(got.err.hasError()) << qPrintable(got.err.errorString());
    EXPECT_EQ(gotLines, headerLines) << "a CRLF split by a block end is one line end";
    ASSERT_EQ(got.names.size(), names.size());
    for (qsizetype i = 0; i < names.size(); ++i) {
        ASSERT_EQ(got.names.at(i), names.at(i)) << "protein " << i;
        ASSERT_EQ(got.sequences.at(i), sequences.at(i)) << "protein " << i;
    }

    // The CR of a CRLF as the last byte of the first 1 MiB block.
    const QByteArray straddling = ">P1\r\n" + QByteArray((1 << 20) - 6, 'A') + "\r\n>P2\r\nC\r\n";
    ASSERT_FALSE(
        readFasta(write(straddling).toStdWString(), 0, true, &got.names, &got.sequences, {}, &gotLines).hasError());
    EXPECT_EQ(gotLines, (QList<qint64>{ 1, 3 }));
    // "é" split by the same boundary, inside a sequence line.
    const QByteArray split = ">P1\n" + QByteArray((1 << 20) - 5, 'A') + "\xC3\xA9\n";
    ASSERT_FALSE(readFasta(write(split).toStdWString(), 0, true, &got.names, &got.sequences, {}, &gotLines).hasError());
    EXPECT_EQ(got.sequences, QList<QString>{ QString((1 << 20) - 5, u'A') + u'\u00e9' });
}

} // namespace
