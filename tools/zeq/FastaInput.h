#pragma once

#include <QList>
#include <QString>

#include <optional>

namespace zeq::cli
{

/// The proteins of a FASTA file, in file order: header text after '>', sequence, header line.
struct FastaProteins {
    QList<QString> names;
    QList<QString> sequences;
    QList<qint64> headerLines;
};

/// Reads FILE as the library loads it, through a UTF-8 copy when it is UTF-16 or Latin-1, but with
/// no limit on the number of proteins. Returns the exit status of a failure, already reported in a
/// line that names the file.
std::optional<int> readFastaProteins(const QString &path, FastaProteins *proteins);

/// The accession of a protein: the first word of its header, as search engines report proteins.
QString accessionOf(const QString &header);

} // namespace zeq::cli
