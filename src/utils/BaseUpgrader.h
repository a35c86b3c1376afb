#pragma once

#include "zeq_common_core_export.h"

#include <QString>

namespace zeq
{

/// Reports a problem met while upgrading stored data, as a warning in "zeq.common_core".
ZEQ_COMMON_CORE_EXPORT void displayWarning(const QString &text);

} // namespace zeq
