#include "db/KeyValueTableDao.h"

#include "db/ScopedSQLite3Database.h"
#include "support/MessageGuard.h"
#include "zeq_common_core_mini/DatabaseHandler.h"
#include "zeq_common_core_mini/RowNodeOptions.h"
#include "zeq_common_core_mini/Sqlite3Functions.h"
#include "zeq_common_core_mini/TableExtract.h"

#include <QSqlDatabase>
#include <QTemporaryDir>

#include <gtest/gtest.h>
#include <sqlite3.h>

using zeq::ScopedSQLite3Database;

namespace
{

class KeyValueTableDaoTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_dir.isValid());
        m_path = m_dir.filePath(u"project.db"_qs);
        ScopedSQLite3Database db(m_path, false);
        ASSERT_FALSE(db.init().hasError());
        ASSERT_FALSE(sql_exec(db.db(),
                              u"CREATE TABLE Settings(Key TEXT PRIMARY KEY, Value);"
                              u"INSERT INTO Settings VALUES('Format', 'catalogue'), ('Version', 3), ('Empty', NULL)"_qs)
                         .hasError());
    }

    QTemporaryDir m_dir;
    QString m_path;
};

} // namespace

TEST_F(KeyValueTableDaoTest, ValuesAreFoundThroughBothConnectionKinds)
{
    ScopedSQLite3Database sqlite(m_path, true);
    ASSERT_FALSE(sqlite.init().hasError());
    DatabaseHandler sqliteHandler(sqlite.db());
    {
        QSqlDatabase qdb = QSqlDatabase::addDatabase(u"QSQLITE"_qs, u"kv-test"_qs);
        qdb.setDatabaseName(m_path);
        ASSERT_TRUE(qdb.open());
        DatabaseHandler qtHandler(qdb);
        for (DatabaseHandler *handler : { &sqliteHandler, &qtHandler }) {
            KeyValueTableDao dao(handler);
            SCOPED_TRACE(dao.qSqlDatabase() ? "Qt" : "SQLite");
            ASSERT_TRUE(dao.isValid());
            EXPECT_EQ(dao.getValue(u"Settings"_qs, u"Format"_qs).toString(), u"catalogue"_qs);
            EXPECT_EQ(dao.getValue(u"Settings"_qs, u"Version"_qs).toInt(), 3);
            const zeq::test::MessageGuard guard;
            EXPECT_TRUE(dao.getValue(u"Settings"_qs, u"Missing"_qs).isNull());
            // A quote in the key is data, never SQL.
            EXPECT_TRUE(dao.getValue(u"Settings"_qs, u"x'; DELETE FROM Settings; --"_qs).isNull());
            EXPECT_TRUE(dao.getValue(u"Settings WHERE 1=1 --"_qs, u"Format"_qs).isNull());
        }
        qdb.close();
    }
    QSqlDatabase::removeDatabase(u"kv-test"_qs);
    TableExtract count;
    ASSERT_FALSE(count.extract(sqlite.db(), u"SELECT COUNT(*) FROM Settings"_qs).hasError());
    EXPECT_EQ(count.getRow(0), QList<QString>{ u"3"_qs });
}

TEST_F(KeyValueTableDaoTest, OptionsGoThroughTheHeldConnection)
{
    ScopedSQLite3Database db(m_path, false);
    ASSERT_FALSE(db.init().hasError());
    DatabaseHandler handler(db.db());
    KeyValueTableDao dao(&handler);

    RowNode options;
    ASSERT_FALSE(rn::createOptions(&options, { u"Tolerance"_qs }).hasError());
    ASSERT_FALSE(rn::setOption(&options, u"Tolerance"_qs, u"10ppm"_qs).hasError());
    ASSERT_FALSE(dao.saveOptions(u"Settings"_qs, u"Key"_qs, options, u"Value"_qs).hasError());
    RowNode loaded;
    ASSERT_FALSE(KeyValueTableDao(dao).loadOptions(u"Settings"_qs, u"Key"_qs, loaded, u"Value"_qs).hasError());
    EXPECT_EQ(rn::option(loaded, u"Tolerance"_qs).toString(), u"10ppm"_qs);
    EXPECT_EQ(rn::option(loaded, u"Version"_qs).toInt(), 3);

    EXPECT_EQ(KeyValueTableDao().loadOptions(u"Settings"_qs, u"Key"_qs, loaded, u"Value"_qs).code(), kError);
}

TEST_F(KeyValueTableDaoTest, ScopedDatabaseClosesOnceAndNullsCallersHandle)
{
    sqlite3 *handle = nullptr;
    {
        ScopedSQLite3Database db(&handle, m_path, false);
        ASSERT_FALSE(db.init().hasError());
        ASSERT_NE(handle, nullptr);
        // A second init closes the first connection rather than leaking it.
        ASSERT_FALSE(db.init().hasError());
    }
    EXPECT_EQ(handle, nullptr);

    ScopedSQLite3Database missing(m_dir.filePath(u"none/x.db"_qs), true);
    const Error err = missing.init();
    EXPECT_TRUE(err.errorString().contains(u"none/x.db"));
}
