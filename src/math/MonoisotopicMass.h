#pragma once

#include "utils/Result.h"
#include "zeq_common_core_export.h"

#include <QString>
#include <QStringView>

#include <array>

namespace zeq
{

/// Monoisotopic masses in Da from elemental formulas and residue letters, with exact element masses
/// (the most abundant isotope of each element: 12C, 1H, 14N, 16O, 32S, 31P, 19F, 80Se).

/// Mass of one H2O, which closes a chain of residues.
inline constexpr double kWaterMonoisotopicMass = 2 * 1.00782503223 + 15.99491461957;

/// Mass of a formula in the notation of ResidueFormulasConstants: element symbols separated by
/// blanks, each followed by its count unless 1; a negative count in parentheses, directly after the
/// symbol ("H(-1)") or after a blank ("P (-1)"). Fails with kBadParameterError, naming the
/// offending part, on an empty formula, an unknown element or a malformed count.
[[nodiscard]] ZEQ_COMMON_CORE_EXPORT Result<double> formulaMonoisotopicMass(QStringView formula);

/// Residue masses of DEFAULT_RESIDUE_CHEMICAL_FORMULAS_PROTEIN indexed by the residue's byte (upper
/// case only); NaN for the letters without a formula (B, J, X, Z) and for every other byte.
ZEQ_COMMON_CORE_EXPORT const std::array<double, 256> &proteinResidueMonoisotopicMasses();

/// Neutral mass of a peptide or protein: its residues plus one water. Lower-case letters count as
/// upper case. Fails with kBadParameterError, naming the residue and its position (from 1), on an
/// empty sequence or a residue without a formula.
[[nodiscard]] ZEQ_COMMON_CORE_EXPORT Result<double> peptideMonoisotopicMass(QStringView sequence);

} // namespace zeq
