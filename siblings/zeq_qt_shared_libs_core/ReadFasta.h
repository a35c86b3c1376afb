#pragma once

#include "zeq_common_stable/Error.h"
#include "zeq_qt_shared_libs_core_export.h"

#include <QList>
#include <QString>

#include <functional>
#include <string>

/// Reads the proteins of a UTF-8 FASTA file into two parallel lists, in file order: each header's
/// text (after '>' when `stripMarker`, else with it) and its sequence, the sequence lines joined.
///
/// Accepts LF, CRLF and lone CR line ends, a UTF-8 byte-order mark, blank lines, ';' comment lines,
/// white space at line ends (dropped), a last line without a line end and lines of any length.
/// Characters inside a sequence line are kept as they are, so that a sequence check can report
/// them. A header without sequence lines gives an empty sequence.
///
/// `limit` is the most proteins the file may hold (0 or less: no limit); a file with more is an
/// error, never cut short. `progress`, when set, is called after every 1,000 proteins with a
/// short text; returning false stops the read with an error.
///
/// `headerLines`, when given, receives the line number (from 1) of each protein's header.
///
/// The lists are cleared first and are left empty on failure. Errors name the file and, for
/// content, the line: a missing or unreadable file, a NUL byte (binary data), sequence text before
/// the first header, too many proteins, a stop asked by `progress`.
///
/// The file is read in large blocks; besides the output lists it holds one block, which grows only
/// to hold a header line longer than itself.
[[nodiscard]] ZEQ_QT_SHARED_LIBS_CORE_EXPORT Error readFasta(const std::wstring &path,
                                                             int limit,
                                                             bool stripMarker,
                                                             QList<QString> *names,
                                                             QList<QString> *sequences,
                                                             const std::function<bool(const QString &)> &progress,
                                                             QList<qint64> *headerLines = nullptr);
