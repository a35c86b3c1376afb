#pragma once

#include "zeq_common_core_export.h"

#include <QMetaProperty>
#include <QVariant>

class QObject;

namespace zeq
{

/// The object-side primitives of the property serializer; the parameter selects the kind of object
/// (1: QObject).
template <int Kind> struct QtPropertySerializerPrivate;

template <> struct ZEQ_COMMON_CORE_EXPORT QtPropertySerializerPrivate<1> {
    /// The object's dynamic meta-object: that of its most derived class.
    [[nodiscard]] static const QMetaObject *getMetaObject(const QObject &object);
    /// An invalid QVariant when the object has no such property.
    [[nodiscard]] static QVariant propertyFromObject(const QObject &object, const char *name);
    /// False when the value was refused (read-only property, unconvertible value, null object).
    static bool writeProperty(QObject *object, const QMetaProperty &property, const QVariant &value);
};

} // namespace zeq
