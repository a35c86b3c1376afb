#include "utils/FastaProteinReader.h"

#include "zeq_qt_shared_libs_core/EncodingConverter.h"

#include <QFile>
#include <QStringDecoder>
#include <QStringEncoder>

#include <cstring>

namespace zeq
{

// A file in UTF-16 or Latin-1 as UTF-8, decoded a block at a time as FastaReader asks for it. Both
// converters are stateful, so a character split between two blocks is put together; line ends are
// kept, so line numbers are those of the file.
class FastaProteinReader::Decoder : public QIODevice
{
public:
    Decoder(const QString &path, QStringConverter::Encoding encoding)
        : m_file(path)
        , m_decoder(encoding)
    {
    }

    bool openFile()
    {
        if (!m_file.open(QIODevice::ReadOnly | QIODevice::Unbuffered)) {
            setErrorString(m_file.errorString());
            return false;
        }
        return QIODevice::open(QIODevice::ReadOnly | QIODevice::Unbuffered);
    }

protected:
    qint64 readData(char *data, qint64 maxSize) override
    {
        constexpr qint64 kBlock = qint64(1) << 18;
        while (m_pending.size() - m_taken == 0) {
            m_pending.resize(kBlock);
            const qint64 got = m_file.read(m_pending.data(), kBlock);
            if (got < 0) {
                setErrorString(m_file.errorString());
                return -1;
            }
            m_pending.resize(got);
            m_taken = 0;
            if (got == 0) {
                return 0;
            }
            m_pending = m_encoder.encode(m_decoder.decode(m_pending));
        }
        const qint64 n = std::min(maxSize, qint64(m_pending.size() - m_taken));
        std::memcpy(data, m_pending.constData() + m_taken, size_t(n));
        m_taken += n;
        return n;
    }
    qint64 writeData(const char *, qint64) override { return -1; }

private:
    QFile m_file;
    QStringDecoder m_decoder;
    QStringEncoder m_encoder{ QStringEncoder::Utf8 };
    QByteArray m_pending;
    qsizetype m_taken = 0;
};

FastaProteinReader::FastaProteinReader() = default;
FastaProteinReader::~FastaProteinReader() = default;

Error FastaProteinReader::open(const QString &path)
{
    Error err;
    m_encoding.clear();
    EncodingConverter converter(path, "UTF-8");
    if (!converter.detectEncoding()) {
        err.setError(kError).addErrorMessage(converter.errorString());
        return ZEQ_ECATCH(err);
    }
    const std::optional<QStringConverter::Encoding> encoding =
        QStringConverter::encodingForName(converter.sourceEncoding().constData());
    if (encoding == QStringConverter::Utf8) {
        err = m_reader.open(path);
    } else {
        m_decoder = std::make_unique<Decoder>(path, encoding.value_or(QStringConverter::Latin1));
        if (m_decoder->openFile()) {
            m_reader.setDevice(m_decoder.get(), path);
        } else {
            err.setError(kError).addErrorMessage(
                QStringLiteral("Can't open FASTA file %1: %2").arg(path, m_decoder->errorString()));
        }
    }
    if (err.hasError()) {
        err.setError(kError);
        return ZEQ_ECATCH(err);
    }
    m_encoding = converter.sourceEncoding();
    return err;
}

void FastaProteinReader::setLimit(int limit) noexcept
{
    m_reader.setLimit(limit);
}

bool FastaProteinReader::next(FastaEntry *entry)
{
    return m_reader.next(entry);
}

const Error &FastaProteinReader::error() const noexcept
{
    return m_reader.error();
}

} // namespace zeq
