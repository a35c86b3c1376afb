#pragma once

#include "TableWriter.h"
#include "algo/ProteomeDigestion.h"

#include <QByteArray>
#include <QList>
#include <QString>

namespace zeq::cli
{

/// The rows of zeq digest: one per peptide of a digested protein, written into a TableWriter.
class PeptideRows
{
public:
    /// accession, start, end, missed, mono_mass, before, after, sequence.
    [[nodiscard]] static QList<TableWriter::Column> columns();

    /// Adds a row per peptide of the protein `residues` (upper case, as digested) to `table`:
    /// accession, start and end, missed cleavages, mass (5 decimals, empty when unknown), the
    /// residues before and after, sequence. CSV and TSV rows for a streamed writer are made as lines,
    /// without a text cell each, in a buffer reused from protein to protein: a proteome gives
    /// millions of rows.
    void add(const QString &accession,
             QLatin1StringView residues,
             const QList<DigestedPeptide> &peptides,
             TableWriter *table);
    /// Widens the table's columns to hold these rows, without adding them.
    static void measure(const QString &accession, const QList<DigestedPeptide> &peptides, TableWriter *table);

private:
    QByteArray m_lines;
};

} // namespace zeq::cli
