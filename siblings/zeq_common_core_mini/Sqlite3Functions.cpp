#include "zeq_common_core_mini/Sqlite3Functions.h"

#include <sqlite3.h>

#include <algorithm>

namespace
{

Error open(const QByteArray &path, sqlite3 **db, int flags)
{
    Error err;
    if (!db) {
        err.setError(kBadParameterError)
            .addErrorMessage(QStringLiteral("No handle to open %1 into").arg(QString::fromUtf8(path)));
        return ZEQ_ECATCH(err);
    }
    *db = nullptr;
    sqlite3 *opened = nullptr;
    const int rc = sqlite3_open_v2(path.constData(), &opened, flags, nullptr);
    if (rc != SQLITE_OK) {
        // A handle comes back even on failure (unless out of memory) and carries the reason.
        const QString reason =
            opened ? QString::fromUtf8(sqlite3_errmsg(opened)) : QString::fromUtf8(sqlite3_errstr(rc));
        sqlite3_close(opened);
        err.setError(kError).addErrorMessage(
            QStringLiteral("Can't open database \"%1\": %2").arg(QString::fromUtf8(path), reason));
        return ZEQ_ECATCH(err);
    }
    // Waiting a little for another connection's lock is what an interactive user expects; beyond
    // that the caller reports "database is locked".
    sqlite3_busy_timeout(opened, 200);
    *db = opened;
    return err;
}

Error bindResult(sqlite3 *db, sqlite3_stmt *stmt, int index, int rc)
{
    if (rc == SQLITE_OK) {
        return Error();
    }
    const char *sql = stmt ? sqlite3_sql(stmt) : nullptr;
    Error err = sqliteError(
        db, QStringLiteral("Can't bind parameter %1 of").arg(index), sql ? QString::fromUtf8(sql) : QString());
    return ZEQ_ECATCH(err);
}

} // namespace

Error sqliteError(sqlite3 *db, const QString &what, const QString &subject)
{
    const QString reason = db ? QString::fromUtf8(sqlite3_errmsg(db)) : QStringLiteral("no database connection");
    return Error(kError, QStringLiteral("%1 \"%2\": %3").arg(what, subject, reason));
}

Error openDB(const QByteArray &path, sqlite3 **db)
{
    Error err = open(path, db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE);
    if (err.hasError()) {
        return ZEQ_ECATCH(err);
    }
    return err;
}

Error openReadOnlyDB(const QByteArray &path, sqlite3 **db)
{
    Error err = open(path, db, SQLITE_OPEN_READONLY);
    if (err.hasError()) {
        return ZEQ_ECATCH(err);
    }
    return err;
}

Error my_sqlite3_bind_text(sqlite3 *db, sqlite3_stmt *stmt, int index, const QString &value)
{
    const QByteArray utf8 = value.toUtf8();
    // A null QString binds as an empty text, not as SQL NULL: columns of names stay comparable.
    return bindResult(
        db, stmt, index, sqlite3_bind_text(stmt, index, utf8.constData(), int(utf8.size()), SQLITE_TRANSIENT));
}

Error my_sqlite3_bind_double(sqlite3 *db, sqlite3_stmt *stmt, int index, double value)
{
    return bindResult(db, stmt, index, sqlite3_bind_double(stmt, index, value));
}

Error my_sqlite3_bind_longlong(sqlite3 *db, sqlite3_stmt *stmt, int index, qint64 value)
{
    return bindResult(db, stmt, index, sqlite3_bind_int64(stmt, index, value));
}

Error my_sqlite3_bind_null(sqlite3 *db, sqlite3_stmt *stmt, int index)
{
    return bindResult(db, stmt, index, sqlite3_bind_null(stmt, index));
}

Error my_sqlite3_step(sqlite3 *db, sqlite3_stmt *stmt, MySqliteStepOption option)
{
    Error err;
    if (!stmt) {
        err.setError(kBadParameterError)
            .addErrorMessage(QStringLiteral("Can't step a statement that was not prepared"));
        return ZEQ_ECATCH(err);
    }
    const int rc = sqlite3_step(stmt);
    if (rc != SQLITE_ROW && rc != SQLITE_DONE) {
        err = sqliteError(db, QStringLiteral("Can't run"), QString::fromUtf8(sqlite3_sql(stmt)));
    }
    if (option == StepReset) {
        sqlite3_reset(stmt);
        sqlite3_clear_bindings(stmt);
    }
    if (err.hasError()) {
        return ZEQ_ECATCH(err);
    }
    return err;
}

Error sql_exec(sqlite3 *db, const QString &sql, SqlExecCallback callback, void *context)
{
    Error err;
    char *message = nullptr;
    const int rc = sqlite3_exec(db, sql.toUtf8().constData(), callback, context, &message);
    if (rc != SQLITE_OK) {
        const QString reason = message ? QString::fromUtf8(message) : QString::fromUtf8(sqlite3_errstr(rc));
        sqlite3_free(message);
        err.setError(kError).addErrorMessage(QStringLiteral("Can't run \"%1\": %2").arg(sql, reason));
        return ZEQ_ECATCH(err);
    }
    return err;
}

bool isSqlIdentifier(const QString &name)
{
    if (name.isEmpty() || name.front().isDigit()) {
        return false;
    }
    return std::all_of(name.cbegin(), name.cend(), [](QChar c) {
        return c == u'_' || (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z') || (c >= u'0' && c <= u'9');
    });
}

Error tableHasColumn(sqlite3 *db, const QString &table, const QString &column, int *found)
{
    Error err;
    if (!isSqlIdentifier(table)) {
        err.setError(kBadParameterError).addErrorMessage(QStringLiteral("Not a table name: \"%1\"").arg(table));
        return ZEQ_ECATCH(err);
    }
    sqlite3_stmt *stmt = nullptr;
    const QString sql = QStringLiteral("SELECT name FROM pragma_table_info('%1')").arg(table);
    if (sqlite3_prepare_v2(db, sql.toUtf8().constData(), -1, &stmt, nullptr) != SQLITE_OK) {
        err = sqliteError(db, QStringLiteral("Can't prepare"), sql);
        sqlite3_finalize(stmt);
        return ZEQ_ECATCH(err);
    }
    int has = 0;
    int rc = SQLITE_ROW;
    while (has == 0 && (rc = sqlite3_step(stmt)) == SQLITE_ROW) {
        const auto *name = reinterpret_cast<const char *>(sqlite3_column_text(stmt, 0));
        has = QString::fromUtf8(name).compare(column, Qt::CaseInsensitive) == 0 ? 1 : 0;
    }
    if (rc != SQLITE_ROW && rc != SQLITE_DONE) {
        err = sqliteError(db, QStringLiteral("Can't run"), sql);
    }
    sqlite3_finalize(stmt);
    if (err.hasError()) {
        return ZEQ_ECATCH(err);
    }
    if (found) {
        *found = has;
    }
    return err;
}
