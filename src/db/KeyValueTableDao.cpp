#include "db/KeyValueTableDao.h"

#include "ZeqLogging.h"
#include "zeq_common_core_mini/DatabaseHandler.h"
#include "zeq_common_core_mini/RowNodeDbOptions.h"
#include "zeq_common_core_mini/Sqlite3Functions.h"
#include "zeq_common_core_mini/Sqlite3Statement.h"
#include "zeq_common_stable/QueryUtils.h"

#include <QSqlQuery>

#include <sqlite3.h>

struct KeyValueTableDao::Private {
    DatabaseHandler *handler = nullptr;
};

KeyValueTableDao::KeyValueTableDao(DatabaseHandler *handler)
    : d(std::make_unique<Private>(Private{ handler }))
{
}

KeyValueTableDao::KeyValueTableDao(const KeyValueTableDao &other)
    : d(std::make_unique<Private>(*other.d))
{
}

KeyValueTableDao &KeyValueTableDao::operator=(const KeyValueTableDao &other)
{
    d->handler = other.d->handler;
    return *this;
}

KeyValueTableDao::~KeyValueTableDao() = default;

bool KeyValueTableDao::isValid() const
{
    return d->handler != nullptr;
}

QSqlDatabase *KeyValueTableDao::qSqlDatabase()
{
    return d->handler ? d->handler->qSqlDatabase() : nullptr;
}

sqlite3 *KeyValueTableDao::sqliteDatabase()
{
    return d->handler ? d->handler->sqliteDatabase() : nullptr;
}

QVariant KeyValueTableDao::getValue(const QString &table, const QString &key)
{
    if (!isSqlIdentifier(table)) {
        qCWarning(lcCore) << "Not a table name:" << table;
        return {};
    }
    const QString sql = QStringLiteral("SELECT Value from %1 WHERE Key=?").arg(table);
    if (QSqlDatabase *db = qSqlDatabase()) {
        QSqlQuery query = makeQuery(*db, true);
        if (query.prepare(sql)) {
            query.addBindValue(key);
            if (query.exec() && query.first()) {
                return query.value(0);
            }
        }
        return {};
    }
    sqlite3 *db = sqliteDatabase();
    if (!db) {
        return {};
    }
    Sqlite3Statement statement;
    Error err = statement.prepare(db, sql);
    if (!err.hasError()) {
        err = my_sqlite3_bind_text(db, statement, 1, key);
    }
    if (err.hasError() || sqlite3_step(statement) != SQLITE_ROW) {
        qCWarning(lcCore) << "Not able to read value" << key << "from" << table << err.errorString();
        return {};
    }
    const auto *text = reinterpret_cast<const char *>(sqlite3_column_text(statement, 0));
    return text ? QVariant(QString::fromUtf8(text)) : QVariant();
}

namespace
{

// The handler holds one connection of either kind; the option functions take both.
template <typename Call> Error onConnection(QSqlDatabase *qtDb, sqlite3 *nativeDb, Call call)
{
    Error err = qtDb ? call(qtDb) : nativeDb ? call(nativeDb) : Error(kError, QStringLiteral("No database connection"));
    if (err.hasError()) {
        return ZEQ_ECATCH(err);
    }
    return err;
}

} // namespace

Error KeyValueTableDao::loadOptions(const QString &table,
                                    const QString &keyColumn,
                                    RowNode &options,
                                    const QString &valueColumn)
{
    return onConnection(qSqlDatabase(), sqliteDatabase(), [&](auto *db) {
        return rn::loadOptions(db, table, keyColumn, options, valueColumn);
    });
}

Error KeyValueTableDao::saveOptions(const QString &table,
                                    const QString &keyColumn,
                                    const RowNode &options,
                                    const QString &valueColumn)
{
    return onConnection(qSqlDatabase(), sqliteDatabase(), [&](auto *db) {
        return rn::saveOptions(db, table, keyColumn, options, valueColumn);
    });
}
