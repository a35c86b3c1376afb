#pragma once

#include "zeq_common_core_export.h"

#include <QChar>
#include <QHash>
#include <QList>
#include <QString>

namespace zeq
{

/// Default elemental formulas of residue letters, for computing masses of proteins and
/// oligonucleotides from sequences. Formulas are element symbols separated by blanks, each followed
/// by its count unless 1 ("O1" also occurs); negative counts stand in parentheses, directly after
/// the symbol in the residue tables ("H(-1)") but after a blank in OLIGONUCLEOTIDE_CHAIN_OFFSET.
/// Built at library load, never changed.
class ZEQ_COMMON_CORE_EXPORT ResidueFormulasConstants
{
public:
    struct ResidueChemicalFormula {
        QChar letter;
        QString name;
        QString formula;
        QString category; ///< empty in the protein table and in the older oligonucleotide table

        friend bool operator==(const ResidueChemicalFormula &, const ResidueChemicalFormula &) = default;
    };

    /// A–Z, residues inside a chain (free amino acid minus water); B, J, X, Z are empty; L equals I.
    static const QList<ResidueChemicalFormula> DEFAULT_RESIDUE_CHEMICAL_FORMULAS_PROTEIN;
    /// Seven 2'-deoxynucleoside 5'-monophosphates followed by six sugar and linker changes.
    static const QList<ResidueChemicalFormula> DEFAULT_RESIDUE_CHEMICAL_FORMULAS_OLIGONUCLEOTIDE;
    /// Building blocks in the categories "Nucleobase", "Ribose" and "Phosphate".
    static const QList<ResidueChemicalFormula> DEFAULT_RESIDUE_CHEMICAL_FORMULAS_OLIGONUCLEOTIDE_NEW_DEF;
    static const QHash<QChar, QString> DNA_FORMULAS;
    static const QHash<QChar, QString> RNA_FORMULAS;
    /// Applied once to a whole oligonucleotide chain.
    static const QString OLIGONUCLEOTIDE_CHAIN_OFFSET;
};

} // namespace zeq
