#include "utils/TessanUtilsInsilico.h"

#include "utils/TessanUtilsModTables.h"
#include "zeq_common_stable/QueryUtils.h"

#include <QSqlError>

namespace
{

Error buildInsilicoTable(QSqlDatabase &db)
{
    QSqlQuery query = makeQuery(db, true);
    const char *function = Q_FUNC_INFO;
    const auto run = [&query, function](const QString &statement) {
        return db::qExecCmd(query, statement, function, __LINE__);
    };
    Error err = run(QStringLiteral("DROP TABLE IF EXISTS InsilicoItems"));
    if (err.hasError()) {
        return ZEQ_ECATCH(err);
    }
    err = run(QStringLiteral("CREATE TABLE InsilicoItems (Id INTEGER PRIMARY KEY, Sequence TEXT, ResidueBefore TEXT, "
                             "ResidueAfter TEXT, ProteinStartPosition INT, ProteinEndPosition INT, ProteinsId INT, "
                             "ProteinName TEXT, CalcMr REAL, ModificationsPositionList TEXT, ModificationsNameList "
                             "TEXT, ModificationsIdList TEXT, GlycanList TEXT, Comment TEXT)"));
    if (err.hasError()) {
        return ZEQ_ECATCH(err);
    }
    err = zeq::makeTessanTmp2ModTables(db, std::string(), true);
    if (err.hasError()) {
        return ZEQ_ECATCH(err);
    }
    err = run(QStringLiteral("CREATE TEMPORARY TABLE VarFixedModifications AS SELECT Modifications.Id, "
                             "Modifications.ShortName FROM Modifications LEFT JOIN SearchModifications ON "
                             "SearchModifications.ModificationsId = Modifications.Id"));
    if (err.hasError()) {
        return ZEQ_ECATCH(err);
    }
    err = run(QStringLiteral("CREATE TEMPORARY TABLE PQMsPeptideToVarFixedModifications AS SELECT "
                             "PQMsPeptideToModifications.Id, PQMsPeptideToModifications.PQMsId, "
                             "PQMsPeptideToModifications.ModificationsId, "
                             "PQMsPeptideToModifications.ModificationsPeptidePosition FROM PQMsPeptideToModifications "
                             "JOIN VarFixedModifications ON VarFixedModifications.Id = "
                             "PQMsPeptideToModifications.ModificationsId"));
    if (err.hasError()) {
        return ZEQ_ECATCH(err);
    }
    // CalcMr: CalcMH less the mass of a proton.
    err = run(QStringLiteral(
        "INSERT INTO InsilicoItems (Sequence, ResidueBefore, ResidueAfter, ProteinStartPosition, "
        "ProteinEndPosition, ProteinsId, CalcMr, ModificationsPositionList, ModificationsIdList, "
        "ModificationsNameList, GlycanList) SELECT PQMs.Peptide, PQMs.ResiduesBefore, PQMs.ResiduesAfter, "
        "PQMs.ProteinStartPosition, PQMs.ProteinEndPosition, PQMs.ProteinsId, PQMs.CalcMH - 1.00727646677, "
        "GROUP_CONCAT(PQMsPeptideToVarFixedModifications.ModificationsPeptidePosition), "
        "GROUP_CONCAT(PQMsPeptideToVarFixedModifications.ModificationsId), t_var.FinalModNameList, "
        "GROUP_CONCAT(t_gly.CompositionList) FROM PQMs LEFT JOIN PQMsPeptideToVarFixedModifications ON "
        "PQMsPeptideToVarFixedModifications.PQMsId = PQMs.Id LEFT JOIN VarFixedModifications ON "
        "VarFixedModifications.Id = PQMsPeptideToVarFixedModifications.ModificationsId LEFT JOIN "
        "tmp2_composition_gly t_gly ON t_gly.PQMsId = PQMs.Id LEFT JOIN tmp2_composition_variable_and_fixed t_var ON "
        "t_var.PQMsId = PQMs.Id GROUP BY PQMs.Id"));
    if (err.hasError()) {
        return ZEQ_ECATCH(err);
    }
    return err;
}

} // namespace

namespace zeq
{

Error makeInsilicoTableFromTsnressInsilicoRun(QSqlDatabase &db)
{
    Error err;
    if (!db.transaction()) {
        err = Error(kError,
                    QStringLiteral("Can't start a transaction for the in-silico table: %1").arg(db.lastError().text()));
        return ZEQ_ECATCH(err);
    }
    err = buildInsilicoTable(db);
    if (!err.hasError() && !db.commit()) {
        err = Error(kError, QStringLiteral("Can't commit the in-silico table: %1").arg(db.lastError().text()));
    }
    if (err.hasError()) {
        db.rollback();
        return ZEQ_ECATCH(err);
    }
    return err;
}

} // namespace zeq
