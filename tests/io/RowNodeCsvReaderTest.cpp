#include "io/RowNodeCsvReader.h"

#include "io/RowNodeCsvWriter.h"
#include "support/CsvSamples.h"
#include "support/MessageGuard.h"
#include "support/RowTreeBuilder.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

using zeq::test::makeTable;

TEST(RowNodeCsvReaderTest, LoadsHeaderAndTrimmedTextCells)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(u"in.csv"_qs);
    ASSERT_TRUE(zeq::test::writeBytes(path, "Id,Name, Score\r\n 12 ,\" Ala \",\t3.5\r\n7,,x\r\n"));
    RowNode table;
    QString errorText = u"stale"_qs;
    QString secondText = u"stale"_qs;
    ASSERT_FALSE(
        zeq::readCSVFileWithExpectedColumns(path, &table, { u"Id"_qs }, &errorText, &secondText, 0).hasError());
    EXPECT_EQ(errorText + secondText, QString());
    // Header names are kept as written; only cells are trimmed.
    EXPECT_EQ(createVectorFromRowNode_FlatRowNode(table),
              (QList<QList<QString>>{ { u"Id"_qs, u"Name"_qs, u" Score"_qs },
                                      { u"12"_qs, u"Ala"_qs, u"3.5"_qs },
                                      { u"7"_qs, QString(), u"x"_qs } }));
}

TEST(RowNodeCsvReaderTest, FailuresReportTheReadersErrorAndKeepOrEmptyTheTable)
{
    QTemporaryDir dir;
    const QString columns = dir.filePath(u"columns.csv"_qs);
    const QString malformed = dir.filePath(u"bad.csv"_qs);
    ASSERT_TRUE(zeq::test::writeBytes(columns, "Id,score\n1,2\n"));
    ASSERT_TRUE(zeq::test::writeBytes(malformed, "a,b\n1,2\n3\n"));
    const QList<QList<QString>> old = { { u"Old"_qs }, { u"1"_qs } };
    zeq::test::MessageGuard guard;

    // With expected columns the table is emptied and the error text lists one message a line.
    RowNode table = makeTable({ u"Old"_qs }, { { 1 } });
    QString errorText;
    const Error missing = zeq::readCSVFileWithExpectedColumns(
        columns, &table, { u"Id"_qs, u"Score"_qs, u"Mass"_qs }, &errorText, nullptr, 0);
    EXPECT_EQ(missing.code(), kBadParameterError);
    EXPECT_EQ(errorText,
              columns + u" has no column \"Score\" (it has \"score\"; letter case matters)\n"_qs + columns
                  + u" has no column \"Mass\""_qs);
    EXPECT_EQ(createVectorFromRowNode_FlatRowNode(table), QList<QList<QString>>{ {} });

    // Without, a table that was there stays as it was.
    const struct {
        QString path;
        ErrorCode code;
        QString message;
    } rows[] = {
        { malformed, kBadParameterError, u"line 3: 1 field(s)"_qs },
        { dir.filePath(u"none.csv"_qs), kFileOpenError, u"Can't read"_qs },
    };
    for (const auto &row : rows) {
        SCOPED_TRACE(row.message.toStdString());
        RowNode kept = makeTable({ u"Old"_qs }, { { 1 } });
        const Error err = zeq::readCSVFile_HeaderRowExpected(row.path, kept, {}, 0);
        EXPECT_EQ(err.code(), row.code);
        EXPECT_TRUE(err.errorString().contains(row.message)) << err.errorString().toStdString();
        EXPECT_EQ(createVectorFromRowNode_FlatRowNode(kept), old);
    }
}
