#pragma once

#include "zeq_common_core_export.h"
#include "zeq_common_stable/Error.h"

#include <QString>

struct sqlite3;

namespace zeq
{

/// Opens a SQLite database file with init() and closes the connection when it goes out of scope.
/// The handle lives in the object, or in a variable of the caller that the destructor then nulls.
/// Neither copyable nor movable: two owners would close one connection twice.
class ZEQ_COMMON_CORE_EXPORT ScopedSQLite3Database
{
public:
    ScopedSQLite3Database(const QString &path, bool readOnly);
    /// `handle` must outlive this object; a connection already in it is closed on destruction too.
    ScopedSQLite3Database(sqlite3 **handle, const QString &path, bool readOnly);
    ScopedSQLite3Database(const ScopedSQLite3Database &) = delete;
    ScopedSQLite3Database &operator=(const ScopedSQLite3Database &) = delete;
    ~ScopedSQLite3Database();

    /// Opens the file (read-only if asked; otherwise creating it when missing). A connection
    /// opened by an earlier init() is closed first.
    Error init();
    [[nodiscard]] sqlite3 *db() const noexcept { return m_handle ? *m_handle : nullptr; }

private:
    void close() noexcept;

    sqlite3 **m_handle;
    sqlite3 *m_ownHandle = nullptr;
    QString m_path;
    bool m_readOnly;
};

} // namespace zeq
