#pragma once

#include "zeq_common_core_mini/ColumnFriendlyName.h"
#include "zeq_common_core_mini/VariantItems.h"
#include "zeq_common_core_mini_export.h"

#include <QString>
#include <QVariant>

namespace rn
{

/// Makes the cell of a group's summary row from its members' cells of one column, by the
/// column's grouping method.
class ZEQ_COMMON_CORE_MINI_EXPORT GroupSummary
{
public:
    explicit GroupSummary(const QString &separator = QStringLiteral("; "))
        : m_separator(separator)
    {
    }

    /// First gives `first`. Sum, Mean, Min and Max read the cells that convert to a number, NaN
    /// excepted, and give a double, or a null QVariant when there is none; ±inf count as numbers
    /// (+inf and −inf together give a NaN sum and mean). Count gives the number of non-empty cells
    /// (int); JoinUnique the distinct non-empty texts joined by the separator. An unknown method
    /// gives `first`.
    [[nodiscard]] QVariant
    makeValue(const VariantItems &values, const QVariant &first, const FriendlyNameStruct &field) const;

    [[nodiscard]] const QString &separator() const noexcept { return m_separator; }

private:
    QString m_separator;
};

} // namespace rn
