#pragma once

#include "utils/Result.h"

#include <QByteArray>
#include <QList>
#include <QPointF>
#include <QString>

namespace zeq::cli
{

/// One centroided MS1 spectrum as an indexed mzML document (64-bit, uncompressed arrays), native id
/// "scan=1", described as the sum of `sourceCount` spectra.
Result<QByteArray> mzMLDocument(const QList<QPointF> &points, qsizetype sourceCount);

} // namespace zeq::cli
