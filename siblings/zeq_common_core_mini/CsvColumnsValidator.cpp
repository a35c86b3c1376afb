#include "zeq_common_core_mini/CsvColumnsValidator.h"

CsvColumnsValidator::CsvColumnsValidator(const QList<QString> &required,
                                         const QList<QString> &optional,
                                         bool rejectOtherColumns,
                                         Qt::CaseSensitivity caseSensitivity)
    : m_required(required)
    , m_optional(optional)
    , m_rejectOtherColumns(rejectOtherColumns)
    , m_caseSensitivity(caseSensitivity)
{
}

Error CsvColumnsValidator::validate(const QList<QString> &columns, const QString &source) const
{
    Error err;
    for (const QString &name : m_required) {
        if (columns.contains(name, m_caseSensitivity)) {
            continue;
        }
        QString message = QStringLiteral("%1 has no column \"%2\"").arg(source, name);
        // The commonest cause by far: a header written with other capitals.
        if (m_caseSensitivity == Qt::CaseSensitive) {
            for (const QString &column : columns) {
                if (column.compare(name, Qt::CaseInsensitive) == 0) {
                    message += QStringLiteral(" (it has \"%1\"; letter case matters)").arg(column);
                    break;
                }
            }
        }
        err.setError(kBadParameterError).addErrorMessage(message);
    }
    if (m_rejectOtherColumns) {
        for (const QString &column : columns) {
            if (!m_required.contains(column, m_caseSensitivity) && !m_optional.contains(column, m_caseSensitivity)) {
                err.setError(kBadParameterError)
                    .addErrorMessage(QStringLiteral("%1 has a column \"%2\" that is not expected").arg(source, column));
            }
        }
    }
    if (err.hasError()) {
        return ZEQ_ECATCH(err);
    }
    return err;
}
