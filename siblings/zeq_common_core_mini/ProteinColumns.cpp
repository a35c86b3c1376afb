#include "zeq_common_core_mini/ProteinColumns.h"

const QString kProteinAccessionName = QStringLiteral("ProteinAccessionName");
const QString kProteinSequence = QStringLiteral("ProteinSequence");
