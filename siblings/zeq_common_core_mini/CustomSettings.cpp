#include "zeq_common_core_mini/CustomSettings.h"

#include <QSettings>

#include <memory>
#include <optional>

namespace
{

// The key path of `key` in `scope`; none for a scope outside the list or an empty key (removing ""
// would empty the whole store).
std::optional<QString> keyPath(const QString &key, qint32 scope)
{
    if (key.isEmpty()) {
        return std::nullopt;
    }
    switch (scope) {
    case CustomSettings::ApplicationScope:
        return key;
    case CustomSettings::FeatureScope:
        return QStringLiteral("Features/") + key;
    default:
        return std::nullopt;
    }
}

std::unique_ptr<QSettings> openStore(const QString &iniPath)
{
    return iniPath.isEmpty() ? std::make_unique<QSettings>()
                             : std::make_unique<QSettings>(iniPath, QSettings::IniFormat);
}

} // namespace

CustomSettings::CustomSettings(const QString &iniPath)
    : m_iniPath(iniPath)
{
}

QVariant CustomSettings::value(const QString &key, const QVariant &defaultValue, qint32 scope) const
{
    const std::optional<QString> path = keyPath(key, scope);
    return path ? openStore(m_iniPath)->value(*path, defaultValue) : defaultValue;
}

void CustomSettings::setValue(const QString &key, const QVariant &value, qint32 scope)
{
    if (const std::optional<QString> path = keyPath(key, scope)) {
        openStore(m_iniPath)->setValue(*path, value);
    }
}

void CustomSettings::remove(const QString &key, qint32 scope)
{
    if (const std::optional<QString> path = keyPath(key, scope)) {
        openStore(m_iniPath)->remove(*path);
    }
}
