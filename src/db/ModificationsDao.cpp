#include "db/ModificationsDao.h"

#include "db/ModificationId.h"
#include "zeq_common_core_mini/Sqlite3Functions.h"
#include "zeq_common_core_mini/Sqlite3Query.h"

#include <sqlite3.h>

namespace zeq
{

Error ModificationsDao::createTableIfMissing(sqlite3 *db)
{
    Error err =
        sql_exec(db,
                 QStringLiteral("CREATE TABLE IF NOT EXISTS Modifications(Id INTEGER PRIMARY KEY, TypeName TEXT, "
                                "AllowedSites TEXT, ModName TEXT, MassShift REAL, ModCategory TEXT, "
                                "Composition TEXT)"));
    if (err.hasError()) {
        return ZEQ_ECATCH(err);
    }
    return err;
}

Error ModificationsDao::schemaHasPTMInfo(sqlite3 *db, bool *result)
{
    int sites = 0;
    Error err = tableHasColumn(db, QStringLiteral("Modifications"), QStringLiteral("AllowedSites"), &sites);
    if (err.hasError()) {
        return ZEQ_ECATCH(err);
    }
    int fixed = 0;
    err = tableHasColumn(db, QStringLiteral("SearchResults"), QStringLiteral("FixedModificationsIdList"), &fixed);
    if (err.hasError()) {
        return ZEQ_ECATCH(err);
    }
    if (result) {
        *result = sites != 0 && fixed != 0;
    }
    return err;
}

Error ModificationsDao::loadAllowedSiteByModIf(sqlite3 *db, const QString &id, QString *allowedSites)
{
    ModificationId modId;
    Error err = SqlId::fromString(id, &modId, nullptr);
    if (err.hasError()) {
        err.addErrorMessage(QStringLiteral("Not a modification identifier: \"%1\"").arg(id));
        return ZEQ_ECATCH(err);
    }
    Sqlite3Statement statement;
    err = statement.prepare(db, QStringLiteral("SELECT AllowedSites FROM Modifications WHERE Id=?"));
    if (!err.hasError()) {
        err = my_sqlite3_bind_id(db, statement, 1, modId);
    }
    if (err.hasError()) {
        return ZEQ_ECATCH(err);
    }
    const int rc = sqlite3_step(statement);
    if (rc != SQLITE_ROW && rc != SQLITE_DONE) {
        err = sqliteError(db, QStringLiteral("Can't run"), statement.sql());
        return ZEQ_ECATCH(err);
    }
    if (allowedSites) {
        *allowedSites = rc == SQLITE_ROW ? sqlite3ColumnValue(statement, 0).toString() : QString();
    }
    return err;
}

} // namespace zeq
