#include "utils/SingleAppInstance.h"

#include "ZeqLogging.h"

#ifdef Q_OS_WIN
#include <qt_windows.h>
#else
#include <QDir>
#include <QFile>
#include <QStandardPaths>

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>
#endif

namespace zeq
{

#ifdef Q_OS_WIN

SingleAppInstance::SingleAppInstance(const QString &name)
{
    m_handle = CreateMutexW(nullptr, FALSE, reinterpret_cast<LPCWSTR>(name.utf16()));
    m_error = int(GetLastError());
    m_anotherRunning = m_error == ERROR_ALREADY_EXISTS;
}

SingleAppInstance::~SingleAppInstance()
{
    if (m_handle) {
        CloseHandle(m_handle);
    }
}

#else

namespace
{

// The name becomes one file name: anything but letters, digits, '-', '_' and '.' is replaced.
QString lockFilePath(const QString &name)
{
    QString safe = name;
    for (QChar &c : safe) {
        if (!(c.isLetterOrNumber() || c == u'-' || c == u'_' || c == u'.')) {
            c = u'_';
        }
    }
    QString folder = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (folder.isEmpty()) {
        folder = QDir::tempPath();
    }
    return QDir(folder).filePath(QStringLiteral("zeq-instance-%1.lock").arg(safe));
}

} // namespace

SingleAppInstance::SingleAppInstance(const QString &name)
{
    const QString path = lockFilePath(name);
    // Close-on-exec: a program this one starts must not inherit, and so keep, the lock.
    m_fd = ::open(QFile::encodeName(path).constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (m_fd < 0) {
        m_error = errno;
        qCWarning(lcCore) << "Can't open the instance lock" << path << ":" << qt_error_string(m_error);
        return;
    }
    // flock locks belong to the open file description, so a second object in this process
    // conflicts with the first just as a second process does.
    if (::flock(m_fd, LOCK_EX | LOCK_NB) != 0) {
        m_error = errno;
        m_anotherRunning = m_error == EWOULDBLOCK;
        if (!m_anotherRunning) {
            qCWarning(lcCore) << "Can't lock" << path << ":" << qt_error_string(m_error);
        }
    }
}

SingleAppInstance::~SingleAppInstance()
{
    // The lock file stays: removing it would let a third process lock a new file while a second
    // still holds the old one.
    if (m_fd >= 0) {
        ::close(m_fd);
    }
}

#endif

} // namespace zeq
