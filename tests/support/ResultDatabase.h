#pragma once

#include "zeq_common_stable/Error.h"

#include <QString>

namespace zeq::test
{

/// Writes at `path` a result database as a search writes it, with:
/// - proteins, by rank: 1 sp|P1|ALPHA (MKCAAK), decoy, 3 sp|P2|BETA (MSTNGK), decoy (flag "DECOY"),
///   5 sp|P3|GAMMA (MKCAAK again), decoy (flag "Decoy"), 7 sp|P4|DELTA (PEPTIDER);
/// - modifications: 1 Oxidation (variable), 2 Carbamidomethyl (fixed), 3 an N-glycan, 4 an
///   O-glycan, 5 a glycation (the three glycans without a search row), 6 a wildcard, 7 an
///   unnamed acetyl known by its composition (both variable);
/// - peptide matches: 1 MKCAAK (Oxidation at 1, Carbamidomethyl at 3), 2 NGTSK (N-glycan at 1),
///   3 PEPTIDER (none), 4 STCK (acetyl at 0, O-glycan at 1, wildcard at 2, Carbamidomethyl at 3,
///   glycation at 4);
/// - parameters "Lock mass list", "Precursor tolerance" and a few others, and two searches whose
///   parameter texts (Windows line ends) name four spectrum files, one inside a vendor data folder.
[[nodiscard]] Error writeResultDatabase(const QString &path);

} // namespace zeq::test
