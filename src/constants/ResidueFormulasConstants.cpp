#include "constants/ResidueFormulasConstants.h"

namespace zeq
{

namespace
{
using R = ResidueFormulasConstants::ResidueChemicalFormula;
}

// One file, in the order of the header: the tables are read by other translation units only after load.
const QList<R> ResidueFormulasConstants::DEFAULT_RESIDUE_CHEMICAL_FORMULAS_PROTEIN = {
    { u'A', QStringLiteral("Alanine"), QStringLiteral("C3 H5 N O"), {} },
    { u'B', {}, {}, {} },
    { u'C', QStringLiteral("Cysteine"), QStringLiteral("C3 H5 N O S"), {} },
    { u'D', QStringLiteral("Aspartic acid"), QStringLiteral("C4 H5 N O3"), {} },
    { u'E', QStringLiteral("Glutamic acid"), QStringLiteral("C5 H7 N O3"), {} },
    { u'F', QStringLiteral("Phenylalanine"), QStringLiteral("C9 H9 N O"), {} },
    { u'G', QStringLiteral("Glycine"), QStringLiteral("C2 H3 N O"), {} },
    { u'H', QStringLiteral("Histidine"), QStringLiteral("C6 H7 N3 O"), {} },
    { u'I', QStringLiteral("Isoleucine"), QStringLiteral("C6 H11 N O"), {} },
    { u'J', {}, {}, {} },
    { u'K', QStringLiteral("Lysine"), QStringLiteral("C6 H12 N2 O"), {} },
    { u'L', QStringLiteral("Leucine"), QStringLiteral("C6 H11 N O"), {} },
    { u'M', QStringLiteral("Methionine"), QStringLiteral("C5 H9 N O S"), {} },
    { u'N', QStringLiteral("Asparagine"), QStringLiteral("C4 H6 N2 O2"), {} },
    { u'O', QStringLiteral("Pyrrolysine"), QStringLiteral("C12 H19 N3 O2"), {} },
    { u'P', QStringLiteral("Proline"), QStringLiteral("C5 H7 N O"), {} },
    { u'Q', QStringLiteral("Glutamine"), QStringLiteral("C5 H8 N2 O2"), {} },
    { u'R', QStringLiteral("Arginine"), QStringLiteral("C6 H12 N4 O"), {} },
    { u'S', QStringLiteral("Serine"), QStringLiteral("C3 H5 N O2"), {} },
    { u'T', QStringLiteral("Threonine"), QStringLiteral("C4 H7 N O2"), {} },
    { u'U', QStringLiteral("Selenocysteine"), QStringLiteral("C3 H5 N O Se"), {} },
    { u'V', QStringLiteral("Valine"), QStringLiteral("C5 H9 N O"), {} },
    { u'W', QStringLiteral("Tryptophan"), QStringLiteral("C11 H10 N2 O"), {} },
    { u'X', {}, {}, {} },
    { u'Y', QStringLiteral("Tyrosine"), QStringLiteral("C9 H9 N O2"), {} },
    { u'Z', {}, {}, {} },
};

const QList<R> ResidueFormulasConstants::DEFAULT_RESIDUE_CHEMICAL_FORMULAS_OLIGONUCLEOTIDE = {
    { u'A', QStringLiteral("2'-deoxyadenosine 5'-monophosphate (DNA A)"), QStringLiteral("C10 H12 O5 N5 P"), {} },
    { u'C', QStringLiteral("2'-deoxycytidine 5'-monophosphate (DNA C)"), QStringLiteral("C9 H12 O6 N3 P"), {} },
    { u'G', QStringLiteral("2'-deoxyguanosine 5'-monophosphate (DNA G)"), QStringLiteral("C10 H12 O6 N5 P"), {} },
    { u'T', QStringLiteral("2'-deoxythymidine 5'-monophosphate (DNA T)"), QStringLiteral("C10 H13 O7 N2 P"), {} },
    { u'U', QStringLiteral("2'-deoxyuridine 5'-monophosphate (DNA U)"), QStringLiteral("C9 H11 O7 N2 P"), {} },
    { u'I', QStringLiteral("2'-deoxyinosine 5'-monophosphate (DNA I)"), QStringLiteral("C10 H11 O6 N4 P"), {} },
    { u'Q',
      QStringLiteral("5-methyl-2'-deoxycytidine 5'-monophosphate (DNA methyl-C)"),
      QStringLiteral("C10 H14 O6 N3 P"),
      {} },
    { u'r', QStringLiteral("2'-hydroxy (RNA)"), QStringLiteral("O"), {} },
    { u'm', QStringLiteral("2'-O-methyl"), QStringLiteral("C H2 O"), {} },
    { u'e', QStringLiteral("2'-O-methoxyethyl"), QStringLiteral("C3 H6 O2"), {} },
    { u'+', QStringLiteral("2',4'-methylene bridge (LNA)"), QStringLiteral("C O"), {} },
    { u'f', QStringLiteral("fluoro"), QStringLiteral("F H(-1)"), {} },
    { u'*', QStringLiteral("phosphodiester --> phosphorothioate"), QStringLiteral("O(-1) S"), {} },
};

const QList<R> ResidueFormulasConstants::DEFAULT_RESIDUE_CHEMICAL_FORMULAS_OLIGONUCLEOTIDE_NEW_DEF = {
    { u'A', QStringLiteral("Adenine"), QStringLiteral("C5 H5 N5"), QStringLiteral("Nucleobase") },
    { u'C', QStringLiteral("Cytosine"), QStringLiteral("C4 H5 N3 O1"), QStringLiteral("Nucleobase") },
    { u'G', QStringLiteral("Guanine"), QStringLiteral("C5 H5 N5 O1"), QStringLiteral("Nucleobase") },
    { u'T', QStringLiteral("Thymine"), QStringLiteral("C5 H6 N2 O2"), QStringLiteral("Nucleobase") },
    { u'U', QStringLiteral("Uracil"), QStringLiteral("C4 H4 N2 O2"), QStringLiteral("Nucleobase") },
    { u'I', QStringLiteral("Inosine"), QStringLiteral("C5 H4 O1 N4"), QStringLiteral("Nucleobase") },
    { u'Q', QStringLiteral("methyl-Cytosine"), QStringLiteral("C5 H7 N3 O1"), QStringLiteral("Nucleobase") },
    { u'r', QStringLiteral("2'-hydroxy (RNA)"), QStringLiteral("C5 O5 H10"), QStringLiteral("Ribose") },
    { u'm', QStringLiteral("2'-O-methyl"), QStringLiteral("C6 O5 H12"), QStringLiteral("Ribose") },
    { u'e', QStringLiteral("2'-O-methoxyethyl"), QStringLiteral("C8 H16 O6"), QStringLiteral("Ribose") },
    { u'+', QStringLiteral("2',4'-methylene bridge (LNA)"), QStringLiteral("C6 H10 O5"), QStringLiteral("Ribose") },
    { u'f', QStringLiteral("fluoro"), QStringLiteral("C5 O4 H9 F"), QStringLiteral("Ribose") },
    { u'*', QStringLiteral("phosphodiester linker"), QStringLiteral("P O3 S"), QStringLiteral("Phosphate") },
    { u'.', QStringLiteral("phospha linker"), QStringLiteral("P O4"), QStringLiteral("Phosphate") },
};

const QHash<QChar, QString> ResidueFormulasConstants::DNA_FORMULAS = {
    { u'A', QStringLiteral("C10 H12 O5 N5 P") },
    { u'C', QStringLiteral("C9 H12 O6 N3 P") },
    { u'G', QStringLiteral("C10 H12 O6 N5 P") },
    { u'T', QStringLiteral("C10 H13 O7 N2 P") },
};

const QHash<QChar, QString> ResidueFormulasConstants::RNA_FORMULAS = {
    { u'A', QStringLiteral("C10 H12 O6 N5 P") },
    { u'C', QStringLiteral("C9 H12 O7 N3 P") },
    { u'G', QStringLiteral("C10 H12 O7 N5 P") },
    { u'U', QStringLiteral("C9 H11 O8 N2 P") },
};

const QString ResidueFormulasConstants::OLIGONUCLEOTIDE_CHAIN_OFFSET = QStringLiteral("H P (-1) O (-2)");

} // namespace zeq
