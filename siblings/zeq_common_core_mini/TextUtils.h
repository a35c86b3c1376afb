#pragma once

#include "zeq_common_core_mini_export.h"

#include <QString>

class ZEQ_COMMON_CORE_MINI_EXPORT TextUtils
{
public:
    /// `length` characters from [A-Za-z0-9], safe in file names on every platform; "" for length <= 0.
    [[nodiscard]] static QString randomString(int length);
};
