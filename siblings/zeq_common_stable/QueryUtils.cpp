#include "zeq_common_stable/QueryUtils.h"

#include <QSqlError>

QSqlQuery makeQuery(const QSqlDatabase &db, bool forwardOnly)
{
    QSqlQuery query(db);
    query.setForwardOnly(forwardOnly);
    return query;
}

namespace db
{

namespace
{

Error failure(const QSqlQuery &query, const QString &sql, const char *function, int line)
{
    Error err(kError,
              QStringLiteral("%1 (line %2): can't run \"%3\": %4")
                  .arg(QString::fromUtf8(function))
                  .arg(line)
                  .arg(sql, query.lastError().text()));
    return ZEQ_ECATCH(err);
}

} // namespace

Error qExecCmd(QSqlQuery &query, const QString &sql, const char *function, int line)
{
    if (!query.exec(sql)) {
        return failure(query, sql, function, line);
    }
    return Error();
}

Error qExecPrepared(QSqlQuery &query, const char *function, int line)
{
    if (!query.exec()) {
        return failure(query, query.lastQuery(), function, line);
    }
    return Error();
}

} // namespace db
