#include "utils/TessanUtilsPaths.h"

#include <QDir>
#include <QFileInfo>

namespace zeq
{

QString toTessanPathFormat(const QString &path)
{
    return QDir::toNativeSeparators(path)
        .replace(QStringLiteral("\\"), QStringLiteral("\\\\"))
        .replace(QStringLiteral(":"), QStringLiteral("\\:"));
}

QString fromTessanPathFormat(const QString &path)
{
    if (path.isEmpty()) {
        return path;
    }
    return QString(path)
        .replace(QStringLiteral("\\:"), QStringLiteral(":"))
        .replace(QStringLiteral("\\\\"), QStringLiteral("\\"));
}

PathImpl<PathType::Dir> tessanOutputFolderFromPath(const PathImpl<PathType::Unknown> &path)
{
    // Windows paths arrive as text; QFileInfo on Linux would take "\" as part of a name.
    const QString text = QString(path.path()).replace(u'\\', u'/');
    return PathImpl<PathType::Dir>(path.isDir() ? text : QFileInfo(text).path());
}

} // namespace zeq
