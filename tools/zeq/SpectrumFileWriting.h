#pragma once

#include "MzMLWriter.h"

// The spectrum module's writers, behind SpectrumModule's mzMLDocument and mzMLRun.

namespace zeq::cli
{

Result<QByteArray> writeSummedMzML(const QList<QPointF> &points, qsizetype sourceCount);
Result<QByteArray> writeMzMLRun(const QList<SpectrumToSave> &spectra);

} // namespace zeq::cli
