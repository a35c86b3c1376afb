#include "ZeqLogging.h"
#include "utils/TessanUtilsResultFile_p.h"
#include "zeq_common_stable/StableConstants.h"

#include <QSqlError>

#include <map>

namespace zeq
{

namespace
{

// One lock per connection name. Qt keeps one connection per name for the whole process, so two
// threads opening the same name would otherwise replace and remove each other's connection.
std::mutex &connectionNameLock(const QString &name)
{
    static std::mutex tableLock;
    static std::map<QString, std::mutex> locks; // nodes never move, so references stay valid
    const std::lock_guard<std::mutex> guard(tableLock);
    return locks[name];
}

} // namespace

ResultFileConnection::ResultFileConnection(const QString &connectionName, const QString &path)
    : m_nameLock(connectionNameLock(connectionName))
    , m_name(connectionName)
    , m_path(path)
    , m_db(QSqlDatabase::addDatabase(kQSQLITE, connectionName))
{
}

ResultFileConnection::~ResultFileConnection()
{
    m_db.close();
    // The last handle must be gone before removal, or Qt keeps the connection "in use".
    m_db = QSqlDatabase();
    QSqlDatabase::removeDatabase(m_name);
}

Error ResultFileConnection::open()
{
    Error err;
    m_db.setDatabaseName(m_path);
    m_db.setConnectOptions(QStringLiteral("QSQLITE_OPEN_READONLY"));
    if (m_path.isEmpty() || !m_db.open()) {
        const QString reason = m_path.isEmpty() ? QStringLiteral("no path given") : m_db.lastError().text();
        qCWarning(lcCore) << "Could not open file:" << m_path;
        qCWarning(lcCore) << reason;
        err = Error(kBadParameterError, QStringLiteral("Could not open result file \"%1\": %2").arg(m_path, reason));
        return ZEQ_ECATCH(err);
    }
    return err;
}

Error ResultFileConnection::naming(Error err) const
{
    err.addErrorMessage(QStringLiteral("Can't read result file \"%1\"").arg(m_path));
    return err;
}

Error ResultFileConnection::rowsError(const QSqlQuery &query) const
{
    if (!query.lastError().isValid()) {
        return Error();
    }
    Error err(kError,
              QStringLiteral("Can't read all rows of \"%1\" from result file \"%2\": %3")
                  .arg(query.lastQuery(), m_path, query.lastError().text()));
    return ZEQ_ECATCH(err);
}

} // namespace zeq
