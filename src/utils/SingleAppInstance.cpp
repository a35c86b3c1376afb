#include "utils/SingleAppInstance.h"

#include "ZeqLogging.h"

#ifdef Q_OS_WIN
#include <qt_windows.h>
#else
#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QStandardPaths>

#include <algorithm>
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

bool isPlainFileNameCharacter(QChar c)
{
    return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z') || (c >= u'0' && c <= u'9') || c == u'-' || c == u'_'
        || c == u'.';
}

// One name, one lock file. A short name of plain characters is used as it is; any other name is
// hashed, as replacing its odd characters would give "a/b" and "a:b" one lock, and a long name
// would exceed the file-name limit (255 bytes) and take no lock at all. The "~" keeps the two kinds
// of file name apart: it cannot occur in the first. A readable prefix is kept for people listing
// the folder.
QString lockFileName(const QString &name)
{
    constexpr qsizetype kPlainLimit = 200;
    const bool plain = name.size() <= kPlainLimit && std::all_of(name.cbegin(), name.cend(), isPlainFileNameCharacter);
    if (plain) {
        return QStringLiteral("zeq-instance-%1.lock").arg(name);
    }
    QString prefix = name.left(40);
    for (QChar &c : prefix) {
        if (!isPlainFileNameCharacter(c)) {
            c = u'_';
        }
    }
    const QByteArray hash = QCryptographicHash::hash(name.toUtf8(), QCryptographicHash::Sha256).toHex().left(32);
    return QStringLiteral("zeq-instance~%1~%2.lock").arg(prefix, QString::fromLatin1(hash));
}

QString lockFilePath(const QString &name)
{
    QString folder = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (folder.isEmpty()) {
        folder = QDir::tempPath();
    }
    return QDir(folder).filePath(lockFileName(name));
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
