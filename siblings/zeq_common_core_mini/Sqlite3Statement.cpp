#include "zeq_common_core_mini/Sqlite3Statement.h"

#include "zeq_common_core_mini/Sqlite3Functions.h"

#include <sqlite3.h>

Sqlite3Statement::~Sqlite3Statement()
{
    finalize();
}

Error Sqlite3Statement::prepare(sqlite3 *db, const QString &sql)
{
    finalize();
    m_sql = sql;
    m_lastError = Error();
    if (!db) {
        m_lastError = Error(kBadParameterError, QStringLiteral("No database connection to prepare \"%1\"").arg(sql));
        return ZEQ_ECATCH(m_lastError);
    }
    const QByteArray utf8 = sql.toUtf8();
    if (sqlite3_prepare_v2(db, utf8.constData(), int(utf8.size()), &m_stmt, nullptr) != SQLITE_OK) {
        m_lastError = sqliteError(db, QStringLiteral("Can't prepare"), sql);
        finalize();
        return ZEQ_ECATCH(m_lastError);
    }
    if (!m_stmt) {
        // Only white space or comments: nothing to run, which no caller means to do.
        m_lastError = Error(kBadParameterError, QStringLiteral("No statement in \"%1\"").arg(sql));
        return ZEQ_ECATCH(m_lastError);
    }
    return m_lastError;
}

void Sqlite3Statement::finalize()
{
    if (m_stmt) {
        sqlite3_finalize(m_stmt);
        m_stmt = nullptr;
    }
}

ScopedSqlite3Stmt::ScopedSqlite3Stmt(sqlite3 *db, const QString &sql)
{
    // The outcome stays in lastError() for the caller to test.
    (void)prepare(db, sql);
}
