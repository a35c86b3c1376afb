#pragma once

#include "zeq_common_core_mini_export.h"

#include <QString>

// Column names of protein tables (one row per protein) that the digestion engine's callers share.
ZEQ_COMMON_CORE_MINI_EXPORT extern const QString kProteinAccessionName; // "ProteinAccessionName"
ZEQ_COMMON_CORE_MINI_EXPORT extern const QString kProteinSequence; // "ProteinSequence"
