#include "zeq_common_core_mini/CommonKeys.h"

const QString kAPPLICATION_NAME = QStringLiteral("APPLICATION_NAME");
const QString kComment = QStringLiteral("Comment");
const QString kVersionNumber = QStringLiteral("VersionNumber");
