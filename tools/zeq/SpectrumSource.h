#pragma once

#include "utils/Result.h"

#include <QList>
#include <QPointF>
#include <QString>

#include <limits>
#include <optional>

namespace zeq::cli
{

/// The precursor of an MS2 spectrum: its selected m/z and the m/z range the instrument isolated.
struct Precursor {
    double mz = 0.0;
    double isolationLow = 0.0;
    double isolationHigh = 0.0;
};

/// One spectrum of a file, its points centroided and ascending by m/z.
struct Spectrum {
    QString nativeId;
    int scanNumber = -1; ///< -1 when the file gives none
    int msLevel = 1;
    double retentionTime = std::numeric_limits<double>::quiet_NaN(); ///< minutes; NaN when unknown
    std::optional<Precursor> precursor;
    bool profile = false; ///< the file says its points sample a profile rather than peaks
    QList<QPointF> points;
};

/// Which spectra of a file to read; an empty scan list takes every scan.
struct SpectrumSelection {
    int msLevel = 1; ///< 0 takes every level
    QList<int> scans;
    double rtStart = -std::numeric_limits<double>::infinity(); ///< minutes
    double rtEnd = std::numeric_limits<double>::infinity();
    /// The MS1 spectra before the selected MS2 spectra are read too, whatever msLevel says.
    bool withPrecedingMs1 = false;

    [[nodiscard]] bool accepts(int level, int scan, double rt) const;
};

/// The selected spectra of a spectrum file, in file order: mzML (plain or indexed, arrays
/// compressed or not, 32- or 64-bit), mzXML, MGF, or a two-column peak list (one spectrum, scan 1;
/// "-" reads standard input). The file kind is told from its content, not its name. Fails, naming
/// the file, when it is missing, a folder, truncated, or holds neither spectra nor a peak list.
Result<QList<Spectrum>> readSpectra(const QString &path, const SpectrumSelection &selection);

} // namespace zeq::cli
