#include "zeq_common_stable/FileUtils.h"

#include <algorithm>

QString adjustBrukerFilenPathToFolderPath(const QString &path, bool *adjusted)
{
    if (adjusted) {
        *adjusted = false;
    }
    // The innermost folder named "<something>.d" that the path goes through: vendor folders hold
    // sub-folders of their own, but never another vendor folder.
    for (qsizetype end = path.size() - 1; end > 0; --end) {
        const QChar c = path[end];
        if (c != u'/' && c != u'\\') {
            continue;
        }
        // A separator ending the path (or doubled) leaves no file inside the folder.
        if (end + 1 >= path.size() || path[end + 1] == u'/' || path[end + 1] == u'\\') {
            continue;
        }
        const qsizetype start = std::max(path.lastIndexOf(u'/', end - 1), path.lastIndexOf(u'\\', end - 1)) + 1;
        const QStringView folder = QStringView(path).mid(start, end - start);
        if (folder.size() > 2 && folder.endsWith(u".d", Qt::CaseInsensitive)) {
            if (adjusted) {
                *adjusted = true;
            }
            return path.left(end);
        }
    }
    return path;
}
