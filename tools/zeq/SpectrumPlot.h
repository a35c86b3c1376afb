#pragma once

#include "zeq_common_stable/Error.h"

#include <QFileInfo>
#include <QList>
#include <QPointF>
#include <QString>

#include <limits>

namespace zeq::cli
{

/// A fitted isotope cluster as drawn: its averagine envelope and a label.
struct PlottedCluster {
    int charge = 0;
    double mono = 0.0; ///< monoisotopic m/z
    double scale = 0.0; ///< intensity factor of the fitted model
    double sigma = 0.0; ///< the model's peak width at mono, m/z
    /// The alternative monos one isotope below and above, marked when not NaN.
    double monoBelow = std::numeric_limits<double>::quiet_NaN();
    double monoAbove = std::numeric_limits<double>::quiet_NaN();
};

/// One spectrum and the clusters found in it, ready to draw.
struct SpectrumPlot {
    QString title;
    QList<QPointF> points; ///< ascending m/z
    bool profile = false; ///< a line through the points rather than one stick per point
    double start = 0.0; ///< the m/z range shown
    double end = 0.0;
    QList<PlottedCluster> clusters;
};

/// Draws `plot` and writes it to `path`, as SVG or PNG by the name's suffix (any case); the file is
/// replaced only once complete. Needs a QGuiApplication (fonts). Fails naming the path when the
/// suffix is neither or the file cannot be written.
Error writeSpectrumPlot(const SpectrumPlot &plot, const QString &path);

/// Whether `path` names a kind of plot writeSpectrumPlot writes. Inline: the program checks names
/// without loading the plotting module, where writeSpectrumPlot lives.
inline bool isPlotPath(const QString &path)
{
    const QString suffix = QFileInfo(path).suffix().toLower();
    return suffix == u"svg" || suffix == u"png";
}

} // namespace zeq::cli
