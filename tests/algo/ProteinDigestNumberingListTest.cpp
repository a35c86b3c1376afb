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

    // An invalid digestion falls back to the project's.
    const ProteinDigestionItem pepsin = ProteinDigestionItem::mapFromEnzyme(u"pepsin"_qs);
    EXPECT_FALSE(list.getDigestInfo(2, 1, 2, pepsin, &info));
    list.setProjectDigestion(zeq::BuiltInProteases::kAspN);
    ProteinDigestNumbering::DigestInfo aspN;
    ASSERT_TRUE(list.getDigestInfo(2, 1, 3, pepsin, &aspN));
    EXPECT_EQ(aspN.missedCleavages, 1);
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
    EXPECT_EQ(guard.messages().size(), 11);
    EXPECT_TRUE(guard.contains(u"Last warning for: "_qs));
}

TEST(ProteinDigestNumberingListTest, PeptideOnlyLookUpTakesTheLowestProteinNumber)
{
    // Enough proteins that the table's own order is unlikely to put the lowest first by chance.
    ProteinDigestNumberingList list;
    for (int id = 40; id >= 3; --id) {
        const QString name = u"P"_qs + QString::number(id);
        ASSERT_FALSE(list.insertProtein(id, name, {}, QString(id % 5, u'G') + u"KPEPTIDEKR"_qs, trypsin).hasError());
    }
    // A lower number under other rules cannot answer the look-up and must not hide protein 3.
    ASSERT_FALSE(list.insertProtein(2, u"P2"_qs, {}, u"GKPEPTIDEKR"_qs, zeq::BuiltInProteases::kLysC).hasError());
    ProteinDigestNumbering::DigestInfo info;
    ASSERT_TRUE(list.getDigestInfoUsingPeptideOnly(u"PEPTIDEK"_qs, trypsin, &info));
    EXPECT_EQ(info.text1, u"P3"_qs);
    EXPECT_EQ(info.proteinId, 3);
}
