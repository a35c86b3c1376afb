#include "algo/ProteinDigestNumberingList.h"

#include "ZeqLogging.h"

#include <atomic>
#include <optional>
#include <tuple>

namespace zeq
{

namespace
{

std::atomic<int> s_unknownDigestionMessages{ 0 };

} // namespace

Error ProteinDigestNumberingList::insertProtein(int proteinId,
                                                const QString &text1,
                                                const QString &text2,
                                                const QString &sequence,
                                                const ProteinDigestionItem &digestion)
{
    if (digestion.digestRules().isEmpty()) {
        const int count = ++s_unknownDigestionMessages;
        if (count <= 10) {
            if (count == 10) {
                qDebug().noquote() << "Last warning for: ";
            }
            qCDebug(lcCore).noquote() << QStringLiteral("Unknown Digestion Type: ") + digestion.toString();
        }
        return Error();
    }
    DigestionAndProteinIdKey key{ digestion.digestRules(), proteinId };
    if (m_table.contains(key)) {
        return Error();
    }
    ProteinDigestNumbering numbering;
    Error err = numbering.initProteinAndDigest(proteinId, text1, text2, sequence, key.digestRules, m_cleavageFlags);
    if (err.hasError()) {
        return ZEQ_ECATCH(err);
    }
    m_table.emplace(std::move(key), std::move(numbering));
    return err;
}

bool ProteinDigestNumberingList::getDigestInfo(int proteinId,
                                               int startIndex,
                                               int endIndex,
                                               const ProteinDigestionItem &digestion,
                                               ProteinDigestNumbering::DigestInfo *info) const
{
    const ProteinDigestionItem &used = digestion.isValid() ? digestion : m_projectDigestion;
    const auto it = m_table.constFind(DigestionAndProteinIdKey{ used.digestRules(), proteinId });
    return it != m_table.cend() && it->getDigestInfo(startIndex, endIndex, info);
}

bool ProteinDigestNumberingList::getDigestInfoUsingPeptideOnly(const QString &peptide,
                                                               const ProteinDigestionItem &digestion,
                                                               ProteinDigestNumbering::DigestInfo *info) const
{
    // The table's order changes from run to run; the lowest protein number makes the answer
    // repeatable. Numberings under the rules the look-up will use come first: a match under other
    // rules can only end in false.
    const DigestRules &usedRules = (digestion.isValid() ? digestion : m_projectDigestion).digestRules();
    struct Match {
        int proteinId = 0;
        bool otherRules = false;
        int start = -1;
        int end = -1;
        auto rank() const { return std::tuple(otherRules, proteinId); }
    };
    std::optional<Match> best;
    for (auto it = m_table.cbegin(); it != m_table.cend(); ++it) {
        Match match{ it.key().proteinId, !(it.key().digestRules == usedRules) };
        if (it->getPeptideStartAndEndPositions(peptide, digestion, &match.start, &match.end)
            && (!best || match.rank() < best->rank())) {
            best = match;
        }
    }
    return best && getDigestInfo(best->proteinId, best->start, best->end, digestion, info);
}

void ProteinDigestNumberingList::clearDigestNumber()
{
    m_table.clear();
    m_cleavageFlags = 15;
}

size_t qHash(const ProteinDigestNumberingList::DigestionAndProteinIdKey &key, size_t seed) noexcept
{
    using ::qHash; // the overloads of this namespace hide Qt's for int
    return qHash(key.digestRules, seed) ^ qHash(key.proteinId, seed);
}

} // namespace zeq
