#pragma once

#include "zeq_common_core_export.h"
#include "zeq_common_core_mini/ColumnFriendlyName.h"
#include "zeq_common_core_mini/GroupSummary.h"
#include "zeq_common_core_mini/RowNode.h"
#include "zeq_common_stable/Error.h"

#include <QList>
#include <QMap>
#include <QSet>
#include <QString>

#include <utility>

// Reshaping a row tree in place. Field specifications follow FieldNamesComparator, which also says
// where NaN and ±inf cells of numeric columns sort and group. A null node is left alone (success)
// by the regrouping and sorting functions.

/// Regroups every row beneath `node`: old groups are dissolved, the rows are ordered by the grouping
/// then the sorting columns (rows that compare equal keep their order), and each run of two or more
/// rows with equal grouping columns goes under a new group node holding a copy of its first row; a
/// row alone stays a direct child. Grouping names that match no column make every row equal, so
/// all rows join one group. Without grouping names, the sorting names put every node beneath
/// `node` (former group rows included, childless) directly under it, in order. Always succeeds.
ZEQ_COMMON_CORE_EXPORT Error regroupByFieldNames(const QList<QString> &grouping,
                                                 const QList<QString> &sorting,
                                                 RowNode *node);

/// regroupByFieldNames then sortGroupByOneLevel on each child of `node`, in order.
ZEQ_COMMON_CORE_EXPORT Error regroupChildrenBy(const QList<QString> &grouping,
                                               const QList<QString> &sorting,
                                               RowNode *node);

/// One level of grouping per entry: level 1 regroups `node`, level 2 each of its children, and so
/// on. Lists of unequal length change nothing and give kBadParameterError.
ZEQ_COMMON_CORE_EXPORT Error regroupRowNodesRecursive(QList<QList<QString>> commonFieldsList,
                                                      QList<QList<QString>> extraSortList,
                                                      RowNode *node);

/// Orders the direct children of `node` by the sorting specifications; ties in no defined order.
ZEQ_COMMON_CORE_EXPORT Error sortGroupByOneLevel(const QList<QString> &sorting, RowNode *node);

/// Reverses the children of `node` and of every node beneath it. kBadParameterError for a null node.
ZEQ_COMMON_CORE_EXPORT Error reverse(RowNode *node);

/// Adds `columns` of `right` to `left` as new columns (null first, even when `left` has a column
/// of that name), and fills them in every row of `left` (group rows excepted) from the first leaf
/// row of `right` whose key cell equals the row's key cell (QVariant equality); rows without a
/// match keep nulls, and so do all rows when a key column is missing. `keys` names the key column
/// of `left`, then that of `right`. No columns: success, nothing changes. kBadParameterError for an
/// empty key name or a null `left`; kError, with `left` unchanged, when `right` lacks one of
/// `columns`. Each error's message names what was missing.
ZEQ_COMMON_CORE_EXPORT Error leftJoin(const RowNode &right,
                                      const std::pair<QString, QString> &keys,
                                      const QList<QString> &columns,
                                      RowNode *left);

/// Appends to `target` the columns of `source` it lacks (null in its rows), then a copy of each
/// direct child row of `source`, cells matched by column name. A null target is left alone.
ZEQ_COMMON_CORE_EXPORT void unifyTables(const RowNode &source, RowNode *target);

namespace RowNodeGrouper
{

/// The children of a group node, or the node alone (nothing for a null node).
[[nodiscard]] ZEQ_COMMON_CORE_EXPORT QList<RowNode *> childrenOrLeaf(RowNode *node);

/// The cell of `column` of each row, in order (null for a null row or a missing cell).
[[nodiscard]] ZEQ_COMMON_CORE_EXPORT VariantItems columnValues(const QList<RowNode *> &rows, int column);

/// A new table with the columns of the rows' root and one summary row: columns in `keepFirst`
/// take the first row's cell, the others what `summary` makes of them by their registered grouping
/// method, or by the method `methods` gives for the column. Null rows are ignored; no rows give
/// an empty RowNode.
[[nodiscard]] ZEQ_COMMON_CORE_EXPORT RowNode
makeGroup(const QList<RowNode *> &rows,
          const rn::GroupSummary &summary,
          const QSet<QString> &keepFirst,
          const QMap<QString, ColumnFriendlyName::GroupingMethod> &methods);

} // namespace RowNodeGrouper
