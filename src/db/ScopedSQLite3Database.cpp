#include "db/ScopedSQLite3Database.h"

#include "zeq_common_core_mini/Sqlite3Functions.h"

#include <sqlite3.h>

namespace zeq
{

ScopedSQLite3Database::ScopedSQLite3Database(const QString &path, bool readOnly)
    : m_handle(&m_ownHandle)
    , m_path(path)
    , m_readOnly(readOnly)
{
}

ScopedSQLite3Database::ScopedSQLite3Database(sqlite3 **handle, const QString &path, bool readOnly)
    : m_handle(handle ? handle : &m_ownHandle)
    , m_path(path)
    , m_readOnly(readOnly)
{
}

ScopedSQLite3Database::~ScopedSQLite3Database()
{
    close();
}

void ScopedSQLite3Database::close() noexcept
{
    if (m_handle && *m_handle) {
        sqlite3_close(*m_handle);
        *m_handle = nullptr;
    }
    m_ownHandle = nullptr;
}

Error ScopedSQLite3Database::init()
{
    close();
    Error err = m_readOnly ? openReadOnlyDB(m_path.toUtf8(), m_handle) : openDB(m_path.toUtf8(), m_handle);
    if (err.hasError()) {
        return ZEQ_ECATCH(err);
    }
    return err;
}

} // namespace zeq
