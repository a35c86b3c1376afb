#include "algo/ProteinDigestNumbering.h"

#include "algo/BuiltInEnzymes.h"

#include <QRandomGenerator>

#include <gtest/gtest.h>

#include <array>
#include <climits>

using zeq::DigestRule;
using zeq::DigestRules;
using zeq::ProteinDigestNumbering;

namespace
{

DigestRule rule(const char *letters)
{
    return DigestRule::fromString(QString::fromLatin1(letters));
}

ProteinDigestNumbering numbered(const QString &protein, const DigestRules &rules)
{
    ProteinDigestNumbering numbering;
    const Error err = numbering.initProteinAndDigest(7, u"P7"_qs, u"desc"_qs, protein, rules, 0);
    EXPECT_FALSE(err.hasError()) << qPrintable(err.errorString());
    return numbering;
}

// Every enzyme with rules, and a mixed rule where D cuts on both sides.
QList<DigestRules> rulesUnderTest()
{
    QList<DigestRules> all;
    for (const zeq::ProteinDigestionItem &item : zeq::ProteinDigestionItem::knownEnzymeDigestRules()) {
        if (item.isValid()) {
            all.append(item.digestRules());
        }
    }
    all.append(DigestRules(rule("KRD"), rule("DP"), DigestRules::CtermNterm));
    return all;
}

QList<QString> randomProteins()
{
    static constexpr char16_t residues[] = u"ACDEFGHIKLMNPQRSTVWY";
    QRandomGenerator random(5);
    QList<QString> proteins{ QString(), u"K"_qs, u"D"_qs };
    for (int i = 0; i < 12; ++i) {
        QString protein;
        for (int j = 0, n = random.bounded(1, 40); j < n; ++j) {
            protein.append(QChar(residues[random.bounded(20)]));
        }
        proteins.append(protein);
    }
    return proteins;
}

// The chain is cut before residue i (0 < i < n) by a side the cutters put in force.
bool cutBefore(const DigestRules &rules, const QString &protein, qsizetype i)
{
    const int cutters = rules.cutters().toInt();
    const bool cTerm = cutters == DigestRules::Cterm || cutters == DigestRules::CtermNterm;
    const bool nTerm = cutters == DigestRules::Nterm || cutters == DigestRules::CtermNterm;
    return (cTerm && rules.ruleForCterm().cleavageSites().contains(protein[i - 1]))
        || (nTerm && rules.ruleForNterm().cleavageSites().contains(protein[i]));
}

} // namespace

TEST(ProteinDigestNumberingTest, CleavageTableFollowsTheCutters)
{
    struct Row {
        const char *name;
        DigestRules rules;
        DigestCutterType side;
        const char *entries; // residue=entry for every entry that is not -1
    };
    const Row rows[] = {
        { "trypsin", zeq::BuiltInProteases::kTrypsin.digestRules(), CutterCterm, "K=0 R=0 " },
        { "aspN", zeq::BuiltInProteases::kAspN.digestRules(), CutterNterm, "D=1 " },
        { "both", { rule("KR"), rule("K"), DigestRules::CtermNterm }, CutterCtermNterm, "K=2 R=0 " },
        { "both, repeated N-term letter",
          { rule("K"), rule("KKD"), DigestRules::CtermNterm },
          CutterCtermNterm,
          "D=1 K=2 " },
        { "three is no combination", { rule("K"), rule("D"), DigestRules::DigestCutters(3) }, CutterNterm, "" },
        { "no cutter", { rule("K"), rule("D"), {} }, CutterNterm, "" },
    };
    for (const Row &row : rows) {
        SCOPED_TRACE(row.name);
        std::array<char, 256> table;
        table.fill(9);
        DigestCutterType side = CutterNterm;
        ProteinDigestNumbering::setupCutterAndHash(row.rules, &side, table.data());
        EXPECT_EQ(side, row.side);
        QString entries;
        for (int code = 0; code < 256; ++code) {
            if (table[code] != -1) {
                entries += QStringLiteral("%1=%2 ").arg(QChar(code)).arg(int(table[code]));
            }
        }
        EXPECT_EQ(entries, QString::fromLatin1(row.entries));
    }
}

TEST(ProteinDigestNumberingTest, ProteolyticTestMatchesBruteForceAndTheNumbering)
{
    for (const DigestRules &rules : rulesUnderTest()) {
        for (const QString &protein : randomProteins()) {
            SCOPED_TRACE((rules.digestRulesAsString(DigestRule::CommaSeparated) + u' ' + protein).toStdString());
            const qsizetype n = protein.size();
            const QList<int> numbers = numbered(protein, rules).digestNumbers();
            const auto atCut = [&](qsizetype i) { return i == 0 || i == n || cutBefore(rules, protein, i); };
            for (qsizetype i = 1; i < n; ++i) {
                ASSERT_EQ(numbers[i] != numbers[i - 1], atCut(i)) << i;
            }
            for (int first = 0; first < n; ++first) {
                for (int second = first + 1; second <= n; ++second) {
                    const bool expected = atCut(first) && atCut(second);
                    ASSERT_EQ(
                        ProteinDigestNumbering::checkSubstringPeptideIsProteolytic(rules, protein, { first, second }),
                        expected)
                        << first << ".." << second;
                    ASSERT_EQ(ProteinDigestNumbering::checkSubstringPeptideIsProteolytic(
                                  rules, protein.toLower(), { first, second }),
                              expected);
                }
            }
        }
    }
}

TEST(ProteinDigestNumberingTest, RangesReachingOutsideTheProteinAreFreeAtThatEnd)
{
    const DigestRules trypsin = zeq::BuiltInProteases::kTrypsin.digestRules();
    const QString protein = u"AKPEKRG"_qs;
    const std::pair<int, int> accepted[] = {
        { 2, 5 }, { 5, 7 }, { -5, 2 }, { 2, 100 }, { INT_MIN, INT_MAX }, { 9, 2 }
    };
    const std::pair<int, int> rejected[] = { { 2, 4 }, { 3, 100 }, { -1, 4 }, { 9, 3 } };
    for (const auto &range : accepted) {
        EXPECT_TRUE(ProteinDigestNumbering::checkSubstringPeptideIsProteolytic(trypsin, protein, range));
    }
    for (const auto &range : rejected) {
        EXPECT_FALSE(ProteinDigestNumbering::checkSubstringPeptideIsProteolytic(trypsin, protein, range));
    }
    EXPECT_TRUE(ProteinDigestNumbering::checkSubstringPeptideIsProteolytic({}, protein, { 2, 4 }));
    EXPECT_FALSE(ProteinDigestNumbering::checkSubstringPeptideIsProteolytic(
        { rule("K"), {}, DigestRules::DigestCutters(8) }, protein, { 2, 5 }));
}

TEST(ProteinDigestNumberingTest, DigestInfoAgreesWithTheEnginePeptideList)
{
    const std::array<double, 256> noMasses{};
    for (const DigestRules &rules : rulesUnderTest()) {
        for (const QString &protein : randomProteins()) {
            SCOPED_TRACE((rules.digestRulesAsString(DigestRule::CommaSeparated) + u' ' + protein).toStdString());
            std::array<char, 256> table;
            DigestCutterType side = CutterCterm;
            ProteinDigestNumbering::setupCutterAndHash(rules, &side, table.data());
            ProteinDigestor engine;
            const std::string bytes = protein.toStdString();
            const int n = static_cast<int>(bytes.size());
            ASSERT_FALSE(
                engine.init(bytes.c_str(), n, noMasses.data(), 0, 0, 0, 0, n, table.data(), side, DigestSpecific, 0)
                    .hasError());
            // Peptides without missed cleavage, in protein order, are the digest's numbered pieces.
            QList<ProteinDigestor::Peptide> pieces;
            for (const ProteinDigestor::Peptide &peptide : engine.peptides()) {
                if (peptide.missedCleavages == 0) {
                    pieces.append(peptide);
                }
            }
            const auto pieceOf = [&pieces](int residue) {
                for (qsizetype k = 0; k < pieces.size(); ++k) {
                    if (pieces[k].first <= residue && residue <= pieces[k].last) {
                        return static_cast<int>(k);
                    }
                }
                return -1;
            };
            const ProteinDigestNumbering numbering = numbered(protein, rules);
            for (int first = 0; first < n; ++first) {
                for (int last = first; last < n; ++last) {
                    const int k = pieceOf(first);
                    const int l = pieceOf(last);
                    const ProteinDigestNumbering::DigestInfo expected{
                        k + 1, l + 1, first + 1, last + 1,  first - pieces[k].first, pieces[l].last - last,
                        l - k, 7,     u"P7"_qs,  u"desc"_qs
                    };
                    ProteinDigestNumbering::DigestInfo info;
                    ASSERT_TRUE(numbering.getDigestInfo(first, last, &info));
                    ASSERT_EQ(info, expected) << first << ".." << last;
                }
            }
            for (const ProteinDigestor::Peptide &peptide : engine.peptides()) {
                ProteinDigestNumbering::DigestInfo info;
                ASSERT_TRUE(numbering.getDigestInfo(peptide.first, peptide.last, &info));
                EXPECT_EQ(info.missedCleavages, peptide.missedCleavages);
                EXPECT_EQ(info.nTermOffset + info.cTermOffset, 0);
            }
        }
    }
}

TEST(ProteinDigestNumberingTest, CheckValuesAndBadIndices)
{
    EXPECT_EQ(numbered(u"AKPEKRG"_qs, zeq::BuiltInProteases::kTrypsin.digestRules()).digestNumbers(),
              (QList<int>{ 1, 1, 2, 2, 2, 3, 4 }));
    EXPECT_EQ(numbered(u"ADKDE"_qs, zeq::BuiltInProteases::kAspN.digestRules()).digestNumbers(),
              (QList<int>{ 1, 2, 2, 3, 3 }));

    const ProteinDigestNumbering numbering = numbered(u"AKPEKRG"_qs, zeq::BuiltInProteases::kTrypsin.digestRules());
    const std::pair<int, int> bad[] = { { -1, 2 }, { 0, 7 }, { 7, 7 }, { 2, -1 } };
    for (const auto &[first, last] : bad) {
        ProteinDigestNumbering::DigestInfo info;
        EXPECT_FALSE(numbering.getDigestInfo(first, last, &info));
        EXPECT_EQ(info, ProteinDigestNumbering::DigestInfo());
    }
    EXPECT_FALSE(numbering.getDigestInfo(0, 1, nullptr));

    ProteinDigestNumbering failed;
    const Error err =
        failed.initProteinAndDigest(1, {}, {}, u"AKé"_qs, zeq::BuiltInProteases::kTrypsin.digestRules(), 0);
    EXPECT_EQ(err.code(), kBadParameterError);
    EXPECT_EQ(err.catchPoints().size(), 2);
    EXPECT_TRUE(failed.digestNumbers().isEmpty());
}

TEST(ProteinDigestNumberingTest, PeptidePositionPrefersAProteolyticOccurrence)
{
    const zeq::ProteinDigestionItem trypsin = zeq::BuiltInProteases::kTrypsin;
    struct Row {
        const char *protein;
        const char *peptide;
        int start; // -1: not found
    };
    const Row rows[] = {
        { "APEKAKPEKR", "PEK", 6 }, // the first PEK is not preceded by a cleavage point
        { "APEKAPEK", "pek", 1 }, // neither is: the first occurrence
        { "AKKK", "KK", 2 }, // overlapping occurrences are all tried
        { "AKPEKRG", "PEKX", -1 },  { "AKPEKRG", "", -1 }, { "AKPEKRG", "Ké", -1 },
    };
    for (const Row &row : rows) {
        SCOPED_TRACE(row.protein + std::string(" ") + row.peptide);
        const ProteinDigestNumbering numbering = numbered(QString::fromLatin1(row.protein), trypsin.digestRules());
        int start = -1;
        int end = -1;
        const QString peptide = QString::fromUtf8(row.peptide);
        EXPECT_EQ(numbering.getPeptideStartAndEndPositions(peptide, trypsin, &start, &end), row.start >= 0);
        EXPECT_EQ(start, row.start);
        EXPECT_EQ(end, row.start < 0 ? -1 : row.start + peptide.size() - 1);
    }
}

TEST(ProteinDigestNumberingTest, OlderRuleTextNeedsLettersBarAndSide)
{
    struct Row {
        const char *text;
        bool ok;
        const char *letters; // after the call, from ""
        DigestCutterType side; // after the call, from CutterCtermNterm
        bool coarselyValid;
    };
    const Row rows[] = {
        { "K,R | C-Term", true, "k,r", CutterCterm, true },  { "d|N-TERM|ignored", true, "d", CutterNterm, true },
        { "k r|c-term", false, "", CutterCtermNterm, true }, { "k|x-term", false, "k", CutterCtermNterm, true },
        { "k|cterm", false, "k", CutterCtermNterm, true },   { "k,,r|c-term", false, "", CutterCtermNterm, true },
        { "|c-term", false, "", CutterCtermNterm, false },   { "k,r", false, "", CutterCtermNterm, false },
        { "", false, "", CutterCtermNterm, false },
    };
    const ProteinDigestNumbering numbering;
    for (const Row &row : rows) {
        SCOPED_TRACE(row.text);
        QString letters;
        DigestCutterType side = CutterCtermNterm;
        const Error err = numbering.parseDigestRule(QString::fromLatin1(row.text), &letters, &side);
        EXPECT_EQ(err.code(), row.ok ? kNoErr : kBadParameterError);
        EXPECT_EQ(err.catchPoints().isEmpty(), row.ok);
        EXPECT_EQ(letters, QString::fromLatin1(row.letters));
        EXPECT_EQ(side, row.side);
        EXPECT_EQ(ProteinDigestNumbering::digestStringIsValid(QString::fromLatin1(row.text)), row.coarselyValid);
    }
    EXPECT_EQ(numbering.parseDigestRule(u"k|c-term"_qs, nullptr, nullptr).code(), kBadParameterError);
}
