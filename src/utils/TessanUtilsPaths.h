#pragma once

#include "zeq_common_core_export.h"
#include "zeq_common_stable/PathImpl.h"

#include <QString>

// Paths as the search engine's parameter text writes them: every backslash doubled and every colon
// escaped ("C:\data\a.raw" is "C\:\\data\\a.raw").
namespace zeq
{

/// `path` with native separators, escaped for a parameter text.
[[nodiscard]] ZEQ_COMMON_CORE_EXPORT QString toTessanPathFormat(const QString &path);
/// The path of an escaped parameter-text path; the inverse of toTessanPathFormat over Windows paths.
[[nodiscard]] ZEQ_COMMON_CORE_EXPORT QString fromTessanPathFormat(const QString &path);

/// The folder of a search's output: the path itself when it is a directory (by its kind, or asking
/// the file system when the kind is not known), else its parent. Separators are "/" in the result,
/// whatever the platform.
[[nodiscard]] ZEQ_COMMON_CORE_EXPORT PathImpl<PathType::Dir>
tessanOutputFolderFromPath(const PathImpl<PathType::Unknown> &path);

} // namespace zeq
