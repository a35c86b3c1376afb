#include "SqlColumnsExtractor.h"

#include <QRegularExpression>

namespace zeq
{

namespace
{

const QRegularExpression &commentExpression()
{
    static const QRegularExpression expression(QStringLiteral("(\\/\\*).*?(\\*\\/)"));
    return expression;
}

const QRegularExpression &createTableColumnExpression()
{
    static const QRegularExpression expression(QStringLiteral("([(,]\\s*(?<columnName>\\w+)(.+?))"));
    return expression;
}

const QRegularExpression &selectListExpression()
{
    static const QRegularExpression expression(QStringLiteral("\\s*(?i)SELECT\\s*(.*?)\\s*(?i)FROM\\s*"));
    return expression;
}

const QRegularExpression &selectColumnExpression()
{
    static const QRegularExpression expression(
        QStringLiteral("(?:\\s+(?i)as\\s+)(?P<renamed>\\w+)|((?:\\w+\\.)?(?P<original>\\w+)(?:\\s*(\\,|$)))"));
    return expression;
}

} // namespace

Result<QList<QString>> SqlColumnsExtractor::getColumnsFromCreateTableQuery(const QString &query)
{
    QString text = query;
    text.remove(commentExpression());
    QList<QString> columns;
    for (const QRegularExpressionMatch &match : createTableColumnExpression().globalMatch(text)) {
        columns.append(match.captured(u"columnName"));
    }
    if (columns.isEmpty()) {
        Error err(kError, QStringLiteral("Cannot extract columns from query: %1").arg(query));
        return ZEQ_ECATCH(err);
    }
    return columns;
}

Result<QList<QString>> SqlColumnsExtractor::getColumnsFromSelectQuery(const QString &query)
{
    const QRegularExpressionMatch list = selectListExpression().match(query);
    if (!list.hasMatch()) {
        Error err(kError, QStringLiteral("Cannot extract list of columns from query %1").arg(query));
        return ZEQ_ECATCH(err);
    }
    const QString selectList = list.captured(1);
    QList<QString> columns;
    for (const QRegularExpressionMatch &match : selectColumnExpression().globalMatch(selectList)) {
        if (match.hasCaptured(u"original")) {
            columns.append(match.captured(u"original"));
        } else if (match.hasCaptured(u"renamed")) {
            columns.append(match.captured(u"renamed"));
        }
    }
    if (columns.isEmpty()) {
        Error err(kError, QStringLiteral("Cannot extract columns from %1").arg(selectList));
        return ZEQ_ECATCH(err);
    }
    return columns;
}

} // namespace zeq
