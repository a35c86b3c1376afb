#pragma once

#include "zeq_common_core_mini_export.h"

#include <QVariant>

/// Orders cells of any type by a strict weak ordering, so that sorted rows can be searched.
/// Null cells come first, then NaN (every NaN equivalent to every other), then numbers compared
/// exactly by value whatever their numeric type (bool counts as 0 or 1), −inf first and +inf last,
/// then texts (strings, byte arrays read as UTF-8, characters) by UTF-16 code units,
/// case-sensitive, then every other type by type id and then by its text.
/// A text holding a number is a text: "2" sorts after every number, "inf" and "nan" too.
class ZEQ_COMMON_CORE_MINI_EXPORT VariantComparator
{
public:
    [[nodiscard]] static bool lessThan(const QVariant &a, const QVariant &b);
    /// -1, 0 or 1 as `a` sorts before, with or after `b`.
    [[nodiscard]] static int compare(const QVariant &a, const QVariant &b);

    bool operator()(const QVariant &a, const QVariant &b) const { return lessThan(a, b); }
};
