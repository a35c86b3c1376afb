#include "algo/DigestRules.h"

#include <QHash>
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

TEST(DigestRulesTest, RulesAreUpperCaseSetsOfLettersAndEqualRulesHashAlike)
{
    EXPECT_EQ(rule("1a b;d").cleavageSites(), (QList<QChar>{ u'A', u'B', u'D' }));
    EXPECT_EQ(DigestRule(QList<QChar>{ u'k', u'r' }).cleavageSites(), (QList<QChar>{ u'K', u'R' }));
    EXPECT_TRUE(rule("KR").contains(u'k'));
    EXPECT_EQ(rule("k, r").toString(DigestRule::CommaSeparated), u"K,R");
    EXPECT_EQ(rule("KR"), rule("RKK"));
    EXPECT_FALSE(rule("KR") == rule("K"));
    // A table keyed by R,K must find K,R.
    QHash<DigestRules, int> byRules;
    byRules.insert(DigestRules::makeCtermOnly(rule("RK")), 1);
    EXPECT_EQ(byRules.value(DigestRules::makeCtermOnly(rule("KRRK"))), 1);
    EXPECT_EQ(byRules.value(DigestRules::makeNtermOnly(rule("KR"))), 0);
}

TEST(DigestRulesTest, ValidityAndTextFollowTheCutters)
{
    const DigestRule k = rule("K");
    const std::tuple<DigestRules, bool, const char *, const char *> rows[] = {
        { { k, {}, {} }, false, "", "" },
        { { k, {}, DigestRules::Nterm }, false, "N-term", "" },
        { { {}, rule("D"), DigestRules::Nterm }, true, "N-term", "D" },
        { { rule("KR"), rule("D"), DigestRules::CtermNterm }, true, "C-term;N-term", "K,R;D" },
        { { k, {}, DigestRules::CtermNterm }, false, "C-term;N-term", "K;" },
        { { k, rule("D"), DigestRules::DigestCutters(3) }, true, "", "" }, // 3 is not both sides
    };
    for (const auto &[rules, valid, cutters, letters] : rows) {
        SCOPED_TRACE(letters);
        EXPECT_EQ(rules.isValid(), valid);
        EXPECT_EQ(DigestRules::cuttersToString(rules.cutters()), QString::fromLatin1(cutters));
        EXPECT_EQ(rules.digestRulesAsString(DigestRule::CommaSeparated), QString::fromLatin1(letters));
    }
    EXPECT_TRUE(DigestRules(k, {}, {}).isEmpty());
}

TEST(DigestRulesTest, FromStringsPairsEachLetterGroupWithItsSide)
{
    const DigestRules both(rule("KR"), rule("D"), DigestRules::CtermNterm);
    const std::tuple<const char *, const char *, DigestRules> rows[] = {
        { "d", "nterm", DigestRules::makeNtermOnly(rule("D")) },
        { "K,R;D", "C-term;N-term", both },
        { "D;K,R", "N-term;C-term", both },
        { ";;K;", "C-term;", DigestRules::makeCtermOnly(rule("K")) },
        { "K;D", "C-term", {} },
        { "K", "X-term", {} },
        { "K;D", "C-term;C-term", {} },
        { "K;D;E", "C-term;N-term;C-term", {} },
        { "", "", {} },
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
