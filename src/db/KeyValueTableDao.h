#pragma once

#include "zeq_common_core_export.h"
#include "zeq_common_stable/Error.h"

#include <QString>
#include <QVariant>

#include <memory>

class DatabaseHandler;
class QSqlDatabase;
class RowNode;
struct sqlite3;

/// Reads and writes key/value tables (columns Key and Value) over a connection of either kind.
/// Refers to the handler, which the caller owns and keeps alive; never closes anything.
class ZEQ_COMMON_CORE_EXPORT KeyValueTableDao
{
public:
    explicit KeyValueTableDao(DatabaseHandler *handler = nullptr);
    KeyValueTableDao(const KeyValueTableDao &other);
    KeyValueTableDao &operator=(const KeyValueTableDao &other);
    ~KeyValueTableDao();

    [[nodiscard]] bool isValid() const;
    [[nodiscard]] QSqlDatabase *qSqlDatabase();
    [[nodiscard]] sqlite3 *sqliteDatabase();

    /// The Value stored for `key` in `table`, or a null QVariant when there is none, the query
    /// fails, no connection is set, or `table` is not an SQL identifier (letters, digits,
    /// underscore). The key is bound as a parameter, so no key can change the statement.
    [[nodiscard]] QVariant getValue(const QString &table, const QString &key);

    /// Forwarded to rn::loadOptions / rn::saveOptions with the connection the handler holds;
    /// kError without a connection.
    Error loadOptions(const QString &table, const QString &keyColumn, RowNode &options, const QString &valueColumn);
    Error
    saveOptions(const QString &table, const QString &keyColumn, const RowNode &options, const QString &valueColumn);

private:
    struct Private;
    std::unique_ptr<Private> d;
};
