#pragma once

#include "zeq_common_core_export.h"
#include "zeq_common_stable/Error.h"
#include "zeq_qt_shared_libs_core/ReadFasta.h"

#include <QByteArray>
#include <QString>

#include <memory>

namespace zeq
{

/// Reads the proteins of a FASTA file one at a time, in file order, whatever its encoding: UTF-8
/// with or without a byte-order mark, UTF-16 LE or BE with one, anything else Latin-1 (as
/// EncodingConverter detects them). Names are the header text after '>'.
///
/// Memory stays the same whatever the file's size: the file is checked and then read in blocks,
/// never whole, and no copy of it is written. The encoding is decided over the whole file before
/// the first protein (a single byte that is not UTF-8, anywhere, makes a file Latin-1, so a prefix
/// cannot decide it): open() reads the file once to check it, next() reads it again. An encoding
/// error is therefore reported by open(), before any protein; only a malformed line (FastaReader's
/// errors) can come after proteins were handed out. Line numbers in messages are those of the file.
class ZEQ_COMMON_CORE_EXPORT FastaProteinReader
{
public:
    FastaProteinReader();
    ~FastaProteinReader();
    FastaProteinReader(const FastaProteinReader &) = delete;
    FastaProteinReader &operator=(const FastaProteinReader &) = delete;

    /// Detects and checks the encoding of the file at `path`, then opens it. kError naming the file
    /// when it is missing, a folder, unreadable or not text in a supported encoding.
    [[nodiscard]] Error open(const QString &path);
    /// The most proteins the file may hold; 0 or less: no limit (the default).
    void setLimit(int limit) noexcept;
    /// Reads the next protein into `*entry`, reusing its strings' storage. False at the end of the
    /// file or on failure, which error() then holds.
    [[nodiscard]] bool next(FastaEntry *entry);
    [[nodiscard]] const Error &error() const noexcept;
    /// "UTF-8", "UTF-16LE", "UTF-16BE" or "ISO-8859-1" once open.
    [[nodiscard]] QByteArray sourceEncoding() const { return m_encoding; }

private:
    class Decoder;
    std::unique_ptr<Decoder> m_decoder;
    FastaReader m_reader;
    QByteArray m_encoding;
};

} // namespace zeq
