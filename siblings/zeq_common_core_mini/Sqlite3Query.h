#pragma once

#include "zeq_common_core_mini/Sqlite3Statement.h"
#include "zeq_common_core_mini_export.h"

#include <QVariant>

/// Runs one statement and walks its rows: exec(), then next() until false, reading value(column).
class ZEQ_COMMON_CORE_MINI_EXPORT Sqlite3Query
{
public:
    Sqlite3Query(sqlite3 *db, const QString &sql);

    /// Prepares the statement; a statement without rows (an insert) runs to its end here.
    Error exec();
    /// Moves to the next row; false at the end or after a failure, which lastError() then holds.
    bool next();
    /// A column of the current row: integer as qint64, real as double, text as QString, blob as
    /// QByteArray, NULL or a column out of range as a null QVariant.
    [[nodiscard]] QVariant value(int column) const;
    [[nodiscard]] const Error &lastError() const noexcept { return m_lastError; }

private:
    sqlite3 *m_db;
    QString m_sql;
    Sqlite3Statement m_statement;
    Error m_lastError;
    bool m_onRow = false;
    // The first step happens in exec(); its row is handed out by the first next().
    bool m_pendingRow = false;
};

/// Reads a column of the statement's current row the way Sqlite3Query::value does.
[[nodiscard]] ZEQ_COMMON_CORE_MINI_EXPORT QVariant sqlite3ColumnValue(sqlite3_stmt *stmt, int column);
