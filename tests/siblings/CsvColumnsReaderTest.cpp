#include "zeq_common_core_mini/CsvColumnsReader.h"

#include "support/CsvSamples.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

class CsvColumnsReaderTest : public ::testing::Test
{
protected:
    zeq::Result<CsvContent> read(const QByteArray &bytes, const CsvColumnsValidator &validator = {}, int option = 0)
    {
        EXPECT_TRUE(zeq::test::writeBytes(m_path, bytes));
        return CsvColumnsReader(m_path).readContent(validator, option);
    }

    QTemporaryDir m_dir;
    const QString m_path = m_dir.filePath(u"in.csv"_qs);
};

TEST_F(CsvColumnsReaderTest, ReadsEachFormOfWellFormedText)
{
    const QList<QList<QString>> ab12 = { { u"1"_qs, u"2"_qs } };
    const struct {
        const char *name;
        QByteArray bytes;
        QList<QList<QString>> records;
        int option = CsvColumnsReader::NoOption;
    } rows[] = {
        { "CRLF", "a,b\r\n1,2\r\n", ab12 },
        { "byte-order mark and blank lines",
          "\xEF\xBB\xBF"
          "a,b\r\n\r\n\n1,2\n\r\n",
          ab12 },
        { "quoted separators, quotes and kept line breaks",
          "a,b\n\",\"\"x\"\"\r\n\",\"l1\rl2\nl3\"\n",
          { { u",\"x\"\r\n"_qs, u"l1\rl2\nl3"_qs } } },
        { "empty fields, quoted or not",
          "a,b\n,\n\"\",\"\"\n",
          { { QString(), QString() }, { QString(), QString() } } },
        { "short records padded on request",
          "a,b\n1\n",
          { { u"1"_qs, QString() } },
          CsvColumnsReader::PadShortRecords },
    };
    for (const auto &row : rows) {
        SCOPED_TRACE(row.name);
        const zeq::Result<CsvContent> content = read(row.bytes, {}, row.option);
        ASSERT_TRUE(content.hasValue()) << content.error().errorString().toStdString();
        EXPECT_EQ(content.value().columns(), (QList<QString>{ u"a"_qs, u"b"_qs }));
        EXPECT_EQ(content.value().records(), row.records);
    }
}

TEST_F(CsvColumnsReaderTest, MalformedTextFailsNamingFileAndLine)
{
    const struct {
        const char *name;
        QByteArray bytes;
        const char *message; // after "<path> "
    } rows[] = {
        { "unterminated quote",
          "a,b\r\n1,\"open\r\n2,3\r\n",
          "line 2: the quoted field that starts here is never closed" },
        { "lines counted through quoted breaks", "a,b\n\"x\r\ny\rz\",1\n2\n", "line 5: 1 field(s) where" },
        { "duplicate header after blank lines",
          "\xEF\xBB\xBF\n\nx,x\n",
          "line 3: the column \"x\" appears twice (columns 1 and 2)" },
        { "binary garbage", QByteArray("a,b\n1,2\n\x89PNG\x00\x01\xff", 15), "line 3: a NUL byte" },
        { "Latin-1 text", "name\nok\nCaf\xe9\n", "line 3: bytes that are not UTF-8 text" },
    };
    for (const auto &row : rows) {
        SCOPED_TRACE(row.name);
        const Error err = read(row.bytes).error();
        EXPECT_EQ(err.code(), kBadParameterError);
        EXPECT_TRUE(err.errorString().startsWith(m_path + u' ' + QString::fromUtf8(row.message)))
            << err.errorString().toStdString();
    }
}

TEST_F(CsvColumnsReaderTest, ValidatorNamesEveryMissingAndUnexpectedColumn)
{
    const struct {
        const char *name;
        CsvColumnsValidator validator;
        QList<QString> messages; // after "<path> "
    } rows[] = {
        { "missing columns, in the validator's order",
          { { u"Mass"_qs, u"Name"_qs, u"Charge"_qs }, {}, false },
          { u"has no column \"Mass\""_qs, u"has no column \"Charge\""_qs } },
        { "other columns refused",
          { { u"Name"_qs }, { u"Score"_qs }, true },
          { u"has a column \"score\" that is not expected"_qs, u"has a column \"Extra\" that is not expected"_qs } },
    };
    for (const auto &row : rows) {
        SCOPED_TRACE(row.name);
        const zeq::Result<CsvContent> content = read("Name,score,Extra\n", row.validator);
        QList<QString> expected;
        for (const QString &message : row.messages) {
            expected.append(m_path + u' ' + message);
        }
        EXPECT_EQ(content.error().code(), expected.isEmpty() ? kNoErr : kBadParameterError);
        EXPECT_EQ(content.error().errorMessages(), expected);
    }
}
