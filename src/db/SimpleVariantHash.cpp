#include "db/SimpleVariantHash.h"

#include "ZeqLogging.h"
#include "zeq_common_core_mini/NumberKind.h"

#include <QByteArray>
#include <QHashFunctions>
#include <QString>
#include <QStringList>

size_t qHash(const QVariant &value, size_t seed) noexcept
{
    switch (value.typeId()) {
    case QMetaType::Bool:
        return qHash(value.toBool(), seed);
    case QMetaType::QChar:
        return qHash(qint64(value.toChar().unicode()), seed);
    case QMetaType::QString:
        return qHash(*static_cast<const QString *>(value.constData()), seed);
    case QMetaType::QStringList:
        return qHash(value.toStringList(), seed);
    case QMetaType::QByteArray:
        return qHash(*static_cast<const QByteArray *>(value.constData()), seed);
    default:
        break;
    }
    // Integers widen to 64 bits, so equal values of any integer type hash alike.
    switch (rn::numberKind(value.typeId())) {
    case rn::NumberKind::Signed:
        return qHash(value.toLongLong(), seed);
    case rn::NumberKind::Unsigned:
        return qHash(value.toULongLong(), seed);
    case rn::NumberKind::Real:
        return qHash(value.toDouble(), seed);
    case rn::NumberKind::None:
        break;
    }
    qCWarning(lcCore) << "Unsupported type, fallback to toString hash";
    return qHash(value.toString(), seed);
}
