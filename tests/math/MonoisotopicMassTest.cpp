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
        { u"C4 H5 N3 O1", 111.04326179401 }, { u"H P (-1) O (-2)", -61.95576620533 }, // negative counts after a blank
        { u"", NAN, u"no element" },         { u"C3 Xx", NAN, u"\"Xx\"" },
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
}

TEST(MonoisotopicMassTest, PeptideIsResiduesPlusWater)
{
    // PEPTIDE is C34 H53 N7 O15.
    EXPECT_NEAR(zeq::peptideMonoisotopicMass(u"pepTide").value(), 799.35996403275, 1e-9);
    const zeq::Result<double> mass = zeq::peptideMonoisotopicMass(u"PEPXIDE");
    ASSERT_TRUE(mass.hasError());
    EXPECT_TRUE(mass.error().errorString().contains(u"Residue 4 (\"X\")")) << mass.error().errorString().toStdString();
}
