#include "utils/ProjectCreationUtils.h"

#include "ZeqLogging.h"
#include "constants/StringConstants.h"
#include "zeq_common_core_mini/AppSettings.h"
#include "zeq_common_core_mini/CommonKeys.h"
#include "zeq_common_core_mini/TextUtils.h"
#include "zeq_common_stable/FileUtils.h"

#include <QDateTime>
#include <QFileInfo>

namespace zeq
{

QString ProjectCreationUtils::tempProjectCreationDirectoryName()
{
    const QString appName = as::value(kAPPLICATION_NAME, QString()).toString();
    if (appName == kaltivo) {
        return QStringLiteral("av_tmp");
    }
    if (appName == kcorvin) {
        return QStringLiteral("corvin_tmp");
    }
    return appName + QStringLiteral("_tmp_files");
}

Error ProjectCreationUtils::createAndMakeTempPath(const QString &input, QString &path, TempSuffix suffix)
{
    Error err;
    if (input.trimmed().isEmpty()) {
        err = Error(kBadParameterError, QStringLiteral("No input to make a temporary project folder for"));
        return ZEQ_ECATCH(err);
    }
    const QFileInfo inputInfo(QDir::fromNativeSeparators(input));
    QDir parent;
    if (!path.isEmpty() && QFileInfo(path).isDir()) {
        parent = QDir(path);
    } else {
        parent = inputInfo.isDir() ? QDir(inputInfo.absoluteFilePath()) : inputInfo.absoluteDir();
        const QString tempName = tempProjectCreationDirectoryName();
        if (!parent.mkpath(tempName)) {
            err = Error(kError,
                        QStringLiteral("Unable to create the directory %1/%2").arg(parent.canonicalPath(), tempName));
            return ZEQ_ECATCH(err);
        }
        if (!parent.cd(tempName)) {
            err = Error(kError,
                        QStringLiteral("Unable to change directory to %1/%2").arg(parent.canonicalPath(), tempName));
            return ZEQ_ECATCH(err);
        }
    }
    QString base = parent.absoluteFilePath(inputInfo.completeBaseName());
    switch (suffix) {
    case DateTimeSuffix:
        base += QLatin1Char('.') + QDateTime::currentDateTime().toString(QStringLiteral("yy-MM-dd.hh.mm.ss"));
        break;
    case RandomSuffix:
        base += QLatin1Char('.') + TextUtils::randomString(5);
        break;
    case NoSuffix:
    default:
        break;
    }
    // Each try replaces the counter of the last one: "name(2)", never "name(1)(2)".
    QString candidate = base;
    for (int n = 1; QFileInfo::exists(candidate); ++n) {
        candidate = base + QStringLiteral("(%1)").arg(n);
    }
    if (!QDir().mkpath(candidate)) {
        err = Error(kError, QStringLiteral("The folder \"%1\" could not be created").arg(candidate));
        return ZEQ_ECATCH(err);
    }
    path = candidate;
    return err;
}

QString ProjectCreationUtils::lastTempFolder(const QString &file)
{
    const QFileInfo info(file);
    return lastTempFolder(info.absoluteDir(), info.completeBaseName());
}

QString ProjectCreationUtils::lastTempFolder(QDir folder, const QString &name)
{
    const QString tempName = tempProjectCreationDirectoryName();
    if (!folder.cd(tempName)) {
        qCWarning(lcCore) << "Can't find" << tempName << "in" << folder.absolutePath();
        return {};
    }
    const QFileInfoList found =
        folder.entryInfoList({ name + QLatin1Char('*') }, QDir::Dirs | QDir::NoDotAndDotDot, QDir::Time);
    if (found.isEmpty()) {
        qCWarning(lcCore).noquote() << QStringLiteral("Can't find subdirs %1*").arg(name);
        return {};
    }
    return found.constFirst().absoluteFilePath();
}

Error ProjectCreationUtils::renameToFailed(const QString &path)
{
    Error err;
    if (path.isEmpty() || !QFileInfo::exists(path)) {
        return err;
    }
    const QString target = path + QStringLiteral(".FAILED");
    err = FileUtils::backup(target, FileUtils::timestamp());
    if (err.hasError()) {
        return ZEQ_ECATCH(err);
    }
    if (!QDir().rename(path, target)) {
        qCWarning(lcCore) << "Failed to rename" << path << "to" << target;
    }
    return err;
}

} // namespace zeq
