#pragma once

#include "zeq_common_core_export.h"
#include "zeq_common_core_mini/RowNode.h"

#include <QList>
#include <QString>

// Writing rows of a row tree as CSV: a header of the column names, then one line per row, fields
// separated by commas, lines ended by CRLF, each field the cell's QVariant::toString(). The file is
// written through AtomicFileWriter: a failed save leaves an earlier file at `path` whole and no
// partial one.

/// Writes `rows` under the column names of the first row's root; a row's cell is the one its own
/// root names so (empty when it has no such column). An empty list writes nothing and succeeds.
/// False, with a warning saying why, when a row is null or the file cannot be written.
ZEQ_COMMON_CORE_EXPORT bool saveListToCsvFile(const QList<RowNode *> &rows, const QString &path);

/// saveListToCsvFile() of the leaf rows of `table`; a table with column names and no rows is
/// written as its header line alone.
ZEQ_COMMON_CORE_EXPORT bool saveLeafsToCsvFile(const RowNode &table, const QString &path);

/// The root's data as texts, then the data of each direct child of `table` as texts, in order:
/// group nodes appear as their own rows, the rows inside them do not.
[[nodiscard]] ZEQ_COMMON_CORE_EXPORT QList<QList<QString>> createVectorFromRowNode_FlatRowNode(const RowNode &table);
