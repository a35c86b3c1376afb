#pragma once

#include "algo/BuiltInEnzymes.h"
#include "algo/ProteinDigestionItem.h"
#include "zeq_common_core_export.h"
#include "zeq_common_core_mini/ProteinDigestor.h"
#include "zeq_common_stable/Error.h"

#include <QList>
#include <QString>
#include <QStringView>

#include <array>
#include <functional>
#include <limits>
#include <string>
#include <vector>

struct FastaEntry;

namespace zeq
{

/// Which peptides a proteome digestion keeps: lengths in residues, neutral monoisotopic masses in
/// Da, both ranges inclusive.
struct ProteomeDigestionSettings {
    ProteinDigestionItem enzyme = BuiltInProteases::kTrypsin;
    int maxMissedCleavages = 2;
    int minLength = 7;
    int maxLength = 50;
    double minMass = 0.0;
    double maxMass = std::numeric_limits<double>::infinity();
};

/// A peptide of a digested protein, with the values a peptide table shows.
struct DigestedPeptide {
    int start = 0; ///< first residue in the protein, from 1
    int end = 0; ///< last residue, from 1, inclusive
    int missedCleavages = 0; ///< cleavage sites inside the peptide
    /// Neutral monoisotopic mass in Da (residues plus one water); NaN when a residue has no formula
    /// (B, J, X, Z, '*' ...).
    double monoisotopicMass = 0.0;
    char before = '-'; ///< residue before the peptide, '-' at the protein's start
    char after = '-'; ///< residue after the peptide, '-' at the protein's end
    QLatin1StringView sequence; ///< upper case; valid until the next digestion
};

/// Digests one protein after another with the digestion engine, the enzyme's cleavage table and
/// the library's residue masses, keeping the peptides the settings ask for. Buffers are reused from
/// protein to protein, so memory stays about the size of the largest protein's peptides.
class ZEQ_COMMON_CORE_EXPORT ProteomeDigestion
{
public:
    /// Called once per protein, in file order, with its accession (accessionOf its name) and kept
    /// peptides; returning false stops the digestion.
    using ProteinSink =
        std::function<bool(const FastaEntry &protein, const QString &accession, const QList<DigestedPeptide> &)>;

    /// `settings.enzyme` must be valid (ProteinDigestionItem::isValid).
    explicit ProteomeDigestion(const ProteomeDigestionSettings &settings);

    /// Digests `sequence`, upper-cased first. Afterwards peptides() holds the peptides kept, ordered
    /// by first residue, then by last. A peptide holding a residue without a formula has the mass
    /// NaN and is kept only while the mass range is open (from 0 to infinity): it cannot be shown
    /// to lie inside a bound. Fails with kBadParameterError on a character outside ASCII, naming
    /// its position, or on more than 2^31 - 1 residues, and keeps no peptide.
    [[nodiscard]] Error digest(QStringView sequence);
    [[nodiscard]] const QList<DigestedPeptide> &peptides() const noexcept { return m_peptides; }
    /// The last protein digested, upper case.
    [[nodiscard]] QLatin1StringView residues() const noexcept
    {
        return QLatin1StringView(m_residues.data(), qsizetype(m_residues.size()));
    }

    /// Reads the FASTA file at `path` (any encoding FastaProteinReader takes) one protein at a time
    /// and hands each one's peptides to `sink`. Memory stays about the size of the largest
    /// protein's peptides, whatever the file's size. Fails naming the file: the reader's errors,
    /// kBadParameterError with the header line and accession of a protein that cannot be digested,
    /// kError when `sink` stopped the digestion.
    [[nodiscard]] Error digestFastaFile(const QString &path, const ProteinSink &sink);

    /// The accession of a protein: the first word of its FASTA name, as search engines report
    /// proteins ("> P1 text" is still P1).
    [[nodiscard]] static QString accessionOf(const QString &name);

private:
    ProteomeDigestionSettings m_settings;
    bool m_openMassRange;
    std::array<char, 256> m_cleavageTable;
    DigestCutterType m_cutter = CutterCterm;
    /// The library's residue masses with 0 for residues without a formula, as the engine sums them.
    std::array<double, 256> m_engineMasses;
    std::string m_residues;
    /// Residues without a formula before each position, so that a peptide's count is a difference.
    std::vector<int> m_unknownBefore;
    ProteinDigestor m_engine;
    QList<DigestedPeptide> m_peptides;
};

} // namespace zeq
