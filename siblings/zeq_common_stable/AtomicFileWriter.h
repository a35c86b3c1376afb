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
/// is written directly, without being created or truncated. A descriptor link (/dev/fd/N,
/// /proc/self/fd/N, and /dev/stdout, a link to one) is written through the descriptor, keeping its
/// position and append mode, if the process was handed it open for writing; the process's own
/// descriptors (close-on-exec) are refused. What reaches a target written directly cannot be taken
/// back.
class ZEQ_COMMON_STABLE_EXPORT AtomicFileWriter
{
public:
    explicit AtomicFileWriter(const QString &path);
    AtomicFileWriter(const AtomicFileWriter &) = delete;
    AtomicFileWriter &operator=(const AtomicFileWriter &) = delete;
    /// Without commit() the temporary file is dropped.
    ~AtomicFileWriter();

    /// kBadParameterError for an empty path; kFileOpenError when the path names a folder, the links
    /// loop, a descriptor not open for writing, or the file (or the temporary file beside it) cannot
    /// be made or opened.
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

private:
    /// Writes through `descriptor`, which is closed at the end when `owned`.
    [[nodiscard]] Error openDirect(const QString &target, int descriptor, bool owned);
    [[nodiscard]] QString notOpen() const;
    Error fail(ErrorCode code, const QString &reason);

    QString m_path;
    std::unique_ptr<QFileDevice> m_device;
    int m_ownedDescriptor = -1;
    bool m_direct = false;
    bool m_failed = false;
};
