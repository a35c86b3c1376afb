#include "algo/DigestRulesRegularExpressionBuilder.h"

#include <QRegularExpression>

#include <gtest/gtest.h>

using zeq::DigestRule;
using zeq::DigestRules;

TEST(DigestRulesRegularExpressionBuilderTest, EachRuleWithLettersAddsAnAlternative)
{
    const auto rule = [](const char *letters) { return DigestRule::fromString(QString::fromLatin1(letters)); };
    const std::pair<DigestRules, const char *> rows[] = {
        { {}, "" },
        { DigestRules::makeCtermOnly(rule("RK")), "([RK])([A-Z])" },
        { DigestRules::makeNtermOnly(rule("D")), "([A-Z])([D])" },
        { DigestRules::makeCtermOnly(rule("KK")), "([KK])([A-Z])" },
        // The cutters are not consulted.
        { { rule("KR"), rule("D"), {} }, "((([KR])([A-Z]))|(([A-Z])([D])))" },
    };
    for (const auto &[rules, expected] : rows) {
        const QString pattern = zeq::DigestRulesRegularExpressionBuilder(rules).pattern();
        EXPECT_EQ(pattern, QString::fromLatin1(expected));
        EXPECT_TRUE(QRegularExpression(pattern).isValid()) << expected;
    }
    // Capture 1 is the residue before the cut, capture 2 the one after.
    const QRegularExpressionMatch match =
        QRegularExpression(zeq::DigestRulesRegularExpressionBuilder(rows[1].first).pattern()).match(u"AKD");
    EXPECT_EQ(match.capturedTexts(), (QStringList{ u"KD"_qs, u"K"_qs, u"D"_qs }));
}
