#pragma once

#include "TableWriter.h"
#include "algo/BuiltInEnzymes.h"
#include "algo/ProteinDigestionItem.h"
#include "zeq_common_core_mini/ProteinDigestor.h"
#include "zeq_common_stable/Error.h"

#include <QList>
#include <QString>
#include <QStringView>

#include <array>
#include <limits>
#include <string>
#include <vector>

namespace zeq::cli
{

/// Which peptides a digestion keeps: lengths in residues, neutral monoisotopic masses in Da, both
/// ranges inclusive.
struct DigestSettings {
    ProteinDigestionItem enzyme = BuiltInProteases::kTrypsin;
    int maxMissedCleavages = 2;
    int minLength = 7;
    int maxLength = 50;
    double minMass = 0.0;
    double maxMass = std::numeric_limits<double>::infinity();
};

/// Digests one protein after another with the library's digestion engine, cleavage table and
/// residue masses, keeping the peptides that the settings ask for. Reuses its buffers from protein
/// to protein.
class ProteinDigester
{
public:
    /// `settings.enzyme` must be valid (ProteinDigestionItem::isValid).
    explicit ProteinDigester(const DigestSettings &settings);

    /// Digests `sequence`, upper-cased first. Afterwards peptides() holds the peptides kept, ordered
    /// by first residue, then by last. A peptide holding a residue without a formula (B, J, X, Z, '*'
    /// ...) has the mass NaN and is kept only while the mass range is open (from 0 to infinity): it
    /// cannot be shown to lie inside a bound. Fails with kBadParameterError on a character outside
    /// ASCII, naming its position, or on more than 2^31 - 1 residues, and keeps no peptide.
    [[nodiscard]] Error digest(QStringView sequence);
    [[nodiscard]] const QList<ProteinDigestor::Peptide> &peptides() const noexcept { return m_peptides; }

    /// The output columns of addRows.
    [[nodiscard]] static QList<TableWriter::Column> columns();
    /// One row per kept peptide of the last digestion: accession, start and end (from 1, inclusive),
    /// missed cleavages, mass (5 decimals, empty when unknown), the residues before and after ('-' at
    /// a protein end), sequence.
    void addRows(const QString &accession, TableWriter *table) const;
    /// The same rows as lines of `format`, Csv or Tsv, appended to `text`. Numbers and residues are
    /// written without a text cell each: a proteome gives millions of rows.
    void appendLines(const QString &accession, TableWriter::Format format, QByteArray *text) const;

private:
    DigestSettings m_settings;
    bool m_openMassRange;
    std::array<char, 256> m_cleavageTable;
    DigestCutterType m_cutter = CutterCterm;
    /// The library's residue masses with 0 for residues without a formula, as the engine sums them.
    std::array<double, 256> m_engineMasses;
    std::string m_residues;
    /// No residue that CSV or TSV would have to quote or blank.
    bool m_plainResidues = true;
    /// Residues without a formula before each position, so that a peptide's count is a difference.
    std::vector<int> m_unknownBefore;
    ProteinDigestor m_engine;
    QList<ProteinDigestor::Peptide> m_peptides;
};

struct FastaProteins;

/// The whole output of digesting `proteins`, in file order, in `format`: the header and one row per
/// peptide. Fails with kBadParameterError on the first protein that cannot be digested, naming its
/// header line and accession.
[[nodiscard]] Result<QByteArray>
digestProteins(const FastaProteins &proteins, const DigestSettings &settings, TableWriter::Format format);

} // namespace zeq::cli
