#pragma once

#include "utils/Result.h"

#include <QIODevice>
#include <QString>

namespace zeq::cli
{

// Debian's reader library (3.0.18342) reads past the end of a heap buffer on every numeric
// character reference ("&#65;") in an mzML or mzXML attribute, and refuses a file whose reference
// names a character above U+00FF; such files are handed to it with the references decoded (see
// docs/reliability.md).

/// Whether the file at `path` holds "&#", the start of a numeric character reference. Fails naming
/// it `shownName` when it cannot be read, and when it holds a NUL byte: never XML, and the reader
/// library's parser crashes on one inside a tag.
Result<bool> holdsNumericReference(const QString &path, const QString &shownName);

/// Copies `from` to `to` with each numeric character reference ("&#8211;", "&#x2013;") replaced by
/// its character in UTF-8; a character that markup needs escaped (< > &, and a quote inside a value
/// it delimits) becomes its named entity. So that the file's index of byte offsets stays right,
/// the bytes a tag's references save are paid back as blanks after the next end tag or empty tag,
/// where white space is ignorable, and the byte that "&#34;" costs inside "..." (or "&#39;"
/// inside '...') is taken from the white space there. Fails, naming `name` and the byte offset, on
/// a malformed reference or one naming no XML character, when no white space follows to take a
/// cost from, and on a failed read or write.
Error decodeNumericReferences(QIODevice &from, QIODevice &to, const QString &name);

} // namespace zeq::cli
