#pragma once

#include "zeq_common_core_export.h"
#include "zeq_common_stable/Error.h"

#include <QDir>
#include <QString>

namespace zeq
{

/// The working folders of a project being created: made beside the input in a temporary folder
/// named after the application, found again later, and marked when the creation failed.
class ZEQ_COMMON_CORE_EXPORT ProjectCreationUtils
{
public:
    enum TempSuffix : qint32 {
        NoSuffix = 0,
        DateTimeSuffix = 1, ///< ".yy-MM-dd.hh.mm.ss", local time
        RandomSuffix = 2, ///< "." and 5 random letters or digits
    };

    /// From the application-settings value kAPPLICATION_NAME: "av_tmp" for the de-novo tool,
    /// "corvin_tmp" for the suite, else "<name>_tmp_files".
    [[nodiscard]] static QString tempProjectCreationDirectoryName();

    /// Makes a new, empty folder for a creation from `input` and returns it in `path`. With an
    /// existing folder in `path` the new folder goes there; otherwise into the temporary folder
    /// (made when missing) beside `input` (inside it when `input` is a folder). The folder is named
    /// after `input`'s complete base name plus `suffix`, and "(1)", "(2)"... while the name is taken.
    /// kBadParameterError for an empty input, kError when a folder cannot be made.
    [[nodiscard]] static Error createAndMakeTempPath(const QString &input, QString &path, TempSuffix suffix);

    /// The newest folder made for `file` (by createAndMakeTempPath) beside it; "" when none.
    [[nodiscard]] static QString lastTempFolder(const QString &file);
    /// The newest folder whose name starts with `name` (plain text, case ignored: "*", "?" and "["
    /// are no wildcards) in the temporary folder of `folder`; "" when none.
    [[nodiscard]] static QString lastTempFolder(QDir folder, const QString &name);

    /// Renames `path` to "<path>.FAILED", moving an item already there aside first. Nothing to do
    /// when `path` does not exist. A failed rename is only logged; a failed move aside is returned.
    [[nodiscard]] static Error renameToFailed(const QString &path);
};

} // namespace zeq
