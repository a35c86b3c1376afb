#pragma once

#include "algo/ProteinDigestionItem.h"
#include "zeq_common_core_export.h"

#include <QString>

namespace zeq
{

/// Names of the enzymes the library knows.
struct ZEQ_COMMON_CORE_EXPORT BuiltInEnzymes {
    static const QString kTrypsin;
    static const QString kChymotrypsin;
    static const QString kThermolysin;
    static const QString kLysC;
    static const QString kGluC;
    static const QString kAspN;
    static const QString kLysN;
    static const QString kArgC;
    static const QString kPepsin;
    static const QString kElastase;
    static const QString kPronase;
};

/// Digestion settings of the built-in enzymes that have cleavage rules (digestRulesId -1).
struct ZEQ_COMMON_CORE_EXPORT BuiltInProteases {
    static const ProteinDigestionItem kTrypsin;
    static const ProteinDigestionItem kChymotrypsin;
    static const ProteinDigestionItem kThermolysin;
    static const ProteinDigestionItem kLysC;
    static const ProteinDigestionItem kGluC;
    static const ProteinDigestionItem kAspN;
    static const ProteinDigestionItem kLysN;
    static const ProteinDigestionItem kArgC;
};

} // namespace zeq
