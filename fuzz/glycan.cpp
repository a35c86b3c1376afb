// Glycans read from their JSON text: whatever reads must write back as a text that reads the same.

#include "FuzzSupport.h"
#include "utils/GlycanWithMods.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static const bool silenced = (zeq_fuzz::silenceQtMessages(), true);
    Q_UNUSED(silenced);
    zeq::GlycanWithMods glycan;
    if (glycan.deserialize(QString::fromUtf8(reinterpret_cast<const char *>(data), qsizetype(size))).hasError())
        return 0;
    (void)glycan.humanReadable();
    const QString written = glycan.serialize();
    zeq::GlycanWithMods again;
    if (again.deserialize(written).hasError() || again.serialize() != written)
        std::abort();
    return 0;
}
