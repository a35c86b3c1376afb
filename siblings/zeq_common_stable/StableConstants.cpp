#include "zeq_common_stable/StableConstants.h"

const QString kQSQLITE = QStringLiteral("QSQLITE");
const QString kdecoy = QStringLiteral("decoy");
