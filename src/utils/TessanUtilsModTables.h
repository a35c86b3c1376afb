#pragma once

#include "zeq_common_core_export.h"
#include "zeq_common_stable/Error.h"

#include <QSqlDatabase>

#include <string>

struct sqlite3;

namespace zeq
{

/// Creates the temporary tables that give every peptide match of a result database its
/// modifications as a final modification list ("position|name / mass" items joined by ";"):
/// with `variableAndFixed`, tmp2_mods_variable_and_fixed, tmp2_composition_gly and
/// tmp2_composition_variable_and_fixed; otherwise tmp2_mods_variable, tmp2_mods_fixed,
/// tmp2_composition_gly, tmp2_composition_variable and tmp2_composition_fixed; plus an index on
/// PQMsId of each composition table. Tables that exist are kept, so a second call changes nothing.
///
/// `prefix` is put before the result tables' names: empty, or an SQL identifier optionally followed
/// by "." (an attached database: "res."); anything else is kBadParameterError. The composition
/// tables of fixed modifications read PQMsPeptideToModifications without it. The first failing
/// table statement is returned and the tables made before it stay; a failing index is only logged.
[[nodiscard]] ZEQ_COMMON_CORE_EXPORT Error makeTessanTmp2ModTables(QSqlDatabase &db,
                                                                   const std::string &prefix,
                                                                   bool variableAndFixed);
[[nodiscard]] ZEQ_COMMON_CORE_EXPORT Error makeTessanTmp2ModTables(sqlite3 *db,
                                                                   const std::string &prefix,
                                                                   bool variableAndFixed);

} // namespace zeq
