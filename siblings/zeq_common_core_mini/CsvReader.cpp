#include "zeq_common_core_mini/CsvReader.h"

#include "Csv_p.h"

#include <QFileInfo>
#include <QUtf8StringView>

#include <cstring>

namespace
{

bool isLineEnd(char c)
{
    return c == '\n' || c == '\r';
}

// Line ends in [begin, end): LF, CRLF and a lone CR count one each. A CR as the last byte counts,
// which is right for callers that stop at a quote or at a byte they report.
qsizetype countLineEnds(const char *begin, const char *end)
{
    qsizetype count = 0;
    for (const char *p = begin; p < end; ++p) {
        if (*p == '\n' || (*p == '\r' && (p + 1 == end || p[1] != '\n'))) {
            ++count;
        }
    }
    return count;
}

// The first line (counted from 1) that is not valid UTF-8, or 0. Only for the message of a file
// already known to be bad: a line end is never part of a multi-byte sequence.
qsizetype firstLineNotUtf8(const char *begin, const char *end)
{
    qsizetype line = 1;
    const char *start = begin;
    for (const char *p = begin;; ++p) {
        if (p == end || isLineEnd(*p)) {
            if (!QUtf8StringView(start, p - start).isValidUtf8()) {
                return line;
            }
            if (p == end) {
                return 0;
            }
            if (*p == '\r' && p + 1 < end && p[1] == '\n') {
                ++p;
            }
            ++line;
            start = p + 1;
        }
    }
}

constexpr char kByteOrderMark[] = "\xEF\xBB\xBF";

bool startsWithByteOrderMark(const char *begin, const char *end)
{
    return end - begin >= 3 && std::memcmp(begin, kByteOrderMark, 3) == 0;
}

// QString::fromUtf8 drops a byte-order mark at the start of its input; inside a file it is text.
QString decode(const char *begin, const char *end)
{
    qsizetype marks = 0;
    for (; startsWithByteOrderMark(begin, end); begin += 3) {
        ++marks;
    }
    return marks == 0 ? QString::fromUtf8(begin, end - begin)
                      : QString(marks, QChar::ByteOrderMark) + QString::fromUtf8(begin, end - begin);
}

} // namespace

CsvReader::CsvReader(const QString &path, QChar separator)
    : m_path(path)
    , m_separator(separator)
{
}

CsvReader::~CsvReader() = default;

Error CsvReader::open()
{
    if (!canSeparateCsvFields(m_separator)) {
        fail(kBadParameterError, cannotSeparateMessage(QStringLiteral("Can't read"), m_path, m_separator));
        return ZEQ_ECATCH(m_error);
    }
    if (QFileInfo(m_path).isDir()) {
        fail(kFileOpenError, QStringLiteral("Can't read %1: it is a folder, not a file").arg(m_path));
        return ZEQ_ECATCH(m_error);
    }
    m_file.setFileName(m_path);
    if (!m_file.open(QIODevice::ReadOnly)) {
        fail(kFileOpenError, QStringLiteral("Can't read %1: %2").arg(m_path, m_file.errorString()));
        return ZEQ_ECATCH(m_error);
    }
    // Mapping spares a copy of the file; files of unknown size (pipes, /proc) are read instead.
    const qint64 size = m_file.size();
    if (const uchar *mapped = size > 0 ? m_file.map(0, size) : nullptr) {
        m_pos = reinterpret_cast<const char *>(mapped);
        m_end = m_pos + size;
    } else {
        m_copy = m_file.readAll();
        if (m_file.error() != QFileDevice::NoError) {
            fail(kFileOpenError, QStringLiteral("Can't read %1: %2").arg(m_path, m_file.errorString()));
            return ZEQ_ECATCH(m_error);
        }
        m_pos = m_copy.constData();
        m_end = m_pos + m_copy.size();
    }
    if (startsWithByteOrderMark(m_pos, m_end)) {
        m_pos += 3;
    }
    if (!checkText()) {
        return ZEQ_ECATCH(m_error);
    }
    return m_error;
}

bool CsvReader::checkText()
{
    const auto size = size_t(m_end - m_pos);
    if (const void *nul = std::memchr(m_pos, 0, size)) {
        const qsizetype line = 1 + countLineEnds(m_pos, static_cast<const char *>(nul));
        return fail(
            kBadParameterError,
            QStringLiteral("%1 line %2: a NUL byte; this is a binary file, not CSV text").arg(m_path).arg(line));
    }
    if (!QUtf8StringView(m_pos, qsizetype(size)).isValidUtf8()) {
        return fail(kBadParameterError,
                    QStringLiteral("%1 line %2: bytes that are not UTF-8 text (save the file as UTF-8)")
                        .arg(m_path)
                        .arg(firstLineNotUtf8(m_pos, m_end)));
    }
    return true;
}

bool CsvReader::readRecord(QList<QString> &fields)
{
    fields.clear();
    if (m_error.hasError() || !m_pos) {
        return false;
    }
    while (m_pos < m_end && isLineEnd(*m_pos)) {
        skipLineEnd();
    }
    if (m_pos == m_end) {
        return false;
    }
    m_recordLine = m_line;
    const char separator = char(m_separator.unicode());
    for (;;) {
        if (m_pos < m_end && *m_pos == '"') {
            QString field;
            if (!readQuoted(field)) {
                return false;
            }
            fields.append(std::move(field));
        } else {
            // A quote inside an unquoted field is kept as it is: it is not ambiguous, and real files
            // hold such fields (inches, for one).
            const char *start = m_pos;
            while (m_pos < m_end && *m_pos != separator && !isLineEnd(*m_pos)) {
                ++m_pos;
            }
            fields.append(decode(start, m_pos));
        }
        if (m_pos == m_end) {
            return true;
        }
        if (*m_pos != separator) {
            skipLineEnd();
            return true;
        }
        ++m_pos;
    }
}

bool CsvReader::readQuoted(QString &field)
{
    const qsizetype openedOn = m_line;
    ++m_pos;
    const char *start = m_pos;
    QByteArray unescaped; // only for fields that hold quotes
    for (;;) {
        const auto *quote = static_cast<const char *>(std::memchr(m_pos, '"', size_t(m_end - m_pos)));
        if (!quote) {
            return fail(kBadParameterError,
                        QStringLiteral("%1 line %2: the quoted field that starts here is never closed")
                            .arg(m_path)
                            .arg(openedOn));
        }
        m_line += countLineEnds(m_pos, quote);
        if (quote + 1 < m_end && quote[1] == '"') {
            unescaped.append(start, quote + 1 - start);
            m_pos = start = quote + 2;
            continue;
        }
        if (unescaped.isNull()) {
            field = decode(start, quote);
        } else {
            unescaped.append(start, quote - start);
            field = decode(unescaped.cbegin(), unescaped.cend());
        }
        m_pos = quote + 1;
        if (m_pos < m_end && *m_pos != char(m_separator.unicode()) && !isLineEnd(*m_pos)) {
            return fail(kBadParameterError,
                        QStringLiteral("%1 line %2: text after the closing quote of a field (a quote inside a "
                                       "quoted field is written twice)")
                            .arg(m_path)
                            .arg(m_line));
        }
        return true;
    }
}

void CsvReader::skipLineEnd()
{
    if (*m_pos == '\r' && m_pos + 1 < m_end && m_pos[1] == '\n') {
        ++m_pos;
    }
    ++m_pos;
    ++m_line;
}

bool CsvReader::fail(ErrorCode code, const QString &message)
{
    m_error = Error(code, message);
    return false;
}
