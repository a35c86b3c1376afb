#pragma once

#include "zeq_common_stable_export.h"

#include <QString>

/// Facts about the operating system and its naming rules.
class ZEQ_COMMON_STABLE_EXPORT SysUtils
{
public:
    /// The login name of the user running the process, as the operating system knows it; "" when it
    /// cannot tell.
    [[nodiscard]] static QString currentUserName();

    /// The file name of an executable called `baseName` on this platform ("tessan.exe" on Windows,
    /// "tessan" elsewhere). An empty name stays empty.
    [[nodiscard]] static QString binaryFilename(const QString &baseName);
};
