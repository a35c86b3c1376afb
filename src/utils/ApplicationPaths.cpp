#include "utils/ApplicationPaths.h"

#include "zeq_common_stable/SysUtils.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

namespace zeq
{

QList<QString> ApplicationPaths::s_searchPaths;

QList<QString> ApplicationPaths::searchPaths()
{
    return s_searchPaths;
}

void ApplicationPaths::prependSearchPath(const QString &folder)
{
    s_searchPaths.prepend(folder);
}

void ApplicationPaths::appendSearchPath(const QString &folder)
{
    s_searchPaths.append(folder);
}

void ApplicationPaths::removeSearchPath(const QString &folder)
{
    s_searchPaths.removeAll(folder);
}

void ApplicationPaths::clearSearchPaths()
{
    s_searchPaths.clear();
}

QString ApplicationPaths::findPath(const QString &fileName, const QList<QString> &relativeFolders)
{
    if (fileName.isEmpty()) {
        return {};
    }
    QList<QString> candidates{ fileName };
    for (const QString &relative : relativeFolders) {
        candidates.append(QDir(relative).filePath(fileName));
    }
    QList<QString> folders = s_searchPaths;
    folders.append(QCoreApplication::applicationDirPath());
    for (const QString &folder : std::as_const(folders)) {
        for (const QString &candidate : std::as_const(candidates)) {
            const QString path = QDir(folder).filePath(candidate);
            if (QFileInfo::exists(path)) {
                return QDir::cleanPath(path);
            }
        }
    }
    return {};
}

QString ApplicationPaths::tessanExePath()
{
    return findPath(SysUtils::binaryFilename(QStringLiteral("tessan")),
                    { QStringLiteral("bin"), QStringLiteral("tessan"), QStringLiteral("bin/tessan") });
}

QString ApplicationPaths::altivoExePath()
{
    return findPath(SysUtils::binaryFilename(QStringLiteral("altivo_cmd")), { QStringLiteral("AltivoCommandLine") });
}

QString ApplicationPaths::modificationsEditorExePath()
{
    return findPath(SysUtils::binaryFilename(QStringLiteral("ModificationsUI")), { QStringLiteral("ModificationsUI") });
}

QString ApplicationPaths::queuerExePath()
{
    return findPath(SysUtils::binaryFilename(QStringLiteral("queuer")), { QStringLiteral("bin") });
}

} // namespace zeq
