#include "zeq_qt_shared_libs_core/ReadFasta.h"

#include <QFile>
#include <QFileInfo>
#include <QStringDecoder>

#include <algorithm>
#include <cstring>

// Speed comes from touching each byte as few times as possible: line ends are found with memchr,
// each sequence is sized once from the distance to the next '>' and its lines are decoded straight
// into it, with no per-line strings.

namespace
{

constexpr qsizetype BlockSize = qsizetype(1) << 20;
constexpr qsizetype ProgressEvery = 1000;

// White space dropped at line ends; inside a line it stays.
bool isTrailingBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\v' || c == '\f';
}

const char *findByte(const char *from, const char *end, char c)
{
    const void *hit = std::memchr(from, c, size_t(end - from));
    return hit ? static_cast<const char *>(hit) : end;
}

const char *trimEnd(const char *begin, const char *end)
{
    while (end > begin && isTrailingBlank(end[-1])) {
        --end;
    }
    return end;
}

// Widens the bytes of an ASCII line to UTF-16; false, writing nothing, when the line holds other
// bytes. Most of a file's bytes pass through here: both loops are plain so that optimised builds
// vectorise them.
bool widenAscii(char16_t *out, const char *in, qsizetype n)
{
    unsigned char bits = 0;
    for (qsizetype i = 0; i < n; ++i) {
        bits |= static_cast<unsigned char>(in[i]);
    }
    if (bits >= 0x80) {
        return false;
    }
    for (qsizetype i = 0; i < n; ++i) {
        out[i] = static_cast<unsigned char>(in[i]);
    }
    return true;
}

class FastaParser
{
public:
    FastaParser(const QString &fileName,
                int limit,
                bool stripMarker,
                QList<QString> *names,
                QList<QString> *sequences,
                QList<qint64> *headerLines,
                const std::function<bool(const QString &)> &progress)
        : m_fileName(fileName)
        , m_limit(limit)
        , m_stripMarker(stripMarker)
        , m_names(names)
        , m_sequences(sequences)
        , m_headerLines(headerLines)
        , m_progress(progress)
    {
    }

    // Parses the lines of [begin, end). Unless `atEnd`, a line the block cuts off is left for the
    // next block, from `*next` on; a cut sequence or comment line is taken up to its last plain
    // ASCII non-blank byte, so lines of any length pass through a bounded block.
    // False on malformed input; failure() then says what and where.
    bool parse(const char *begin, const char *end, bool atEnd, const char **next);
    // Closes the last protein.
    void finish() { closeProtein(); }
    [[nodiscard]] const QString &failure() const noexcept { return m_failure; }

private:
    // The kind of a line that a block end cut off and that the next block continues.
    enum class Open { Nothing, Sequence, Comment };

    bool take(const char *begin, const char *end, bool lineDone, const char *blockEnd);
    bool startProtein(const char *begin, const char *end);
    void appendSequence(const char *begin, const char *end, const char *blockEnd);
    void closeProtein();
    bool fail(const QString &what)
    {
        m_failure = QStringLiteral("%1 line %2: %3").arg(m_fileName).arg(m_line).arg(what);
        return false;
    }

    const QString m_fileName;
    const int m_limit;
    const bool m_stripMarker;
    QList<QString> *const m_names;
    QList<QString> *const m_sequences;
    QList<qint64> *const m_headerLines;
    const std::function<bool(const QString &)> &m_progress;
    // Stateless: a line never starts inside a character, and a cut line is cut before any non-ASCII
    // byte. Keeps a U+FEFF inside a sequence so the sequence check sees it.
    QStringDecoder m_decoder{ QStringDecoder::Utf8,
                              QStringDecoder::Flag::Stateless | QStringDecoder::Flag::ConvertInitialBom };
    qint64 m_line = 1;
    bool m_inProtein = false;
    Open m_open = Open::Nothing;
    // Sized ahead of the text; the first m_length characters are the sequence read so far.
    QString m_sequence;
    qsizetype m_length = 0;
    QString m_failure;
};

bool FastaParser::parse(const char *begin, const char *end, bool atEnd, const char **next)
{
    // The next '\n', '\r' and NUL at or after the current line; `end` when there is none.
    const char *lf = nullptr;
    const char *cr = nullptr;
    const char *nul = findByte(begin, end, '\0');
    const char *p = begin;
    while (p < end) {
        if (!lf || lf < p) {
            lf = findByte(p, end, '\n');
        }
        if (!cr || cr < p) {
            cr = findByte(p, end, '\r');
        }
        const char *lineEnd = std::min(lf, cr);
        if (nul < lineEnd) {
            return fail(QStringLiteral("binary data (a NUL byte) in a text file"));
        }
        // A CR that ends the block may be the first half of a CRLF.
        const bool cut = !atEnd && (lineEnd == end || (lineEnd == cr && cr + 1 == end));
        if (cut) {
            const char *q = trimEnd(p, lineEnd);
            while (q > p && static_cast<unsigned char>(q[-1]) >= 0x80) {
                --q;
            }
            if (q > p && (m_open != Open::Nothing || *p != '>')) {
                if (!take(p, q, false, end)) {
                    return false;
                }
                p = q;
            }
            break;
        }
        if (!take(p, trimEnd(p, lineEnd), true, end)) {
            return false;
        }
        ++m_line;
        p = lineEnd == end ? end : lineEnd + 1;
        if (lineEnd == cr && p < end && *p == '\n') {
            ++p;
        }
    }
    *next = p;
    return true;
}

bool FastaParser::take(const char *begin, const char *end, bool lineDone, const char *blockEnd)
{
    Open kind = m_open;
    if (kind == Open::Nothing) {
        if (begin == end) {
            return true;
        }
        if (*begin == '>') {
            return startProtein(m_stripMarker ? begin + 1 : begin, end);
        }
        if (*begin == ';') {
            kind = Open::Comment;
        } else if (!m_inProtein) {
            return fail(QStringLiteral("sequence text before the first '>' header"));
        } else {
            kind = Open::Sequence;
        }
    }
    if (kind == Open::Sequence) {
        appendSequence(begin, end, blockEnd);
    }
    m_open = lineDone ? Open::Nothing : kind;
    return true;
}

bool FastaParser::startProtein(const char *begin, const char *end)
{
    if (m_limit > 0 && m_names->size() >= m_limit) {
        return fail(QStringLiteral("more than %1 proteins, the most this read may take").arg(m_limit));
    }
    closeProtein();
    m_names->append(QString::fromUtf8(begin, end - begin));
    if (m_headerLines) {
        m_headerLines->append(m_line);
    }
    m_inProtein = true;
    if (m_progress && m_names->size() % ProgressEvery == 0
        && !m_progress(QStringLiteral("%1: %2 proteins read").arg(m_fileName).arg(m_names->size()))) {
        return fail(QStringLiteral("reading stopped by the caller"));
    }
    return true;
}

void FastaParser::appendSequence(const char *begin, const char *end, const char *blockEnd)
{
    const qsizetype needed = m_length + (end - begin);
    if (needed > m_sequence.size()) {
        // Up to the next '>' of the block is a close upper bound of the rest of this sequence.
        const qsizetype ahead = findByte(end, blockEnd, '>') - begin;
        const qsizetype size = std::max(m_length + ahead, m_sequence.size() + m_sequence.size() / 2);
        // reserve() allocates exactly; growing through resize() would round up to a power of two.
        m_sequence.resize(m_length);
        m_sequence.reserve(size);
        m_sequence.resize(size);
    }
    // Sequences are ASCII but for rare characters the sequence check reports; those take the decoder.
    QChar *out = m_sequence.data() + m_length;
    const qsizetype n = end - begin;
    if (widenAscii(reinterpret_cast<char16_t *>(out), begin, n)) {
        m_length += n;
    } else {
        m_length = m_decoder.appendToBuffer(out, QByteArrayView(begin, n)) - m_sequence.constData();
    }
}

void FastaParser::closeProtein()
{
    if (!m_inProtein) {
        return;
    }
    m_sequence.resize(m_length);
    m_sequences->append(std::move(m_sequence));
    m_sequence = QString();
    m_length = 0;
}

Error readBlocks(QFile &file, FastaParser &parser)
{
    QByteArray block(BlockSize, Qt::Uninitialized);
    qsizetype filled = 0;
    bool first = true;
    for (;;) {
        // Never asks for 0 bytes: the block grows below whenever the left-over fills it.
        const qint64 got = file.read(block.data() + filled, block.size() - filled);
        if (got < 0) {
            return Error(kError, QStringLiteral("Can't read %1: %2").arg(file.fileName(), file.errorString()));
        }
        filled += got;
        const bool atEnd = got == 0;
        const char *begin = block.constData();
        const char *end = begin + filled;
        if (first && filled >= 3 && std::memcmp(begin, "\xEF\xBB\xBF", 3) == 0) {
            begin += 3;
        }
        first = false;
        const char *next = end;
        if (!parser.parse(begin, end, atEnd, &next)) {
            return Error(kError, parser.failure());
        }
        if (atEnd) {
            return {};
        }
        filled = end - next;
        std::memmove(block.data(), next, size_t(filled));
        if (filled == block.size()) {
            block.resize(block.size() * 2);
        }
    }
}

} // namespace

Error readFasta(const std::wstring &path,
                int limit,
                bool stripMarker,
                QList<QString> *names,
                QList<QString> *sequences,
                const std::function<bool(const QString &)> &progress,
                QList<qint64> *headerLines)
{
    Error err;
    if (!names || !sequences) {
        err.setError(kBadParameterError).addErrorMessage(QStringLiteral("readFasta needs both output lists"));
        return ZEQ_ECATCH(err);
    }
    const auto clear = [&]() {
        names->clear();
        sequences->clear();
        if (headerLines) {
            headerLines->clear();
        }
    };
    clear();
    const QString fileName = QString::fromStdWString(path);
    QFile file(fileName);
    // Opening a folder fails with no useful reason.
    if (QFileInfo(fileName).isDir()) {
        err.setError(kFileOpenError)
            .addErrorMessage(QStringLiteral("Can't open FASTA file %1: it is a folder").arg(fileName));
        return ZEQ_ECATCH(err);
    }
    if (!file.open(QIODevice::ReadOnly | QIODevice::Unbuffered)) {
        err.setError(kFileOpenError)
            .addErrorMessage(QStringLiteral("Can't open FASTA file %1: %2").arg(fileName, file.errorString()));
        return ZEQ_ECATCH(err);
    }
    FastaParser parser(fileName, limit, stripMarker, names, sequences, headerLines, progress);
    err = readBlocks(file, parser);
    if (err.hasError()) {
        clear();
        return ZEQ_ECATCH(err);
    }
    parser.finish();
    return err;
}
