#pragma once

#include "MzMLWriter.h"
#include "SpectrumPlot.h"
#include "SpectrumSource.h"
#include "utils/Result.h"

#include <QByteArray>
#include <QCoreApplication>
#include <QList>
#include <QPointF>
#include <QString>

#include <memory>
#include <optional>

// Plotting and spectrum-file reading live in modules that the program loads on first use, so that
// a command needing neither starts without their libraries: Qt Gui and Svg (and below them X11 and
// OpenGL) for plots, the reader library and Boost for spectrum files.

namespace zeq::cli
{

/// What the plotting module zeq_plot offers.
class PlotModule
{
public:
    virtual ~PlotModule() = default;
    /// A GUI application (plots need its fonts) that needs no display and keeps Qt's complaint
    /// about a missing desktop runtime folder off standard error.
    virtual std::unique_ptr<QCoreApplication> makeApplication(int &argc, char **argv) = 0;
    /// As writeSpectrumPlot.
    virtual Error writePlot(const SpectrumPlot &plot, const QString &path) = 0;
};

/// What the spectrum-file module zeq_spectra offers.
class SpectrumModule
{
public:
    virtual ~SpectrumModule() = default;
    /// Hands the selected spectra of `path` to `sink` one by one when it is mzML, mzXML or MGF, as
    /// they are read and before any centroiding; std::nullopt when it is none of them. `shownName`
    /// names the file in messages. As readSpectra otherwise.
    virtual std::optional<Error> read(const QString &path,
                                      const QString &shownName,
                                      const SpectrumSelection &selection,
                                      qsizetype *skipped,
                                      const SpectrumSink &sink) = 0;
    /// The peaks of a profile ascending by m/z: apex m/z and intensity from the reader library's
    /// local-maximum detector, refined between the samples, with a noise floor when the profile has one.
    virtual Result<QList<QPointF>> centroid(const QList<QPointF> &profile) = 0;
    /// As mzMLDocument.
    virtual Result<QByteArray> mzMLDocument(const QList<QPointF> &points, qsizetype sourceCount) = 0;
    /// As mzMLRun.
    virtual Result<QByteArray> mzMLRun(const QList<SpectrumToSave> &spectra) = 0;
};

/// The module, loaded on the first call from beside the program (a build tree) or from its module
/// folder (an installed copy), found from the program's own path; it stays loaded. Fails naming
/// the module and why it could not be loaded. Callable before the application object exists.
Result<PlotModule *> plotModule();
Result<SpectrumModule *> spectrumModule();

/// Draws the plot through the plotting module; fails as writeSpectrumPlot does, or when the module
/// cannot be loaded.
Error plotSpectrum(const SpectrumPlot &plot, const QString &path);

} // namespace zeq::cli
