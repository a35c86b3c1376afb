#include "zeq_common_core_mini/ModificationRule.h"

#include <gtest/gtest.h>

TEST(ModificationRuleTest, RecognisesEachSideInItsSpellings)
{
    struct Row {
        const char *text;
        bool cTerm;
        bool nTerm;
    };
    const Row rows[] = {
        { "C-term", true, false },       { "cterm", true, false },
        { "CTERM", true, false },        { "Protein C-terminal", true, false },
        { "N-term", false, true },       { "nTerm", false, true },
        { "C-term;N-term", true, true }, { "N-term;C-term", true, true },
        { "X-term", false, false },      { "Acterm", false, false },
        { "term", false, false },        { "", false, false },
    };
    for (const Row &row : rows) {
        SCOPED_TRACE(row.text);
        EXPECT_EQ(ModificationRule::containsCTerm(QString::fromUtf8(row.text)), row.cTerm);
        EXPECT_EQ(ModificationRule::containsNTerm(QString::fromUtf8(row.text)), row.nTerm);
    }
}
