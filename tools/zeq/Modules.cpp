#include "Modules.h"

#include <QFileInfo>
#include <QLibrary>

namespace zeq::cli
{

namespace
{

/// The entry point every module exports: it returns the module's one object, owned by the module.
template <typename Interface> Result<Interface *> load(const char *name, const char *entry)
{
    // The application object may not exist yet (the plotting module makes it), so the program's
    // folder comes from the kernel rather than from QCoreApplication.
    const QString programFolder = QFileInfo(QFileInfo(QStringLiteral("/proc/self/exe")).canonicalFilePath()).path();
    const QString file = QString::fromUtf8(name) + QStringLiteral(".so");
    QStringList tried;
    QString why;
    for (const QString &folder : { programFolder, programFolder + QStringLiteral("/" ZEQ_MODULE_DIR) }) {
        const QString path = QFileInfo(folder + u'/' + file).absoluteFilePath();
        if (!QFileInfo::exists(path)) {
            tried.append(path);
            continue;
        }
        // Never unloaded: objects made by the module live until the program ends.
        QLibrary library(path);
        using Entry = Interface *(*)();
        if (const auto make = reinterpret_cast<Entry>(library.resolve(entry))) {
            return make();
        }
        why = library.errorString();
        break;
    }
    if (why.isEmpty()) {
        why = QStringLiteral("not found in %1").arg(tried.join(QStringLiteral(" or ")));
    }
    Error err(kFileOpenError, QStringLiteral("Can't load the %1 module: %2").arg(QString::fromUtf8(name), why));
    return ZEQ_ECATCH(err);
}

} // namespace

Result<PlotModule *> plotModule()
{
    static const Result<PlotModule *> module = load<PlotModule>("zeq_plot", "zeq_plot_module");
    return module;
}

Result<SpectrumModule *> spectrumModule()
{
    static const Result<SpectrumModule *> module = load<SpectrumModule>("zeq_spectra", "zeq_spectra_module");
    return module;
}

Error plotSpectrum(const SpectrumPlot &plot, const QString &path)
{
    const Result<PlotModule *> module = plotModule();
    if (module.hasError()) {
        Error err = module.error();
        return ZEQ_ECATCH(err);
    }
    return module.value()->writePlot(plot, path);
}

} // namespace zeq::cli
