#include "zeq_common_core_mini/CustomSettings.h"

#include <QLoggingCategory>
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

const QLoggingCategory &lcSettings()
{
    static const QLoggingCategory category("zeq.common_core_mini.settings");
    return category;
}

std::unique_ptr<QSettings> openStore(const QString &iniPath)
{
    return iniPath.isEmpty() ? std::make_unique<QSettings>()
                             : std::make_unique<QSettings>(iniPath, QSettings::IniFormat);
}

// QSettings keeps the earlier file when a write fails (a full disk, a folder in the way) but says
// so only through status(); without this a lost setting would go unnoticed until it is read back.
void saveStore(QSettings &store, const QString &key)
{
    store.sync();
    if (store.status() != QSettings::NoError) {
        qCWarning(lcSettings).noquote() << QStringLiteral("Can't save setting %1 to %2: %3")
                                               .arg(key,
                                                    store.fileName(),
                                                    store.status() == QSettings::AccessError
                                                        ? QStringLiteral("the file could not be written")
                                                        : QStringLiteral("the file is not a settings file"));
    }
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
        const std::unique_ptr<QSettings> store = openStore(m_iniPath);
        store->setValue(*path, value);
        saveStore(*store, *path);
    }
}

void CustomSettings::remove(const QString &key, qint32 scope)
{
    if (const std::optional<QString> path = keyPath(key, scope)) {
        const std::unique_ptr<QSettings> store = openStore(m_iniPath);
        store->remove(*path);
        saveStore(*store, *path);
    }
}
