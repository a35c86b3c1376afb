#pragma once

#include "algo/ProteinDigestNumbering.h"
#include "zeq_common_core_export.h"

#include <QHash>

namespace zeq
{

/// The digest numberings of many proteins, one per (digest rules, protein id), with the project's
/// digestion as the fallback for look-ups made with an invalid one. Copies share the table until
/// one of them is written.
class ZEQ_COMMON_CORE_EXPORT ProteinDigestNumberingList
{
public:
    struct DigestionAndProteinIdKey {
        DigestRules digestRules;
        int proteinId = -1;
        bool operator==(const DigestionAndProteinIdKey &other) const
        {
            return proteinId == other.proteinId && digestRules == other.digestRules;
        }
    };

    /// Numbers `sequence` under (rules of `digestion`, id). A digestion without cutters adds nothing,
    /// and a key already present keeps its first numbering; both succeed. Fails, adding nothing, when
    /// the engine refuses the sequence (not ASCII).
    Error insertProtein(int proteinId,
                        const QString &text1,
                        const QString &text2,
                        const QString &sequence,
                        const ProteinDigestionItem &digestion);
    /// ProteinDigestNumbering::getDigestInfo of the protein numbered with `digestion`, or with the
    /// project digestion when `digestion` is not valid. False when there is no such numbering.
    bool getDigestInfo(int proteinId,
                       int startIndex,
                       int endIndex,
                       const ProteinDigestionItem &digestion,
                       ProteinDigestNumbering::DigestInfo *info) const;
    /// Finds `peptide` in a numbered protein (the lowest protein number when several hold it) and
    /// describes it as getDigestInfo does.
    bool getDigestInfoUsingPeptideOnly(const QString &peptide,
                                       const ProteinDigestionItem &digestion,
                                       ProteinDigestNumbering::DigestInfo *info) const;

    /// Passed to the engine for proteins inserted afterwards.
    void setCleavageFlags(long flags) { m_cleavageFlags = static_cast<int>(flags); }
    void setProjectDigestion(const ProteinDigestionItem &digestion) { m_projectDigestion = digestion; }
    /// Removes every numbering and sets the cleavage flags to 15.
    void clearDigestNumber();
    void clear() { clearDigestNumber(); }

    [[nodiscard]] qsizetype size() const noexcept { return m_table.size(); }

    bool operator==(const ProteinDigestNumberingList &other) const
    {
        return m_cleavageFlags == other.m_cleavageFlags && m_table == other.m_table
            && m_projectDigestion == other.m_projectDigestion;
    }

private:
    int m_cleavageFlags = 0;
    QHash<DigestionAndProteinIdKey, ProteinDigestNumbering> m_table;
    ProteinDigestionItem m_projectDigestion;
};

ZEQ_COMMON_CORE_EXPORT size_t qHash(const ProteinDigestNumberingList::DigestionAndProteinIdKey &key,
                                    size_t seed = 0) noexcept;

} // namespace zeq
