#pragma once

#include "zeq_common_core_mini_export.h"
#include "zeq_common_stable/Error.h"

#include <QByteArray>
#include <QChar>
#include <QFile>
#include <QList>
#include <QString>

/// Splits a UTF-8 CSV file into records of texts (RFC 4180): fields separated by one ASCII
/// character; a field in double quotes may hold separators, line breaks and quotes written twice;
/// lines end in CRLF, LF or a lone CR, and the last one may lack its end. A UTF-8 byte-order mark
/// at the start is skipped, and so are empty lines between records. Fields come back exactly as
/// written (no trimming); the line breaks inside a quoted field are kept as they are in the file.
///
/// The whole file is checked once when opened: bytes that are not UTF-8 text, or a NUL byte, make
/// it a binary file that is refused with the line where the fault is.
class ZEQ_COMMON_CORE_MINI_EXPORT CsvReader
{
public:
    explicit CsvReader(const QString &path, QChar separator = u',');
    CsvReader(const CsvReader &) = delete;
    CsvReader &operator=(const CsvReader &) = delete;
    ~CsvReader();

    /// kFileOpenError when the file is missing, a folder or unreadable; kBadParameterError for a
    /// separator that cannot be one (a quote, CR, LF or a non-ASCII character) and for binary data.
    Error open();
    /// Replaces `fields` with the next record. False at the end of the file and on a malformed
    /// record; error() then tells which.
    [[nodiscard]] bool readRecord(QList<QString> &fields);
    /// Success unless open() or readRecord() failed.
    [[nodiscard]] const Error &error() const noexcept { return m_error; }
    /// The line, counted from 1, on which the record read last begins.
    [[nodiscard]] qsizetype recordLine() const noexcept { return m_recordLine; }
    [[nodiscard]] const QString &path() const noexcept { return m_path; }

private:
    bool fail(ErrorCode code, const QString &message);
    bool checkText();
    bool readQuoted(QString &field);
    void skipLineEnd();

    QString m_path;
    QChar m_separator;
    QFile m_file;
    QByteArray m_copy; // the file's bytes when it cannot be mapped
    const char *m_pos = nullptr;
    const char *m_end = nullptr;
    qsizetype m_line = 1;
    qsizetype m_recordLine = 0;
    Error m_error;
};
