#include "zeq_common_stable/SysUtils.h"

#include <QtGlobal>

#ifndef Q_OS_WIN
#include <pwd.h>
#include <unistd.h>
#include <vector>
#endif

QString SysUtils::currentUserName()
{
#ifdef Q_OS_WIN
    return qEnvironmentVariable("USERNAME");
#else
    // The password database knows the effective user even where USER is unset or stale (su, sudo,
    // services); the environment is only the fallback.
    long size = sysconf(_SC_GETPW_R_SIZE_MAX);
    std::vector<char> buffer(size > 0 ? size_t(size) : 16384);
    passwd entry{};
    passwd *found = nullptr;
    if (getpwuid_r(geteuid(), &entry, buffer.data(), buffer.size(), &found) == 0 && found && found->pw_name) {
        return QString::fromLocal8Bit(found->pw_name);
    }
    const QString user = qEnvironmentVariable("USER");
    return user.isEmpty() ? qEnvironmentVariable("LOGNAME") : user;
#endif
}

QString SysUtils::binaryFilename(const QString &baseName)
{
#ifdef Q_OS_WIN
    if (!baseName.isEmpty() && !baseName.endsWith(QStringLiteral(".exe"), Qt::CaseInsensitive)) {
        return baseName + QStringLiteral(".exe");
    }
#endif
    return baseName;
}
