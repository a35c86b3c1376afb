#pragma once

#include "zeq_common_stable_export.h"

#include <QString>

/// Qt's driver name for SQLite connections (QSqlDatabase::addDatabase).
ZEQ_COMMON_STABLE_EXPORT extern const QString kQSQLITE;
/// The flag text that marks a decoy protein in search results; compare ignoring case.
ZEQ_COMMON_STABLE_EXPORT extern const QString kdecoy;
