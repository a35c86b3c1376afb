// Spectrum files as the program reads them: mzML (indexed or not, compressed arrays, gzip), mzXML
// and MGF through the reader library, and two-column peak lists, each read with the options that
// change which spectra are kept and whether profiles are centroided. The file's kind is told from
// its content, so one scratch name serves every kind.

#include "FuzzSupport.h"
#include "PeakListReader.h"
#include "SpectrumSource.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static const bool silenced = (zeq_fuzz::silenceQtMessages(), true);
    Q_UNUSED(silenced);
    const QString path = zeq_fuzz::writeScratchFile(data, size, "spectra");

    // The options come from the input's length, so that a file found once is read the same way
    // when its corpus is replayed.
    zeq::cli::SpectrumSelection selection;
    selection.msLevel = int(size % 3);
    selection.peakPicking = zeq::cli::PeakPicking((size / 3) % 3);
    selection.withPrecedingMs1 = (size / 9) % 2 == 1;
    selection.listsAreProfile = (size / 18) % 2 == 1;
    qsizetype skipped = 0;
    qsizetype points = 0;
    (void)zeq::cli::readSpectra(path, selection, &skipped, [&points](zeq::cli::Spectrum &&spectrum) {
        points += spectrum.points.size();
        return Error();
    });
    (void)zeq::cli::readPeakList(path);
    return 0;
}
