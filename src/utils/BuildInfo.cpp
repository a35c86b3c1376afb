#include "utils/BuildInfo.h"

#include <QtGlobal>

namespace zeq
{

BuildInfo BuildInfo::current()
{
    BuildInfo info;
    info.version = versionString();
#if defined(__clang__)
    info.compiler = QStringLiteral("clang %1").arg(QStringLiteral(__clang_version__));
#elif defined(__GNUC__)
    info.compiler = QStringLiteral("g++ %1").arg(QStringLiteral(__VERSION__));
#else
    info.compiler = QStringLiteral("unknown");
#endif
    info.qtVersion = QStringLiteral(QT_VERSION_STR);
    info.qtRuntime = QString::fromLatin1(qVersion());
#ifdef QT_DEBUG
    info.buildType = QStringLiteral("debug");
#else
    info.buildType = QStringLiteral("release");
#endif
    return info;
}

QString BuildInfo::versionString()
{
    return QStringLiteral(ZEQ_VERSION);
}

QString BuildInfo::gitVersion()
{
    const QString revision = QStringLiteral(ZEQ_GIT_REVISION);
    const QString version = QStringLiteral("v") + versionString();
    return revision.isEmpty() ? version : version + QLatin1Char('-') + revision;
}

QString BuildInfo::gitBranchName()
{
    return QStringLiteral(ZEQ_GIT_BRANCH);
}

QString BuildInfo::buildDate()
{
    return QStringLiteral(__DATE__);
}

QString BuildInfo::buildTime()
{
    return QStringLiteral(__TIME__);
}

int BuildInfo::bitness()
{
    return QT_POINTER_SIZE * 8;
}

bool BuildInfo::isX64()
{
#ifdef Q_PROCESSOR_X86_64
    return true;
#else
    return false;
#endif
}

} // namespace zeq
