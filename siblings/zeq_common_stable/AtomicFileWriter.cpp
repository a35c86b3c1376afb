#include "zeq_common_stable/AtomicFileWriter.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSaveFile>

namespace
{

// As many links as the Linux kernel follows in one path.
constexpr int kMaxLinks = 40;

// The descriptor that `path` names when it is one of this process's descriptor links, or -1.
// Opening such a link anew would start at offset 0 and truncate a file the shell opened for
// appending; writing through the descriptor itself is what a redirection to it means.
int ownDescriptor(const QString &path)
{
    if (path == u"/dev/stdout") {
        return 1;
    }
    if (path == u"/dev/stderr") {
        return 2;
    }
    static const QRegularExpression link(QStringLiteral(R"(^/(?:dev|proc/(self|thread-self|\d{1,10}))/fd/(\d{1,9})$)"));
    const QRegularExpressionMatch match = link.match(path);
    if (!match.hasMatch()) {
        return -1;
    }
    const QString process = match.captured(1);
    const bool own =
        process.isEmpty() || !process.front().isDigit() || process.toLongLong() == QCoreApplication::applicationPid();
    return own ? match.captured(2).toInt() : -1;
}

} // namespace

AtomicFileWriter::AtomicFileWriter(const QString &path)
    : m_path(path)
{
}

AtomicFileWriter::~AtomicFileWriter() = default;

Error AtomicFileWriter::open()
{
    if (m_device) {
        // Not through fail(): what is being written stays.
        Error err(kError, QStringLiteral("Can't write %1: it is open already").arg(m_path));
        return ZEQ_ECATCH(err);
    }
    if (m_path.trimmed().isEmpty()) {
        Error err(kBadParameterError, QStringLiteral("No file name to write to"));
        return ZEQ_ECATCH(err);
    }
    m_failed = false;
    m_direct = false;
    // Links are followed here rather than left to QSaveFile, so that the kind of the final target,
    // and any descriptor link on the way, decides how it is written.
    QString target = m_path;
    int descriptor = ownDescriptor(target);
    for (int hop = 0; descriptor < 0 && QFileInfo(target).isSymLink(); ++hop) {
        if (hop == kMaxLinks) {
            return fail(kFileOpenError, QStringLiteral("too many levels of symbolic links"));
        }
        target = QFileInfo(target).symLinkTarget();
        descriptor = ownDescriptor(target);
    }
    const QFileInfo info(target);
    if (descriptor < 0 && info.isDir()) {
        return fail(kFileOpenError, QStringLiteral("it is a folder, not a file"));
    }
    m_direct = descriptor >= 0 || (info.exists() && !info.isFile());
    bool opened = false;
    if (m_direct) {
        auto file = std::make_unique<QFile>(target);
        opened = descriptor >= 0
            ? file->open(descriptor, QIODevice::WriteOnly | QIODevice::Unbuffered, QFileDevice::DontCloseHandle)
            : file->open(QIODevice::WriteOnly | QIODevice::Unbuffered);
        m_device = std::move(file);
    } else {
        auto file = std::make_unique<QSaveFile>(target);
        // Unbuffered: a buffered QSaveFile (Qt 6.4) flushes at commit, takes a short write there
        // (full disk, file-size limit) for success and renames the truncated file over the old one.
        // Written directly, the short count shows at once and the old file stays.
        opened = file->open(QIODevice::WriteOnly | QIODevice::Unbuffered);
        m_device = std::move(file);
    }
    if (!opened) {
        Error err = fail(kFileOpenError, m_device->errorString());
        m_device.reset();
        return err;
    }
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
    if (m_device->write(data, size) != size) {
        return fail(kError, m_device->errorString());
    }
    return Error();
}

Error AtomicFileWriter::commit()
{
    if (!m_device || m_failed) {
        return fail(kError, notOpen());
    }
    bool done = false;
    if (m_direct) {
        done = m_device->error() == QFileDevice::NoError;
        m_device->close();
    } else {
        done = static_cast<QSaveFile *>(m_device.get())->commit();
    }
    if (!done) {
        return fail(kError, m_device->errorString());
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
