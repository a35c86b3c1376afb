#include "zeq_common_core_mini/Sqlite3Functions.h"

#include "zeq_common_core_mini/Sqlite3Query.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>
#include <sqlite3.h>

namespace
{

/// A database file in a temporary folder, open read-write for the test's lifetime.
class Sqlite3FunctionsTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_dir.isValid());
        m_path = m_dir.filePath(u"catalogue é.sqlite"_qs);
        ASSERT_FALSE(openDB(m_path.toUtf8(), &m_db).hasError());
        ASSERT_FALSE(sql_exec(m_db, u"CREATE TABLE T(Id INTEGER PRIMARY KEY, Name TEXT, Mass REAL)"_qs).hasError());
    }
    void TearDown() override { sqlite3_close(m_db); }

    QTemporaryDir m_dir;
    QString m_path;
    sqlite3 *m_db = nullptr;
};

} // namespace

TEST_F(Sqlite3FunctionsTest, ResetStepLetsOneStatementInsertManyRows)
{
    Sqlite3Statement insert;
    ASSERT_FALSE(insert.prepare(m_db, u"INSERT INTO T(Id, Name, Mass) VALUES(?, ?, ?)"_qs).hasError());
    for (int i = 1; i <= 3; ++i) {
        ASSERT_FALSE(my_sqlite3_bind_longlong(m_db, insert, 1, i).hasError());
        ASSERT_FALSE(my_sqlite3_bind_text(m_db, insert, 2, u"Ox %1"_qs.arg(i)).hasError());
        ASSERT_FALSE(my_sqlite3_bind_double(m_db, insert, 3, 15.9949 * i).hasError());
        ASSERT_FALSE(my_sqlite3_step(m_db, insert, StepReset).hasError());
    }

    Sqlite3Query query(m_db, u"SELECT Id, Name, Mass, NULL FROM T ORDER BY Id"_qs);
    ASSERT_FALSE(query.exec().hasError());
    int rows = 0;
    while (query.next()) {
        ++rows;
        EXPECT_EQ(query.value(0), QVariant(qint64(rows)));
        EXPECT_EQ(query.value(1), QVariant(u"Ox %1"_qs.arg(rows)));
        EXPECT_DOUBLE_EQ(query.value(2).toDouble(), 15.9949 * rows);
        EXPECT_TRUE(query.value(3).isNull());
    }
    EXPECT_EQ(rows, 3);
}

TEST_F(Sqlite3FunctionsTest, FailuresCarrySqliteMessageAndStatement)
{
    ScopedSqlite3Stmt bad(m_db, u"SELECT Nope FROM T"_qs);
    ASSERT_TRUE(bad.lastError().hasError());
    EXPECT_TRUE(bad.lastError().errorString().contains(u"SELECT Nope FROM T"));

    ASSERT_FALSE(sql_exec(m_db, u"INSERT INTO T(Id) VALUES(1)"_qs).hasError());
    ScopedSqlite3Stmt duplicate(m_db, u"INSERT INTO T(Id) VALUES(1)"_qs);
    const Error step = my_sqlite3_step(m_db, duplicate, StepReset);
    EXPECT_TRUE(step.errorString().contains(u"UNIQUE constraint failed"));

    Sqlite3Query query(m_db, u"SELECT * FROM Missing"_qs);
    EXPECT_TRUE(query.exec().errorString().contains(u"no such table"));
    EXPECT_FALSE(query.next());
}

TEST_F(Sqlite3FunctionsTest, OpeningRefusesWritesMissingFilesAndNonDatabases)
{
    sqlite3 *db = nullptr;
    ASSERT_FALSE(openReadOnlyDB(m_path.toUtf8(), &db).hasError());
    EXPECT_TRUE(sql_exec(db, u"INSERT INTO T(Id) VALUES(7)"_qs).errorString().contains(u"readonly"));
    sqlite3_close(db);
    db = nullptr;
    const Error missing = openReadOnlyDB(m_dir.filePath(u"missing.sqlite"_qs).toUtf8(), &db);
    EXPECT_TRUE(missing.errorString().contains(u"missing.sqlite"));
    EXPECT_FALSE(QFile::exists(m_dir.filePath(u"missing.sqlite"_qs)));

    // SQLite opens any file lazily; the first statement finds out that it is not a database.
    QFile text(m_dir.filePath(u"notes.txt"_qs));
    ASSERT_TRUE(text.open(QIODevice::WriteOnly));
    text.write(QByteArray(200, 'x'));
    text.close();
    ASSERT_FALSE(openDB(text.fileName().toUtf8(), &db).hasError());
    EXPECT_TRUE(sql_exec(db, u"SELECT * FROM sqlite_master"_qs).errorString().contains(u"not a database"));
    sqlite3_close(db);
}
