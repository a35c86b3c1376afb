#pragma once

#include "utils/Result.h"

#include <QList>
#include <QPointF>
#include <QString>

namespace zeq::cli
{

/// A centroided spectrum read from text: one "m/z intensity" pair per line, separated by blanks,
/// tabs or one comma; '#' starts a comment; Windows line ends are accepted. One header line of
/// non-numeric fields before the first pair (e.g. "mz,intensity") is skipped. Points come in file
/// order. Fails, naming the file and the line (cut to 80 characters), on the first line that is
/// not a pair of finite numbers, and on a file without points.
Result<QList<QPointF>> readPeakList(const QString &path);

} // namespace zeq::cli
