#pragma once

#include "zeq_common_stable/Error.h"
#include "zeq_qt_shared_libs_core_export.h"

#include <QList>
#include <QString>

#include <functional>
#include <memory>
#include <string>

class QIODevice;

/// One protein of a FASTA file.
struct FastaEntry {
    QString name; ///< the header's text, after '>' when the reader strips it
    QString sequence; ///< the sequence lines joined; empty for a header without any
    qint64 headerLine = 0; ///< line of the header, from 1
};

/// Reads the proteins of a UTF-8 FASTA text one at a time, in file order.
///
/// Accepts LF, CRLF and lone CR line ends, a UTF-8 byte-order mark, blank lines, ';' comment lines,
/// white space at line ends (dropped), a last line without a line end and lines of any length.
/// Characters inside a sequence line are kept as they are, so that a sequence check can report
/// them.
///
/// Memory stays the same whatever the file's size: one block of the file (1 MiB, which grows only
/// to hold a header line longer than itself) and the entry handed to next(), whose strings are
/// reused from protein to protein while the caller keeps no copy of them.
///
/// Errors name the file and, for content, the line: a missing or unreadable file, a NUL byte
/// (binary data), sequence text before the first header, more proteins than the limit. Proteins
/// before a malformed line have been handed out by then.
class ZEQ_QT_SHARED_LIBS_CORE_EXPORT FastaReader
{
public:
    FastaReader();
    ~FastaReader();
    FastaReader(const FastaReader &) = delete;
    FastaReader &operator=(const FastaReader &) = delete;

    /// Reads the file at `path`. kFileOpenError when it is missing, a folder or cannot be opened.
    [[nodiscard]] Error open(const QString &path);
    /// Reads `device` instead, open for reading; it is not closed. `fileName` names it in messages.
    void setDevice(QIODevice *device, const QString &fileName);
    /// Keeps the '>' at the start of each name (by default it is dropped). Set before next().
    void setStripMarker(bool strip) noexcept;
    /// The most proteins the text may hold; 0 or less: no limit (the default). A text with more is
    /// an error at the first header past the limit.
    void setLimit(int limit) noexcept;

    /// Reads the next protein into `*entry`. False at the end of the text or on failure, which
    /// error() then holds; the reader stays there.
    [[nodiscard]] bool next(FastaEntry *entry);
    [[nodiscard]] const Error &error() const noexcept;
    /// The file as messages name it.
    [[nodiscard]] QString fileName() const;

private:
    class Parser;
    std::unique_ptr<Parser> m_parser;
};

/// Reads the proteins of a UTF-8 FASTA file into two parallel lists, in file order: each header's
/// text (after '>' when `stripMarker`, else with it) and its sequence, as FastaReader reads them.
///
/// `limit` is the most proteins the file may hold (0 or less: no limit); a file with more is an
/// error, never cut short. `progress`, when set, is called after every 1,000 proteins with a
/// short text; returning false stops the read with an error.
///
/// `headerLines`, when given, receives the line number (from 1) of each protein's header.
///
/// The lists are cleared first and are left empty on failure. Errors are FastaReader's, and a stop
/// asked by `progress`.
[[nodiscard]] ZEQ_QT_SHARED_LIBS_CORE_EXPORT Error readFasta(const std::wstring &path,
                                                             int limit,
                                                             bool stripMarker,
                                                             QList<QString> *names,
                                                             QList<QString> *sequences,
                                                             const std::function<bool(const QString &)> &progress,
                                                             QList<qint64> *headerLines = nullptr);
