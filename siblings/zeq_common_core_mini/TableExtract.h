#pragma once

#include "zeq_common_core_mini_export.h"
#include "zeq_common_stable/Error.h"

#include <QList>
#include <QString>

struct sqlite3;

/// Runs a statement and keeps every row as texts (NULL as a null QString).
class ZEQ_COMMON_CORE_MINI_EXPORT TableExtract
{
public:
    /// Replaces the rows kept before; on failure none are kept.
    Error extract(sqlite3 *db, const QString &sql);
    [[nodiscard]] int getSize() const noexcept { return int(m_rows.size()); }
    /// An empty list when `index` is out of range.
    [[nodiscard]] QList<QString> getRow(int index) const { return m_rows.value(index); }
    [[nodiscard]] const QList<QString> &columnNames() const noexcept { return m_columns; }

private:
    QList<QString> m_columns;
    QList<QList<QString>> m_rows;
};
