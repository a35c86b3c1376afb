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

const DigestRules trypsin = zeq::BuiltInProteases::kTrypsin.digestRules();

ProteinDigestNumbering numbered(const QString &protein, const DigestRules &rules)
{
    ProteinDigestNumbering numbering;
    const Error err = numbering.initProteinAndDigest(7, u"P7"_qs, u"desc"_qs, protein, rules, 0);
    EXPECT_FALSE(err.hasError()) << qPrintable(err.errorString());
    return numbering;
}

} // namespace

// Every enzyme with rules, and a rule in which D cuts on both sides, on random proteins: the numbering
// and the proteolytic test against brute force, and the digest info against the engine's peptide list.
TEST(ProteinDigestNumberingTest, AgreesWithBruteForceAndTheEngine)
{
    QList<DigestRules> all{ DigestRules(rule("KRD"), rule("DP"), DigestRules::CtermNterm) };
    for (const zeq::ProteinDigestionItem &item : zeq::ProteinDigestionItem::knownEnzymeDigestRules()) {
        if (item.isValid()) {
            all.append(item.digestRules());
        }
    }
    QRandomGenerator random(5);
    QList<QString> proteins{ u"K"_qs, u"D"_qs };
    for (int i = 0; i < 8; ++i) {
        QString protein;
        for (int j = 0, n = random.bounded(1, 30); j < n; ++j) {
            protein.append(QChar(u"ACDEFGHIKLMNPQRSTVWY"[random.bounded(20)]));
        }
        proteins.append(protein);
    }
    for (const DigestRules &rules : all) {
        for (const QString &protein : proteins) {
            SCOPED_TRACE((rules.digestRulesAsString(DigestRule::CommaSeparated) + u' ' + protein).toStdString());
            const int n = static_cast<int>(protein.size());
            const int cutters = rules.cutters().toInt();
            const auto cutBefore = [&](int i) {
                return i == 0 || i == n
                    || (cutters != DigestRules::Nterm && rules.ruleForCterm().cleavageSites().contains(protein[i - 1]))
                    || (cutters != DigestRules::Cterm && rules.ruleForNterm().cleavageSites().contains(protein[i]));
            };
            const ProteinDigestNumbering numbering = numbered(protein, rules);
            for (int i = 1; i < n; ++i) {
                ASSERT_EQ(numbering.digestNumbers()[i] != numbering.digestNumbers()[i - 1], cutBefore(i)) << i;
            }
            for (int first = 0; first < n; ++first) {
                for (int second = first + 1; second <= n; ++second) {
                    for (const QString &text : { protein, protein.toLower() }) {
                        ASSERT_EQ(
                            ProteinDigestNumbering::checkSubstringPeptideIsProteolytic(rules, text, { first, second }),
                            cutBefore(first) && cutBefore(second))
                            << first << ".." << second;
                    }
                }
            }

            std::array<char, 256> table;
            DigestCutterType side = CutterCterm;
            ProteinDigestNumbering::setupCutterAndHash(rules, &side, table.data());
            const std::array<double, 256> masses{};
            const std::string bytes = protein.toStdString();
            ProteinDigestor engine;
            ASSERT_FALSE(
                engine.init(bytes.c_str(), n, masses.data(), 0, 0, 0, 0, n, table.data(), side, DigestSpecific, 0)
                    .hasError());
            // The peptides listed without missed cleavage are the numbered pieces, in order.
            QList<ProteinDigestor::Peptide> pieces;
            QList<int> pieceOf(n, -1);
            for (const ProteinDigestor::Peptide &peptide : engine.peptides()) {
                if (peptide.missedCleavages == 0) {
                    std::fill(pieceOf.begin() + peptide.first, pieceOf.begin() + peptide.last + 1, int(pieces.size()));
                    pieces.append(peptide);
                }
            }
            for (int first = 0; first < n; ++first) {
                for (int last = first; last < n; ++last) {
                    const int k = pieceOf[first], l = pieceOf[last];
                    ProteinDigestNumbering::DigestInfo info;
                    ASSERT_TRUE(numbering.getDigestInfo(first, last, &info));
                    const ProteinDigestNumbering::DigestInfo expected{
                        k + 1, l + 1, first + 1, last + 1,  first - pieces[k].first, pieces[l].last - last,
                        l - k, 7,     u"P7"_qs,  u"desc"_qs
                    };
                    ASSERT_EQ(info, expected) << first << ".." << last;
                }
            }
        }
    }
}

TEST(ProteinDigestNumberingTest, BadIndicesAndSequencesAreRefused)
{
    const ProteinDigestNumbering numbering = numbered(u"AKPEKRG"_qs, trypsin);
    ProteinDigestNumbering::DigestInfo info;
    for (const auto &[first, last] : { std::pair{ -1, 2 }, { 0, 7 } }) {
        EXPECT_FALSE(numbering.getDigestInfo(first, last, &info));
    }
    // Range ends outside the protein count as free ends.
    const std::tuple<int, int, bool> ranges[] = { { INT_MIN, INT_MAX, true }, { 3, 100, false } };
    for (const auto &[first, second, expected] : ranges) {
        EXPECT_EQ(ProteinDigestNumbering::checkSubstringPeptideIsProteolytic(trypsin, u"AKPEKRG"_qs, { first, second }),
                  expected)
            << first << ".." << second;
    }

    ProteinDigestNumbering failed;
    const Error err = failed.initProteinAndDigest(1, {}, {}, u"AKé"_qs, trypsin, 0);
    EXPECT_EQ(err.code(), kBadParameterError);
    EXPECT_TRUE(failed.digestNumbers().isEmpty());
}

TEST(ProteinDigestNumberingTest, PeptidePositionPrefersAProteolyticOccurrence)
{
    const std::tuple<const char *, const char *, int> rows[] = {
        { "APEKAKPEKR", "PEK", 6 }, // the first PEK does not follow a cleavage point
        { "APEKAPEK", "pek", 1 }, // neither does the second: the first occurrence
        { "AKKK", "KK", 2 }, // overlapping occurrences are all tried
        { "AKPEKRG", "Ké", -1 },
    };
    for (const auto &[protein, text, expected] : rows) {
        SCOPED_TRACE(protein + std::string(" ") + text);
        const QString peptide = QString::fromUtf8(text);
        int start = -1, end = -1;
        EXPECT_EQ(numbered(QString::fromLatin1(protein), trypsin)
                      .getPeptideStartAndEndPositions(peptide, zeq::BuiltInProteases::kTrypsin, &start, &end),
                  expected >= 0);
        EXPECT_EQ(start, expected);
        EXPECT_EQ(end, expected < 0 ? -1 : expected + peptide.size() - 1);
    }
}

TEST(ProteinDigestNumberingTest, OlderRuleTextNeedsLettersBarAndSide)
{
    // text, parsed, letters and side after the call (from "" and CutterCtermNterm), coarsely valid
    const std::tuple<const char *, bool, const char *, DigestCutterType, bool> rows[] = {
        { "K,R | C-Term", true, "k,r", CutterCterm, true },
        { "d|N-TERM|ignored", true, "d", CutterNterm, true },
        { "k|x-term", false, "k", CutterCtermNterm, true },
        { "|c-term", false, "", CutterCtermNterm, false },
    };
    const ProteinDigestNumbering numbering;
    for (const auto &[text, ok, expectedLetters, expectedSide, coarselyValid] : rows) {
        SCOPED_TRACE(text);
        QString letters;
        DigestCutterType side = CutterCtermNterm;
        const Error err = numbering.parseDigestRule(QString::fromLatin1(text), &letters, &side);
        EXPECT_EQ(err.code(), ok ? kNoErr : kBadParameterError);
        EXPECT_EQ(letters, QString::fromLatin1(expectedLetters));
        EXPECT_EQ(side, expectedSide);
        EXPECT_EQ(ProteinDigestNumbering::digestStringIsValid(QString::fromLatin1(text)), coarselyValid);
    }
}
