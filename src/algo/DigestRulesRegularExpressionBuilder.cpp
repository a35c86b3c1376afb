#include "algo/DigestRulesRegularExpressionBuilder.h"

namespace zeq
{

DigestRulesRegularExpressionBuilder::DigestRulesRegularExpressionBuilder(const DigestRules &rules)
{
    addCTermDigestRule(rules.ruleForCterm());
    addNTermDigestRule(rules.ruleForNterm());
}

void DigestRulesRegularExpressionBuilder::addCTermDigestRule(const DigestRule &rule)
{
    static const QString format = QStringLiteral("([%1])([A-Z])");
    if (!rule.isEmpty()) {
        m_cTermPattern = format.arg(rule.toString(DigestRule::Concatenated));
    }
}

void DigestRulesRegularExpressionBuilder::addNTermDigestRule(const DigestRule &rule)
{
    static const QString format = QStringLiteral("([A-Z])([%1])");
    if (!rule.isEmpty()) {
        m_nTermPattern += format.arg(rule.toString(DigestRule::Concatenated));
    }
}

QString DigestRulesRegularExpressionBuilder::pattern() const
{
    static const QString both = QStringLiteral("((%1)|(%2))");
    if (m_cTermPattern.isEmpty() || m_nTermPattern.isEmpty()) {
        return m_cTermPattern.isEmpty() ? m_nTermPattern : m_cTermPattern;
    }
    return both.arg(m_cTermPattern, m_nTermPattern);
}

} // namespace zeq
