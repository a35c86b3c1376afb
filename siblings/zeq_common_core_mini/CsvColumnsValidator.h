#pragma once

#include "zeq_common_core_mini_export.h"
#include "zeq_common_stable/Error.h"

#include <QList>
#include <QString>

/// What a CSV header must hold: required columns, optional ones, and whether any other column is
/// refused. Names are compared case-sensitively or not; the file's own spelling is what a reader
/// reports either way.
class ZEQ_COMMON_CORE_MINI_EXPORT CsvColumnsValidator
{
public:
    /// Accepts every header.
    CsvColumnsValidator() = default;
    CsvColumnsValidator(const QList<QString> &required,
                        const QList<QString> &optional,
                        bool rejectOtherColumns,
                        Qt::CaseSensitivity caseSensitivity = Qt::CaseSensitive);

    [[nodiscard]] const QList<QString> &required() const noexcept { return m_required; }
    [[nodiscard]] const QList<QString> &optional() const noexcept { return m_optional; }
    [[nodiscard]] bool rejectsOtherColumns() const noexcept { return m_rejectOtherColumns; }
    [[nodiscard]] Qt::CaseSensitivity caseSensitivity() const noexcept { return m_caseSensitivity; }

    /// kBadParameterError with one message per missing required column, then one per refused
    /// column, each naming `source` (the file) and the column.
    Error validate(const QList<QString> &columns, const QString &source) const;

private:
    QList<QString> m_required;
    QList<QString> m_optional;
    bool m_rejectOtherColumns = false;
    Qt::CaseSensitivity m_caseSensitivity = Qt::CaseSensitive;
};
