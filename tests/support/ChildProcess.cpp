#include "support/ChildProcess.h"

#include <QHash>

namespace zeq::test
{

namespace
{

const QString kRoleOption = QStringLiteral("--zeq-child-role");

QHash<QString, ChildRole> &roles()
{
    static QHash<QString, ChildRole> registered;
    return registered;
}

} // namespace

bool registerChildRole(const QString &name, ChildRole role)
{
    roles().insert(name, role);
    return true;
}

QList<QString> childRoleArguments(const QString &name, const QList<QString> &arguments)
{
    return QList<QString>{ kRoleOption, name } + arguments;
}

std::optional<int> runChildRoleIfAsked(const QList<QString> &commandLine)
{
    if (commandLine.size() < 3 || commandLine.at(1) != kRoleOption) {
        return std::nullopt;
    }
    const ChildRole role = roles().value(commandLine.at(2));
    if (!role) {
        return 3;
    }
    return role(commandLine.mid(3));
}

} // namespace zeq::test
