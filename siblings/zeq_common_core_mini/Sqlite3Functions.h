#pragma once

#include "zeq_common_core_mini_export.h"
#include "zeq_common_stable/Error.h"

#include <QByteArray>
#include <QString>

struct sqlite3;
struct sqlite3_stmt;

/// What my_sqlite3_step does with the statement after the step.
enum MySqliteStepOption : qint32 {
    /// Leave it where it is: a caller reading rows steps again.
    StepKeep = 0,
    /// Reset it and clear its bindings, ready to be bound and stepped again (repeated inserts).
    StepReset = 1,
};

/// Opens (creating if missing) the database at the UTF-8 path `path` and stores the connection in
/// `*db`; on failure `*db` is null and the error carries SQLite's message and the path.
ZEQ_COMMON_CORE_MINI_EXPORT Error openDB(const QByteArray &path, sqlite3 **db);
/// Opens an existing database for reading only: writes through the connection fail.
ZEQ_COMMON_CORE_MINI_EXPORT Error openReadOnlyDB(const QByteArray &path, sqlite3 **db);

/// Binders of 1-based parameter `index`; the error names the statement and carries SQLite's message.
ZEQ_COMMON_CORE_MINI_EXPORT Error my_sqlite3_bind_text(sqlite3 *db,
                                                       sqlite3_stmt *stmt,
                                                       int index,
                                                       const QString &value);
ZEQ_COMMON_CORE_MINI_EXPORT Error my_sqlite3_bind_double(sqlite3 *db, sqlite3_stmt *stmt, int index, double value);
ZEQ_COMMON_CORE_MINI_EXPORT Error my_sqlite3_bind_longlong(sqlite3 *db, sqlite3_stmt *stmt, int index, qint64 value);
ZEQ_COMMON_CORE_MINI_EXPORT Error my_sqlite3_bind_null(sqlite3 *db, sqlite3_stmt *stmt, int index);

/// One step. A row or the end of the statement is success; anything else is an error with
/// SQLite's message and the statement text. With StepReset the statement is reset whatever happened.
ZEQ_COMMON_CORE_MINI_EXPORT Error my_sqlite3_step(sqlite3 *db, sqlite3_stmt *stmt, MySqliteStepOption option);

using SqlExecCallback = int (*)(void *context, int columns, char **values, char **names);
/// Runs one or more statements separated by ";"; `callback` (may be null) sees every result row.
ZEQ_COMMON_CORE_MINI_EXPORT Error sql_exec(sqlite3 *db,
                                           const QString &sql,
                                           SqlExecCallback callback = nullptr,
                                           void *context = nullptr);

/// Sets `*found` to 1 when `table` has `column` (names compared ignoring case), else 0. A table that
/// does not exist has no columns. Names that are not SQL identifiers are refused.
ZEQ_COMMON_CORE_MINI_EXPORT Error tableHasColumn(sqlite3 *db, const QString &table, const QString &column, int *found);

/// True for a non-empty text of ASCII letters, digits and underscores not starting with a digit:
/// such a name can be placed in a statement without quoting and cannot change it.
[[nodiscard]] ZEQ_COMMON_CORE_MINI_EXPORT bool isSqlIdentifier(const QString &name);

/// The error of a failed SQLite call: `what` (for example "Can't prepare"), the statement or path,
/// and SQLite's own message for the connection.
[[nodiscard]] ZEQ_COMMON_CORE_MINI_EXPORT Error sqliteError(sqlite3 *db, const QString &what, const QString &subject);
