// FASTA texts through the sibling's FastaReader and readFasta, the library's FastaProteinReader (any
// encoding) and the sequence checks of FastaUtils.

#include "FuzzSupport.h"
#include "utils/FastaProteinReader.h"
#include "utils/FastaUtils.h"
#include "zeq_qt_shared_libs_core/ReadFasta.h"

#include <QBuffer>
#include <QFile>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static const bool silenced = (zeq_fuzz::silenceQtMessages(), true);
    Q_UNUSED(silenced);
    QByteArray bytes = QByteArray::fromRawData(reinterpret_cast<const char *>(data), qsizetype(size));
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    FastaReader reader;
    reader.setDevice(&buffer, QStringLiteral("input"));
    reader.setStripMarker(size % 2 == 0);
    reader.setLimit(1000);
    FastaEntry entry;
    QList<QString> sequences;
    while (reader.next(&entry)) {
        (void)zeq::FastaUtils::illegalCharacters(entry.sequence, zeq::FastaUtils::Rule(size % 4));
        sequences.append(entry.sequence);
    }
    QString message;
    (void)zeq::FastaUtils::checkProteinNamesAndSequences({}, sequences, &message, zeq::FastaUtils::ExtendedSymbols);

    const QString path = zeq_fuzz::writeScratchFile(data, size, "fasta.fa");
    zeq::FastaProteinReader proteins;
    proteins.setLimit(1000);
    if (!proteins.open(path).hasError()) {
        while (proteins.next(&entry)) { }
    }
    (void)zeq::FastaUtils::checkFastaFile(path, &message, zeq::FastaUtils::AminoAcidLetters);
    QList<QString> names;
    (void)readFasta(path.toStdWString(), 1000, false, &names, &sequences, {});
    return 0;
}
