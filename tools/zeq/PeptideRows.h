#pragma once

#include "TableWriter.h"
#include "algo/ProteomeDigestion.h"

#include <QList>
#include <QString>

namespace zeq::cli
{

// The rows of zeq digest: one per peptide of a digested protein, written into a TableWriter.

/// accession, start, end, missed, mono_mass, before, after, sequence.
[[nodiscard]] QList<TableWriter::Column> peptideColumns();

/// Adds a row per peptide of the protein `residues` (upper case, as digested) to `table`:
/// accession, start and end, missed cleavages, mass (5 decimals, empty when unknown), the residues
/// before and after, sequence. Rows for a streamed writer (a table once its widths are fixed) are
/// written as lines straight into its output, without a text cell each: a proteome gives millions
/// of rows.
void addPeptideRows(const QString &accession,
                    QLatin1StringView residues,
                    const QList<DigestedPeptide> &peptides,
                    TableWriter *table);
/// Widens the table's columns to hold these rows, without adding them.
void measurePeptideRows(const QString &accession, const QList<DigestedPeptide> &peptides, TableWriter *table);

} // namespace zeq::cli
