#include "utils/FastaUtils.h"

#include "constants/StringConstants.h"
#include "support/FileSizeLimit.h"
#include "support/TestFiles.h"
#include "zeq_common_core_mini/AppSettings.h"
#include "zeq_common_core_mini/ProteinColumns.h"
#include "zeq_common_core_mini/RowNode.h"
#include "zeq_qt_shared_libs_core/ReadFasta.h"

#include <QDir>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using zeq::FastaUtils;

namespace
{

const QString kLimitKey = u"protein_read_limit"_qs;

class FastaUtilsTest : public ::testing::Test
{
protected:
    void TearDown() override { as::remove(kLimitKey); }

    QString write(const QString &name, const QByteArray &bytes)
    {
        return zeq::test::writeFile(m_dir.filePath(name), bytes);
    }

    QTemporaryDir m_dir;
};

// A table whose root says what an earlier load left behind.
RowNode staleTable()
{
    RowNode root;
    root.addData(QList<QString>{ u"Old"_qs }, true);
    root.addChild(new RowNode(VariantItems{ u"old row"_qs }, &root));
    return root;
}

QList<QList<QString>> rows(const RowNode &root)
{
    QList<QList<QString>> texts;
    for (const RowNode *row : root.children()) {
        texts.append(row->getRowDataToStringList());
    }
    return texts;
}

const QList<QString> kColumns = { kProteinAccessionName, kProteinAliasName, kProteinSequence };

TEST_F(FastaUtilsTest, SequenceCheckPerRule)
{
    const auto line = [](const char *start, const char *characters) {
        return QStringLiteral("Protein sequence %1... contains illegal character(s): %2\n")
            .arg(QString::fromUtf8(start), QString::fromUtf8(characters));
    };
    const struct {
        const char *name;
        QList<QString> sequences;
        FastaUtils::Rule rule;
        QString message; // empty: passes
    } cases[] = {
        { "letters: digit and star", { u"ACDX1*"_qs }, FastaUtils::AminoAcidLetters, line("ACDX1", "1 *") },
        { "non-ASCII fails printable, a pair is one character",
          { u"MK\u00e9\U0001F600"_qs },
          FastaUtils::PrintableAscii,
          line("MK\u00e9\U0001F600", "\u00e9 \U0001F600") },
        { "lines sorted by sequence, duplicates once, clean sequences skipped",
          { u"ZZ1ZZZZ"_qs, u"MKV"_qs, u"AA2"_qs, u"ZZ1ZZZZ"_qs },
          FastaUtils::AminoAcidLetters,
          line("AA2", "2") + line("ZZ1ZZ", "1") },
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        QString message = u"stale"_qs;
        EXPECT_EQ(FastaUtils::checkProteinNamesAndSequences({}, c.sequences, &message, c.rule), c.message.isEmpty());
        EXPECT_EQ(message, c.message);
    }
}

TEST_F(FastaUtilsTest, CheckFastaFile)
{
    const QString good = write(u"good.fasta"_qs, ">P1\nMKV\n>P2\nACD\n>P3\nW\n");
    QString message = u"stale"_qs;
    EXPECT_TRUE(FastaUtils::checkFastaFile(good, &message, FastaUtils::AminoAcidLetters));
    EXPECT_TRUE(message.isEmpty());

    EXPECT_FALSE(
        FastaUtils::checkFastaFile(write(u"bad.fasta"_qs, ">P1\nMK1V\n"), &message, FastaUtils::AminoAcidLetters));
    EXPECT_EQ(message, u"Protein sequence MK1V... contains illegal character(s): 1\n"_qs);

    as::setValue(kLimitKey, 2);
    EXPECT_FALSE(FastaUtils::checkFastaFile(good, &message, FastaUtils::AminoAcidLetters));
    EXPECT_TRUE(message.contains(u"line 5: more than 2 proteins"_qs)) << qPrintable(message);
}

TEST_F(FastaUtilsTest, LoadCombinesFilesInOrder)
{
    const QString first = write(u"a.fasta"_qs, ">  sp|P1|X desc\r\nMKV\r\nLL\r\n>>\tP2\nACD\n");
    // Latin-1 and UTF-16 files are read through a UTF-8 copy.
    const QString latin1 = write(u"b.fasta"_qs, ">caf\xE9\nWY\n");
    const QString utf16 = write(u"c.fasta"_qs, QByteArray("\xFF\xFE>\0P\0\n\0G\0", 10));
    RowNode root = staleTable();
    const Error err = FastaUtils::loadFromFastaCli({ first, latin1, utf16 }, root, {}, FastaUtils::AminoAcidLetters);
    ASSERT_FALSE(err.hasError()) << qPrintable(err.errorString());
    const QList<QList<QString>> expected = {
        { u"sp|P1|X desc"_qs, {}, u"MKVLL"_qs },
        { u"P2"_qs, {}, u"ACD"_qs },
        { u"caf\u00e9"_qs, {}, u"WY"_qs },
        { u"P"_qs, {}, u"G"_qs },
    };
    EXPECT_EQ(rows(root), expected);
}

TEST_F(FastaUtilsTest, FailedLoadLeavesOnlyTheColumns)
{
    const QString good = write(u"good.fasta"_qs, ">P1\nMKV\n");
    const QString twoProteins = write(u"two.fasta"_qs, ">P1\nMKV\n>P2\nMKV\n");
    const QString digits = write(u"digits.fasta"_qs, ">P9\nMK9\n");
    const struct {
        const char *name;
        QList<QString> paths;
        QString message;
        int limit = 0;
    } cases[] = {
        { "illegal characters in the second file",
          { good, digits },
          u"Illegal characters in FASTA file %1:\n"_qs.arg(digits) },
        { "limit from the settings", { good, twoProteins }, u"line 3: more than 1 proteins"_qs, 1 },
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        as::setValue(kLimitKey, c.limit);
        RowNode root = staleTable();
        const Error err = FastaUtils::loadFromFastaCli(c.paths, root, {}, FastaUtils::AminoAcidLetters);
        EXPECT_EQ(err.code(), kError);
        EXPECT_TRUE(err.errorString().contains(c.message)) << qPrintable(err.errorString());
        EXPECT_EQ(root.getRootDataAsStringList(), kColumns);
        EXPECT_EQ(root.getChildListSize(), 0);
    }
}

TEST_F(FastaUtilsTest, WriteFastaRoundTrip)
{
    const QString path = m_dir.filePath(u"pr\u00f6t\u00e9in.fasta"_qs);
    ASSERT_FALSE(zeq::writeFasta(path.toStdWString(), { "P1" }, { "ACD" }).hasError());
    EXPECT_EQ(zeq::test::fileContents(path), QByteArray("\n>P1\nACD\n"));

    // Replaces the file; extra sequences are ignored.
    const std::vector<std::string> names = { "sp|P1|X caf\xC3\xA9", "P2" };
    ASSERT_FALSE(zeq::writeFasta(path.toStdWString(), names, { "MKV", "", "unused" }).hasError());
    QList<QString> readNames;
    QList<QString> readSequences;
    ASSERT_FALSE(readFasta(path.toStdWString(), 0, true, &readNames, &readSequences, {}).hasError());
    EXPECT_EQ(readNames, (QList<QString>{ u"sp|P1|X caf\u00e9"_qs, u"P2"_qs }));
    EXPECT_EQ(readSequences, (QList<QString>{ u"MKV"_qs, QString() }));
}

TEST_F(FastaUtilsTest, FailedWriteLeavesNoFile)
{
    const QString existing = write(u"existing.fasta"_qs, "keep me");
    write(u"plain-file"_qs, "x");
    const QList<QString> unwritable = { QString(),
                                        m_dir.filePath(u"no/such/folder/out.fasta"_qs),
                                        m_dir.path(),
                                        m_dir.filePath(u"plain-file/out.fasta"_qs) };
    for (const QString &path : unwritable) {
        SCOPED_TRACE(qPrintable(path));
        const Error err = zeq::writeFasta(path.toStdWString(), { "P1" }, { "ACD" });
        EXPECT_EQ(err.code(), kFileOpenError);
        EXPECT_TRUE(err.errorString().contains(path)) << qPrintable(err.errorString());
    }
    const Error err = zeq::writeFasta(existing.toStdWString(), { "P1", "P2" }, { "ACD" });
    EXPECT_EQ(err.code(), kBadParameterError);
    EXPECT_EQ(zeq::test::fileContents(existing), QByteArray("keep me"));
    {
        // A disk that fills up half-way: the earlier file stays.
        const zeq::test::FileSizeLimit limit(4);
        ASSERT_TRUE(limit.active());
        EXPECT_EQ(zeq::writeFasta(existing.toStdWString(), { "P1" }, { "ACDEFGHIK" }).code(), kError);
    }
    EXPECT_EQ(zeq::test::fileContents(existing), QByteArray("keep me"));
    const QList<QString> left = QDir(m_dir.path()).entryList(QDir::Files);
    EXPECT_EQ(left, (QList<QString>{ u"existing.fasta"_qs, u"plain-file"_qs })) << "no temporary file left behind";
}

} // namespace
