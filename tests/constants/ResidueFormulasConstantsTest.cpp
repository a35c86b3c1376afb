#include "constants/ResidueFormulasConstants.h"

#include <QHash>
#include <QRegularExpression>

#include <gtest/gtest.h>

#include <limits>

using zeq::ResidueFormulasConstants;

namespace
{

// Monoisotopic element masses, Da (IUPAC); independent of the library's own mass tables.
const QHash<QString, double> kElementMass{
    { u"H"_qs, 1.00782503207 }, { u"C"_qs, 12.0 },        { u"N"_qs, 14.0030740048 }, { u"O"_qs, 15.99491461956 },
    { u"F"_qs, 18.99840322 },   { u"P"_qs, 30.97376163 }, { u"S"_qs, 31.97207100 },   { u"Se"_qs, 79.9165213 },
};

// Reads both notations: "H(-1)" and "O1" in the residue tables, "P (-1)" in the chain offset.
// NaN for anything else, so a malformed formula fails the comparison.
double monoisotopicMass(const QString &formula)
{
    static const QRegularExpression element(u"^([A-Z][a-z]?)(\\d+|\\(-?\\d+\\))?$"_qs);
    static const QRegularExpression count(u"^\\((-?\\d+)\\)$"_qs);
    double mass = 0.0;
    double last = std::numeric_limits<double>::quiet_NaN();
    for (const QString &token : formula.split(u' ', Qt::SkipEmptyParts)) {
        if (const auto m = count.match(token); m.hasMatch()) {
            mass += last * (m.captured(1).toInt() - 1); // a count for the element just read once
            continue;
        }
        const auto m = element.match(token);
        if (!m.hasMatch() || !kElementMass.contains(m.captured(1))) {
            return std::numeric_limits<double>::quiet_NaN();
        }
        last = kElementMass.value(m.captured(1));
        const QString n = m.captured(2).remove(u'(').remove(u')');
        mass += last * (n.isEmpty() ? 1 : n.toInt());
    }
    return mass;
}

} // namespace

// Published monoisotopic residue masses: a wrong count or element in a formula shows as a mass off
// by at least a hydrogen.
TEST(ResidueFormulasConstantsTest, ProteinFormulasGivePublishedResidueMasses)
{
    const QHash<QChar, double> published{
        { u'G', 57.021464 },  { u'A', 71.037114 },  { u'S', 87.032028 },  { u'P', 97.052764 },  { u'V', 99.068414 },
        { u'T', 101.047679 }, { u'C', 103.009185 }, { u'L', 113.084064 }, { u'I', 113.084064 }, { u'N', 114.042927 },
        { u'D', 115.026943 }, { u'Q', 128.058578 }, { u'K', 128.094963 }, { u'E', 129.042593 }, { u'M', 131.040485 },
        { u'H', 137.058912 }, { u'F', 147.068414 }, { u'U', 150.953636 }, { u'R', 156.101111 }, { u'Y', 163.063329 },
        { u'W', 186.079313 }, { u'O', 237.147727 },
    };
    const auto &table = ResidueFormulasConstants::DEFAULT_RESIDUE_CHEMICAL_FORMULAS_PROTEIN;
    ASSERT_EQ(table.size(), 26);
    for (int i = 0; i < table.size(); ++i) {
        const auto &entry = table.at(i);
        SCOPED_TRACE(entry.letter.toLatin1());
        EXPECT_EQ(entry.letter, QChar(u'A' + i)) << "looked up by letter - 'A'";
        if (published.contains(entry.letter)) {
            EXPECT_NEAR(monoisotopicMass(entry.formula), published.value(entry.letter), 1e-5);
        } else {
            EXPECT_TRUE(entry.formula.isEmpty());
        }
    }
}

TEST(ResidueFormulasConstantsTest, NucleotideFormulasGivePublishedMasses)
{
    using F = ResidueFormulasConstants;
    const struct {
        const char *name;
        QString formula;
        double mass;
    } rows[] = {
        // Nucleotide residues in a chain (nucleoside monophosphate minus water).
        { "DNA A", F::DNA_FORMULAS.value(u'A'), 313.057605 },
        { "DNA C", F::DNA_FORMULAS.value(u'C'), 289.046372 },
        { "DNA G", F::DNA_FORMULAS.value(u'G'), 329.052520 },
        { "DNA T", F::DNA_FORMULAS.value(u'T'), 304.046037 },
        { "RNA A", F::RNA_FORMULAS.value(u'A'), 329.052520 },
        { "RNA U", F::RNA_FORMULAS.value(u'U'), 306.025302 },
        { "older table Q", F::DEFAULT_RESIDUE_CHEMICAL_FORMULAS_OLIGONUCLEOTIDE.at(6).formula, 303.062022 },
        // A one-nucleotide chain is the nucleoside: 2'-deoxyadenosine.
        { "chain of DNA A", F::DNA_FORMULAS.value(u'A') + u' ' + F::OLIGONUCLEOTIDE_CHAIN_OFFSET, 251.101839 },
        // Building blocks with "O1": cytosine, and 2'-O-methylribose.
        { "new table C", F::DEFAULT_RESIDUE_CHEMICAL_FORMULAS_OLIGONUCLEOTIDE_NEW_DEF.at(1).formula, 111.043262 },
        { "new table m", F::DEFAULT_RESIDUE_CHEMICAL_FORMULAS_OLIGONUCLEOTIDE_NEW_DEF.at(8).formula, 164.068473 },
    };
    for (const auto &row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_NEAR(monoisotopicMass(row.formula), row.mass, 1e-5) << row.formula.toStdString();
    }
}
