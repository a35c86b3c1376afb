#pragma once

#include "zeq_common_core_export.h"

#include <QString>

namespace zeq
{

/// Facts about the library binary that a program reports in --version and bug reports. All are
/// fixed when the library is built; the git facts when the build was configured.
struct ZEQ_COMMON_CORE_EXPORT BuildInfo {
    QString version; ///< the library's version, "major.minor.patch"
    QString compiler; ///< compiler and its version
    QString qtVersion; ///< Qt the library was built against
    QString qtRuntime; ///< Qt loaded at run time
    QString buildType; ///< "debug" or "release"

    [[nodiscard]] static BuildInfo current();

    /// "major.minor.patch" of the CMake project.
    [[nodiscard]] static QString versionString();
    /// "v" and the version followed by the source revision ("v0.1.0-c2507be", "-dirty" when the
    /// tree had changes); just "v" and the version when the source was no git checkout.
    [[nodiscard]] static QString gitVersion();
    /// "" when unknown.
    [[nodiscard]] static QString gitBranchName();
    /// As the compiler spells it: "Dec  5 2026".
    [[nodiscard]] static QString buildDate();
    /// "hh:mm:ss".
    [[nodiscard]] static QString buildTime();
    /// 32 or 64: the width of a pointer.
    [[nodiscard]] static int bitness();
    [[nodiscard]] static bool isX64();
};

} // namespace zeq
