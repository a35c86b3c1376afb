#pragma once

#include "algo/DigestRules.h"
#include "zeq_common_core_export.h"

#include <QString>

namespace zeq
{

/// Builds the text of a regular expression that matches the two residues on either side of a
/// cleavage point in an upper-case protein sequence: capture 1 is the residue before the cut,
/// capture 2 the one after. Every rule that holds residues contributes, whatever the cutters say.
class ZEQ_COMMON_CORE_EXPORT DigestRulesRegularExpressionBuilder
{
public:
    explicit DigestRulesRegularExpressionBuilder(const DigestRules &rules);

    /// "" when neither rule holds residues.
    [[nodiscard]] QString pattern() const;

private:
    void addCTermDigestRule(const DigestRule &rule);
    void addNTermDigestRule(const DigestRule &rule);

    QString m_cTermPattern;
    QString m_nTermPattern;
};

} // namespace zeq
