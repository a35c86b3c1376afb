#include "algo/DigestRules.h"

#include "constants/StringConstants.h"
#include "zeq_common_core_mini/ModificationRule.h"

namespace zeq
{

bool DigestRules::isValid() const
{
    const int cutters = m_cutters.toInt();
    return ((cutters & Cterm) && !m_cterm.isEmpty()) || ((cutters & Nterm) && !m_nterm.isEmpty())
        || ((cutters & CtermNterm) && !m_cterm.isEmpty() && !m_nterm.isEmpty());
}

QString DigestRules::cuttersToString(const DigestCutters &cutters)
{
    switch (cutters.toInt()) {
    case Cterm:
        return kC_term;
    case Nterm:
        return kN_term;
    case CtermNterm:
        return kC_term + u';' + kN_term;
    }
    return {};
}

QString DigestRules::digestRulesAsString(DigestRule::Format format) const
{
    switch (m_cutters.toInt()) {
    case Cterm:
        return m_cterm.toString(format);
    case Nterm:
        return m_nterm.toString(format);
    case CtermNterm:
        return m_cterm.toString(format) + u';' + m_nterm.toString(format);
    }
    return {};
}

DigestRules DigestRules::fromStrings(const QString &letters, const QString &cutters)
{
    const QStringList letterParts = letters.split(u';', Qt::SkipEmptyParts);
    const QStringList cutterParts = cutters.split(u';', Qt::SkipEmptyParts);
    if (letterParts.size() != cutterParts.size()) {
        return {};
    }
    DigestRules rules;
    if (cutterParts.size() == 1) {
        if (ModificationRule::containsCTerm(cutterParts[0])) {
            rules.m_cutters = Cterm;
        } else if (ModificationRule::containsNTerm(cutterParts[0])) {
            rules.m_cutters = Nterm;
        } else {
            return {};
        }
    } else if (cutterParts.size() == 2 && ModificationRule::containsCTerm(cutters)
               && ModificationRule::containsNTerm(cutters)) {
        rules.m_cutters = CtermNterm;
    } else {
        return {};
    }
    // Each letter group goes with its own side, whatever the order of the parts.
    for (qsizetype i = 0; i < cutterParts.size(); ++i) {
        if (ModificationRule::containsCTerm(cutterParts[i])) {
            rules.m_cterm = DigestRule::fromString(letterParts[i]);
        } else if (ModificationRule::containsNTerm(cutterParts[i])) {
            rules.m_nterm = DigestRule::fromString(letterParts[i]);
        }
    }
    return rules;
}

size_t qHash(const DigestRules &rules, size_t seed) noexcept
{
    return (qHash(rules.ruleForCterm(), seed) + qHash(rules.ruleForNterm(), seed))
        ^ static_cast<size_t>(static_cast<quint32>(rules.cutters().toInt()));
}

} // namespace zeq
