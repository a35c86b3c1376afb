#pragma once

#include "zeq_common_core_export.h"
#include "zeq_common_core_mini/RowNode.h"
#include "zeq_common_stable/Error.h"

#include <QList>
#include <QString>
#include <QVariant>

namespace zeq
{

/// Sorts a list of rows by one column (VariantComparator order: null cells, then NaN, then numbers
/// from −inf to +inf, then texts) and finds by binary search the rows whose cell equals a value.
/// Owns the list, not the rows; null rows read as null cells.
class ZEQ_COMMON_CORE_EXPORT RowNodePtrListSorter
{
public:
    explicit RowNodePtrListSorter(const QList<RowNode *> &rows = {})
        : m_rows(rows)
    {
    }

    /// Sorts by the column `name` of the first row's root; equal cells end in no defined order.
    /// An empty list succeeds; an unknown column gives kBadParameterError and changes nothing.
    Error sortByColumn(const QString &name);
    /// The rows whose cell equals `value` under VariantComparator, in list order. Empty (with a
    /// warning) before a successful sort.
    [[nodiscard]] QList<RowNode *> select(const QVariant &value) const;
    /// The same search over the direct children of `node`, which must already be in VariantComparator
    /// order of `column`. Empty for a null or childless node or a column outside the root's columns.
    [[nodiscard]] static QList<RowNode *> select(const RowNode *node, int column, const QVariant &value);

    [[nodiscard]] const QList<RowNode *> &rows() const noexcept { return m_rows; }

private:
    QList<RowNode *> m_rows;
    int m_column = -1;
};

} // namespace zeq
