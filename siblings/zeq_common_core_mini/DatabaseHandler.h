#pragma once

#include "zeq_common_core_mini_export.h"

#include <QSqlDatabase>

struct sqlite3;

/// One database connection of either kind: a Qt SQL connection or a SQLite handle. It refers to the
/// connection and never closes it; the connection's owner keeps it open while the handler is used.
class ZEQ_COMMON_CORE_MINI_EXPORT DatabaseHandler
{
public:
    DatabaseHandler() = default;
    explicit DatabaseHandler(const QSqlDatabase &db);
    explicit DatabaseHandler(sqlite3 *db);

    /// The Qt connection, or null when the handler holds a SQLite handle or nothing.
    [[nodiscard]] QSqlDatabase *qSqlDatabase();
    /// The SQLite handle, or null when the handler holds a Qt connection or nothing.
    [[nodiscard]] sqlite3 *sqliteDatabase() const noexcept { return m_sqlite; }

private:
    QSqlDatabase m_qt;
    bool m_hasQt = false;
    sqlite3 *m_sqlite = nullptr;
};
