#include "utils/QtPropertySerializer.h"

#include <QObject>

namespace zeq
{

const QMetaObject *QtPropertySerializerPrivate<1>::getMetaObject(const QObject &object)
{
    return object.metaObject();
}

QVariant QtPropertySerializerPrivate<1>::propertyFromObject(const QObject &object, const char *name)
{
    return name ? object.property(name) : QVariant();
}

bool QtPropertySerializerPrivate<1>::writeProperty(QObject *object,
                                                   const QMetaProperty &property,
                                                   const QVariant &value)
{
    return object && property.isValid() && property.write(object, value);
}

} // namespace zeq
