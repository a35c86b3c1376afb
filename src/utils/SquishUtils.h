#pragma once

#include "zeq_common_core_export.h"

#include <QString>

class QObject;

/// Stable object names for user-interface objects, so that automated UI tests can find them, with a
/// warning when a class gets the same name twice. The registry of given names is process-wide and
/// meant for the user-interface thread.
namespace zeq::SquishUtils
{

/// Names `object` "<parent class>/<name>_<class>" ("Dialog/save_Editor"; no "<parent class>/"
/// without a parent) and records `name` for the object's class. Nothing for a null object.
ZEQ_COMMON_CORE_EXPORT void setObjectName(QObject *object, const QString &name);

/// Warns when `*name` was already recorded for the class of `object`. The name is left as it is;
/// a null `name` is ignored.
ZEQ_COMMON_CORE_EXPORT void changeObjectNameIfNameExists(const QObject &object, QString *name);

/// Names `object` after `text` (or `name` when `text` is null or empty) in camel case: "save
/// file-name" gives "saveFileName", nothing at all gives "tmpName". Nothing for a null object.
ZEQ_COMMON_CORE_EXPORT void createInternal(QObject *object, const QString &name, const char *text);

} // namespace zeq::SquishUtils
