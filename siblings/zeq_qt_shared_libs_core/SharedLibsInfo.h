#pragma once

#include "zeq_qt_shared_libs_core_export.h"

#include <QString>

namespace zeq
{

/// Version of the shared Qt libraries this process loaded, for "about" texts and bug reports.
ZEQ_QT_SHARED_LIBS_CORE_EXPORT QString sharedLibsVersion();

} // namespace zeq
