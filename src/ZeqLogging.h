#pragma once

#include <QLoggingCategory>

// "zeq.common_core": every level on by default.
Q_DECLARE_LOGGING_CATEGORY(lcCore)
// "zeq.common_core_dev": per-row conversion warnings, critical only unless enabled by rules.
Q_DECLARE_LOGGING_CATEGORY(lcCoreDev)
