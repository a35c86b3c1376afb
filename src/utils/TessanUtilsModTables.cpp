#include "utils/TessanUtilsModTables.h"

#include "ZeqLogging.h"
#include "zeq_common_core_mini/Sqlite3Functions.h"
#include "zeq_common_stable/QueryUtils.h"

#include <functional>

namespace
{

const QString kPrefixMarker = QStringLiteral("[prefix]");

// The three tmp2_mods_* tables differ only in their name and filter.
QString modsTable(const QString &name, const QString &where)
{
    return QStringLiteral("CREATE TEMP TABLE if not exists %1 AS SELECT m.Id as ModificationsId, trim(CASE  WHEN "
                          "length(ShortName) > 0 THEN ShortName  WHEN Classification == 'ngly' THEN 'NGlycan'  WHEN "
                          "Classification == 'ogly' THEN 'OGlycan'  WHEN Classification == 'wild' THEN 'Wildcard'  "
                          "WHEN Classification LIKE '%gly%' THEN Classification  ELSE Composition END) || ' / ' || "
                          "round(m.MonoMassShiftTotal,4)  AS FinalModName FROM [prefix]Modifications m LEFT JOIN "
                          "[prefix]SearchModifications sm ON sm.ModificationsId = m.Id ")
               .arg(name)
        + where;
}

QString compositionGlyTable()
{
    return QStringLiteral("CREATE TEMP TABLE IF NOT EXISTS tmp2_composition_gly AS SELECT v.PQMsId as PQMsId, "
                          "group_concat(v.ModificationsId,';') as ModificationsIdList, "
                          "group_concat(v.ModificationsPeptidePosition,';') as VariantPositionList, "
                          "group_concat(m.Composition,'; ') as CompositionList FROM [prefix]PQMsPeptideToModifications "
                          "v JOIN [prefix]Modifications m on v.ModificationsId = m.Id WHERE m.Classification LIKE "
                          "'%gly%' GROUP BY v.PQMsId ORDER BY v.ModificationsPeptidePosition ");
}

// `links` is the peptide-to-modification table as each statement names it: only the variable one
// carries the prefix.
QString compositionTable(const QString &name, const QString &links, const QString &modsTableName)
{
    return QStringLiteral("CREATE TEMP TABLE IF NOT EXISTS %1 AS SELECT v.PQMsId as PQMsId, "
                          "group_concat(v.ModificationsPeptidePosition||'|'||trim(tm.FinalModName), ';') as "
                          "FinalModNameList FROM %2 v JOIN [prefix]Modifications m on v.ModificationsId = m.Id JOIN "
                          "%3 tm ON tm.ModificationsId = m.Id GROUP BY v.PQMsId ORDER BY "
                          "v.ModificationsPeptidePosition ")
        .arg(name, links, modsTableName);
}

QString indexOn(const QString &table)
{
    return QStringLiteral("CREATE INDEX IF NOT EXISTS idx_%1_PQMsId ON %1(PQMsId)").arg(table);
}

bool isTablePrefix(const QString &prefix)
{
    return prefix.isEmpty() || isSqlIdentifier(prefix) || (prefix.endsWith(u'.') && isSqlIdentifier(prefix.chopped(1)));
}

Error makeTables(const std::string &prefixText,
                 bool variableAndFixed,
                 const std::function<Error(const QString &statement)> &run)
{
    Error err;
    const QString prefix = QString::fromStdString(prefixText);
    // The prefix is pasted into the statements, so it must not be able to change them.
    if (!isTablePrefix(prefix)) {
        err = Error(kBadParameterError,
                    QStringLiteral("Table prefix \"%1\" is not a name optionally followed by \".\"").arg(prefix));
        return ZEQ_ECATCH(err);
    }
    const QString links = QStringLiteral("PQMsPeptideToModifications");
    const QString prefixedLinks = QStringLiteral("[prefix]PQMsPeptideToModifications");
    QList<QString> tables;
    QList<QString> indexes{ indexOn(QStringLiteral("tmp2_composition_gly")) };
    if (variableAndFixed) {
        tables = { modsTable(QStringLiteral("tmp2_mods_variable_and_fixed"), QString()),
                   compositionGlyTable(),
                   compositionTable(QStringLiteral("tmp2_composition_variable_and_fixed"),
                                    links,
                                    QStringLiteral("tmp2_mods_variable_and_fixed")) };
        indexes.append(indexOn(QStringLiteral("tmp2_composition_variable_and_fixed")));
    } else {
        tables = {
            modsTable(QStringLiteral("tmp2_mods_variable"), QStringLiteral("WHERE sm.SearchSpaceType IS NOT 'fixed' ")),
            modsTable(QStringLiteral("tmp2_mods_fixed"), QStringLiteral("WHERE sm.SearchSpaceType IS 'fixed' ")),
            compositionGlyTable(),
            compositionTable(
                QStringLiteral("tmp2_composition_variable"), prefixedLinks, QStringLiteral("tmp2_mods_variable")),
            compositionTable(QStringLiteral("tmp2_composition_fixed"), links, QStringLiteral("tmp2_mods_fixed"))
        };
        indexes.append(indexOn(QStringLiteral("tmp2_composition_variable")));
        indexes.append(indexOn(QStringLiteral("tmp2_composition_fixed")));
    }
    for (QString &statement : tables) {
        err = run(statement.replace(kPrefixMarker, prefix));
        if (err.hasError()) {
            return ZEQ_ECATCH(err);
        }
    }
    for (const QString &statement : std::as_const(indexes)) {
        // An index only speeds up later joins: without it the tables are still right.
        Error indexErr = run(statement);
        if (indexErr.hasError()) {
            qCWarning(lcCore) << ZEQ_ECATCH(indexErr);
        }
    }
    return err;
}

} // namespace

namespace zeq
{

Error makeTessanTmp2ModTables(QSqlDatabase &db, const std::string &prefix, bool variableAndFixed)
{
    QSqlQuery query = makeQuery(db, true);
    const char *function = Q_FUNC_INFO;
    Error err = makeTables(prefix, variableAndFixed, [&query, function](const QString &statement) {
        return db::qExecCmd(query, statement, function, __LINE__);
    });
    if (err.hasError()) {
        return ZEQ_ECATCH(err);
    }
    return err;
}

Error makeTessanTmp2ModTables(sqlite3 *db, const std::string &prefix, bool variableAndFixed)
{
    Error err;
    if (!db) {
        err = Error(kBadParameterError, QStringLiteral("No database connection for the temporary tables"));
        return ZEQ_ECATCH(err);
    }
    err = makeTables(prefix, variableAndFixed, [db](const QString &statement) { return sql_exec(db, statement); });
    if (err.hasError()) {
        return ZEQ_ECATCH(err);
    }
    return err;
}

} // namespace zeq
