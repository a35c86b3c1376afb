#include "MzMLWriter.h"

#include "Modules.h"

namespace zeq::cli
{

// Written by the reader library, which lives in the spectrum module.
Result<QByteArray> mzMLDocument(const QList<QPointF> &points, qsizetype sourceCount)
{
    const Result<SpectrumModule *> module = spectrumModule();
    if (module.hasError()) {
        Error err = module.error();
        return ZEQ_ECATCH(err);
    }
    return module.value()->mzMLDocument(points, sourceCount);
}

} // namespace zeq::cli
