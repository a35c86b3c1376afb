#include "db/ModificationId.h"
#include "zeq_common_core_mini/Sqlite3Functions.h"
#include "zeq_common_core_mini/Sqlite3Statement.h"

#include <gtest/gtest.h>
#include <sqlite3.h>

using zeq::ErrorWarningMessages;
using zeq::ModificationId;
using zeq::SqlId;

namespace
{

ModificationId idOf(qint64 value)
{
    ModificationId id;
    EXPECT_FALSE(SqlId::fromLongLong(value, &id, nullptr).hasError());
    return id;
}

} // namespace

TEST(SqlIdTest, TextsBecomeIdentifiersOrOneReadableLine)
{
    struct Row {
        const char *text;
        qint64 value; // -1: refused
        const char *line;
    };
    const Row rows[] = {
        { "0", 0, "" },
        { "-1", -1, "Value -1 is out of range for zeq::ModificationId" },
        { "4x", -1, "Unable to parse \"4x\" as zeq::ModificationId\n" },
    };
    for (const Row &row : rows) {
        SCOPED_TRACE(row.text);
        ModificationId id = idOf(7);
        ErrorWarningMessages messages{ u"before\n"_qs, {} };
        const Error err = SqlId::fromString(QString::fromUtf8(row.text), &id, &messages);
        if (row.value >= 0) {
            EXPECT_FALSE(err.hasError());
            EXPECT_EQ(id.value(), row.value);
        } else {
            EXPECT_EQ(err.code(), kBadParameterError);
            EXPECT_EQ(id.value(), 7) << "kept on failure";
        }
        EXPECT_EQ(messages.errors, u"before\n"_qs + QString::fromUtf8(row.line));
    }
}

TEST(SqlIdTest, StatementColumnsAreCheckedBeforeReading)
{
    sqlite3 *db = nullptr;
    ASSERT_FALSE(openDB(":memory:", &db).hasError());
    struct Row {
        const char *select;
        int column;
        qint64 value;
        const char *lines;
    };
    const Row rows[] = {
        { "SELECT 5", 0, 5, "" },
        { "SELECT NULL", 0, -1, "Query column 0 invalid type 5 for SqlId\n" },
        { "SELECT 5", 1, -1, "Query missing column 1\n" },
        { "SELECT 1, -3", 1, -1, "Value -3 is out of range for zeq::ModificationIdError parsing query column 1\n" },
        // Identifiers are 64-bit: a 32-bit read would name row 1.
        { "SELECT 4294967297", 0, 4294967297, "" },
        { "SELECT 9223372036854775807", 0, 9223372036854775807, "" },
    };
    for (const Row &row : rows) {
        SCOPED_TRACE(row.select);
        ScopedSqlite3Stmt stmt(db, QString::fromUtf8(row.select));
        ASSERT_EQ(sqlite3_step(stmt), SQLITE_ROW);
        ModificationId id;
        ErrorWarningMessages messages;
        const Error err = SqlId::fromSqlite3Stmt(stmt, row.column, &id, &messages);
        EXPECT_EQ(err.hasError(), row.value < 0);
        EXPECT_EQ(id.value(), row.value);
        EXPECT_EQ(messages.errors, QString::fromUtf8(row.lines));
    }
    ErrorWarningMessages messages;
    EXPECT_EQ(SqlId::fromSqlite3Stmt<ModificationId>(nullptr, 0, nullptr, &messages).code(), kBadParameterError);
    sqlite3_close(db);
}

TEST(SqlIdTest, OnlyValidIdentifiersAreBound)
{
    sqlite3 *db = nullptr;
    ASSERT_FALSE(openDB(":memory:", &db).hasError());
    {
        ScopedSqlite3Stmt stmt(db, u"SELECT ?"_qs);
        EXPECT_EQ(zeq::my_sqlite3_bind_id(db, stmt, 1, ModificationId()).code(), kOutOfRangeError);
        ASSERT_EQ(sqlite3_step(stmt), SQLITE_ROW);
        EXPECT_EQ(sqlite3_column_type(stmt, 0), SQLITE_NULL);

        sqlite3_reset(stmt);
        ASSERT_FALSE(zeq::my_sqlite3_bind_id(db, stmt, 1, idOf(12)).hasError());
        ASSERT_EQ(sqlite3_step(stmt), SQLITE_ROW);
        EXPECT_EQ(sqlite3_column_int64(stmt, 0), 12);
    } // the statement is finalised before the connection closes
    sqlite3_close(db);
}
