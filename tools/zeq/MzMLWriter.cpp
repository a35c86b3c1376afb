#include "MzMLWriter.h"

#include "Modules.h"

namespace zeq::cli
{

namespace
{

/// The module's writer `write` applied to `arguments`; fails when the module cannot be loaded.
template <typename Write, typename... Arguments> Result<QByteArray> throughModule(Write write, Arguments &...arguments)
{
    const Result<SpectrumModule *> module = spectrumModule();
    if (module.hasError()) {
        Error err = module.error();
        return ZEQ_ECATCH(err);
    }
    return (module.value()->*write)(arguments...);
}

} // namespace

// Written by the reader library, which lives in the spectrum module.
Result<QByteArray> mzMLDocument(const QList<QPointF> &points, qsizetype sourceCount)
{
    return throughModule(&SpectrumModule::mzMLDocument, points, sourceCount);
}

Result<QByteArray> mzMLRun(const QList<SpectrumToSave> &spectra)
{
    return throughModule(&SpectrumModule::mzMLRun, spectra);
}

} // namespace zeq::cli
