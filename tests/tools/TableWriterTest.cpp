#include "TableWriter.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <gtest/gtest.h>

using zeq::cli::TableWriter;

namespace
{

QString rendered(TableWriter::Format format, const QList<QStringList> &rows)
{
    TableWriter writer(format, { { u"name"_qs, false }, { u"mz"_qs, true } });
    for (const QStringList &row : rows) {
        writer.addRow(row);
    }
    return QString::fromUtf8(writer.render());
}

} // namespace

TEST(TableWriterTest, FormatNames)
{
    EXPECT_EQ(TableWriter::formatFromName(u" CSV "_qs).value(), TableWriter::Csv);
    EXPECT_EQ(TableWriter::formatFromName(u"json"_qs).value(), TableWriter::Json);
    const zeq::Result<TableWriter::Format> unknown = TableWriter::formatFromName(u"xml"_qs);
    ASSERT_TRUE(unknown.hasError());
    EXPECT_TRUE(unknown.error().errorString().contains(u"\"xml\""));
}

TEST(TableWriterTest, TableAlignsNumbersRightAndTextLeft)
{
    EXPECT_EQ(rendered(TableWriter::Table, { { u"a"_qs, u"1000.5"_qs }, { u"longer"_qs, u"2"_qs } }),
              u"name        mz\n"
              "a       1000.5\n"
              "longer       2\n"_qs);
}

TEST(TableWriterTest, SeparatedFormatsProtectTheirSeparators)
{
    const QList<QStringList> rows{ { u"a,b \"c\""_qs, u"1"_qs }, { u"two\nlines\tand tab"_qs, u"2"_qs }, { u"x"_qs } };
    EXPECT_EQ(rendered(TableWriter::Csv, rows), u"name,mz\n\"a,b \"\"c\"\"\",1\n\"two\nlines\tand tab\",2\nx,\n"_qs);
    EXPECT_EQ(rendered(TableWriter::Tsv, rows), u"name\tmz\na,b \"c\"\t1\ntwo lines and tab\t2\nx\t\n"_qs);
}

TEST(TableWriterTest, JsonKeepsColumnOrderEscapesTextAndTypesNumbers)
{
    const QString json = rendered(
        TableWriter::Json, { { u"q\"\\\n\u0001"_qs, u"+1.50"_qs }, { u"b"_qs, u"nan"_qs }, { u"c"_qs, u""_qs } });
    EXPECT_LT(json.indexOf(u"\"name\""), json.indexOf(u"\"mz\""));
    QJsonParseError error;
    const QJsonArray rows = QJsonDocument::fromJson(json.toUtf8(), &error).array();
    ASSERT_EQ(error.error, QJsonParseError::NoError) << qPrintable(json);
    ASSERT_EQ(rows.size(), 3);
    EXPECT_EQ(rows.at(0)[u"name"_qs].toString(), u"q\"\\\n\u0001"_qs);
    EXPECT_EQ(rows.at(0)[u"mz"_qs], QJsonValue(1.5));
    EXPECT_TRUE(rows.at(1)[u"mz"_qs].isNull());
    EXPECT_TRUE(rows.at(2)[u"mz"_qs].isNull());
    EXPECT_EQ(rendered(TableWriter::Json, {}), u"[]\n"_qs);
}
