#include "zeq_common_stable/FileUtils.h"

#include "zeq_common_stable/AtomicFileWriter.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>

#include <algorithm>

Error FileUtils::writeToFile(const QString &path, const QByteArray &data)
{
    AtomicFileWriter file(path);
    Error err = file.open();
    if (!err.hasError()) {
        err = file.write(data);
    }
    if (!err.hasError()) {
        err = file.commit();
    }
    if (err.hasError()) {
        return ZEQ_ECATCH(err);
    }
    return err;
}

Error FileUtils::backup(const QString &path, const QString &stamp, QString *backupPath)
{
    Error err;
    const QFileInfo info(path);
    if (path.isEmpty() || !info.exists()) {
        return err;
    }
    const QString base = QStringLiteral("%1.%2").arg(info.absoluteFilePath(), stamp);
    QString target = base;
    for (int n = 1; QFileInfo::exists(target); ++n) {
        target = QStringLiteral("%1 (%2)").arg(base).arg(n);
    }
    // QDir::rename moves files and folders alike.
    if (!QDir().rename(info.absoluteFilePath(), target)) {
        err = Error(kError, QStringLiteral("Can't move %1 aside to %2").arg(path, target));
        return ZEQ_ECATCH(err);
    }
    if (backupPath) {
        *backupPath = target;
    }
    return err;
}

QString FileUtils::timestamp()
{
    return QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-hhmmss-zzz"));
}

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
