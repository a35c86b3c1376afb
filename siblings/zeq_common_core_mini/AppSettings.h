#pragma once

#include "zeq_common_core_mini_export.h"

#include <QString>
#include <QVariant>

/// Application-wide settings that the host application sets once (usually at start-up, from its
/// configuration) and library code reads with a default.
namespace as
{

/// The value stored for `key`, or `defaultValue` when the application set none.
ZEQ_COMMON_CORE_MINI_EXPORT QVariant value(const QString &key, const QVariant &defaultValue = {});
ZEQ_COMMON_CORE_MINI_EXPORT void setValue(const QString &key, const QVariant &value);
ZEQ_COMMON_CORE_MINI_EXPORT void remove(const QString &key);

} // namespace as
