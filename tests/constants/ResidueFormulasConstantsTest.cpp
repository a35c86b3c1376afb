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
        EXPECT_TRUE(entry.category.isEmpty());
        const bool ambiguous = QStringLiteral("BJXZ").contains(entry.letter);
        EXPECT_EQ(entry.name.isEmpty(), ambiguous);
        EXPECT_EQ(entry.formula.isEmpty(), ambiguous);
    }
    EXPECT_EQ(table.at(u'L' - u'A').formula, table.at(u'I' - u'A').formula);
    EXPECT_EQ(table.at(u'U' - u'A').formula, u"C3 H5 N O Se");
    EXPECT_EQ(table.at(u'O' - u'A').formula, u"C12 H19 N3 O2");
}

TEST(ResidueFormulasConstantsTest, OligonucleotideTablesInOrder)
{
    const auto &old = ResidueFormulasConstants::DEFAULT_RESIDUE_CHEMICAL_FORMULAS_OLIGONUCLEOTIDE;
    QString letters;
    for (const auto &entry : old) {
        letters.append(entry.letter);
        EXPECT_TRUE(entry.category.isEmpty());
    }
    EXPECT_EQ(letters, u"ACGTUIQrme+f*");
    EXPECT_EQ(old.at(11).formula, u"F H(-1)");
    EXPECT_EQ(old.at(12).formula, u"O(-1) S");

    const auto &blocks = ResidueFormulasConstants::DEFAULT_RESIDUE_CHEMICAL_FORMULAS_OLIGONUCLEOTIDE_NEW_DEF;
    letters.clear();
    QString categories;
    for (const auto &entry : blocks) {
        letters.append(entry.letter);
        categories.append(entry.category.at(0));
    }
    EXPECT_EQ(letters, u"ACGTUIQrme+f*.");
    EXPECT_EQ(categories, u"NNNNNNNRRRRRPP");
    EXPECT_EQ(blocks.at(1).formula, u"C4 H5 N3 O1"); // explicit count of 1
    EXPECT_EQ(blocks.at(0).formula, u"C5 H5 N5");
}

TEST(ResidueFormulasConstantsTest, NucleotideMapsAndChainOffset)
{
    EXPECT_EQ(ResidueFormulasConstants::DNA_FORMULAS.size(), 4);
    EXPECT_EQ(ResidueFormulasConstants::RNA_FORMULAS.size(), 4);
    EXPECT_EQ(ResidueFormulasConstants::DNA_FORMULAS.value(u'T'), u"C10 H13 O7 N2 P");
    EXPECT_EQ(ResidueFormulasConstants::RNA_FORMULAS.value(u'U'), u"C9 H11 O8 N2 P");
    EXPECT_FALSE(ResidueFormulasConstants::DNA_FORMULAS.contains(u'U'));
    // RNA carries one more oxygen than DNA for each shared base.
    EXPECT_EQ(ResidueFormulasConstants::RNA_FORMULAS.value(u'A'), u"C10 H12 O6 N5 P");
    EXPECT_EQ(ResidueFormulasConstants::OLIGONUCLEOTIDE_CHAIN_OFFSET, u"H P (-1) O (-2)");
}
