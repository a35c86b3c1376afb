#pragma once

#include "zeq_common_core_mini/RowNode.h"
#include "zeq_common_core_mini_export.h"
#include "zeq_common_stable/Error.h"

#include <QString>

class QSqlDatabase;
struct sqlite3;

/// Options of a row tree (see RowNodeOptions.h) kept in a key/value table of a database: one row per
/// option, the option's name in `keyColumn` and its value in `valueColumn`. Table and column names
/// must be SQL identifiers (letters, digits, underscore); anything else is kBadParameterError.
namespace rn
{

/// Adds every stored option to `options` (creating the names it lacks) and sets its value.
/// A missing table is an error carrying SQLite's message.
ZEQ_COMMON_CORE_MINI_EXPORT Error
loadOptions(sqlite3 *db, const QString &table, const QString &keyColumn, RowNode &options, const QString &valueColumn);
ZEQ_COMMON_CORE_MINI_EXPORT Error loadOptions(QSqlDatabase *db,
                                              const QString &table,
                                              const QString &keyColumn,
                                              RowNode &options,
                                              const QString &valueColumn);

/// Writes every option of `options`, replacing stored values of the same names and creating the
/// table if needed, in one transaction: after a failure the table is as it was.
ZEQ_COMMON_CORE_MINI_EXPORT Error saveOptions(sqlite3 *db,
                                              const QString &table,
                                              const QString &keyColumn,
                                              const RowNode &options,
                                              const QString &valueColumn);
ZEQ_COMMON_CORE_MINI_EXPORT Error saveOptions(QSqlDatabase *db,
                                              const QString &table,
                                              const QString &keyColumn,
                                              const RowNode &options,
                                              const QString &valueColumn);

} // namespace rn
