#include "XmlCharacterReferences.h"

#include "CommandLine.h"

#include <QFile>

#include <algorithm>
#include <cstring>
#include <optional>
#include <string_view>

namespace zeq::cli
{

namespace
{

constexpr qint64 kBlockSize = qint64(1) << 20;
constexpr qint64 kScanBlockSize = qint64(4) << 20;
/// "&#x10FFFF;" plus room for leading zeros; a longer reference is refused as malformed.
constexpr qsizetype kLongestReference = 16;
constexpr qsizetype kLongestIndexedName = 16;

bool isXmlCharacter(char32_t c)
{
    return c == 0x9 || c == 0xA || c == 0xD || (c >= 0x20 && c <= 0xD7FF) || (c >= 0xE000 && c <= 0xFFFD)
        || (c >= 0x10000 && c <= 0x10FFFF);
}

/// `quote` is that of the attribute value being written, 0 outside one: a quote needs escaping
/// only inside a value it delimits, and escaped it is a byte longer than its reference.
void appendUtf8(QByteArray &out, char32_t c, char quote)
{
    switch (c) {
    case U'<':
        out += "&lt;";
        return;
    case U'>':
        out += "&gt;";
        return;
    case U'&':
        out += "&amp;";
        return;
    case U'"':
        out += quote == '"' ? "&quot;" : "\"";
        return;
    case U'\'':
        out += quote == '\'' ? "&apos;" : "'";
        return;
    default:
        break;
    }
    if (c < 0x80) {
        out += char(c);
    } else if (c < 0x800) {
        out += char(0xC0 | (c >> 6));
        out += char(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += char(0xE0 | (c >> 12));
        out += char(0x80 | ((c >> 6) & 0x3F));
        out += char(0x80 | (c & 0x3F));
    } else {
        out += char(0xF0 | (c >> 18));
        out += char(0x80 | ((c >> 12) & 0x3F));
        out += char(0x80 | ((c >> 6) & 0x3F));
        out += char(0x80 | (c & 0x3F));
    }
}

/// The character of the reference at the start of `text` ("&#...;"), its length in `*length`;
/// 0 with `*length` 0 when the reference is malformed or names no XML character.
char32_t parseReference(std::string_view text, qsizetype *length)
{
    *length = 0;
    const bool hex = text.size() > 2 && (text[2] == 'x' || text[2] == 'X');
    const std::size_t first = hex ? 3 : 2;
    char32_t value = 0;
    std::size_t i = first;
    for (; i < text.size() && text[i] != ';'; ++i) {
        const char c = text[i];
        int digit = -1;
        if (c >= '0' && c <= '9') {
            digit = c - '0';
        } else if (hex && c >= 'a' && c <= 'f') {
            digit = c - 'a' + 10;
        } else if (hex && c >= 'A' && c <= 'F') {
            digit = c - 'A' + 10;
        }
        if (digit < 0) {
            return 0;
        }
        // Stops growing past the largest code point, so that leading zeros are harmless.
        value = std::min<char32_t>(value * (hex ? 16 : 10) + char32_t(digit), 0x110000);
    }
    if (i == first || i >= text.size() || !isXmlCharacter(value)) {
        return 0;
    }
    *length = qsizetype(i + 1);
    return value;
}

bool isBlank(char c)
{
    return c == ' ' || c == '\n' || c == '\t' || c == '\r';
}

/// The elements whose byte offsets an mzML or mzXML index holds.
bool isIndexed(const QByteArray &element)
{
    return element == "spectrum" || element == "chromatogram" || element == "scan" || element == "indexList"
        || element == "index";
}

} // namespace

Result<bool> holdsNumericReference(const QString &path, const QString &shownName)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        Error err(kFileOpenError, QStringLiteral("Can't read %1: %2").arg(shownName, file.errorString()));
        return ZEQ_ECATCH(err);
    }
    // Every mzML and mzXML is read through here before the reader opens it: '&' is rare outside
    // references and a NUL byte absent from XML, so memchr does most of the work, over large blocks.
    QByteArray buffer(kScanBlockSize + 1, Qt::Uninitialized);
    char *const data = buffer.data();
    qint64 kept = 0; // a '&' that ended the previous block, moved to the front
    qint64 offset = 0; // of data[kept]
    bool holds = false;
    for (;;) {
        const qint64 got = file.read(data + kept, kScanBlockSize);
        if (got < 0) {
            Error err(kFileOpenError, QStringLiteral("Can't read %1: %2").arg(shownName, file.errorString()));
            return ZEQ_ECATCH(err);
        }
        if (got == 0) {
            return holds;
        }
        const char *const end = data + kept + got;
        if (const char *nul = static_cast<const char *>(std::memchr(data + kept, '\0', size_t(got)))) {
            Error err(kBadParameterError,
                      QStringLiteral("%1: unreadable spectrum file: byte %2 is a NUL byte, which XML does not allow")
                          .arg(shownName)
                          .arg(offset + (nul - data - kept)));
            return ZEQ_ECATCH(err);
        }
        for (const char *at = data;
             !holds && (at = static_cast<const char *>(std::memchr(at, '&', size_t(end - at))));) {
            if (at + 1 == end) {
                break;
            }
            holds = at[1] == '#';
            ++at;
        }
        offset += got;
        kept = end[-1] == '&' ? 1 : 0;
        data[0] = end[-1];
    }
}

Error decodeNumericReferences(QIODevice &from, QIODevice &to, const QString &name)
{
    QByteArray reference; // a reference read in part, "&" or "&#..."
    qint64 offset = 0; // of the byte being read
    qint64 referenceOffset = 0;
    // Bytes the decoded references saved, paid back with blanks; below 0, the bytes they cost,
    // taken from white space that follows.
    qsizetype owed = 0;
    qint64 costOffset = 0; // of the last reference that cost a byte
    QByteArray costReference;
    bool collecting = false; // a shortfall is taken from the white space after an end or empty tag
    std::optional<QByteArray> tagName; // of the start tag whose name is being read
    bool afterLt = false; // the last byte was a '<' outside a tag, whatever block it ended
    bool inTag = false; // comments, declarations and processing instructions are not tags
    bool endTag = false; // the tag being read is "</...>"
    char quote = 0; // the quote of the attribute value being read
    char previous = 0; // the last byte read outside a reference
    for (;;) {
        const QByteArray block = from.read(kBlockSize);
        if (block.isEmpty() && !from.atEnd()) {
            Error err(kFileOpenError, QStringLiteral("Can't read %1: %2").arg(name, from.errorString()));
            return ZEQ_ECATCH(err);
        }
        const bool atEnd = block.isEmpty();
        QByteArray out;
        out.reserve(block.size() + 64);
        for (qsizetype i = 0; i < block.size() || (atEnd && !reference.isEmpty()); ++i, ++offset) {
            const char c = i < block.size() ? block.at(i) : '\0';
            if (!reference.isEmpty()) {
                if (reference.size() == 1 && (atEnd || c != '#')) {
                    out += reference;
                    reference.clear();
                } else if (!atEnd && c != ';' && reference.size() < kLongestReference) {
                    reference += c;
                    continue;
                } else {
                    if (!atEnd) {
                        reference += c;
                    }
                    qsizetype length = 0;
                    const char32_t character =
                        parseReference(std::string_view(reference.constData(), size_t(reference.size())), &length);
                    if (length == 0) {
                        Error err(kBadParameterError,
                                  QStringLiteral("%1: byte %2: \"%3\" is not a character reference to an XML character")
                                      .arg(name)
                                      .arg(referenceOffset)
                                      .arg(elide(QString::fromLatin1(reference.split(';').constFirst()))));
                        return ZEQ_ECATCH(err);
                    }
                    const qsizetype before = out.size();
                    appendUtf8(out, character, inTag ? quote : 0);
                    if (out.size() - before > reference.size()) {
                        costOffset = referenceOffset;
                        costReference = reference;
                    }
                    owed += reference.size() - (out.size() - before);
                    reference.clear();
                    continue;
                }
            }
            if (atEnd) {
                break;
            }
            const bool blank = isBlank(c);
            // A shortfall is taken from white space that XML ignores: after an end or empty tag,
            // and all but one blank between a tag's attributes.
            if (owed < 0 && blank && (collecting || (inTag && quote == 0 && isBlank(previous)))) {
                ++owed;
                continue;
            }
            collecting = collecting && blank;
            if (afterLt) {
                afterLt = false;
                inTag = c != '!' && c != '?';
                endTag = c == '/';
                if (inTag && !endTag) {
                    tagName.emplace();
                }
            }
            if (tagName) {
                if (blank || c == '>' || c == '/') {
                    // Only the elements an index points at must start where it says.
                    if (owed < 0 && !endTag && isIndexed(*tagName)) {
                        Error err(kBadParameterError,
                                  QStringLiteral("%1: byte %2: \"%3\" inside a value quoted with that character "
                                                 "decodes to a longer entity, and too little white space follows to "
                                                 "keep the file's index right")
                                      .arg(name)
                                      .arg(costOffset)
                                      .arg(QString::fromLatin1(costReference)));
                        return ZEQ_ECATCH(err);
                    }
                    tagName.reset();
                } else if (tagName->size() < kLongestIndexedName) {
                    *tagName += c;
                }
            }
            if (c == '&') {
                reference = "&";
                referenceOffset = offset;
                continue;
            }
            out += c;
            if (c == '<' && !inTag) {
                afterLt = true;
            } else if (inTag && quote == 0 && (c == '"' || c == '\'')) {
                quote = c;
            } else if (inTag && c == quote) {
                quote = 0;
            } else if (c == '>' && inTag && quote == 0) {
                inTag = false;
                // White space after an end tag or an empty tag is ignorable, between elements:
                // blanks added or taken there put every later byte back where the file's index
                // says it is.
                if (endTag || previous == '/') {
                    if (owed > 0) {
                        out += QByteArray(owed, ' ');
                        owed = 0;
                    }
                    collecting = owed < 0;
                }
            }
            previous = c;
        }
        if (to.write(out) != out.size()) {
            Error err(kFileOpenError, QStringLiteral("Can't write a copy of %1: %2").arg(name, to.errorString()));
            return ZEQ_ECATCH(err);
        }
        if (atEnd) {
            return Error();
        }
    }
}

} // namespace zeq::cli
