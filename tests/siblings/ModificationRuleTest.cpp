#include "zeq_common_core_mini/ModificationRule.h"

#include <gtest/gtest.h>

TEST(ModificationRuleTest, RecognisesEachSideInItsSpellings)
{
    const std::tuple<const char *, bool, bool> rows[] = {
        { "cterm", true, false },   { "Protein C-terminal", true, false },
        { "nTerm", false, true },   { "N-term;C-term", true, true },
        { "X-term", false, false }, { "Acterm", false, false },
        { "term", false, false },   { "", false, false },
    };
    for (const auto &[text, cTerm, nTerm] : rows) {
        SCOPED_TRACE(text);
        EXPECT_EQ(ModificationRule::containsCTerm(QString::fromUtf8(text)), cTerm);
        EXPECT_EQ(ModificationRule::containsNTerm(QString::fromUtf8(text)), nTerm);
    }
}
