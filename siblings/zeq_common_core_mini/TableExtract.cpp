#include "zeq_common_core_mini/TableExtract.h"

#include "zeq_common_core_mini/Sqlite3Functions.h"
#include "zeq_common_core_mini/Sqlite3Statement.h"

#include <sqlite3.h>

Error TableExtract::extract(sqlite3 *db, const QString &sql)
{
    m_columns.clear();
    m_rows.clear();
    Sqlite3Statement statement;
    Error err = statement.prepare(db, sql);
    if (err.hasError()) {
        return ZEQ_ECATCH(err);
    }
    const int columns = sqlite3_column_count(statement);
    for (int c = 0; c < columns; ++c) {
        m_columns.append(QString::fromUtf8(sqlite3_column_name(statement, c)));
    }
    int rc = SQLITE_ROW;
    while ((rc = sqlite3_step(statement)) == SQLITE_ROW) {
        QList<QString> row;
        row.reserve(columns);
        for (int c = 0; c < columns; ++c) {
            const auto *text = reinterpret_cast<const char *>(sqlite3_column_text(statement, c));
            row.append(text ? QString::fromUtf8(text, sqlite3_column_bytes(statement, c)) : QString());
        }
        m_rows.append(row);
    }
    if (rc != SQLITE_DONE) {
        m_rows.clear();
        err = sqliteError(db, QStringLiteral("Can't run"), sql);
        return ZEQ_ECATCH(err);
    }
    return err;
}
