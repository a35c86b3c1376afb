#pragma once

#include "zeq_common_core_export.h"

#include <QVariant>

/// Hash of a cell, so cells can key QHash and QSet. Equal values of one type hash alike; values
/// of different types generally do not, even when QVariant calls them equal (1 and 1.0). Types
/// without a hash of their own (and invalid variants) hash their text, with a warning.
ZEQ_COMMON_CORE_EXPORT size_t qHash(const QVariant &value, size_t seed = 0) noexcept;
