#pragma once

#include "zeq_common_core_mini_export.h"

#include <QString>

/// Where a modification or a cleavage applies on a peptide chain, as written in rule texts.
class ZEQ_COMMON_CORE_MINI_EXPORT ModificationRule
{
public:
    /// True when `text` names the C-terminal side: "C-term", "Cterm", "C term", "C_term" or
    /// "C-terminal"/"C-terminus", in any letter case, not glued to a preceding letter ("AC-term" is not).
    [[nodiscard]] static bool containsCTerm(const QString &text);
    /// As containsCTerm, for the N-terminal side.
    [[nodiscard]] static bool containsNTerm(const QString &text);
};
