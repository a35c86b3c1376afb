#include "db/MassName.h"

#include <QDebug>

namespace zeq
{

const QRegularExpression MassName::REGEX(QStringLiteral(
    "^(?:[a-zA-Z0-9()+\\-\\[\\]]|[a-zA-Z0-9()+\\-\\[\\]][a-zA-Z0-9()+\\-\\[\\] ]*[a-zA-Z0-9()+\\-\\[\\]])$"));

Result<MassName> MassName::fromString(const QString &text)
{
    if (REGEX.match(text).hasMatch()) {
        MassName name;
        name.m_name = text;
        return name;
    }
    QString message;
    QDebug(&message) << "Expected name that matched" << REGEX << "got" << text;
    Error err(kBadParameterError, message.trimmed());
    return ZEQ_ECATCH(err);
}

} // namespace zeq
