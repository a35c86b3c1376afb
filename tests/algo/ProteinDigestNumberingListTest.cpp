#include "algo/ProteinDigestNumberingList.h"

#include "algo/BuiltInEnzymes.h"
#include "support/MessageGuard.h"

#include <gtest/gtest.h>

using zeq::DigestRule;
using zeq::DigestRules;
using zeq::ProteinDigestionItem;
using zeq::ProteinDigestNumbering;
using zeq::ProteinDigestNumberingList;

namespace
{

const ProteinDigestionItem &trypsin = zeq::BuiltInProteases::kTrypsin;

// Trypsin's rules written K,R instead of R,K, under another name.
const ProteinDigestionItem reordered(u"tryp"_qs, DigestRules::makeCtermOnly(DigestRule({ u'K', u'R', u'K' })), 3);

} // namespace

TEST(ProteinDigestNumberingListTest, LooksUpByEqualRulesWhateverTheirOrder)
{
    ProteinDigestNumberingList list;
    ASSERT_FALSE(list.insertProtein(1, u"P1"_qs, u"first"_qs, u"AKPEKRG"_qs, trypsin).hasError());
    ASSERT_FALSE(list.insertProtein(2, u"P2"_qs, {}, u"ADKDE"_qs, zeq::BuiltInProteases::kAspN).hasError());
    // The same key again keeps the first numbering.
    ASSERT_FALSE(list.insertProtein(1, u"P1"_qs, u"second"_qs, u"GGGGGGG"_qs, reordered).hasError());
    EXPECT_EQ(list.size(), 2);

    ProteinDigestNumbering::DigestInfo info;
    ASSERT_TRUE(list.getDigestInfo(1, 2, 4, reordered, &info));
    EXPECT_EQ(info, (ProteinDigestNumbering::DigestInfo{ 2, 2, 3, 5, 0, 0, 0, 1, u"P1"_qs, u"first"_qs }));
    EXPECT_FALSE(list.getDigestInfo(1, 2, 4, zeq::BuiltInProteases::kLysC, &info));
    EXPECT_FALSE(list.getDigestInfo(1, 2, 7, trypsin, &info));

    // An invalid digestion falls back to the project's.
    const ProteinDigestionItem pepsin = ProteinDigestionItem::mapFromEnzyme(u"pepsin"_qs);
    EXPECT_FALSE(list.getDigestInfo(2, 1, 2, pepsin, &info));
    list.setProjectDigestion(zeq::BuiltInProteases::kAspN);
    ProteinDigestNumbering::DigestInfo aspN;
    ASSERT_TRUE(list.getDigestInfo(2, 1, 3, pepsin, &aspN));
    EXPECT_EQ(aspN.missedCleavages, 1);
    EXPECT_EQ(aspN.cTermOffset, 1);
}

TEST(ProteinDigestNumberingListTest, PeptideOnlyLookUpSearchesEveryProtein)
{
    ProteinDigestNumberingList list;
    ASSERT_FALSE(list.insertProtein(1, u"P1"_qs, {}, u"AKPEKRG"_qs, trypsin).hasError());
    ASSERT_FALSE(list.insertProtein(2, u"P2"_qs, {}, u"MMWWKLLR"_qs, trypsin).hasError());
    ProteinDigestNumbering::DigestInfo info;
    ASSERT_TRUE(list.getDigestInfoUsingPeptideOnly(u"wkl"_qs, trypsin, &info));
    EXPECT_EQ(info, (ProteinDigestNumbering::DigestInfo{ 1, 2, 4, 6, 3, 2, 1, 2, u"P2"_qs, {} }));
    EXPECT_FALSE(list.getDigestInfoUsingPeptideOnly(u"WKLX"_qs, trypsin, &info));
    EXPECT_FALSE(list.getDigestInfoUsingPeptideOnly(QString(), trypsin, &info));
    // Found, but no numbering exists for these rules.
    EXPECT_FALSE(list.getDigestInfoUsingPeptideOnly(u"WKL"_qs, zeq::BuiltInProteases::kLysC, &info));
}

TEST(ProteinDigestNumberingListTest, RefusedOrRulelessProteinsAreNotAdded)
{
    ProteinDigestNumberingList list;
    EXPECT_EQ(list.insertProtein(1, {}, {}, u"AKé"_qs, trypsin).code(), kBadParameterError);
    EXPECT_EQ(list, ProteinDigestNumberingList());

    // Only the first ten insertions without rules in the process say so.
    zeq::test::MessageGuard guard;
    const ProteinDigestionItem none = ProteinDigestionItem::mapFromEnzyme(u"Pepsin"_qs);
    for (int i = 0; i < 12; ++i) {
        EXPECT_FALSE(list.insertProtein(i, {}, {}, u"AKPEKRG"_qs, none).hasError());
    }
    EXPECT_EQ(list.size(), 0);
    // The closing notice goes to the default category, the others to the library's.
    QStringList logged;
    for (const auto &message : guard.messages()) {
        EXPECT_EQ(message.type, QtDebugMsg);
        logged.append(message.category + u": "_qs + message.text);
    }
    QStringList expected(9, u"zeq.common_core: Unknown Digestion Type: Pepsin"_qs);
    expected << u"default: Last warning for: "_qs << expected.first();
    EXPECT_EQ(logged, expected);
}
