// Mass tolerances read from JSON, then used: the window around a few masses and the round trip
// through the JSON form.

#include "FuzzSupport.h"
#include "math/MassTolerance.h"

#include <QJsonDocument>
#include <QJsonObject>

#include <cmath>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static const bool silenced = (zeq_fuzz::silenceQtMessages(), true);
    Q_UNUSED(silenced);
    const QJsonDocument document =
        QJsonDocument::fromJson(QByteArray::fromRawData(reinterpret_cast<const char *>(data), qsizetype(size)));
    const zeq::MassTolerance tolerance = zeq::MassTolerance::fromJson(document.object());
    for (const double mass : { 0.0, 1e-300, 1000.0, 1e300, -5.0 }) {
        (void)tolerance.getBounds(mass);
        (void)tolerance.withinTolerance(mass, 1000.0);
    }
    if (std::isfinite(tolerance.tolerance()) && !(zeq::MassTolerance::fromJson(tolerance.toJson()) == tolerance))
        std::abort();
    return 0;
}
