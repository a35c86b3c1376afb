#pragma once

#include "zeq_common_stable/Error.h"
#include "zeq_common_stable_export.h"

#include <QSqlDatabase>
#include <QSqlQuery>
#include <QString>

/// A query on `db`; `forwardOnly` suits queries read once from first row to last (less memory).
[[nodiscard]] ZEQ_COMMON_STABLE_EXPORT QSqlQuery makeQuery(const QSqlDatabase &db, bool forwardOnly);

namespace db
{

/// Executes `sql` on `query`. The error names `function` and `line` (the caller's, usually
/// Q_FUNC_INFO and __LINE__) and carries the driver's message and the statement.
ZEQ_COMMON_STABLE_EXPORT Error qExecCmd(QSqlQuery &query, const QString &sql, const char *function, int line);

/// Executes the statement already prepared (and bound) on `query`, reporting as qExecCmd does.
ZEQ_COMMON_STABLE_EXPORT Error qExecPrepared(QSqlQuery &query, const char *function, int line);

} // namespace db
