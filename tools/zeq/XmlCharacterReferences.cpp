#include "XmlCharacterReferences.h"

#include "CommandLine.h"

#include <QFile>

#include <algorithm>
#include <cstring>
#include <string_view>

namespace zeq::cli
{

namespace
{

constexpr qint64 kBlockSize = qint64(1) << 20;
/// "&#x10FFFF;" plus room for leading zeros; a longer reference is refused as malformed.
constexpr qsizetype kLongestReference = 16;

bool isXmlCharacter(char32_t c)
{
    return c == 0x9 || c == 0xA || c == 0xD || (c >= 0x20 && c <= 0xD7FF) || (c >= 0xE000 && c <= 0xFFFD)
        || (c >= 0x10000 && c <= 0x10FFFF);
}

void appendUtf8(QByteArray &out, char32_t c)
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
        out += "&quot;";
        return;
    case U'\'':
        out += "&apos;";
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

} // namespace

Result<bool> holdsNumericReference(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        Error err(kFileOpenError, QStringLiteral("Can't read %1: %2").arg(path, file.errorString()));
        return ZEQ_ECATCH(err);
    }
    char previous = 0;
    for (;;) {
        const QByteArray block = file.read(kBlockSize);
        if (block.isEmpty()) {
            if (file.error() != QFileDevice::NoError) {
                Error err(kFileOpenError, QStringLiteral("Can't read %1: %2").arg(path, file.errorString()));
                return ZEQ_ECATCH(err);
            }
            return false;
        }
        // A reference that the block boundary cuts after its '&'.
        if (previous == '&' && block.at(0) == '#') {
            return true;
        }
        if (block.contains("&#")) {
            return true;
        }
        previous = block.back();
    }
}

Error decodeNumericReferences(QIODevice &from, QIODevice &to, const QString &name)
{
    QByteArray reference; // a reference read in part, "&" or "&#..."
    qint64 offset = 0; // of the byte being read
    qint64 referenceOffset = 0;
    qsizetype owed = 0; // bytes the decoded references saved, to be paid back with blanks
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
                    appendUtf8(out, character);
                    owed += reference.size() - (out.size() - before);
                    reference.clear();
                    continue;
                }
            }
            if (atEnd) {
                break;
            }
            if (c == '&') {
                reference = "&";
                referenceOffset = offset;
                continue;
            }
            out += c;
            const char next = i + 1 < block.size() ? block.at(i + 1) : 0;
            if (c == '<' && !inTag) {
                inTag = next != '!' && next != '?';
                endTag = next == '/';
            } else if (inTag && quote == 0 && (c == '"' || c == '\'')) {
                quote = c;
            } else if (inTag && c == quote) {
                quote = 0;
            } else if (c == '>' && inTag && quote == 0) {
                inTag = false;
                // Blanks after an end tag or an empty tag are ignorable white space between
                // elements, and put every later byte back where the file's index says it is.
                if (owed > 0 && (endTag || previous == '/')) {
                    out += QByteArray(owed, ' ');
                    owed = 0;
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
