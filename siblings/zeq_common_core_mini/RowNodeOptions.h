#pragma once

#include "zeq_common_core_mini/RowNode.h"
#include "zeq_common_core_mini_export.h"
#include "zeq_common_stable/Error.h"

#include <QList>
#include <QString>
#include <QVariant>

/// Key/value options held in a row tree: the root's columns are the option names and its first
/// child row holds the values.
namespace rn
{

/// Adds the names `options` lacks as columns (null values) and makes sure a value row exists.
/// kBadParameterError for a null tree or an empty name; names before the bad one are kept.
ZEQ_COMMON_CORE_MINI_EXPORT Error createOptions(RowNode *options, const QList<QString> &names);

/// kBadParameterError for a null tree or a name that createOptions has not made.
ZEQ_COMMON_CORE_MINI_EXPORT Error setOption(RowNode *options, const QString &name, const QVariant &value);

/// The value of `name`, or `defaultValue` when the option does not exist.
[[nodiscard]] ZEQ_COMMON_CORE_MINI_EXPORT QVariant option(const RowNode &options,
                                                          const QString &name,
                                                          const QVariant &defaultValue = {});

} // namespace rn
