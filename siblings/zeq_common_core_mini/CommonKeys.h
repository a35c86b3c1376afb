#pragma once

#include "zeq_common_core_mini_export.h"

#include <QString>

// Keys the sibling libraries and the applications share: application settings (as::value) and
// columns or options of row tables.
ZEQ_COMMON_CORE_MINI_EXPORT extern const QString kAPPLICATION_NAME; // "APPLICATION_NAME"
ZEQ_COMMON_CORE_MINI_EXPORT extern const QString kComment; // "Comment"
ZEQ_COMMON_CORE_MINI_EXPORT extern const QString kVersionNumber; // "VersionNumber"
