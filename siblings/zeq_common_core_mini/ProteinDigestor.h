#pragma once

#include "zeq_common_core_mini/DigestCutterType.h"
#include "zeq_common_core_mini_export.h"
#include "zeq_common_stable/Error.h"

#include <QList>

#include <algorithm>
#include <string>

/// Which peptides ProteinDigestor::init lists besides numbering the residues.
enum DigestionSearchOption : qint32 {
    DigestSpecific = 0, ///< both ends at cleavage points (or protein ends)
    DigestSemiSpecific = 1, ///< at least one end at a cleavage point (or protein end)
    DigestNumberingOnly = 2, ///< number the residues, list no peptides
};

/// In-silico digestion of one protein by a cleavage residue table: numbers every residue with the
/// proteolytic peptide that holds it and lists the peptides of a mass range. A plain value; it keeps
/// its own copy of the sequence.
class ZEQ_COMMON_CORE_MINI_EXPORT ProteinDigestor
{
public:
    /// A listed peptide: residues first..last (0-based, inclusive), the cleavage points inside it and
    /// its mass (terminal masses plus residue masses).
    struct Peptide {
        int first = 0;
        int last = 0;
        int missedCleavages = 0;
        double mass = 0.0;
        friend bool operator==(const Peptide &, const Peptide &) = default;
    };

    /// Digests `length` bytes of `sequence`. `residueMasses` and `cleavageTable` have 256 entries
    /// indexed by the residue byte; cleavage entries are -1 (no cut), 0 (cut after), 1 (cut before) or
    /// 2 (both), read as signed bytes. Only the sides that `type` names are used; `cleavageFlags` is
    /// kept for the caller and changes no cut. Peptides with at most `maxMissedCleavages` inner
    /// cleavage points and a mass in [minMass, maxMass] are listed as `option` asks.
    /// Fails with kBadParameterError, leaving the digestor empty, on a null sequence or table, a
    /// negative length or missed-cleavage count, a byte outside ASCII, or an unknown type or option.
    Error init(const char *sequence,
               int length,
               const double *residueMasses,
               double nTermMass,
               double cTermMass,
               double minMass,
               double maxMass,
               int maxMissedCleavages,
               const char *cleavageTable,
               DigestCutterType type,
               DigestionSearchOption option,
               long cleavageFlags);

    [[nodiscard]] const std::string &sequence() const noexcept { return m_sequence; }
    /// One number per residue: 1 for the first proteolytic peptide, one more after each cleavage point.
    [[nodiscard]] const QList<int> &digestNumbers() const noexcept { return m_digestNumbers; }
    /// Ordered by first residue, then by last.
    [[nodiscard]] const QList<Peptide> &peptides() const noexcept { return m_peptides; }
    [[nodiscard]] long cleavageFlags() const noexcept { return m_cleavageFlags; }

    /// Same sequence and same numbering; the listed peptides follow from those and the init arguments.
    bool operator==(const ProteinDigestor &other) const
    {
        // Not QList's own ==: an emptied list that kept its buffer and one that never had a buffer
        // reach memcmp with a null pointer there.
        return m_sequence == other.m_sequence
            && std::equal(m_digestNumbers.cbegin(),
                          m_digestNumbers.cend(),
                          other.m_digestNumbers.cbegin(),
                          other.m_digestNumbers.cend());
    }

protected:
    std::string m_sequence;
    QList<int> m_digestNumbers;

private:
    void listPeptides(const double *residueMasses,
                      double terminalMass,
                      double minMass,
                      double maxMass,
                      int maxMissedCleavages,
                      bool semiSpecific);

    QList<Peptide> m_peptides;
    long m_cleavageFlags = 0;
};
