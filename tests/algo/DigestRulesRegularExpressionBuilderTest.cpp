#include "algo/DigestRulesRegularExpressionBuilder.h"

#include <QRegularExpression>

#include <gtest/gtest.h>

using zeq::DigestRule;
using zeq::DigestRules;
using zeq::DigestRulesRegularExpressionBuilder;

TEST(DigestRulesRegularExpressionBuilderTest, EachRuleWithLettersAddsAnAlternative)
{
    const auto rule = [](const char *letters) { return DigestRule::fromString(QString::fromLatin1(letters)); };
    struct Row {
        const char *name;
        DigestRules rules;
        const char *pattern;
        const char *matches; // captures 1 and 2 of the non-overlapping matches in "AKDRKPD"
    };
    const Row rows[] = {
        { "empty", {}, "", "" },
        { "trypsin", DigestRules::makeCtermOnly(rule("RK")), "([RK])([A-Z])", "K|D R|K " },
        { "aspN", DigestRules::makeNtermOnly(rule("D")), "([A-Z])([D])", "K|D P|D " },
        { "repeated letter", DigestRules::makeCtermOnly(rule("KK")), "([KK])([A-Z])", "K|D K|P " },
        // Cutters are not consulted: letters of a rule out of force still contribute.
        { "both", { rule("KR"), rule("D"), {} }, "((([KR])([A-Z]))|(([A-Z])([D])))", "K|D R|K P|D " },
    };
    for (const Row &row : rows) {
        SCOPED_TRACE(row.name);
        const QString pattern = DigestRulesRegularExpressionBuilder(row.rules).pattern();
        EXPECT_EQ(pattern, QString::fromLatin1(row.pattern));
        const QRegularExpression expression(pattern);
        ASSERT_TRUE(expression.isValid());
        QString matches;
        if (!pattern.isEmpty()) {
            for (const QRegularExpressionMatch &match : expression.globalMatch(u"AKDRKPD")) {
                const QStringList captured = match.capturedTexts().mid(1).filter(QRegularExpression(u"^[A-Z]$"_qs));
                matches += captured.join(u'|') + u' ';
            }
        }
        EXPECT_EQ(matches, QString::fromLatin1(row.matches));
    }
}
