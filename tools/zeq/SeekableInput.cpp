#include "SeekableInput.h"

#include <QDir>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace zeq::cli
{

namespace
{

QString systemError(int code)
{
    return QString::fromLocal8Bit(std::strerror(code));
}

/// Closes a descriptor this file opened; standard input stays open.
struct Descriptor {
    int fd = -1;
    bool owned = false;
    ~Descriptor()
    {
        if (owned && fd >= 0) {
            ::close(fd);
        }
    }
};

} // namespace

Error SeekableInput::open(const QString &path)
{
    m_copy.reset();
    m_fileName = path;
    m_shownName = path == u"-" ? QStringLiteral("standard input") : path;
    Descriptor in;
    if (path == u"-") {
        in.fd = STDIN_FILENO;
    } else {
        // What is missing, a folder or a regular file is left to the reader, which names the
        // problem in its own words.
        struct stat status {
        };
        if (::stat(QFile::encodeName(path).constData(), &status) != 0 || S_ISDIR(status.st_mode)
            || S_ISREG(status.st_mode)) {
            return Error();
        }
        // Opening a named pipe waits for its writer, as reading it with any other program does.
        in.fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC);
        in.owned = true;
        if (in.fd < 0) {
            Error err(kFileOpenError, QStringLiteral("Can't read %1: %2").arg(path, systemError(errno)));
            return ZEQ_ECATCH(err);
        }
    }

    auto copy = std::make_unique<QTemporaryFile>(QDir::tempPath() + QStringLiteral("/zeq_input_XXXXXX"));
    if (!copy->open()) {
        Error err(kFileOpenError,
                  QStringLiteral("Can't copy %1 to a temporary file: %2").arg(m_shownName, copy->errorString()));
        return ZEQ_ECATCH(err);
    }
    // Straight to the descriptor: a failed write (a full temporary folder) is seen at the write
    // that failed, never lost in a buffer flushed later.
    QByteArray block(1 << 20, Qt::Uninitialized);
    for (;;) {
        const ssize_t got = ::read(in.fd, block.data(), size_t(block.size()));
        if (got < 0 && errno == EINTR) {
            continue;
        }
        if (got < 0) {
            Error err(kFileOpenError, QStringLiteral("Can't read %1: %2").arg(m_shownName, systemError(errno)));
            return ZEQ_ECATCH(err);
        }
        if (got == 0) {
            break;
        }
        for (ssize_t done = 0; done < got;) {
            const ssize_t put = ::write(copy->handle(), block.constData() + done, size_t(got - done));
            if (put < 0 && errno == EINTR) {
                continue;
            }
            if (put <= 0) {
                const int code = put < 0 ? errno : ENOSPC;
                Error err(kFileOpenError,
                          QStringLiteral("Can't copy %1 to a temporary file: %2").arg(m_shownName, systemError(code)));
                return ZEQ_ECATCH(err);
            }
            done += put;
        }
    }
    m_fileName = copy->fileName();
    copy->close();
    m_copy = std::move(copy);
    return Error();
}

} // namespace zeq::cli
