#pragma once

#include "algo/DigestRules.h"
#include "zeq_common_core_export.h"

#include <QList>
#include <QString>

namespace zeq
{

/// One digestion setting: an enzyme name with its cleavage rules, written as text in the form
/// "Trypsin @ R,K | C-term". The id is the caller's handle and takes no part in equality or text.
class ZEQ_COMMON_CORE_EXPORT ProteinDigestionItem
{
public:
    ProteinDigestionItem() = default;
    /// Stores the name whitespace-simplified.
    ProteinDigestionItem(const QString &enzyme, const DigestRules &rules, int digestRulesId);
    ProteinDigestionItem(const QString &enzyme,
                         const DigestRule &cterm,
                         const DigestRule &nterm,
                         const DigestRules::DigestCutters &cutters,
                         int digestRulesId);

    [[nodiscard]] QString enzyme() const { return m_enzyme; }
    [[nodiscard]] const DigestRules &digestRules() const noexcept { return m_digestRules; }
    [[nodiscard]] int digestRulesId() const noexcept { return m_digestRulesId; }
    void setDigestRulesId(int id) { m_digestRulesId = id; }

    /// A name and valid rules.
    [[nodiscard]] bool isValid() const;

    /// "Name @ letters | sides", or the name alone when no cutter is set.
    [[nodiscard]] QString toString() const;
    /// Reads the text form; a text without "@" is taken as an enzyme name (mapFromEnzyme).
    /// A text with "@" that does not follow the form gives a default item.
    [[nodiscard]] static ProteinDigestionItem fromString(const QString &text);
    /// Whether fromString accepts `text`: the form, as many letter groups as sides, and two sides
    /// that differ. "" is valid (and reads as a default item).
    [[nodiscard]] static bool validate(const QString &text);
    /// The first known enzyme (knownEnzymeDigestRules order) whose name contains `name` ignoring case
    /// and dashes, "tryptic" and "chymotryptic" standing for their enzymes. Unknown names give an item
    /// with that name and no rules; "" gives a default item.
    [[nodiscard]] static ProteinDigestionItem mapFromEnzyme(const QString &name);
    /// The built-in enzymes, then one entry per valid line of the user's "CustomProteases.txt" (in the
    /// "General" folder beside the application's data folder), read once per process. A line without
    /// "@" names an entry listed before it, or else stands for that name without rules.
    [[nodiscard]] static QList<ProteinDigestionItem> knownEnzymeDigestRules();

    bool operator==(const ProteinDigestionItem &other) const
    {
        return m_enzyme == other.m_enzyme && m_digestRules == other.m_digestRules;
    }

private:
    QString m_enzyme;
    DigestRules m_digestRules;
    int m_digestRulesId = -1;
};

ZEQ_COMMON_CORE_EXPORT size_t qHash(const ProteinDigestionItem &item, size_t seed = 0) noexcept;

} // namespace zeq
