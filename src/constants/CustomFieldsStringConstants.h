#pragma once

#include "zeq_common_core_export.h"

#include <QLatin1String>
#include <QString>

namespace zeq
{

/// Keys of the user-defined custom fields: their header and table sections and column attributes.
class ZEQ_COMMON_CORE_EXPORT CustomFieldsStringConstants
{
public:
    static const QString COL_FILEPATH;
    static const QLatin1String HEADER_NAME;
    static const QLatin1String HEADER_CONTENT;
    static const QLatin1String TABLE_CONTENT;
    static const QLatin1String ATTRIBUTES_COLUMN_TYPE;
    static const QLatin1String ATTRIBUTES_EXPECTATION;
    static const QLatin1String ATTRIBUTES_COLUMN_NAME;
    static const QLatin1String MASS_TYPE;
    static const QLatin1String SAMPLE_TYPE;
};

} // namespace zeq
