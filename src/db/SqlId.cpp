#include "db/SqlId.h"

#include "db/ModificationId.h"
#include "zeq_common_core_mini/Sqlite3Functions.h"

#include <sqlite3.h>

namespace zeq
{

namespace
{

void appendLine(ErrorWarningMessages *messages, const QString &line)
{
    if (messages) {
        messages->errors.append(line);
    }
}

} // namespace

SqlId::Raw SqlId::rawFromLongLong(qint64 value, const char *className, ErrorWarningMessages *messages)
{
    Raw raw;
    if (value < 0) {
        appendLine(messages,
                   QStringLiteral("Value %1 is out of range for %2").arg(value).arg(QLatin1StringView(className)));
        raw.error = kBadParameterError;
        (void)ZEQ_ECATCH(raw.error);
        return raw;
    }
    raw.value = value;
    return raw;
}

SqlId::Raw SqlId::rawFromString(QStringView text, const char *className, ErrorWarningMessages *messages)
{
    bool ok = false;
    const qint64 value = text.toLongLong(&ok);
    if (!ok) {
        appendLine(messages,
                   QStringLiteral("Unable to parse \"%1\" as %2\n").arg(text.toString(), QLatin1StringView(className)));
        Raw raw;
        raw.error = kBadParameterError;
        (void)ZEQ_ECATCH(raw.error);
        return raw;
    }
    Raw raw = rawFromLongLong(value, className, messages);
    if (raw.error.hasError()) {
        (void)ZEQ_ECATCH(raw.error);
    }
    return raw;
}

SqlId::Raw
SqlId::rawFromSqlite3Stmt(sqlite3_stmt *stmt, int column, const char *className, ErrorWarningMessages *messages)
{
    Raw raw;
    if (!stmt) {
        appendLine(messages, QStringLiteral("Got null statement\n"));
    } else if (column < 0 || column >= sqlite3_column_count(stmt)) {
        appendLine(messages, QStringLiteral("Query missing column %1\n").arg(column));
    } else if (const int type = sqlite3_column_type(stmt, column); type != SQLITE_INTEGER) {
        appendLine(messages, QStringLiteral("Query column %1 invalid type %2 for SqlId\n").arg(column).arg(type));
    } else {
        // Read as 64 bits: identifiers pass 2^31 in a long-lived table, and the low 32 bits of such a
        // value would name another row.
        raw = rawFromLongLong(sqlite3_column_int64(stmt, column), className, messages);
        if (raw.error.hasError()) {
            appendLine(messages, QStringLiteral("Error parsing query column %1\n").arg(column));
            (void)ZEQ_ECATCH(raw.error);
        }
        return raw;
    }
    raw.error = kBadParameterError;
    (void)ZEQ_ECATCH(raw.error);
    return raw;
}

Error bindSqlId(sqlite3 *db, sqlite3_stmt *stmt, int index, const SqlId &id)
{
    Error err;
    if (!id.isValid()) {
        err.setError(kOutOfRangeError);
        return ZEQ_ECATCH(err);
    }
    err = my_sqlite3_bind_longlong(db, stmt, index, id.toLongLong());
    if (err.hasError()) {
        return ZEQ_ECATCH(err);
    }
    return err;
}

QDebug operator<<(QDebug debug, const ModificationId &id)
{
    const QDebugStateSaver saver(debug);
    debug.nospace() << ModificationId::className() << '(' << id.value() << ')';
    return debug;
}

} // namespace zeq
