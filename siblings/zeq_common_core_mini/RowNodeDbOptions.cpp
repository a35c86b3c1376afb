#include "zeq_common_core_mini/RowNodeDbOptions.h"

#include "zeq_common_core_mini/RowNodeOptions.h"
#include "zeq_common_core_mini/Sqlite3Functions.h"
#include "zeq_common_core_mini/Sqlite3Query.h"

#include <QSqlDatabase>
#include <QSqlDriver>

#include <sqlite3.h>

namespace rn
{

namespace
{

Error checkNames(const void *db, const QString &table, const QString &keyColumn, const QString &valueColumn)
{
    Error err;
    if (!db) {
        err.setError(kBadParameterError).addErrorMessage(QStringLiteral("No database connection for %1").arg(table));
        return ZEQ_ECATCH(err);
    }
    for (const QString &name : { table, keyColumn, valueColumn }) {
        if (!isSqlIdentifier(name)) {
            err.setError(kBadParameterError).addErrorMessage(QStringLiteral("Not an SQL name: \"%1\"").arg(name));
            return ZEQ_ECATCH(err);
        }
    }
    return err;
}

// Qt's SQLite driver runs on the same SQLite library as ours, so a Qt connection is served through
// its native handle: one code path for both connection kinds, and the save's SAVEPOINT nests inside a
// transaction the caller may have opened through Qt. A closed connection or another driver gives null,
// which the name check reports.
sqlite3 *nativeHandle(QSqlDatabase *db)
{
    if (!db || !db->isOpen() || !db->driver()) {
        return nullptr;
    }
    const QVariant handle = db->driver()->handle();
    if (!handle.isValid() || qstrcmp(handle.typeName(), "sqlite3*") != 0) {
        return nullptr;
    }
    return *static_cast<sqlite3 *const *>(handle.constData());
}

QString selectSql(const QString &table, const QString &keyColumn, const QString &valueColumn)
{
    return QStringLiteral("SELECT %2, %3 FROM %1").arg(table, keyColumn, valueColumn);
}

QString createSql(const QString &table, const QString &keyColumn, const QString &valueColumn)
{
    return QStringLiteral("CREATE TABLE IF NOT EXISTS %1(%2 TEXT PRIMARY KEY, %3)").arg(table, keyColumn, valueColumn);
}

QString insertSql(const QString &table, const QString &keyColumn, const QString &valueColumn)
{
    return QStringLiteral("INSERT OR REPLACE INTO %1(%2, %3) VALUES(?, ?)").arg(table, keyColumn, valueColumn);
}

Error setStored(RowNode &options, const QString &name, const QVariant &value)
{
    Error err = createOptions(&options, { name });
    if (!err.hasError()) {
        err = setOption(&options, name, value);
    }
    if (err.hasError()) {
        return ZEQ_ECATCH(err);
    }
    return err;
}

Error bindValue(sqlite3 *db, sqlite3_stmt *stmt, int index, const QVariant &value)
{
    if (value.isNull()) {
        return my_sqlite3_bind_null(db, stmt, index);
    }
    switch (value.typeId()) {
    case QMetaType::Bool:
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::Long:
    case QMetaType::ULong:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
        return my_sqlite3_bind_longlong(db, stmt, index, value.toLongLong());
    case QMetaType::Double:
    case QMetaType::Float:
        return my_sqlite3_bind_double(db, stmt, index, value.toDouble());
    default:
        return my_sqlite3_bind_text(db, stmt, index, value.toString());
    }
}

Error insertAll(sqlite3 *db, const QString &sql, const RowNode &options)
{
    Sqlite3Statement insert;
    Error err = insert.prepare(db, sql);
    const RowNode *values = options.getChild(0);
    for (int column = 0; !err.hasError() && column < options.columnCount(); ++column) {
        err = my_sqlite3_bind_text(db, insert, 1, options.getNameFromColumnIndex(column));
        if (!err.hasError()) {
            err = bindValue(db, insert, 2, values ? values->getDataAt(column) : QVariant());
        }
        if (!err.hasError()) {
            err = my_sqlite3_step(db, insert, StepReset);
        }
    }
    if (err.hasError()) {
        return ZEQ_ECATCH(err);
    }
    return err;
}

} // namespace

Error loadOptions(sqlite3 *db,
                  const QString &table,
                  const QString &keyColumn,
                  RowNode &options,
                  const QString &valueColumn)
{
    Error err = checkNames(db, table, keyColumn, valueColumn);
    if (err.hasError()) {
        return ZEQ_ECATCH(err);
    }
    Sqlite3Query query(db, selectSql(table, keyColumn, valueColumn));
    err = query.exec();
    while (!err.hasError() && query.next()) {
        err = setStored(options, query.value(0).toString(), query.value(1));
    }
    if (!err.hasError()) {
        err = query.lastError();
    }
    if (err.hasError()) {
        return ZEQ_ECATCH(err);
    }
    return err;
}

Error loadOptions(QSqlDatabase *db,
                  const QString &table,
                  const QString &keyColumn,
                  RowNode &options,
                  const QString &valueColumn)
{
    Error err = loadOptions(nativeHandle(db), table, keyColumn, options, valueColumn);
    if (err.hasError()) {
        return ZEQ_ECATCH(err);
    }
    return err;
}

Error saveOptions(sqlite3 *db,
                  const QString &table,
                  const QString &keyColumn,
                  const RowNode &options,
                  const QString &valueColumn)
{
    Error err = checkNames(db, table, keyColumn, valueColumn);
    if (err.hasError()) {
        return ZEQ_ECATCH(err);
    }
    err = sql_exec(db, QStringLiteral("SAVEPOINT save_options"));
    if (err.hasError()) {
        return ZEQ_ECATCH(err);
    }
    err = sql_exec(db, createSql(table, keyColumn, valueColumn));
    if (!err.hasError()) {
        err = insertAll(db, insertSql(table, keyColumn, valueColumn), options);
    }
    if (err.hasError()) {
        // The rollback's own outcome adds nothing: the first failure is what the caller must see.
        (void)sql_exec(db, QStringLiteral("ROLLBACK TO save_options; RELEASE save_options"));
        return ZEQ_ECATCH(err);
    }
    err = sql_exec(db, QStringLiteral("RELEASE save_options"));
    if (err.hasError()) {
        return ZEQ_ECATCH(err);
    }
    return err;
}

Error saveOptions(QSqlDatabase *db,
                  const QString &table,
                  const QString &keyColumn,
                  const RowNode &options,
                  const QString &valueColumn)
{
    Error err = saveOptions(nativeHandle(db), table, keyColumn, options, valueColumn);
    if (err.hasError()) {
        return ZEQ_ECATCH(err);
    }
    return err;
}

} // namespace rn
