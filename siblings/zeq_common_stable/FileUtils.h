#pragma once

#include "zeq_common_stable/Error.h"
#include "zeq_common_stable_export.h"

#include <QByteArray>
#include <QString>

/// File helpers shared by the applications: whole-file writes that never leave a half-written file,
/// moving an item aside before it is replaced, and time stamps for such names.
class ZEQ_COMMON_STABLE_EXPORT FileUtils
{
public:
    /// Replaces the file at `path` with `data` through a temporary file in the same folder that is
    /// renamed over the target only once everything is written: on any failure the old file, if
    /// there was one, is left as it was. Links, FIFOs and devices are handled as AtomicFileWriter
    /// says. kBadParameterError for an empty path, kFileOpenError when
    /// the temporary file cannot be made, kError when writing or the final rename fails.
    [[nodiscard]] static Error writeToFile(const QString &path, const QByteArray &data);

    /// Renames the file or folder at `path` to "<path>.<stamp>" (with " (n)" added while that name
    /// is taken), so that `path` is free. Nothing to do, and success, when `path` does not exist.
    /// `backupPath`, when given, receives the new name.
    [[nodiscard]] static Error backup(const QString &path, const QString &stamp, QString *backupPath = nullptr);

    /// The local time as "yyyyMMdd-hhmmss-zzz": sorts by time and is safe in file names.
    [[nodiscard]] static QString timestamp();
};

/// For a file inside a vendor data folder (a folder whose name ends in ".d", any case), the path of
/// that folder, written with the separators of `path`; any other path comes back unchanged. Works on
/// the text alone, "\" and "/" both separating, so Windows paths are read on every platform.
/// `adjusted`, when given, tells whether the path changed.
[[nodiscard]] ZEQ_COMMON_STABLE_EXPORT QString adjustBrukerFilenPathToFolderPath(const QString &path, bool *adjusted);
