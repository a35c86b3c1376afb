// Project status files: a record that loads must commit and load again with as many jobs.

#include "FuzzSupport.h"
#include "io/ProjectCreationStatusFile.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static const bool silenced = (zeq_fuzz::silenceQtMessages(), true);
    Q_UNUSED(silenced);
    const QString path = zeq_fuzz::writeScratchFile(data, size, "wflw_status");
    int jobs = 0;
    {
        zeq::ProjectCreationStatusFile status(path);
        jobs = status.jobsCount();
        // A record that did not load would be kept as a backup copy on commit: one file per input.
        if (jobs == 0)
            return 0;
        if (!status.commit())
            std::abort();
    }
    if (zeq::ProjectCreationStatusFile(path).jobsCount() != jobs)
        std::abort();
    return 0;
}
