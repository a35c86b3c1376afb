#pragma once

#include "zeq_common_core_export.h"

#include <QHashFunctions>
#include <QObject>

namespace zeq::ZEQ_QEnumsXUnit
{
Q_NAMESPACE_EXPORT(ZEQ_COMMON_CORE_EXPORT)

/// The unit of a separation axis. Registered with the meta-object system so settings can store it by
/// name; stored as an integer, so any value may arrive.
enum XUnit : qint32 { Undefined = 0, Minutes = 1, IsoelecticPoint = 2, DriftBins = 3 };
Q_ENUM_NS(XUnit)

[[nodiscard]] inline size_t qHash(XUnit unit, size_t seed = 0) noexcept
{
    return ::qHash(static_cast<qint32>(unit), seed);
}

} // namespace zeq::ZEQ_QEnumsXUnit
