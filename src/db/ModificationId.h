#pragma once

#include "db/SqlId.h"
#include "zeq_common_core_export.h"

#include <QDebug>

#include <compare>

namespace zeq
{

class ModificationsManager;

/// The Id of a row of the modification catalogue table.
class ZEQ_COMMON_CORE_EXPORT ModificationId : public SqlId
{
public:
    ModificationId() = default;

    [[nodiscard]] static const char *className() noexcept { return "zeq::ModificationId"; }
    /// The number as stored, -1 when invalid.
    [[nodiscard]] qint64 value() const noexcept { return toLongLong(); }

    friend bool operator==(const ModificationId &a, const ModificationId &b) noexcept
    {
        return a.toLongLong() == b.toLongLong();
    }
    friend std::strong_ordering operator<=>(const ModificationId &a, const ModificationId &b) noexcept
    {
        return a.toLongLong() <=> b.toLongLong();
    }
    friend size_t qHash(const ModificationId &id, size_t seed = 0) noexcept { return ::qHash(id.toLongLong(), seed); }

private:
    friend class SqlId;
    // Hands out the next identifier.
    friend class ModificationsManager;
    explicit ModificationId(qint64 value) noexcept
        : SqlId(value)
    {
    }
};

/// "zeq::ModificationId(5)".
ZEQ_COMMON_CORE_EXPORT QDebug operator<<(QDebug debug, const ModificationId &id);

} // namespace zeq
