#include "zeq_common_core_mini/RowNodeDbOptions.h"

#include "zeq_common_core_mini/RowNodeOptions.h"
#include "zeq_common_core_mini/Sqlite3Functions.h"
#include "zeq_common_stable/QueryUtils.h"

#include <QSqlDatabase>
#include <QTemporaryDir>

#include <gtest/gtest.h>
#include <sqlite3.h>

namespace
{

RowNode sampleOptions()
{
    RowNode options;
    EXPECT_FALSE(rn::createOptions(&options, { u"FormatName"_qs, u"Version"_qs, u"Scale"_qs, u"Empty"_qs }).hasError());
    EXPECT_FALSE(rn::setOption(&options, u"FormatName"_qs, u"catalogue"_qs).hasError());
    EXPECT_FALSE(rn::setOption(&options, u"Version"_qs, 3).hasError());
    EXPECT_FALSE(rn::setOption(&options, u"Scale"_qs, 0.25).hasError());
    return options;
}

void expectSampleValues(const RowNode &loaded)
{
    EXPECT_EQ(rn::option(loaded, u"FormatName"_qs).toString(), u"catalogue"_qs);
    EXPECT_EQ(rn::option(loaded, u"Version"_qs).toInt(), 3);
    EXPECT_DOUBLE_EQ(rn::option(loaded, u"Scale"_qs).toDouble(), 0.25);
    EXPECT_TRUE(rn::option(loaded, u"Empty"_qs, 7).isNull());
}

} // namespace

TEST(RowNodeDbOptionsTest, OptionsRoundTripThroughBothConnectionKinds)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(u"project.db"_qs);
    sqlite3 *db = nullptr;
    ASSERT_FALSE(openDB(path.toUtf8(), &db).hasError());
    ASSERT_FALSE(rn::saveOptions(db, u"Options"_qs, u"Key"_qs, sampleOptions(), u"Value"_qs).hasError());

    {
        QSqlDatabase qdb = QSqlDatabase::addDatabase(u"QSQLITE"_qs, u"options-test"_qs);
        qdb.setDatabaseName(path);
        ASSERT_TRUE(qdb.open());
        RowNode viaQt;
        ASSERT_FALSE(rn::loadOptions(&qdb, u"Options"_qs, u"Key"_qs, viaQt, u"Value"_qs).hasError());
        expectSampleValues(viaQt);

        ASSERT_FALSE(rn::setOption(&viaQt, u"Version"_qs, 4).hasError());
        ASSERT_FALSE(rn::saveOptions(&qdb, u"Options"_qs, u"Key"_qs, viaQt, u"Value"_qs).hasError());
        qdb.close();
    }
    QSqlDatabase::removeDatabase(u"options-test"_qs);

    RowNode viaSqlite;
    ASSERT_FALSE(rn::loadOptions(db, u"Options"_qs, u"Key"_qs, viaSqlite, u"Value"_qs).hasError());
    EXPECT_EQ(rn::option(viaSqlite, u"Version"_qs).toInt(), 4);
    EXPECT_EQ(viaSqlite.columnCount(), 4) << "saved again by name, not added";
    sqlite3_close(db);
}

TEST(RowNodeDbOptionsTest, FailedSaveLeavesTableAsItWas)
{
    sqlite3 *db = nullptr;
    ASSERT_FALSE(openDB(":memory:", &db).hasError());
    // The CHECK refuses the last option only, after the first ones were written.
    ASSERT_FALSE(
        sql_exec(db, u"CREATE TABLE Options(Key TEXT PRIMARY KEY, Value CHECK(Value IS NOT 0.25))"_qs).hasError());
    ASSERT_FALSE(sql_exec(db, u"INSERT INTO Options VALUES('Version', 1)"_qs).hasError());

    const Error err = rn::saveOptions(db, u"Options"_qs, u"Key"_qs, sampleOptions(), u"Value"_qs);
    EXPECT_TRUE(err.errorString().contains(u"CHECK constraint failed"));
    RowNode loaded;
    ASSERT_FALSE(rn::loadOptions(db, u"Options"_qs, u"Key"_qs, loaded, u"Value"_qs).hasError());
    EXPECT_EQ(loaded.getRootDataAsStringList(), QList<QString>{ u"Version"_qs });

    RowNode untouched;
    EXPECT_EQ(rn::loadOptions(db, u"Options;--"_qs, u"Key"_qs, untouched, u"Value"_qs).code(), kBadParameterError);
    EXPECT_EQ(untouched.columnCount(), 0);
    sqlite3_close(db);
}

TEST(QueryUtilsTest, FailedCommandNamesCallerStatementAndReason)
{
    {
        QSqlDatabase qdb = QSqlDatabase::addDatabase(u"QSQLITE"_qs, u"query-test"_qs);
        qdb.setDatabaseName(u":memory:"_qs);
        ASSERT_TRUE(qdb.open());
        QSqlQuery query = makeQuery(qdb, true);
        const Error err = db::qExecCmd(query, u"SELECT * FROM Missing"_qs, "loadThings", 42);
        EXPECT_TRUE(err.errorString().contains(u"loadThings (line 42)")) << qPrintable(err.errorString());
    }
    QSqlDatabase::removeDatabase(u"query-test"_qs);
}
