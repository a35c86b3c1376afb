#include "utils/TessanUtilsParameters.h"

#include "utils/TessanUtilsResultFile_p.h"
#include "zeq_common_stable/FileUtils.h"
#include "zeq_common_stable/QueryUtils.h"

#include <QSqlError>

namespace
{

const QString kSpectraFilesKey = QStringLiteral("SpectraFiles=");

// The spectrum files of one parameter text, as written there but unescaped.
QList<QString> spectraFilesOf(const QString &parameterText)
{
    QList<QString> files;
    const QList<QString> lines = parameterText.split(u'\n', Qt::SkipEmptyParts);
    for (const QString &line : lines) {
        if (!line.contains(kSpectraFilesKey)) {
            continue;
        }
        const QString value = line.trimmed()
                                  .mid(kSpectraFilesKey.size())
                                  .replace(QStringLiteral("\\:"), QStringLiteral(":"))
                                  .replace(QStringLiteral("\\\\"), QStringLiteral("\\"));
        const QList<QString> parts = value.split(u';', Qt::SkipEmptyParts);
        for (QString part : parts) {
            // A drive letter followed by a forward slash: the rest of the path is Windows' too.
            if (part.size() > 3 && part[1] == u':' && part[2] == u'/') {
                part.replace(u'/', u'\\');
            }
            files.append(adjustBrukerFilenPathToFolderPath(part, nullptr));
        }
    }
    return files;
}

} // namespace

namespace zeq
{

Error appendSearchParameterFromTsnres(const QString &path, const QString &key, QList<QString> *values)
{
    Error err;
    if (!values) {
        err = Error(kBadParameterError, QStringLiteral("No list for the search parameter \"%1\"").arg(key));
        return ZEQ_ECATCH(err);
    }
    ResultFileConnection connection(QStringLiteral("get_searchparameter_information_from_tsnres"), path);
    err = connection.open();
    if (err.hasError()) {
        return ZEQ_ECATCH(err);
    }
    QSqlQuery query = makeQuery(connection.db(), true);
    // Bound, not quoted: in SQLite a double-quoted key that equals a column name becomes the column.
    const QString statement = QStringLiteral("SELECT Value FROM SearchParameters WHERE Key is ?");
    // SQLite reports a missing table or a file that is not a database when preparing.
    if (!query.prepare(statement)) {
        err = Error(kError,
                    QStringLiteral("Can't prepare \"%1\" on %2: %3").arg(statement, path, query.lastError().text()));
        return ZEQ_ECATCH(err);
    }
    query.addBindValue(key);
    err = db::qExecPrepared(query, Q_FUNC_INFO, __LINE__);
    if (err.hasError()) {
        err = connection.naming(err);
        return ZEQ_ECATCH(err);
    }
    if (query.next()) {
        values->append(query.value(0).toString());
    }
    err = connection.rowsError(query);
    if (err.hasError()) {
        return ZEQ_ECATCH(err);
    }
    return err;
}

Error getLockmassFromTsnres(const QString &path, QList<QString> *values)
{
    Error err = appendSearchParameterFromTsnres(path, QStringLiteral("Lock mass list"), values);
    if (err.hasError()) {
        return ZEQ_ECATCH(err);
    }
    return err;
}

Error getPpmFromTsnres(const QString &path, QList<QString> *values)
{
    Error err = appendSearchParameterFromTsnres(path, QStringLiteral("Precursor tolerance"), values);
    if (err.hasError()) {
        return ZEQ_ECATCH(err);
    }
    return err;
}

Error getMSFilesFromTsnres(const QString &path, QList<QString> &files)
{
    files.clear();
    ResultFileConnection connection(QStringLiteral("check_tsnres"), path);
    Error err = connection.open();
    if (err.hasError()) {
        return ZEQ_ECATCH(err);
    }
    QSqlQuery query = makeQuery(connection.db(), true);
    err = db::qExecCmd(query, QStringLiteral("SELECT TnParmsContent FROM Search"), Q_FUNC_INFO, __LINE__);
    if (err.hasError()) {
        err = connection.naming(err);
        return ZEQ_ECATCH(err);
    }
    while (query.next()) {
        files.append(spectraFilesOf(query.value(0).toString()));
    }
    err = connection.rowsError(query);
    if (err.hasError()) {
        return ZEQ_ECATCH(err);
    }
    return err;
}

std::optional<double> toDoubleOptional(const QVariant &value)
{
    bool ok = false;
    const double number = value.toDouble(&ok);
    return ok ? std::optional<double>(number) : std::nullopt;
}

} // namespace zeq
