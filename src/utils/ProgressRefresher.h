#pragma once

#include "utils/ProgressBarInterface.h"
#include "zeq_common_core_export.h"

#include <QSharedPointer>

namespace zeq
{

/// Keeps a long loop from refreshing its progress bar on every step.
class ZEQ_COMMON_CORE_EXPORT ProgressRefresher
{
public:
    /// Refreshes `bar` when `*counter` is a multiple of `every`, then increments `*counter`. Nothing
    /// for a null bar or counter; `every` below 1 counts as 1.
    static void refreshIfNeeded(const QSharedPointer<ProgressBarInterface> &bar, int *counter, int every);
};

} // namespace zeq
