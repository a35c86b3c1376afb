#include "SqlColumnsExtractor.h"

#include <gtest/gtest.h>

using zeq::SqlColumnsExtractor;

namespace
{

struct Row {
    const char *name;
    const char *query;
    QList<QString> columns; // empty: fails
    const char *message;
};

void check(const Row &row, const zeq::Result<QList<QString>> &result)
{
    SCOPED_TRACE(row.name);
    if (row.columns.isEmpty()) {
        ASSERT_TRUE(result.hasError());
        EXPECT_TRUE(result.error().errorString().startsWith(QString::fromUtf8(row.message)))
            << qPrintable(result.error().errorString());
    } else {
        ASSERT_TRUE(result.hasValue()) << qPrintable(result.error().errorString());
        EXPECT_EQ(result.value(), row.columns);
    }
}

} // namespace

TEST(SqlColumnsExtractorTest, CreateTableTexts)
{
    const Row rows[] = {
        { "comment",
          "CREATE TABLE T(Id INTEGER PRIMARY KEY, Name TEXT /* display */, Mass REAL)",
          { u"Id"_qs, u"Name"_qs, u"Mass"_qs },
          "" },
        // The first match consumes the comma, so b is not seen.
        { "bare", "CREATE TABLE x(a,b)", { u"a"_qs }, "" },
        { "no list", "CREATE TABLE nothing", {}, "Cannot extract columns from query: CREATE TABLE nothing" },
    };
    for (const Row &row : rows) {
        check(row, SqlColumnsExtractor::getColumnsFromCreateTableQuery(QString::fromUtf8(row.query)));
    }
}

TEST(SqlColumnsExtractorTest, SelectTexts)
{
    const Row rows[] = {
        { "prefix and rename",
          "SELECT a.Id, Name AS ProteinName, Mass FROM T",
          { u"Id"_qs, u"ProteinName"_qs, u"Mass"_qs },
          "" },
        { "no from", "SELECT 1", {}, "Cannot extract list of columns from query SELECT 1" },
        { "no column", "SELECT * FROM T", {}, "Cannot extract columns from *" },
    };
    for (const Row &row : rows) {
        check(row, SqlColumnsExtractor::getColumnsFromSelectQuery(QString::fromUtf8(row.query)));
    }
}
