#pragma once

#include "SpectrumSource.h"
#include "utils/Result.h"

#include <QByteArray>
#include <QList>
#include <QPointF>
#include <QString>

#include <limits>
#include <optional>

namespace zeq::cli
{

/// One centroided MS1 spectrum as an indexed mzML document (64-bit, uncompressed arrays), native id
/// "scan=1", described as the sum of `sourceCount` spectra.
Result<QByteArray> mzMLDocument(const QList<QPointF> &points, qsizetype sourceCount);

/// A spectrum as an mzML run holds it.
struct SpectrumToSave {
    QString nativeId;
    int msLevel = 1;
    double retentionTime = std::numeric_limits<double>::quiet_NaN(); ///< minutes; NaN writes none
    bool profile = false;
    QList<QPointF> points;
    /// One charge per point, written as a charge array (MS:1000516); nullopt writes no such array.
    std::optional<QList<int>> charges;
    /// Written as the spectrum's precursor: the isolation window, and a selected ion with the m/z and
    /// the charge state stated (statedMz, statedCharge) when there are any.
    std::optional<Precursor> precursor;
};

/// The spectra, in this order, as one indexed mzML run (64-bit, uncompressed arrays). The native
/// ids must differ from one another.
Result<QByteArray> mzMLRun(const QList<SpectrumToSave> &spectra);

} // namespace zeq::cli
