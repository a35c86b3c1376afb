#include "utils/BuildInfo.h"

#include <QtGlobal>

namespace zeq
{

BuildInfo BuildInfo::current()
{
    BuildInfo info;
    info.version = QStringLiteral(ZEQ_VERSION);
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

} // namespace zeq
