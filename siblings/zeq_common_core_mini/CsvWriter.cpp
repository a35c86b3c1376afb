#include "zeq_common_core_mini/CsvWriter.h"

#include "Csv_p.h"

namespace
{

// Rows are gathered into one buffer and handed to the file in large blocks.
constexpr qsizetype kFlushSize = 1 << 20;

// The CSV rule in two parts, so that the writer applies it within its one pass over a field.
bool quotedForCharacter(char16_t u, char16_t separator)
{
    return u == separator || u == u'"' || u == u'\r' || u == u'\n';
}

bool quotedForEnds(QStringView field)
{
    return !field.isEmpty()
        && (field.front().isSpace() || field.back().isSpace() || field.front() == QChar::ByteOrderMark);
}

struct FieldShape {
    bool quote = false;
    bool ascii = true;
    bool nul = false;
    bool badSurrogate = false; // UTF-8 has no form for it
};

// The separator is ASCII (open() checks it), so only ASCII characters can ask for quotes inside.
FieldShape shapeOf(QStringView field, char16_t separator)
{
    FieldShape shape;
    shape.quote = quotedForEnds(field);
    for (qsizetype i = 0; i < field.size(); ++i) {
        const char16_t u = field[i].unicode();
        if (u >= 0x80) {
            shape.ascii = false;
            if (QChar::isHighSurrogate(u) && i + 1 < field.size() && field[i + 1].isLowSurrogate()) {
                ++i;
            } else if (QChar::isSurrogate(u)) {
                shape.badSurrogate = true;
            }
        } else if (quotedForCharacter(u, separator)) {
            shape.quote = true;
        } else if (u == 0) {
            shape.nul = true;
        }
    }
    return shape;
}

} // namespace

bool csvFieldNeedsQuotes(QStringView field, QChar separator)
{
    if (quotedForEnds(field)) {
        return true;
    }
    for (const QChar c : field) {
        if (quotedForCharacter(c.unicode(), separator.unicode())) {
            return true;
        }
    }
    return false;
}

QString csvField(const QString &field, QChar separator)
{
    if (!csvFieldNeedsQuotes(field, separator)) {
        return field;
    }
    return u'"' + QString(field).replace(u'"', QLatin1String("\"\"")) + u'"';
}

CsvWriter::CsvWriter(const QString &path, const QString &lineEnd, QChar separator)
    : m_path(path)
    , m_lineEndText(lineEnd)
    , m_separator(separator)
    , m_file(path)
    , m_encoder(QStringConverter::Utf8, QStringConverter::Flag::Stateless)
{
}

CsvWriter::~CsvWriter() = default;

bool CsvWriter::open()
{
    if (m_lineEndText != u"\r\n" && m_lineEndText != u"\n" && m_lineEndText != u"\r") {
        return fail(
            kBadParameterError,
            QStringLiteral("Can't write %1: a CSV line ends in CRLF, LF or CR, not \"%2\"").arg(m_path, m_lineEndText));
    }
    if (!canSeparateCsvFields(m_separator)) {
        return fail(kBadParameterError, cannotSeparateMessage(QStringLiteral("Can't write"), m_path, m_separator));
    }
    // Rows are gathered into large writes here, as the writer's device is unbuffered.
    if (const Error err = m_file.open(); err.hasError()) {
        return fail(err.code(), err.errorString());
    }
    m_lineEnd = m_lineEndText.toLatin1();
    m_buffer.reserve(kFlushSize + (1 << 16));
    m_rows = 0;
    m_open = true;
    return true;
}

bool CsvWriter::writeRow(const QList<QString> &fields)
{
    if (!m_open) {
        return m_error.hasError() ? false : fail(kError, QStringLiteral("Can't write %1: not open").arg(m_path));
    }
    ++m_rows;
    const char16_t separator = m_separator.unicode();
    for (qsizetype i = 0; i < fields.size(); ++i) {
        if (i > 0) {
            m_buffer.append(char(separator));
        }
        const QString &field = fields.at(i);
        const FieldShape shape = shapeOf(field, separator);
        if (shape.nul || shape.badSurrogate) {
            return fail(kBadParameterError,
                        QStringLiteral("Can't write %1: row %2, field %3 holds %4, which CSV text cannot carry")
                            .arg(m_path)
                            .arg(m_rows)
                            .arg(i + 1)
                            .arg(shape.nul ? QStringLiteral("a NUL character")
                                           : QStringLiteral("half of a UTF-16 surrogate pair")));
        }
        if (shape.quote) {
            appendText(csvField(field, m_separator), shape.ascii);
        } else {
            appendText(field, shape.ascii);
        }
    }
    if (fields.size() == 1 && fields.first().isEmpty()) {
        m_buffer.append("\"\"");
    }
    m_buffer.append(m_lineEnd);
    return m_buffer.size() < kFlushSize || flush();
}

bool CsvWriter::commit()
{
    if (!m_open) {
        return m_error.hasError() ? false : fail(kError, QStringLiteral("Can't write %1: not open").arg(m_path));
    }
    if (!flush()) {
        return false;
    }
    m_open = false;
    if (const Error err = m_file.commit(); err.hasError()) {
        return fail(err.code(), err.errorString());
    }
    return true;
}

void CsvWriter::appendText(QStringView text, bool ascii)
{
    const qsizetype at = m_buffer.size();
    if (ascii) {
        m_buffer.resize(at + text.size());
        char *out = m_buffer.data() + at;
        for (const QChar c : text) {
            *out++ = char(c.unicode());
        }
        return;
    }
    m_buffer.resize(at + m_encoder.requiredSpace(text.size()));
    const char *end = m_encoder.appendToBuffer(m_buffer.data() + at, text);
    m_buffer.resize(end - m_buffer.constData());
}

bool CsvWriter::flush()
{
    if (const Error err = m_file.write(m_buffer); err.hasError()) {
        return fail(err.code(), err.errorString());
    }
    m_buffer.resize(0);
    return true;
}

bool CsvWriter::fail(ErrorCode code, const QString &message)
{
    m_error = Error(code, message);
    m_open = false;
    m_buffer.clear();
    // Drops the temporary file now; the destination, if any, keeps its earlier content.
    m_file.cancel();
    return false;
}
