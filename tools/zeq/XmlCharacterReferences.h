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

/// Whether the file holds "&#", the start of a numeric character reference. Fails naming the file
/// when it cannot be read.
Result<bool> holdsNumericReference(const QString &path);

/// Copies `from` to `to` with each numeric character reference ("&#8211;", "&#x2013;") replaced by
/// its character in UTF-8; a character that markup needs escaped (< > & " ') becomes its named
/// entity. The bytes a tag's references save are paid back as blanks after the next end tag or
/// empty tag, where white space is ignorable, so that the file's index of byte offsets stays
/// right. Fails, naming `name` and the byte offset, on a malformed reference or one naming no XML
/// character, and on a failed read or write.
Error decodeNumericReferences(QIODevice &from, QIODevice &to, const QString &name);

} // namespace zeq::cli
