#pragma once

#include "algo/DigestRules.h"
#include "algo/ProteinDigestionItem.h"
#include "zeq_common_core_export.h"
#include "zeq_common_core_mini/ProteinDigestor.h"
#include "zeq_common_stable/Error.h"

#include <QString>

#include <utility>

namespace zeq
{

/// One protein digested by one set of rules: every residue carries the number of the proteolytic
/// peptide that holds it, so a peptide found in the protein can be placed in the digest.
class ZEQ_COMMON_CORE_EXPORT ProteinDigestNumbering : public ProteinDigestor
{
public:
    /// Where residues startPosition..endPosition (1-based) lie in the digest.
    struct DigestInfo {
        int startPeptide = 0;
        int endPeptide = 0;
        int startPosition = 0;
        int endPosition = 0;
        /// Residues before the first one that belong to its proteolytic peptide.
        int nTermOffset = 0;
        /// Residues after the last one that belong to its proteolytic peptide.
        int cTermOffset = 0;
        int missedCleavages = 0;
        int proteinId = -1;
        QString text1;
        QString text2;
        friend bool operator==(const DigestInfo &, const DigestInfo &) = default;
    };

    /// Keeps the id and texts for DigestInfo and numbers `sequence` by `rules`. Fails (kBadParameterError)
    /// on a sequence that is not ASCII. Residues cleave only in upper case.
    Error initProteinAndDigest(int proteinId,
                               const QString &text1,
                               const QString &text2,
                               const QString &sequence,
                               const DigestRules &rules,
                               long cleavageFlags);

    /// Fills the 256 entries of `table` (-1 no cut, 0 after, 1 before, 2 both sides) by upper-case
    /// residue code, and `*type`, for cutters 1, 2 or 4. Other cutters leave all entries -1 and
    /// `*type` unchanged. A null `type` is skipped; a null `table` does nothing.
    static void setupCutterAndHash(const DigestRules &rules, DigestCutterType *type, char *table);
    /// Reads an older rule text such as "k,r|c-term": single letters joined by commas, "|", then
    /// "c-term" or "n-term" (any case). `*letters` gets the lower-case letters as soon as they are
    /// read, even if the side then fails. Fails with kBadParameterError.
    Error parseDigestRule(QString rule, QString *letters, DigestCutterType *type) const;
    /// Coarse test of the older rule text: some text on both sides of a "|".
    [[nodiscard]] static bool digestStringIsValid(const QString &text);

    /// `startIndex` and `endIndex` are the 0-based first and last residues. The offsets are added to
    /// those `info` holds, so pass a fresh record. False, `info` untouched, for indices outside the
    /// protein or a null `info`.
    bool getDigestInfo(int startIndex, int endIndex, DigestInfo *info) const;
    /// The first case-insensitive occurrence of `peptide` that is proteolytic for `digestion`, or the
    /// first occurrence if none is; `*start` and `*end` are its 0-based first and last residues.
    /// False, outputs untouched, for an empty or absent peptide or null outputs.
    bool getPeptideStartAndEndPositions(const QString &peptide,
                                        const ProteinDigestionItem &digestion,
                                        int *start,
                                        int *end) const;
    /// Whether residues range.first..range.second-1 of `protein` start and end at cleavage points of
    /// `rules` (case-insensitive). Protein ends count as cleavage points, and rules without cutters
    /// accept every range.
    [[nodiscard]] static bool
    checkSubstringPeptideIsProteolytic(const DigestRules &rules, const QString &protein, std::pair<int, int> range);

    [[nodiscard]] int proteinId() const noexcept { return m_proteinId; }
    [[nodiscard]] const QString &text1() const noexcept { return m_text1; }
    [[nodiscard]] const QString &text2() const noexcept { return m_text2; }

    bool operator==(const ProteinDigestNumbering &other) const
    {
        return m_proteinId == other.m_proteinId && m_text1 == other.m_text1 && m_text2 == other.m_text2
            && ProteinDigestor::operator==(other);
    }

private:
    int m_proteinId = -1;
    QString m_text1;
    QString m_text2;
};

} // namespace zeq
