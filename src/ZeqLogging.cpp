#include "ZeqLogging.h"

Q_LOGGING_CATEGORY(lcCore, "zeq.common_core")
Q_LOGGING_CATEGORY(lcCoreDev, "zeq.common_core_dev", QtCriticalMsg)
