#pragma once

#include "zeq_common_core_export.h"
#include "zeq_common_stable/Error.h"

#include <QList>
#include <QString>

namespace zeq
{

/// Appends the names and sequences of the proteins found by the search in the result file at
/// `path`, best rank first, skipping decoys (Flags equal to kdecoy, ignoring case) and sequences
/// already in `sequences`. Reading stops at the decoy that would exceed `decoyLimit` skipped decoys:
/// with 0, at the first decoy. The file is opened read-only and never created; a file that cannot
/// be opened gives kBadParameterError, a failed query (a damaged page among the rows included) its
/// error, naming the file; the lists may then hold the rows read before the damage.
[[nodiscard]] ZEQ_COMMON_CORE_EXPORT Error getProteinSequencesFromTsnres(const QString &path,
                                                                         int decoyLimit,
                                                                         QList<QString> *names,
                                                                         QList<QString> *sequences);

} // namespace zeq
