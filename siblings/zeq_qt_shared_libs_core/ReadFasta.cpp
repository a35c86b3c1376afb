#include "zeq_qt_shared_libs_core/ReadFasta.h"

#include <QFile>
#include <QFileInfo>
#include <QStringDecoder>

#include <algorithm>
#include <cstring>

// Speed comes from touching each byte as few times as possible: line ends are found with memchr
// (the next CR and NUL of a block are remembered across proteins), each sequence is sized once from
// the distance to the next '>' and its lines are decoded straight into it, with no per-line strings.

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

} // namespace

class FastaReader::Parser
{
public:
    enum class Step { Protein, More, Failed };

    // Parses the lines of the block from m_pos on until a protein is complete (m_pos is then at the
    // next header) or the block is used up. Unless the input is at its end, a line the block cuts
    // off is left for the next block; a cut sequence or comment line is taken up to its last plain
    // ASCII non-blank byte, so lines of any length pass through a bounded block.
    Step parseLines();
    // Keeps what the block holds from m_pos on and reads more after it; false on a read error.
    bool refill();
    bool next(FastaEntry *entry);
    void closeProtein();

    QFile m_file;
    QIODevice *m_device = nullptr;
    QString m_fileName;
    bool m_stripMarker = true;
    int m_limit = 0;
    Error m_error;

private:
    // The kind of a line that a block end cut off and that the next block continues.
    enum class Open { Nothing, Sequence, Comment };

    bool take(const char *begin, const char *end, bool lineDone, const char *blockEnd);
    bool startProtein(const char *begin, const char *end);
    void appendSequence(const char *begin, const char *end, const char *blockEnd);
    bool fail(const QString &what)
    {
        m_error = Error(kError, QStringLiteral("%1 line %2: %3").arg(m_fileName).arg(m_line).arg(what));
        return false;
    }

    // Stateless: a line never starts inside a character, and a cut line is cut before any non-ASCII
    // byte. Keeps a U+FEFF inside a sequence so the sequence check sees it.
    QStringDecoder m_decoder{ QStringDecoder::Utf8,
                              QStringDecoder::Flag::Stateless | QStringDecoder::Flag::ConvertInitialBom };
    QByteArray m_block;
    qsizetype m_pos = 0;
    qsizetype m_filled = 0;
    // The next '\n', '\r' and NUL at or after the current line, as offsets in the block; -1 when
    // not searched yet, m_filled when there is none.
    qsizetype m_lf = -1;
    qsizetype m_cr = -1;
    qsizetype m_nul = -1;
    bool m_atEnd = false;
    bool m_started = false;
    bool m_done = false;
    qint64 m_line = 1;
    qint64 m_proteins = 0;
    bool m_inProtein = false;
    Open m_open = Open::Nothing;
    // The entry being read; the first m_length characters of its sequence are those read so far.
    FastaEntry *m_entry = nullptr;
    qsizetype m_length = 0;
};

FastaReader::Parser::Step FastaReader::Parser::parseLines()
{
    const char *base = m_block.constData();
    const char *end = base + m_filled;
    const char *p = base + m_pos;
    const auto at = [&](qsizetype &offset, char c) {
        if (offset < p - base) {
            offset = findByte(p, end, c) - base;
        }
        return base + offset;
    };
    const char *nul = at(m_nul, '\0');
    while (p < end) {
        const char *lf = at(m_lf, '\n');
        const char *cr = at(m_cr, '\r');
        const char *lineEnd = std::min(lf, cr);
        if (nul < lineEnd) {
            fail(QStringLiteral("binary data (a NUL byte) in a text file"));
            return Step::Failed;
        }
        // A CR that ends the block may be the first half of a CRLF.
        const bool cut = !m_atEnd && (lineEnd == end || (lineEnd == cr && cr + 1 == end));
        if (cut) {
            const char *q = trimEnd(p, lineEnd);
            while (q > p && static_cast<unsigned char>(q[-1]) >= 0x80) {
                --q;
            }
            if (q > p && (m_open != Open::Nothing || *p != '>')) {
                if (!take(p, q, false, end)) {
                    return Step::Failed;
                }
                p = q;
            }
            break;
        }
        // The next header completes the protein read so far; it is read by the next call.
        if (m_inProtein && m_open == Open::Nothing && *p == '>') {
            m_pos = p - base;
            closeProtein();
            return Step::Protein;
        }
        if (!take(p, trimEnd(p, lineEnd), true, end)) {
            return Step::Failed;
        }
        ++m_line;
        p = lineEnd == end ? end : lineEnd + 1;
        if (lineEnd == cr && p < end && *p == '\n') {
            ++p;
        }
    }
    m_pos = p - base;
    return Step::More;
}

bool FastaReader::Parser::take(const char *begin, const char *end, bool lineDone, const char *blockEnd)
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

bool FastaReader::Parser::startProtein(const char *begin, const char *end)
{
    if (m_limit > 0 && m_proteins >= m_limit) {
        return fail(QStringLiteral("more than %1 proteins, the most this read may take").arg(m_limit));
    }
    ++m_proteins;
    m_entry->name = QString::fromUtf8(begin, end - begin);
    m_entry->headerLine = m_line;
    // Keeps the storage of the last sequence for this one; a null string stays null until needed.
    if (!m_entry->sequence.isEmpty()) {
        m_entry->sequence.resize(0);
    }
    m_length = 0;
    m_inProtein = true;
    return true;
}

void FastaReader::Parser::appendSequence(const char *begin, const char *end, const char *blockEnd)
{
    QString &sequence = m_entry->sequence;
    const qsizetype needed = m_length + (end - begin);
    if (needed > sequence.size()) {
        // Up to the next '>' of the block is a close upper bound of the rest of this sequence.
        const qsizetype ahead = findByte(end, blockEnd, '>') - begin;
        const qsizetype size = std::max(m_length + ahead, sequence.size() + sequence.size() / 2);
        // reserve() allocates exactly; growing through resize() would round up to a power of two.
        sequence.resize(m_length);
        sequence.reserve(size);
        sequence.resize(size);
    }
    // Sequences are ASCII but for rare characters the sequence check reports; those take the decoder.
    QChar *out = sequence.data() + m_length;
    const qsizetype n = end - begin;
    if (widenAscii(reinterpret_cast<char16_t *>(out), begin, n)) {
        m_length += n;
    } else {
        m_length = m_decoder.appendToBuffer(out, QByteArrayView(begin, n)) - sequence.constData();
    }
}

void FastaReader::Parser::closeProtein()
{
    m_entry->sequence.resize(m_length);
    m_inProtein = false;
}

bool FastaReader::Parser::refill()
{
    const qsizetype left = m_filled - m_pos;
    std::memmove(m_block.data(), m_block.constData() + m_pos, size_t(left));
    m_filled = left;
    m_pos = 0;
    m_lf = m_cr = m_nul = -1;
    if (m_filled == m_block.size()) {
        m_block.resize(std::max(BlockSize, m_block.size() * 2));
    }
    const qint64 got = m_device->read(m_block.data() + m_filled, m_block.size() - m_filled);
    if (got < 0) {
        m_error = Error(kError, QStringLiteral("Can't read %1: %2").arg(m_fileName, m_device->errorString()));
        return false;
    }
    m_filled += got;
    m_atEnd = got == 0;
    if (!m_started && m_filled >= 3 && std::memcmp(m_block.constData(), "\xEF\xBB\xBF", 3) == 0) {
        m_pos = 3;
    }
    m_started = true;
    return true;
}

bool FastaReader::Parser::next(FastaEntry *entry)
{
    if (m_done || m_error.hasError() || !entry) {
        return false;
    }
    if (!m_device) {
        m_error = Error(kBadParameterError, QStringLiteral("FastaReader: no file to read"));
        return false;
    }
    m_entry = entry;
    for (;;) {
        switch (m_started ? parseLines() : Step::More) {
        case Step::Protein:
            return true;
        case Step::Failed:
            return false;
        case Step::More:
            break;
        }
        if (m_atEnd) {
            m_done = true;
            if (m_inProtein) {
                closeProtein();
                return true;
            }
            return false;
        }
        if (!refill()) {
            return false;
        }
    }
}

FastaReader::FastaReader()
    : m_parser(std::make_unique<Parser>())
{
}

FastaReader::~FastaReader() = default;

Error FastaReader::open(const QString &path)
{
    Error err;
    m_parser->m_fileName = path;
    m_parser->m_file.setFileName(path);
    // Opening a folder fails with no useful reason.
    if (QFileInfo(path).isDir()) {
        err.setError(kFileOpenError)
            .addErrorMessage(QStringLiteral("Can't open FASTA file %1: it is a folder").arg(path));
        return ZEQ_ECATCH(err);
    }
    if (!m_parser->m_file.open(QIODevice::ReadOnly | QIODevice::Unbuffered)) {
        err.setError(kFileOpenError)
            .addErrorMessage(QStringLiteral("Can't open FASTA file %1: %2").arg(path, m_parser->m_file.errorString()));
        return ZEQ_ECATCH(err);
    }
    m_parser->m_device = &m_parser->m_file;
    return err;
}

void FastaReader::setDevice(QIODevice *device, const QString &fileName)
{
    m_parser->m_device = device;
    m_parser->m_fileName = fileName;
}

void FastaReader::setStripMarker(bool strip) noexcept
{
    m_parser->m_stripMarker = strip;
}

void FastaReader::setLimit(int limit) noexcept
{
    m_parser->m_limit = limit;
}

bool FastaReader::next(FastaEntry *entry)
{
    return m_parser->next(entry);
}

const Error &FastaReader::error() const noexcept
{
    return m_parser->m_error;
}

QString FastaReader::fileName() const
{
    return m_parser->m_fileName;
}

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
    FastaReader reader;
    err = reader.open(fileName);
    if (err.hasError()) {
        return ZEQ_ECATCH(err);
    }
    reader.setLimit(limit);
    reader.setStripMarker(stripMarker);
    FastaEntry entry;
    while (reader.next(&entry)) {
        // Moved out, so each sequence is allocated once at its own size.
        names->append(std::move(entry.name));
        sequences->append(std::move(entry.sequence));
        if (headerLines) {
            headerLines->append(entry.headerLine);
        }
        if (progress && names->size() % ProgressEvery == 0
            && !progress(QStringLiteral("%1: %2 proteins read").arg(fileName).arg(names->size()))) {
            err.setError(kError).addErrorMessage(
                QStringLiteral("%1 line %2: reading stopped by the caller").arg(fileName).arg(entry.headerLine));
            break;
        }
    }
    if (!err.hasError()) {
        err = reader.error();
    }
    if (err.hasError()) {
        clear();
        return ZEQ_ECATCH(err);
    }
    return err;
}
