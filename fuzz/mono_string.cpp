// The "mono,+charge,scale,σ" text of a cluster read back; what it reads must survive being written
// and read again.

#include "FuzzSupport.h"
#include "algo/AveragineComparisonRecords.h"

#include <cmath>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static const bool silenced = (zeq_fuzz::silenceQtMessages(), true);
    Q_UNUSED(silenced);
    const QString text = QString::fromUtf8(reinterpret_cast<const char *>(data), qsizetype(size));
    double mono = -1.0;
    int charge = -1;
    double yScale = -1.0;
    double stdDev = -1.0;
    zeq::makeMonoChargeYScaleStdDevFromString(text, mono, charge, yScale, stdDev);
    if (charge < 0 || !std::isfinite(mono) || !std::isfinite(yScale) || !std::isfinite(stdDev))
        return 0;
    double mono2 = -1.0;
    int charge2 = -1;
    double yScale2 = -1.0;
    double stdDev2 = -1.0;
    zeq::makeMonoChargeYScaleStdDevFromString(
        zeq::makeMonoChargeYScaleStdDevToString(mono, charge, yScale, stdDev), mono2, charge2, yScale2, stdDev2);
    if (charge2 != charge)
        std::abort();
    return 0;
}
