#include "constants/ResidueFormulasConstants.h"

#include <gtest/gtest.h>

using zeq::ResidueFormulasConstants;

TEST(ResidueFormulasConstantsTest, ProteinTableCoversTheAlphabet)
{
    const auto &table = ResidueFormulasConstants::DEFAULT_RESIDUE_CHEMICAL_FORMULAS_PROTEIN;
    ASSERT_EQ(table.size(), 26);
    for (int i = 0; i < 26; ++i) {
        const auto &entry = table.at(i);
        SCOPED_TRACE(entry.letter.toLatin1());
        EXPECT_EQ(entry.letter, QChar(u'A' + i));
        EXPECT_EQ(entry.formula.isEmpty(), QStringLiteral("BJXZ").contains(entry.letter));
    }
    EXPECT_EQ(table.at(u'L' - u'A').formula, table.at(u'I' - u'A').formula);
}

TEST(ResidueFormulasConstantsTest, OligonucleotideTablesInOrder)
{
    QString letters;
    for (const auto &entry : ResidueFormulasConstants::DEFAULT_RESIDUE_CHEMICAL_FORMULAS_OLIGONUCLEOTIDE) {
        letters.append(entry.letter);
    }
    EXPECT_EQ(letters, u"ACGTUIQrme+f*");

    letters.clear();
    QString categories;
    for (const auto &entry : ResidueFormulasConstants::DEFAULT_RESIDUE_CHEMICAL_FORMULAS_OLIGONUCLEOTIDE_NEW_DEF) {
        letters.append(entry.letter);
        categories.append(entry.category.at(0));
    }
    EXPECT_EQ(letters, u"ACGTUIQrme+f*.");
    EXPECT_EQ(categories, u"NNNNNNNRRRRRPP");
    EXPECT_EQ(ResidueFormulasConstants::RNA_FORMULAS.value(u'U'), u"C9 H11 O8 N2 P");
}
