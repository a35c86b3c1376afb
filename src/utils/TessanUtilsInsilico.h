#pragma once

#include "zeq_common_core_export.h"
#include "zeq_common_stable/Error.h"

#include <QSqlDatabase>

namespace zeq
{

/// Replaces the table InsilicoItems of the result database of an in-silico run with one row per
/// peptide match (PQMs): its sequence, flanking residues, protein positions, CalcMr (CalcMH less a
/// proton), its modification positions and ids joined by ",", its final modification list and its
/// glycan compositions. Also leaves the temporary tables of makeTessanTmp2ModTables (with
/// variable and fixed modifications together) and VarFixedModifications on the connection, which
/// therefore serves one run only: a second run on it fails.
///
/// All in one transaction (the connection must not be in one already): on failure the database is
/// as it was, the previous InsilicoItems included.
[[nodiscard]] ZEQ_COMMON_CORE_EXPORT Error makeInsilicoTableFromTsnressInsilicoRun(QSqlDatabase &db);

} // namespace zeq
