#include "zeq_common_stable/AtomicFileWriter.h"

#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSaveFile>

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

namespace
{

// As many links as the Linux kernel follows in one path.
constexpr int kMaxLinks = 40;

// The descriptor that `path` names when it is one of this process's descriptor links, or -1
// (/dev/stdout and /dev/stderr are links to these). Opening such a link anew would start at
// offset 0 and truncate a file the shell opened for appending; writing through the descriptor
// itself is what a redirection to it means.
int descriptorOf(const QString &path)
{
    static const QRegularExpression link(QStringLiteral(R"(^/(?:dev|proc/(?:self|thread-self))/fd/(\d{1,9})$)"));
    const QRegularExpressionMatch match = link.match(path);
    return match.hasMatch() ? match.captured(1).toInt() : -1;
}

// Only a descriptor handed to the process open for writing, as a shell's redirection leaves it, is
// written. The ones the process opened itself (Qt's, the catalogue's database) are close-on-exec:
// writing into them would corrupt what they hold.
bool isInheritedForWriting(int descriptor)
{
    const int status = ::fcntl(descriptor, F_GETFL);
    const int flags = ::fcntl(descriptor, F_GETFD);
    const int access = status & O_ACCMODE;
    return status != -1 && (access == O_WRONLY || access == O_RDWR) && flags != -1 && (flags & FD_CLOEXEC) == 0;
}

} // namespace

AtomicFileWriter::AtomicFileWriter(const QString &path)
    : m_path(path)
{
}

AtomicFileWriter::~AtomicFileWriter()
{
    cancel();
}

Error AtomicFileWriter::open()
{
    if (m_device) {
        // Not through fail(): what is being written stays.
        Error err(kError, QStringLiteral("Can't write %1: it is open already").arg(m_path));
        return ZEQ_ECATCH(err);
    }
    if (m_path.isEmpty()) {
        Error err(kBadParameterError, QStringLiteral("No file name to write to"));
        return ZEQ_ECATCH(err);
    }
    m_failed = false;
    m_direct = false;
    // Links are followed here rather than left to QSaveFile, so that the kind of the final target,
    // and any descriptor link on the way, decides how it is written.
    QString target = m_path;
    int descriptor = descriptorOf(target);
    for (int hop = 0; descriptor < 0 && QFileInfo(target).isSymLink(); ++hop) {
        if (hop == kMaxLinks) {
            return fail(kFileOpenError, QStringLiteral("too many levels of symbolic links"));
        }
        target = QFileInfo(target).symLinkTarget();
        descriptor = descriptorOf(target);
    }
    if (descriptor >= 0) {
        if (!isInheritedForWriting(descriptor)) {
            return fail(kFileOpenError, QStringLiteral("descriptor %1 is not open for writing").arg(descriptor));
        }
        return openDirect(target, descriptor, false);
    }
    const QFileInfo info(target);
    if (info.isDir()) {
        return fail(kFileOpenError, QStringLiteral("it is a folder, not a file"));
    }
    if (info.exists() && !info.isFile()) {
        // Opened without creating or truncating, and looked at again once open: a FIFO or device
        // replaced by a regular file in between must not be cut short in place.
        const int opened = ::open(QFile::encodeName(target).constData(), O_WRONLY | O_NOCTTY | O_CLOEXEC);
        if (opened == -1) {
            return fail(kFileOpenError, qt_error_string(errno));
        }
        struct stat status {
        };
        if (::fstat(opened, &status) == -1 || !S_ISREG(status.st_mode)) {
            return openDirect(target, opened, true);
        }
        ::close(opened);
    }
    auto file = std::make_unique<QSaveFile>(target);
    // Unbuffered: a buffered QSaveFile (Qt 6.4) flushes at commit, takes a short write there
    // (full disk, file-size limit) for success and renames the truncated file over the old one.
    // Written directly, the short count shows at once and the old file stays.
    if (!file->open(QIODevice::WriteOnly | QIODevice::Unbuffered)) {
        return fail(kFileOpenError, file->errorString());
    }
    m_device = std::move(file);
    return Error();
}

Error AtomicFileWriter::openDirect(const QString &target, int descriptor, bool owned)
{
    auto file = std::make_unique<QFile>(target);
    if (!file->open(descriptor, QIODevice::WriteOnly | QIODevice::Unbuffered, QFileDevice::DontCloseHandle)) {
        if (owned) {
            ::close(descriptor);
        }
        return fail(kFileOpenError, file->errorString());
    }
    m_device = std::move(file);
    m_ownedDescriptor = owned ? descriptor : -1;
    m_direct = true;
    return Error();
}

QIODevice *AtomicFileWriter::device() const noexcept
{
    return m_device.get();
}

Error AtomicFileWriter::write(const char *data, qint64 size)
{
    if (!m_device || m_failed) {
        return fail(kError, notOpen());
    }
    // A write cut short (the file-size limit reached half-way) returns a short count without a
    // reason; writing the rest then fails with the system's reason.
    for (qint64 done = 0; done < size;) {
        const qint64 written = m_device->write(data + done, size - done);
        if (written <= 0) {
            return fail(kError, m_device->errorString());
        }
        done += written;
    }
    return Error();
}

Error AtomicFileWriter::commit()
{
    if (!m_device || m_failed) {
        return fail(kError, notOpen());
    }
    if (!m_direct) {
        if (!static_cast<QSaveFile *>(m_device.get())->commit()) {
            return fail(kError, m_device->errorString());
        }
        m_device.reset();
        return Error();
    }
    QString reason = m_device->error() == QFileDevice::NoError ? QString() : m_device->errorString();
    m_device->close();
    // A file system may report a failed write only when the file is closed.
    if (m_ownedDescriptor >= 0 && ::close(std::exchange(m_ownedDescriptor, -1)) == -1 && reason.isEmpty()) {
        reason = qt_error_string(errno);
    }
    if (!reason.isEmpty()) {
        return fail(kError, reason);
    }
    m_device.reset();
    return Error();
}

void AtomicFileWriter::cancel()
{
    if (m_device && !m_direct) {
        static_cast<QSaveFile *>(m_device.get())->cancelWriting();
    }
    // Destroying an uncommitted QSaveFile removes its temporary file.
    m_device.reset();
    if (m_ownedDescriptor >= 0) {
        ::close(std::exchange(m_ownedDescriptor, -1));
    }
}

QString AtomicFileWriter::notOpen() const
{
    return m_failed ? QStringLiteral("an earlier write failed") : QStringLiteral("it is not open");
}

Error AtomicFileWriter::fail(ErrorCode code, const QString &reason)
{
    Error err(code, QStringLiteral("Can't write %1: %2").arg(m_path, reason));
    m_failed = m_device != nullptr;
    if (m_device && !m_direct) {
        static_cast<QSaveFile *>(m_device.get())->cancelWriting();
    }
    return ZEQ_ECATCH(err);
}
