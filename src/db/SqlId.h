#pragma once

#include "db/ErrorWarningMessages.h"
#include "zeq_common_core_export.h"
#include "zeq_common_stable/Error.h"

#include <QStringView>
#include <QVariant>

struct sqlite3;
struct sqlite3_stmt;

namespace zeq
{

class SqlId;
/// Binds `id` at the 1-based parameter `index`; kOutOfRangeError (nothing bound) when it is invalid.
ZEQ_COMMON_CORE_EXPORT Error bindSqlId(sqlite3 *db, sqlite3_stmt *stmt, int index, const SqlId &id);

/// The identifier of a row of one of the library's SQLite tables; a distinct type per table derives
/// from it. Identifiers are made from raw numbers only by the factories, so an identifier that
/// exists is either invalid (the default) or non-negative.
///
/// The factories write `*out` (when given) only on success and append a readable line to
/// `messages->errors` (when given) on failure; the returned Error carries the code only.
/// `Id` must give its qualified name as `Id::className()` and let SqlId construct it from a value.
class ZEQ_COMMON_CORE_EXPORT SqlId
{
public:
    SqlId() = default;

    [[nodiscard]] bool isValid() const noexcept { return m_value != INVALID_VALUE; }

    /// A negative value is out of range; zero is a valid identifier.
    template <typename Id> static Error fromLongLong(qint64 value, Id *out, ErrorWarningMessages *messages)
    {
        return make(rawFromLongLong(value, Id::className(), messages), out);
    }
    /// Base-10 text of a non-negative 64-bit integer; surrounding white space is allowed.
    template <typename Id> static Error fromString(QStringView text, Id *out, ErrorWarningMessages *messages)
    {
        return make(rawFromString(text, Id::className(), messages), out);
    }
    /// A non-negative 64-bit integer column (0-based) of the statement's current row.
    template <typename Id>
    static Error fromSqlite3Stmt(sqlite3_stmt *stmt, int column, Id *out, ErrorWarningMessages *messages)
    {
        return make(rawFromSqlite3Stmt(stmt, column, Id::className(), messages), out);
    }

protected:
    explicit SqlId(qint64 value) noexcept
        : m_value(value)
    {
    }
    [[nodiscard]] qint64 toLongLong() const noexcept { return m_value; }
    [[nodiscard]] QVariant toVariant() const { return QVariant(m_value); }
    SqlId &operator++() noexcept
    {
        ++m_value;
        return *this;
    }

    friend Error bindSqlId(sqlite3 *db, sqlite3_stmt *stmt, int index, const SqlId &id);

private:
    struct Raw {
        Error error;
        qint64 value = INVALID_VALUE;
    };
    template <typename Id> static Error make(Raw raw, Id *out)
    {
        if (!raw.error.hasError() && out) {
            *out = Id(raw.value);
        }
        return raw.error;
    }
    static Raw rawFromLongLong(qint64 value, const char *className, ErrorWarningMessages *messages);
    static Raw rawFromString(QStringView text, const char *className, ErrorWarningMessages *messages);
    static Raw
    rawFromSqlite3Stmt(sqlite3_stmt *stmt, int column, const char *className, ErrorWarningMessages *messages);

    static constexpr qint64 INVALID_VALUE = -1;
    qint64 m_value = INVALID_VALUE;
};

template <typename Id> Error my_sqlite3_bind_id(sqlite3 *db, sqlite3_stmt *stmt, int index, const Id &id)
{
    return bindSqlId(db, stmt, index, id);
}

} // namespace zeq
