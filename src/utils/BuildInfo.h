#pragma once

#include "zeq_common_core_export.h"

#include <QString>

namespace zeq
{

/// Facts about the library binary that a program reports in --version and bug reports.
struct ZEQ_COMMON_CORE_EXPORT BuildInfo {
    QString version; ///< the library's version, "major.minor.patch"
    QString compiler; ///< compiler and its version
    QString qtVersion; ///< Qt the library was built against
    QString qtRuntime; ///< Qt loaded at run time
    QString buildType; ///< "debug" or "release"

    [[nodiscard]] static BuildInfo current();
};

} // namespace zeq
