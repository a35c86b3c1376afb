#include "zeq_common_core_mini/Sqlite3Query.h"

#include "zeq_common_core_mini/Sqlite3Functions.h"

#include <sqlite3.h>

QVariant sqlite3ColumnValue(sqlite3_stmt *stmt, int column)
{
    if (!stmt || column < 0 || column >= sqlite3_column_count(stmt)) {
        return {};
    }
    switch (sqlite3_column_type(stmt, column)) {
    case SQLITE_INTEGER:
        return QVariant(qint64(sqlite3_column_int64(stmt, column)));
    case SQLITE_FLOAT:
        return QVariant(sqlite3_column_double(stmt, column));
    case SQLITE_TEXT: {
        const auto *text = reinterpret_cast<const char *>(sqlite3_column_text(stmt, column));
        return QVariant(QString::fromUtf8(text, sqlite3_column_bytes(stmt, column)));
    }
    case SQLITE_BLOB: {
        const auto *data = static_cast<const char *>(sqlite3_column_blob(stmt, column));
        return QVariant(QByteArray(data, sqlite3_column_bytes(stmt, column)));
    }
    default:
        return {};
    }
}

Sqlite3Query::Sqlite3Query(sqlite3 *db, const QString &sql)
    : m_db(db)
    , m_sql(sql)
{
}

Error Sqlite3Query::exec()
{
    m_onRow = false;
    m_pendingRow = false;
    m_lastError = m_statement.prepare(m_db, m_sql);
    if (m_lastError.hasError()) {
        return ZEQ_ECATCH(m_lastError);
    }
    // Stepping once here reports a failing statement from exec(), where callers look for it.
    const int rc = sqlite3_step(m_statement);
    if (rc == SQLITE_ROW) {
        m_pendingRow = true;
    } else if (rc != SQLITE_DONE) {
        m_lastError = sqliteError(m_db, QStringLiteral("Can't run"), m_sql);
        return ZEQ_ECATCH(m_lastError);
    }
    return m_lastError;
}

bool Sqlite3Query::next()
{
    if (m_pendingRow) {
        m_pendingRow = false;
        m_onRow = true;
        return true;
    }
    if (!m_onRow) {
        return false;
    }
    const int rc = sqlite3_step(m_statement);
    m_onRow = rc == SQLITE_ROW;
    if (rc != SQLITE_ROW && rc != SQLITE_DONE) {
        m_lastError = sqliteError(m_db, QStringLiteral("Can't run"), m_sql);
        (void)ZEQ_ECATCH(m_lastError);
    }
    return m_onRow;
}

QVariant Sqlite3Query::value(int column) const
{
    return m_onRow ? sqlite3ColumnValue(m_statement, column) : QVariant();
}
