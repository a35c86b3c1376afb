#include "zeq_qt_shared_libs_core/SharedLibsInfo.h"

namespace zeq
{

QString sharedLibsVersion()
{
    return QStringLiteral(ZEQ_VERSION);
}

} // namespace zeq
