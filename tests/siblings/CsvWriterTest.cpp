#include "zeq_common_core_mini/CsvWriter.h"

#include "support/CsvSamples.h"
#include "support/FileSizeLimit.h"
#include "zeq_common_core_mini/CsvColumnsReader.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

using zeq::test::readBytes;

namespace
{

bool writeAll(CsvWriter &writer, const QList<QList<QString>> &rows)
{
    bool ok = writer.open();
    for (qsizetype i = 0; ok && i < rows.size(); ++i) {
        ok = writer.writeRow(rows.at(i));
    }
    return ok && writer.commit();
}

} // namespace

TEST(CsvWriterTest, FieldsAreQuotedByOneRule)
{
    const struct {
        const char16_t *field;
        QChar separator;
        const char16_t *written;
    } rows[] = {
        { u"plain", u',', u"plain" },
        { u"", u',', u"" },
        { u"a,b", u',', u"\"a,b\"" },
        { u"a,b", u';', u"a,b" },
        { u"a;b", u';', u"\"a;b\"" },
        { u"say \"hi\"", u',', u"\"say \"\"hi\"\"\"" },
        { u"two\nlines", u',', u"\"two\nlines\"" },
        { u"cr\r", u',', u"\"cr\r\"" },
        // Readers trim unquoted fields, and a leading mark would pass for the file's encoding.
        { u" lead", u',', u"\" lead\"" },
        { u"trail\t", u',', u"\"trail\t\"" },
        { u"in side", u',', u"in side" },
        { u"\uFEFFmark", u',', u"\"\uFEFFmark\"" },
        { u"mark\uFEFF", u',', u"mark\uFEFF" },
        // Control characters are data: a CSV keeps them.
        { u"\x1b[31m", u',', u"\x1b[31m" },
    };
    for (const auto &row : rows) {
        const QString field = QStringView(row.field).toString();
        SCOPED_TRACE(field.toStdString());
        EXPECT_EQ(csvField(field, row.separator), QStringView(row.written).toString());
    }
}

TEST(CsvWriterTest, GeneratedTablesReadBackIdentical)
{
    std::mt19937 rng(4180);
    const QChar separators[] = { u',', u';', u'\t' };
    const QString lineEnds[] = { u"\r\n"_qs, u"\n"_qs, u"\r"_qs };
    QTemporaryDir dir;
    const QString path = dir.filePath(u"table.csv"_qs);
    for (int table = 0; table < 60; ++table) {
        SCOPED_TRACE(table);
        QList<QList<QString>> rows(1 + table % 7);
        for (int c = 0; c < 1 + table % 5; ++c) {
            rows[0].append(zeq::test::trickyText(rng) + QString::number(c)); // names must differ
            for (qsizetype r = 1; r < rows.size(); ++r) {
                rows[r].append(zeq::test::trickyText(rng));
            }
        }
        CsvWriter writer(path, lineEnds[table / 3 % 3], separators[table % 3]);
        ASSERT_TRUE(writeAll(writer, rows));

        const zeq::Result<CsvContent> read = CsvColumnsReader(path, separators[table % 3]).readContent({});
        ASSERT_TRUE(read.hasValue()) << read.error().errorString().toStdString();
        EXPECT_EQ(read.value().columns(), rows.first());
        EXPECT_EQ(read.value().records(), rows.mid(1));
    }
}

TEST(CsvWriterTest, FailuresLeaveNoPartialFile)
{
    QTemporaryDir dir;
    const QString earlier = dir.filePath(u"earlier.csv"_qs);
    ASSERT_TRUE(zeq::test::writeBytes(earlier, "old\r\n"));
    ASSERT_TRUE(zeq::test::writeBytes(dir.filePath(u"plain-file"_qs), "x"));
    const QList<QString> before = zeq::test::entries(dir.path());

    const struct {
        QString path;
        QList<QList<QString>> rows;
        ErrorCode code;
        QString message;
        QString lineEnd = u"\r\n"_qs;
    } rows[] = {
        { earlier, { { u"a"_qs }, { u"b\0"_qs } }, kBadParameterError, u"row 2, field 1 holds a NUL character"_qs },
        { earlier, {}, kBadParameterError, u"a CSV line ends in CRLF, LF or CR"_qs, u"\n\r"_qs },
        { dir.filePath(u"plain-file/out.csv"_qs), {}, kFileOpenError, u"Can't write"_qs },
    };
    for (const auto &row : rows) {
        SCOPED_TRACE(row.message.toStdString());
        CsvWriter writer(row.path, row.lineEnd);
        EXPECT_FALSE(writeAll(writer, row.rows));
        EXPECT_EQ(writer.error().code(), row.code);
        EXPECT_TRUE(writer.error().errorString().contains(row.message)) << writer.error().errorString().toStdString();
        EXPECT_EQ(zeq::test::entries(dir.path()), before);
        EXPECT_EQ(readBytes(earlier), "old\r\n");
    }

    // A full disk, also when the rows reach the disk only at commit.
    for (const qsizetype rowCount : { 10, 100000 }) {
        SCOPED_TRACE(rowCount);
        CsvWriter writer(earlier);
        const QList<QList<QString>> many(rowCount, { u"a value"_qs, u"another value"_qs });
        bool saved = true;
        {
            const zeq::test::FileSizeLimit limit(64);
            ASSERT_TRUE(limit.active());
            saved = writeAll(writer, many);
        }
        EXPECT_FALSE(saved);
        EXPECT_EQ(zeq::test::entries(dir.path()), before);
    }

    // Rows written but never committed do not replace the earlier file either.
    {
        CsvWriter writer(earlier);
        ASSERT_TRUE(writer.open() && writer.writeRow({ u"new"_qs }));
    }
    EXPECT_EQ(readBytes(earlier), "old\r\n");
    EXPECT_EQ(zeq::test::entries(dir.path()), before);
}
