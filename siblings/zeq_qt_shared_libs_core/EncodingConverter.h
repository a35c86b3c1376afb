#pragma once

#include "zeq_qt_shared_libs_core_export.h"

#include <QByteArray>
#include <QString>
#include <QStringConverter>

#include <memory>

class QFile;
class QTemporaryFile;

/// Hands readers that take only UTF-8 a UTF-8 version of a text file.
///
/// The source encoding is detected: UTF-8 with or without a byte-order mark, UTF-16 LE or BE with
/// a byte-order mark, anything else Latin-1. A UTF-8 file is used as it is; the others are written
/// to a temporary UTF-8 file that this object owns and removes when destroyed. Line ends are kept,
/// so line numbers in the copy are those of the original.
class ZEQ_QT_SHARED_LIBS_CORE_EXPORT EncodingConverter
{
public:
    /// `encoding` names the encoding wanted; only "UTF-8" (in any spelling Qt knows) is supported.
    EncodingConverter(const QString &path, const QByteArray &encoding);
    ~EncodingConverter();
    EncodingConverter(const EncodingConverter &) = delete;
    EncodingConverter &operator=(const EncodingConverter &) = delete;

    /// False when the file cannot be read or decoded: a folder, a missing file, UTF-32, UTF-16 with
    /// an odd byte count or a lone surrogate, or neither UTF-8 nor text (control bytes other than
    /// tab, line and page breaks); errorString() tells which.
    [[nodiscard]] bool convertEncoding();
    /// Detects the encoding and checks the whole file as convertEncoding() does, block by block,
    /// but writes no copy: outputFileName() stays the original path. For readers that decode the
    /// file themselves (a file that is not UTF-8 is then read through sourceEncoding()).
    [[nodiscard]] bool detectEncoding();
    /// The file to read: the original path, or the converted copy after a conversion.
    [[nodiscard]] QString outputFileName() const { return m_output; }
    /// "UTF-8", "UTF-16LE", "UTF-16BE" or "ISO-8859-1" once detected; empty before or on failure.
    [[nodiscard]] QByteArray sourceEncoding() const { return m_source; }
    [[nodiscard]] QString errorString() const { return m_error; }

private:
    bool fail(const QString &reason);
    bool run(bool copy);
    /// Checks the file as `encoding` and, when `copy`, writes the UTF-8 copy.
    bool convert(QFile &in, QStringConverter::Encoding encoding, bool copy);

    QString m_path;
    QByteArray m_target;
    QString m_output;
    QByteArray m_source;
    QString m_error;
    std::unique_ptr<QTemporaryFile> m_copy;
};
