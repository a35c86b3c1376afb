#pragma once

#include "zeq_common_core_export.h"

namespace zeq
{

/// A progress indicator of the applications, as long loops see it.
class ZEQ_COMMON_CORE_EXPORT ProgressBarInterface
{
public:
    virtual ~ProgressBarInterface();
    /// Shows the current state (redraws, processes pending events...).
    virtual void refresh() = 0;
};

} // namespace zeq
