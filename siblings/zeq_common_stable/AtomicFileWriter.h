#pragma once

#include "zeq_common_stable/Error.h"
#include "zeq_common_stable_export.h"

#include <QByteArray>
#include <QString>

#include <memory>

class QFileDevice;
class QIODevice;

/// The one way output files are written. A new path or a regular file is written to a temporary file
/// beside it that replaces it only at commit(), so a failure (a full disk, a write cut short, a
/// writer destroyed before commit()) leaves an earlier file whole and no partial one. A symbolic
/// link is followed: its final target is replaced and the link stays a link. A target that exists
/// and is not a regular file (a FIFO, a device such as /dev/null, a socket) cannot be replaced and
/// is written directly, as is one of this process's own descriptors named as /dev/stdout,
/// /dev/stderr, /dev/fd/N or /proc/self/fd/N (through the descriptor, keeping its position and
/// append mode); what reaches such a target cannot be taken back.
class ZEQ_COMMON_STABLE_EXPORT AtomicFileWriter
{
public:
    explicit AtomicFileWriter(const QString &path);
    AtomicFileWriter(const AtomicFileWriter &) = delete;
    AtomicFileWriter &operator=(const AtomicFileWriter &) = delete;
    /// Without commit() the temporary file is dropped.
    ~AtomicFileWriter();

    /// kBadParameterError for an empty path; kFileOpenError when the path names a folder, the links
    /// loop, or the file (or the temporary file beside it) cannot be made.
    [[nodiscard]] Error open();
    /// The open, unbuffered device, for code that writes to a QIODevice itself; null unless open.
    /// A failed write to it makes commit() fail.
    [[nodiscard]] QIODevice *device() const noexcept;
    /// kError when not every byte is written (the reason from the system); the writer is then
    /// cancelled and commit() fails.
    [[nodiscard]] Error write(const char *data, qint64 size);
    [[nodiscard]] Error write(const QByteArray &data) { return write(data.constData(), data.size()); }
    /// Replaces the target with what was written (or closes a target written directly). kError
    /// when a write failed earlier, the writer is not open, or the replacement fails.
    [[nodiscard]] Error commit();
    /// Drops what was written to a temporary file; the target keeps its earlier content.
    void cancel();

    /// True when open() found a target that is written directly rather than replaced.
    [[nodiscard]] bool writesDirectly() const noexcept { return m_direct; }
    [[nodiscard]] const QString &path() const noexcept { return m_path; }

private:
    [[nodiscard]] QString notOpen() const;
    Error fail(ErrorCode code, const QString &reason);

    QString m_path;
    std::unique_ptr<QFileDevice> m_device;
    bool m_direct = false;
    bool m_failed = false;
};
