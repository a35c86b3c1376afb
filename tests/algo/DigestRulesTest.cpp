#include "algo/DigestRules.h"

#include <QRandomGenerator>

#include <gtest/gtest.h>

using zeq::DigestRule;
using zeq::DigestRules;

namespace
{

DigestRule rule(const char *letters)
{
    return DigestRule::fromString(QString::fromLatin1(letters));
}

} // namespace

TEST(DigestRulesTest, FromStringsPairsEachLetterGroupWithItsSide)
{
    const DigestRules both(rule("KR"), rule("D"), DigestRules::CtermNterm);
    const std::tuple<const char *, const char *, DigestRules> rows[] = {
        { "d", "nterm", DigestRules::makeNtermOnly(rule("D")) },
        { "K,R;D", "C-term;N-term", both },
        { ";;K;", "C-term;", DigestRules::makeCtermOnly(rule("K")) },
        { "K;D", "C-term", {} },
        { "K;D", "C-term;C-term", {} },
    };
    for (const auto &[letters, cutters, expected] : rows) {
        SCOPED_TRACE(std::string(letters) + " | " + cutters);
        const DigestRules rules = DigestRules::fromStrings(QString::fromLatin1(letters), QString::fromLatin1(cutters));
        EXPECT_EQ(rules, expected);
    }
}

TEST(DigestRulesTest, TextFormsRoundTripForGeneratedValidRules)
{
    QRandomGenerator random(11);
    const auto randomRule = [&random] {
        QList<QChar> letters;
        for (int i = 0, n = random.bounded(1, 6); i < n; ++i) {
            letters.append(QChar(u'A' + random.bounded(26)));
        }
        return DigestRule(letters);
    };
    const DigestRules::DigestCutter sides[] = { DigestRules::Cterm, DigestRules::Nterm, DigestRules::CtermNterm };
    for (int i = 0; i < 300; ++i) {
        const DigestRules::DigestCutter side = sides[random.bounded(3)];
        const DigestRules rules(side == DigestRules::Nterm ? DigestRule() : randomRule(),
                                side == DigestRules::Cterm ? DigestRule() : randomRule(),
                                side);
        ASSERT_TRUE(rules.isValid());
        const QString cutters = DigestRules::cuttersToString(rules.cutters());
        for (const DigestRule::Format format : { DigestRule::CommaSeparated, DigestRule::Concatenated }) {
            const QString letters = rules.digestRulesAsString(format);
            EXPECT_EQ(DigestRules::fromStrings(letters, cutters), rules) << qPrintable(letters + u" | "_qs + cutters);
        }
    }
}
