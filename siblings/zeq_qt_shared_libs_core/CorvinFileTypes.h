#pragma once

#include "zeq_qt_shared_libs_core/FileTypes.h"
#include "zeq_qt_shared_libs_core_export.h"

/// The suite application's own file types, registered as further FileType values when the
/// library loads.
class ZEQ_QT_SHARED_LIBS_CORE_EXPORT CorvinFileTypes
{
public:
    static const FileType PROJECT; ///< "*.cvproj"
    static const FileType PROJECT_TEMPLATE; ///< "*.cvtmpl"
    static const FileType PARAMETERS; ///< "*.cvparam"
    static const FileType WORKFLOW; ///< "*.cvwflw"
    static const FileType REPORT; ///< "*.cvreport"

    /// Every type above, in that order.
    [[nodiscard]] static QList<FileType> all();
};
