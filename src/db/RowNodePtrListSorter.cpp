#include "db/RowNodePtrListSorter.h"

#include "ZeqLogging.h"
#include "db/CellText_p.h"
#include "zeq_common_core_mini/VariantComparator.h"

#include <algorithm>
#include <utility>
#include <vector>

namespace zeq
{

namespace
{

using detail::cellOf;

QList<RowNode *> equalRange(const QList<RowNode *> &rows, int column, const QVariant &value)
{
    const auto first =
        std::lower_bound(rows.cbegin(), rows.cend(), value, [column](const RowNode *row, const QVariant &v) {
            return VariantComparator::lessThan(cellOf(row, column), v);
        });
    const auto last = std::upper_bound(first, rows.cend(), value, [column](const QVariant &v, const RowNode *row) {
        return VariantComparator::lessThan(v, cellOf(row, column));
    });
    return QList<RowNode *>(first, last);
}

} // namespace

Error RowNodePtrListSorter::sortByColumn(const QString &name)
{
    Error err;
    if (m_rows.isEmpty()) {
        return err;
    }
    const int column = m_rows.first() ? m_rows.first()->getColumnIndexFromName(name, true) : -1;
    if (column == -1) {
        qCWarning(lcCore) << "Invalid column name" << name;
        err.setError(kBadParameterError).addErrorMessage(QStringLiteral("Invalid column name %1").arg(name));
        return ZEQ_ECATCH(err);
    }
    m_column = column;
    // Sorting copies of the cells keeps each comparison within one array instead of two trips
    // through scattered rows.
    std::vector<std::pair<QVariant, RowNode *>> keyed;
    keyed.reserve(size_t(m_rows.size()));
    for (RowNode *row : std::as_const(m_rows)) {
        keyed.emplace_back(cellOf(row, column), row);
    }
    std::sort(keyed.begin(), keyed.end(), [](const auto &a, const auto &b) {
        return VariantComparator::lessThan(a.first, b.first);
    });
    for (size_t i = 0; i < keyed.size(); ++i) {
        m_rows[qsizetype(i)] = keyed[i].second;
    }
    return err;
}

QList<RowNode *> RowNodePtrListSorter::select(const QVariant &value) const
{
    if (m_rows.isEmpty()) {
        return {};
    }
    if (m_column == -1) {
        qCWarning(lcCore) << "Invalid comparator!";
        return {};
    }
    return equalRange(m_rows, m_column, value);
}

QList<RowNode *> RowNodePtrListSorter::select(const RowNode *node, int column, const QVariant &value)
{
    if (!node || node->getChildListSize() == 0 || column < 0 || column >= node->columnCount()) {
        return {};
    }
    return equalRange(node->children(), column, value);
}

} // namespace zeq
