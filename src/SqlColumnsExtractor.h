#pragma once

#include "utils/Result.h"
#include "zeq_common_core_export.h"

#include <QList>
#include <QString>

namespace zeq
{

/// Column names read from the text of a CREATE TABLE or a one-line SELECT statement, without a
/// database. Comments of the form slash-star ... star-slash on one line are ignored.
class ZEQ_COMMON_CORE_EXPORT SqlColumnsExtractor
{
public:
    /// Every word after "(" or "," that a previous column did not consume, table constraints
    /// included; kError when there is none.
    [[nodiscard]] static Result<QList<QString>> getColumnsFromCreateTableQuery(const QString &query);
    /// The columns of the first SELECT ... FROM, each its name without table prefix or its AS name.
    [[nodiscard]] static Result<QList<QString>> getColumnsFromSelectQuery(const QString &query);
};

} // namespace zeq
