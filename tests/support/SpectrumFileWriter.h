#pragma once

#include <QHash>
#include <QList>
#include <QPointF>
#include <QString>

#include <optional>

namespace zeq::test
{

/// A spectrum to write; an MS2 spectrum carries its precursor m/z, isolated ± isolationHalfWidth.
struct SpectrumToWrite {
    int scan = 1;
    int msLevel = 1;
    double retentionTime = 0.0; ///< minutes
    std::optional<double> precursorMz;
    double isolationHalfWidth = 1.5;
    QList<QPointF> points;
    bool profile = false; ///< the points sample a profile rather than being peaks
};

enum class SpectrumFileKind { MzML64Zlib, MzML32Plain, MzMLUnindexed, MzXML, Mgf };

/// Writes the spectra, native ids "scan=N", in the file kind; an MS2 spectrum whose scan is a key
/// of `precursorCharges` states that charge for its precursor. Returns an empty string on success,
/// else what went wrong.
QString writeSpectrumFile(const QString &path,
                          SpectrumFileKind kind,
                          const QList<SpectrumToWrite> &spectra,
                          const QHash<int, int> &precursorCharges = {});

} // namespace zeq::test
