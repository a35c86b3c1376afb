#include "db/SimpleVariantHash.h"

#include "ZeqLogging.h"

#include <QByteArray>
#include <QHashFunctions>
#include <QString>
#include <QStringList>

size_t qHash(const QVariant &value, size_t seed) noexcept
{
    switch (value.typeId()) {
    case QMetaType::Bool:
        return qHash(value.toBool(), seed);
    case QMetaType::Int:
    case QMetaType::Long:
    case QMetaType::LongLong:
        return qHash(value.toLongLong(), seed);
    case QMetaType::UInt:
    case QMetaType::ULong:
    case QMetaType::ULongLong:
        return qHash(value.toULongLong(), seed);
    case QMetaType::Double:
        return qHash(value.toDouble(), seed);
    case QMetaType::QChar:
        return qHash(qint64(value.toChar().unicode()), seed);
    case QMetaType::QString:
        return qHash(*static_cast<const QString *>(value.constData()), seed);
    case QMetaType::QStringList:
        return qHash(value.toStringList(), seed);
    case QMetaType::QByteArray:
        return qHash(*static_cast<const QByteArray *>(value.constData()), seed);
    default:
        qCWarning(lcCore) << "Unsupported type, fallback to toString hash";
        return qHash(value.toString(), seed);
    }
}
