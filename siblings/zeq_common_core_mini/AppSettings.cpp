#include "zeq_common_core_mini/AppSettings.h"

#include <QHash>
#include <QMutex>

namespace
{

struct Store {
    QMutex mutex;
    QHash<QString, QVariant> values;
};

Store &store()
{
    static Store s;
    return s;
}

} // namespace

namespace as
{

QVariant value(const QString &key, const QVariant &defaultValue)
{
    Store &s = store();
    QMutexLocker lock(&s.mutex);
    const auto it = s.values.constFind(key);
    return it == s.values.constEnd() ? defaultValue : it.value();
}

void setValue(const QString &key, const QVariant &value)
{
    Store &s = store();
    QMutexLocker lock(&s.mutex);
    s.values.insert(key, value);
}

void remove(const QString &key)
{
    Store &s = store();
    QMutexLocker lock(&s.mutex);
    s.values.remove(key);
}

} // namespace as
