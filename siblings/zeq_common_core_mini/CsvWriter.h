#pragma once

#include "zeq_common_core_mini_export.h"
#include "zeq_common_stable/AtomicFileWriter.h"
#include "zeq_common_stable/Error.h"

#include <QByteArray>
#include <QChar>
#include <QList>
#include <QString>
#include <QStringEncoder>
#include <QStringView>

/// The one CSV quoting rule of the applications, for every CSV they write: true when `field` must
/// be quoted because it holds the separator, a quote, CR or LF (RFC 4180), starts or ends with
/// white space (CsvReader and other readers trim unquoted fields, so the blanks would be lost), or
/// starts with a byte-order mark (at the start of a file it would be taken for the encoding mark).
[[nodiscard]] ZEQ_COMMON_CORE_MINI_EXPORT bool csvFieldNeedsQuotes(QStringView field, QChar separator = u',');
/// `field` as it is written in a CSV line: quoted, its quotes written twice, when
/// csvFieldNeedsQuotes() says so, otherwise as it is.
[[nodiscard]] ZEQ_COMMON_CORE_MINI_EXPORT QString csvField(const QString &field, QChar separator = u',');

/// Writes rows of texts as a UTF-8 CSV file that CsvReader reads back identical, fields quoted by
/// csvFieldNeedsQuotes(); a row of one empty field is written as "" so that it is not an empty line
/// (a row of no fields is one, and readers skip it). Line ends are written as given, byte for byte.
///
/// The file is written through AtomicFileWriter: nothing replaces the destination until commit()
/// succeeds, and a writer destroyed before that leaves any earlier file as it was.
class ZEQ_COMMON_CORE_MINI_EXPORT CsvWriter
{
public:
    /// `lineEnd` is "\r\n", "\n" or "\r"; `separator` an ASCII character other than a quote, CR or LF.
    explicit CsvWriter(const QString &path, const QString &lineEnd = QStringLiteral("\r\n"), QChar separator = u',');
    CsvWriter(const CsvWriter &) = delete;
    CsvWriter &operator=(const CsvWriter &) = delete;
    ~CsvWriter();

    /// False when the line end or separator cannot be used (kBadParameterError) or the destination
    /// cannot be written (kFileOpenError); error() says why.
    [[nodiscard]] bool open();
    /// False when the writer is not open, when a field holds a NUL character or text that is not
    /// valid UTF-16 (either could not be read back), or when writing fails. After a failure the
    /// writer refuses further rows and commit().
    [[nodiscard]] bool writeRow(const QList<QString> &fields);
    /// Writes what is buffered and replaces the destination.
    [[nodiscard]] bool commit();
    [[nodiscard]] const Error &error() const noexcept { return m_error; }

private:
    bool fail(ErrorCode code, const QString &message);
    void appendText(QStringView text, bool ascii);
    bool flush();

    QString m_path;
    QString m_lineEndText;
    QChar m_separator;
    AtomicFileWriter m_file;
    QStringEncoder m_encoder;
    QByteArray m_buffer;
    QByteArray m_lineEnd;
    qsizetype m_rows = 0;
    bool m_open = false;
    Error m_error;
};
