#pragma once

#include "zeq_common_core_mini_export.h"

#include <QString>
#include <QVariant>

/// Settings kept in a QSettings store, each key in a scope. The store is the application's own
/// (organisation and application names of QCoreApplication) or an INI file given by path. Every
/// call opens the store afresh, so values written by another object or process are seen.
class ZEQ_COMMON_CORE_MINI_EXPORT CustomSettings
{
public:
    /// Where a key lives in the store. Values outside the list name no scope: reads give the
    /// default, writes are dropped.
    enum Scope : qint32 {
        /// Keys at the top level of the store.
        ApplicationScope = 0,
        /// Switches that turn optional behaviour on (extra table columns, for example); the group
        /// "Features".
        FeatureScope = 4,
    };

    /// The application's own store.
    CustomSettings() = default;
    /// The INI file at `iniPath`; it is created on the first write.
    explicit CustomSettings(const QString &iniPath);

    /// The value stored for `key` in `scope`, or `defaultValue` when there is none. INI keys are
    /// case-sensitive.
    [[nodiscard]] QVariant value(const QString &key, const QVariant &defaultValue, qint32 scope) const;
    /// setValue() and remove() save the store at once. A store that cannot be written keeps its
    /// earlier content, and a warning names the key and the file.
    void setValue(const QString &key, const QVariant &value, qint32 scope);
    void remove(const QString &key, qint32 scope);

private:
    QString m_iniPath;
};
