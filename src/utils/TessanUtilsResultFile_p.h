#pragma once

#include "zeq_common_core_export.h"
#include "zeq_common_stable/Error.h"

#include <QList>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QString>

#include <mutex>

namespace zeq
{

/// A named Qt SQL connection to a result file, opened read-only so that a wrong path never leaves
/// a new empty file behind. The connection is removed when the holder goes: queries made on it must
/// be gone by then, so declare the holder before them. The name is the fixed one callers know, so
/// a holder owns it exclusively: a second holder of the same name, in any thread, waits.
class ResultFileConnection
{
public:
    ResultFileConnection(const QString &connectionName, const QString &path);
    ResultFileConnection(const ResultFileConnection &) = delete;
    ResultFileConnection &operator=(const ResultFileConnection &) = delete;
    ~ResultFileConnection();

    /// kBadParameterError, naming the path and the driver's reason, when the file cannot be opened.
    Error open();
    [[nodiscard]] QSqlDatabase &db() noexcept { return m_db; }
    /// `err` of a query on the file with the file named: SQLite's messages ("database disk image is
    /// malformed") do not say which file is damaged.
    [[nodiscard]] Error naming(Error err) const;
    /// After next() gave false, or the caller stopped early: the error that stopped the rows, if any.
    /// Without it a damaged page past the first rows reads as the end of the table.
    [[nodiscard]] Error rowsError(const QSqlQuery &query) const;

private:
    // First member: taken before the connection is added, released after it is removed.
    std::unique_lock<std::mutex> m_nameLock;
    QString m_name;
    QString m_path;
    QSqlDatabase m_db;
};

/// Appends the value of the search parameter `key` to `values`; nothing when the key is absent.
ZEQ_COMMON_CORE_TESTS_EXPORT Error appendSearchParameterFromTsnres(const QString &path,
                                                                   const QString &key,
                                                                   QList<QString> *values);

} // namespace zeq
