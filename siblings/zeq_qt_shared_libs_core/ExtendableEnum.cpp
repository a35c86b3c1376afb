#include "zeq_qt_shared_libs_core/ExtendableEnum.h"

#include <QHash>

namespace
{

// Built on first use: values are registered from static initialisers of several libraries.
QHash<QString, QList<QString>> &families()
{
    static QHash<QString, QList<QString>> registry;
    return registry;
}

} // namespace

int ExtendableEnumRegistry::add(const QString &family, const QString &name)
{
    if (name.isEmpty()) {
        return -1;
    }
    QList<QString> &names = families()[family];
    const qsizetype found = names.indexOf(name);
    if (found >= 0) {
        return int(found);
    }
    names.append(name);
    return int(names.size() - 1);
}

int ExtendableEnumRegistry::find(const QString &family, const QString &name)
{
    return int(families().value(family).indexOf(name));
}

QString ExtendableEnumRegistry::name(const QString &family, int value)
{
    return families().value(family).value(value);
}

int ExtendableEnumRegistry::count(const QString &family)
{
    return int(families().value(family).size());
}
