#include "zeq_qt_shared_libs_core/EncodingConverter.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringDecoder>
#include <QStringEncoder>
#include <QTemporaryFile>

#include <cstring>

namespace
{

constexpr qint64 BlockSize = qint64(1) << 20;

enum class Utf8Check { Valid, Invalid, ReadError };

// The length of the longest prefix of [s, s + n) made of whole, valid UTF-8 characters (no
// overlong forms, surrogates or code points above U+10FFFF). `*invalid` tells whether it stopped
// at a bad byte rather than at a character the block end cut off.
qsizetype validUtf8Prefix(const unsigned char *s, qsizetype n, bool *invalid)
{
    qsizetype i = 0;
    while (i < n) {
        // Text is mostly ASCII: test eight bytes at a time.
        while (i + 8 <= n) {
            quint64 word;
            std::memcpy(&word, s + i, 8);
            if (word & 0x8080808080808080ULL) {
                break;
            }
            i += 8;
        }
        if (i == n) {
            break;
        }
        const unsigned c = s[i];
        if (c < 0x80) {
            ++i;
            continue;
        }
        const int length = c >= 0xC2 && c <= 0xDF ? 2 : c >= 0xE0 && c <= 0xEF ? 3 : c >= 0xF0 && c <= 0xF4 ? 4 : 0;
        // The second byte's range also rules out overlong forms, surrogates and values past U+10FFFF.
        const unsigned low = c == 0xE0 ? 0xA0 : c == 0xF0 ? 0x90 : 0x80;
        const unsigned high = c == 0xED ? 0x9F : c == 0xF4 ? 0x8F : 0xBF;
        *invalid = length == 0;
        for (int k = 1; k < length && !*invalid; ++k) {
            if (i + k == n) {
                return i;
            }
            const unsigned b = s[i + k];
            *invalid = k == 1 ? (b < low || b > high) : (b & 0xC0) != 0x80;
        }
        if (*invalid) {
            return i;
        }
        i += length;
    }
    *invalid = false;
    return n;
}

Utf8Check checkUtf8(QFile &in)
{
    QByteArray block(BlockSize, Qt::Uninitialized);
    qsizetype carried = 0;
    for (;;) {
        const qint64 got = in.read(block.data() + carried, block.size() - carried);
        if (got < 0) {
            return Utf8Check::ReadError;
        }
        const qsizetype filled = carried + got;
        bool invalid = false;
        const qsizetype valid =
            validUtf8Prefix(reinterpret_cast<const unsigned char *>(block.constData()), filled, &invalid);
        if (invalid || (got == 0 && valid < filled)) {
            return Utf8Check::Invalid;
        }
        if (got == 0) {
            return Utf8Check::Valid;
        }
        carried = filled - valid;
        std::memmove(block.data(), block.constData() + valid, size_t(carried));
    }
}

// Bytes that no Latin-1 text holds: C0 controls other than tab, line feed, vertical tab, form feed
// and carriage return.
qsizetype firstControlByte(const QByteArray &bytes)
{
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        const auto c = static_cast<unsigned char>(bytes.at(i));
        if (c < 0x20 && (c < 0x09 || c > 0x0D)) {
            return i;
        }
    }
    return -1;
}

} // namespace

EncodingConverter::EncodingConverter(const QString &path, const QByteArray &encoding)
    : m_path(path)
    , m_target(encoding)
    , m_output(path)
{
}

EncodingConverter::~EncodingConverter() = default;

bool EncodingConverter::fail(const QString &reason)
{
    m_copy.reset();
    m_output = m_path;
    m_source.clear();
    m_error = reason;
    return false;
}

bool EncodingConverter::convertEncoding()
{
    return run(true);
}

bool EncodingConverter::detectEncoding()
{
    return run(false);
}

bool EncodingConverter::run(bool copy)
{
    m_copy.reset();
    m_output = m_path;
    m_source.clear();
    m_error.clear();
    if (QStringConverter::encodingForName(m_target.constData()) != QStringConverter::Utf8) {
        return fail(QStringLiteral("Can't convert to %1: only UTF-8 is supported").arg(QString::fromLatin1(m_target)));
    }
    if (QFileInfo(m_path).isDir()) {
        return fail(QStringLiteral("%1 is a folder, not a file").arg(m_path));
    }
    QFile in(m_path);
    if (!in.open(QIODevice::ReadOnly)) {
        return fail(QStringLiteral("Can't open %1: %2").arg(m_path, in.errorString()));
    }
    const QByteArray head = in.peek(4);
    if (head.startsWith("\xEF\xBB\xBF")) {
        m_source = "UTF-8";
        return true;
    }
    if (head == QByteArray("\xFF\xFE\0\0", 4) || head == QByteArray("\0\0\xFE\xFF", 4)) {
        return fail(QStringLiteral("%1 is UTF-32, which is not supported").arg(m_path));
    }
    if (head.startsWith("\xFF\xFE")) {
        return convert(in, QStringConverter::Utf16LE, copy);
    }
    if (head.startsWith("\xFE\xFF")) {
        return convert(in, QStringConverter::Utf16BE, copy);
    }
    switch (checkUtf8(in)) {
    case Utf8Check::Valid:
        m_source = "UTF-8";
        return true;
    case Utf8Check::ReadError:
        return fail(QStringLiteral("Can't read %1: %2").arg(m_path, in.errorString()));
    case Utf8Check::Invalid:
        break;
    }
    if (!in.seek(0)) {
        return fail(QStringLiteral("Can't read %1: %2").arg(m_path, in.errorString()));
    }
    return convert(in, QStringConverter::Latin1, copy);
}

bool EncodingConverter::convert(QFile &in, QStringConverter::Encoding encoding, bool copy)
{
    const bool utf16 = encoding != QStringConverter::Latin1;
    if (utf16 && in.size() % 2 != 0) {
        return fail(QStringLiteral("%1 is not valid UTF-16: its size is odd").arg(m_path));
    }
    if (copy) {
        m_copy = std::make_unique<QTemporaryFile>(QDir::tempPath() + QStringLiteral("/zeq_utf8_XXXXXX.txt"));
        if (!m_copy->open()) {
            return fail(QStringLiteral("Can't create a temporary file for %1: %2").arg(m_path, m_copy->errorString()));
        }
    }
    // Both stateful, so a character split between two blocks is put together; the decoder drops
    // the byte-order mark.
    QStringDecoder decoder(encoding);
    QStringEncoder encoder(QStringEncoder::Utf8);
    bool endsInHighSurrogate = false;
    qint64 offset = 0;
    for (;;) {
        const QByteArray bytes = in.read(BlockSize);
        if (bytes.isEmpty()) {
            if (in.error() != QFileDevice::NoError) {
                return fail(QStringLiteral("Can't read %1: %2").arg(m_path, in.errorString()));
            }
            break;
        }
        if (const qsizetype control = utf16 ? -1 : firstControlByte(bytes); control >= 0) {
            return fail(QStringLiteral("%1 is not text: byte 0x%2 at offset %3")
                            .arg(m_path)
                            .arg(static_cast<unsigned char>(bytes.at(control)), 2, 16, QLatin1Char('0'))
                            .arg(offset + control));
        }
        const QString text = decoder.decode(bytes);
        if (!text.isEmpty()) {
            endsInHighSurrogate = text.back().isHighSurrogate();
        }
        const QByteArray utf8 = encoder.encode(text);
        if (encoder.hasError()) {
            return fail(
                QStringLiteral("%1 is not valid UTF-16: a lone surrogate near offset %2").arg(m_path).arg(offset));
        }
        if (copy && m_copy->write(utf8) != utf8.size()) {
            return fail(QStringLiteral("Can't write the UTF-8 copy of %1: %2").arg(m_path, m_copy->errorString()));
        }
        offset += bytes.size();
    }
    if (endsInHighSurrogate) {
        return fail(QStringLiteral("%1 is not valid UTF-16: it ends in a lone surrogate").arg(m_path));
    }
    if (copy) {
        if (!m_copy->flush()) {
            return fail(QStringLiteral("Can't write the UTF-8 copy of %1: %2").arg(m_path, m_copy->errorString()));
        }
        m_copy->close();
        m_output = m_copy->fileName();
    }
    m_source = QStringConverter::nameForEncoding(encoding);
    return true;
}
