// Writes test spectra through the same reader library the program reads them with, so that a
// fixture is a file such as an instrument's converter writes.
#include "SpectrumFileWriter.h"

#include "pwiz/data/msdata/MSDataFile.hpp"

#include <vector>

namespace zeq::test
{

QString writeSpectrumFile(const QString &path,
                          SpectrumFileKind kind,
                          const QList<SpectrumToWrite> &spectra,
                          const QHash<int, int> &precursorCharges)
{
    using namespace pwiz::msdata;
    using namespace pwiz::cv;
    try {
        MSData msd;
        msd.id = "zeq_test";
        SpectrumListSimplePtr list(new SpectrumListSimple);
        for (const SpectrumToWrite &in : spectra) {
            SpectrumPtr s(new pwiz::msdata::Spectrum);
            s->index = list->spectra.size();
            s->id = "scan=" + std::to_string(in.scan);
            s->set(MS_ms_level, in.msLevel);
            s->set(in.msLevel == 1 ? MS_MS1_spectrum : MS_MSn_spectrum);
            s->set(in.profile ? MS_profile_spectrum : MS_centroid_spectrum);
            s->scanList.set(MS_no_combination);
            s->scanList.scans.emplace_back();
            s->scanList.scans.back().set(MS_scan_start_time, in.retentionTime, UO_minute);
            if (in.precursorMz) {
                pwiz::msdata::Precursor precursor;
                precursor.isolationWindow.set(MS_isolation_window_target_m_z, *in.precursorMz, MS_m_z);
                precursor.isolationWindow.set(MS_isolation_window_lower_offset, in.isolationHalfWidth, MS_m_z);
                precursor.isolationWindow.set(MS_isolation_window_upper_offset, in.isolationHalfWidth, MS_m_z);
                if (precursorCharges.contains(in.scan)) {
                    precursor.selectedIons.emplace_back(*in.precursorMz, precursorCharges.value(in.scan));
                } else {
                    precursor.selectedIons.emplace_back(*in.precursorMz);
                }
                precursor.activation.set(MS_CID);
                s->precursors.push_back(precursor);
            }
            std::vector<double> mz;
            std::vector<double> intensity;
            for (const QPointF &p : in.points) {
                mz.push_back(p.x());
                intensity.push_back(p.y());
            }
            s->setMZIntensityArrays(mz, intensity, MS_number_of_detector_counts);
            list->spectra.push_back(s);
        }
        msd.run.id = "run";
        msd.run.spectrumListPtr = list;
        MSDataFile::WriteConfig config;
        config.indexed = kind != SpectrumFileKind::MzMLUnindexed;
        config.binaryDataEncoderConfig.precision =
            kind == SpectrumFileKind::MzML32Plain ? BinaryDataEncoder::Precision_32 : BinaryDataEncoder::Precision_64;
        config.binaryDataEncoderConfig.compression = kind == SpectrumFileKind::MzML64Zlib
            ? BinaryDataEncoder::Compression_Zlib
            : BinaryDataEncoder::Compression_None;
        config.format = kind == SpectrumFileKind::MzXML ? MSDataFile::Format_mzXML
            : kind == SpectrumFileKind::Mgf             ? MSDataFile::Format_MGF
                                                        : MSDataFile::Format_mzML;
        MSDataFile::write(msd, path.toStdString(), config);
    } catch (const std::exception &e) {
        return QString::fromLocal8Bit(e.what());
    }
    return QString();
}

} // namespace zeq::test
