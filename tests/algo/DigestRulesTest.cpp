#include "algo/DigestRules.h"

#include <QHash>
#include <QMetaEnum>
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

TEST(DigestRulesTest, RulesAreUpperCaseSetsOfLetters)
{
    const DigestRule kr(QList<QChar>{ u'k', u'r' });
    EXPECT_EQ(kr.cleavageSites(), (QList<QChar>{ u'K', u'R' }));
    EXPECT_TRUE(kr.contains(u'k'));
    EXPECT_FALSE(DigestRule().contains(u'K'));
    EXPECT_EQ(rule("1a b;d").cleavageSites(), (QList<QChar>{ u'A', u'B', u'D' }));
    EXPECT_EQ(rule("k, r").toString(DigestRule::CommaSeparated), u"K,R");
    EXPECT_EQ(rule("KR").toString(static_cast<DigestRule::Format>(7)), u"KR");

    // Equal as sets, and equal rules must hash alike or a table keyed by R,K misses K,R.
    EXPECT_EQ(rule("KR"), rule("RKK"));
    EXPECT_FALSE(rule("KR") == rule("K"));
    QHash<DigestRules, int> byRules;
    byRules.insert(DigestRules::makeCtermOnly(rule("RK")), 1);
    EXPECT_EQ(byRules.value(DigestRules::makeCtermOnly(rule("KR"))), 1);
    EXPECT_EQ(byRules.value(DigestRules::makeCtermOnly(rule("KRRK"))), 1);
    EXPECT_EQ(byRules.value(DigestRules::makeNtermOnly(rule("KR"))), 0);
}

TEST(DigestRulesTest, CutterIsAFlagWhoseBothSidesBitStandsAlone)
{
    const QMetaEnum meta = QMetaEnum::fromType<DigestRules::DigestCutter>();
    EXPECT_STREQ(meta.name(), "DigestCutter");
    EXPECT_TRUE(meta.isFlag());
    EXPECT_EQ(meta.keysToValue("Cterm|Nterm"), 3);
    EXPECT_EQ(meta.keyToValue("CtermNterm"), 4);

    struct Row {
        const char *name;
        DigestRules rules;
        bool empty;
        bool valid;
        const char *cutters;
        const char *letters;
    };
    const DigestRule k = rule("K");
    const Row rows[] = {
        { "letters, no cutter", { k, {}, {} }, true, false, "", "" },
        { "N-term cutter, empty N-term rule", { k, {}, DigestRules::Nterm }, false, false, "N-term", "" },
        { "C-term", { rule("KR"), rule("D"), DigestRules::Cterm }, false, true, "C-term", "K,R" },
        { "N-term", { {}, rule("D"), DigestRules::Nterm }, false, true, "N-term", "D" },
        { "both", { rule("KR"), rule("D"), DigestRules::CtermNterm }, false, true, "C-term;N-term", "K,R;D" },
        { "both, N-term rule empty", { k, {}, DigestRules::CtermNterm }, false, false, "C-term;N-term", "K;" },
        { "three is not both", { k, rule("D"), DigestRules::DigestCutters(3) }, false, true, "", "" },
    };
    for (const Row &row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(row.rules.isEmpty(), row.empty);
        EXPECT_EQ(row.rules.isValid(), row.valid);
        EXPECT_EQ(DigestRules::cuttersToString(row.rules.cutters()), QString::fromLatin1(row.cutters));
        EXPECT_EQ(row.rules.digestRulesAsString(DigestRule::CommaSeparated), QString::fromLatin1(row.letters));
    }
}

TEST(DigestRulesTest, FromStringsPairsEachLetterGroupWithItsSide)
{
    struct Row {
        const char *letters;
        const char *cutters;
        DigestRules expected;
    };
    const Row rows[] = {
        { "K,R", "C-term", DigestRules::makeCtermOnly(rule("KR")) },
        { "d", "nterm", DigestRules::makeNtermOnly(rule("D")) },
        { "K,R;D", "C-term;N-term", { rule("KR"), rule("D"), DigestRules::CtermNterm } },
        { "D;K,R", "N-term;C-term", { rule("KR"), rule("D"), DigestRules::CtermNterm } },
        { ";;K;", "C-term;", DigestRules::makeCtermOnly(rule("K")) },
        { "K;D", "C-term", {} },
        { "K", "X-term", {} },
        { "K;D", "C-term;C-term", {} },
        { "K;D;E", "C-term;N-term;C-term", {} },
        { "", "", {} },
    };
    for (const Row &row : rows) {
        SCOPED_TRACE(std::string(row.letters) + " | " + row.cutters);
        const DigestRules rules =
            DigestRules::fromStrings(QString::fromLatin1(row.letters), QString::fromLatin1(row.cutters));
        EXPECT_EQ(rules, row.expected);
        EXPECT_EQ(rules.cutters(), row.expected.cutters());
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
    for (int i = 0; i < 500; ++i) {
        const DigestRules::DigestCutter side = sides[random.bounded(3)];
        const DigestRules rules(side == DigestRules::Nterm ? DigestRule() : randomRule(),
                                side == DigestRules::Cterm ? DigestRule() : randomRule(),
                                side);
        ASSERT_TRUE(rules.isValid());
        const QString cutters = DigestRules::cuttersToString(rules.cutters());
        for (const DigestRule::Format format : { DigestRule::CommaSeparated, DigestRule::Concatenated }) {
            const QString letters = rules.digestRulesAsString(format);
            SCOPED_TRACE((letters + u" | "_qs + cutters).toStdString());
            EXPECT_EQ(DigestRules::fromStrings(letters, cutters), rules);
        }
    }
}
