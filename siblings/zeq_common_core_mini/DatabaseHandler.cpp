#include "zeq_common_core_mini/DatabaseHandler.h"

DatabaseHandler::DatabaseHandler(const QSqlDatabase &db)
    : m_qt(db)
    , m_hasQt(true)
{
}

DatabaseHandler::DatabaseHandler(sqlite3 *db)
    : m_sqlite(db)
{
}

QSqlDatabase *DatabaseHandler::qSqlDatabase()
{
    return m_hasQt ? &m_qt : nullptr;
}
