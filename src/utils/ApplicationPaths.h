#pragma once

#include "zeq_common_core_export.h"

#include <QList>
#include <QString>

namespace zeq
{

/// Finds the helper executables of the family: in the process-wide search folders (set by the
/// application at start-up), then beside the running executable.
class ZEQ_COMMON_CORE_EXPORT ApplicationPaths
{
public:
    [[nodiscard]] static QList<QString> searchPaths();
    static void prependSearchPath(const QString &folder);
    static void appendSearchPath(const QString &folder);
    static void removeSearchPath(const QString &folder);
    static void clearSearchPaths();

    /// The first existing path made of a searched folder and `fileName`, tried bare and then below
    /// each of `relativeFolders`; folders are the outer loop. "" when none exists.
    [[nodiscard]] static QString findPath(const QString &fileName, const QList<QString> &relativeFolders = {});

    [[nodiscard]] static QString tessanExePath();
    [[nodiscard]] static QString altivoExePath();
    [[nodiscard]] static QString modificationsEditorExePath();
    [[nodiscard]] static QString queuerExePath();

private:
    static QList<QString> s_searchPaths;
};

} // namespace zeq
