#pragma once

#include "zeq_common_core_mini_export.h"
#include "zeq_common_stable/Error.h"

#include <QString>

struct sqlite3;
struct sqlite3_stmt;

/// A prepared statement that it finalises when destroyed. Not copyable: one owner per statement.
class ZEQ_COMMON_CORE_MINI_EXPORT Sqlite3Statement
{
public:
    Sqlite3Statement() = default;
    Sqlite3Statement(const Sqlite3Statement &) = delete;
    Sqlite3Statement &operator=(const Sqlite3Statement &) = delete;
    virtual ~Sqlite3Statement();

    /// Finalises a previous statement, then prepares `sql` (one statement) on `db`.
    Error prepare(sqlite3 *db, const QString &sql);
    void finalize();

    /// Success, or why preparing failed (SQLite's message and the statement text).
    [[nodiscard]] const Error &lastError() const noexcept { return m_lastError; }
    [[nodiscard]] sqlite3_stmt *stmt() const noexcept { return m_stmt; }
    operator sqlite3_stmt *() const noexcept { return m_stmt; } // NOLINT: passed straight to sqlite3_* calls
    [[nodiscard]] const QString &sql() const noexcept { return m_sql; }

private:
    sqlite3_stmt *m_stmt = nullptr;
    QString m_sql;
    Error m_lastError;
};

/// A statement prepared on construction; test lastError() before using it.
class ZEQ_COMMON_CORE_MINI_EXPORT ScopedSqlite3Stmt : public Sqlite3Statement
{
public:
    ScopedSqlite3Stmt(sqlite3 *db, const QString &sql);
};
