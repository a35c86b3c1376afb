#include "math/MonoisotopicMass.h"

#include <gtest/gtest.h>

#include <cmath>

// Expected masses are hand sums of the element masses.
TEST(MonoisotopicMassTest, FormulasInBothNotations)
{
    const struct {
        const char16_t *formula;
        double mass; ///< NaN: refused, with `part` in the message
        const char16_t *part = u"";
    } rows[] = {
        { u"C4 H5 N3 O1", 111.04326179401 }, // explicit count of 1
        { u"C5 O5 H10", 150.05282342015 }, // element order is free
        { u"F H(-1)", 17.9905781305 },
        { u"H P (-1) O (-2)", -61.95576620533 }, // negative counts after a blank
        { u"  C3   H5 N O Se ", 150.95363558515 },
        { u"", NAN, u"no element" },
        { u"C3 Xx", NAN, u"\"Xx\"" },
        { u"3C", NAN, u"\"3\"" },
        { u"H-1", NAN, u"\"-1\"" },
        { u"(-1) C", NAN, u"\"(-1)\"" },
        { u"H2 (2) (2)", NAN, u"\"(2)\"" }, // a count may follow its element once only
    };
    for (const auto &row : rows) {
        const QString formula = QString::fromUtf16(row.formula);
        SCOPED_TRACE(formula.toStdString());
        const zeq::Result<double> mass = zeq::formulaMonoisotopicMass(formula);
        if (std::isnan(row.mass)) {
            ASSERT_TRUE(mass.hasError());
            EXPECT_TRUE(mass.error().errorString().contains(QString::fromUtf16(row.part)))
                << mass.error().errorString().toStdString();
        } else {
            ASSERT_TRUE(mass.hasValue()) << mass.error().errorString().toStdString();
            EXPECT_NEAR(mass.value(), row.mass, 1e-9);
        }
    }
    EXPECT_DOUBLE_EQ(zeq::formulaMonoisotopicMass(u"H2 O").value(), zeq::kWaterMonoisotopicMass);
}

TEST(MonoisotopicMassTest, PeptideIsResiduesPlusWater)
{
    // PEPTIDE is C34 H53 N7 O15; I and L weigh the same.
    EXPECT_NEAR(zeq::peptideMonoisotopicMass(u"pepTide").value(), 799.35996403275, 1e-9);
    EXPECT_EQ(zeq::peptideMonoisotopicMass(u"PEPTLDE").value(), zeq::peptideMonoisotopicMass(u"PEPTIDE").value());
    const std::pair<const char16_t *, const char16_t *> refused[] = {
        { u"", u"No residues" },
        { u"PEPXIDE", u"Residue 4 (\"X\")" },
        { u"PEPTIDE*", u"Residue 8 (\"*\")" },
        { u"PEP\u00e9", u"Residue 4 (\"\u00e9\")" },
    };
    for (const auto &[sequence, message] : refused) {
        const zeq::Result<double> mass = zeq::peptideMonoisotopicMass(QString::fromUtf16(sequence));
        ASSERT_TRUE(mass.hasError());
        EXPECT_TRUE(mass.error().errorString().contains(QString::fromUtf16(message)))
            << mass.error().errorString().toStdString();
    }
}
