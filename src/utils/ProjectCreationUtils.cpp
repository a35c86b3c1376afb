#include "utils/ProjectCreationUtils.h"

#include "ZeqLogging.h"
#include "constants/StringConstants.h"
#include "zeq_common_core_mini/AppSettings.h"
#include "zeq_common_core_mini/CommonKeys.h"
#include "zeq_common_core_mini/TextUtils.h"
#include "zeq_common_stable/FileUtils.h"

#include <QDateTime>
#include <QFileInfo>

#include <limits>

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
    // mkdir, unlike mkpath, fails on a folder that exists, so two creators racing for one name
    // cannot both take it: the loser moves on to the next counter. Each try replaces the counter of
    // the last one: "name(2)", never "name(1)(2)".
    QString candidate = base;
    for (int n = 1;; ++n) {
        if (QDir().mkdir(candidate)) {
            break;
        }
        if (!QFileInfo::exists(candidate) || n == std::numeric_limits<int>::max()) {
            err = Error(kError, QStringLiteral("The folder \"%1\" could not be created").arg(candidate));
            return ZEQ_ECATCH(err);
        }
        candidate = base + QStringLiteral("(%1)").arg(n);
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
    // A name filter would read "*", "?" and "[" in `name` as wildcards, so the prefix is compared
    // as plain text, ignoring case as the name filter did.
    const QFileInfoList folders = folder.entryInfoList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Time);
    for (const QFileInfo &found : folders) {
        if (found.fileName().startsWith(name, Qt::CaseInsensitive)) {
            return found.absoluteFilePath();
        }
    }
    qCWarning(lcCore).noquote() << QStringLiteral("Can't find subdirs %1*").arg(name);
    return {};
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
