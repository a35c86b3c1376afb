#pragma once

#include "zeq_common_stable_export.h"

#include <QString>

/// For a file inside a vendor data folder (a folder whose name ends in ".d", any case), the path of
/// that folder, written with the separators of `path`; any other path comes back unchanged. Works on
/// the text alone, "\" and "/" both separating, so Windows paths are read on every platform.
/// `adjusted`, when given, tells whether the path changed.
[[nodiscard]] ZEQ_COMMON_STABLE_EXPORT QString adjustBrukerFilenPathToFolderPath(const QString &path, bool *adjusted);
