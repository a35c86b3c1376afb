#pragma once

#include "zeq_common_core_export.h"
#include "zeq_common_stable/Error.h"

#include <QList>
#include <QString>
#include <QVariant>

#include <optional>

// Facts about a search read from its result file (a SQLite database, extension "tsnres"). The
// readers open the file read-only, never create it, and close their connection before returning.
// A file that cannot be opened gives kBadParameterError; a query that fails (not a database, tables
// missing, a damaged page met while reading rows) gives its error, naming the file.
namespace zeq
{

/// Replaces `files` with the spectrum files of every search in the file, in order: the
/// "SpectraFiles=" lines of the parameter texts, unescaped (see fromTessanPathFormat), a file inside
/// a vendor data folder replaced by the folder.
[[nodiscard]] ZEQ_COMMON_CORE_EXPORT Error getMSFilesFromTsnres(const QString &path, QList<QString> &files);

/// Appends the "Lock mass list" search parameter to `values`; nothing when it is absent.
[[nodiscard]] ZEQ_COMMON_CORE_EXPORT Error getLockmassFromTsnres(const QString &path, QList<QString> *values);
/// Appends the "Precursor tolerance" search parameter to `values`; nothing when it is absent.
[[nodiscard]] ZEQ_COMMON_CORE_EXPORT Error getPpmFromTsnres(const QString &path, QList<QString> *values);

/// The number in `value`, or none when it does not convert (an invalid value included).
[[nodiscard]] ZEQ_COMMON_CORE_EXPORT std::optional<double> toDoubleOptional(const QVariant &value);

} // namespace zeq
