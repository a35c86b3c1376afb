// mzML written by the field's reader library, in the spectrum module. The library reports failures
// by throwing, so every call into it stays inside a try block.
#include "SpectrumFileWriting.h"

#include "pwiz/data/msdata/MSDataFile.hpp"

#include <cmath>
#include <exception>
#include <sstream>
#include <string>
#include <vector>

namespace zeq::cli
{

namespace
{

using namespace pwiz::msdata;
using namespace pwiz::cv;

/// The document that `fill` makes, written to memory (64-bit arrays), so that the caller replaces
/// the output file only once it is complete.
template <typename Fill> Result<QByteArray> document(Fill fill)
{
    try {
        MSData msd;
        SpectrumListSimplePtr list(new SpectrumListSimple);
        fill(msd, *list);
        msd.run.spectrumListPtr = list;
        MSDataFile::WriteConfig config;
        config.binaryDataEncoderConfig.precision = BinaryDataEncoder::Precision_64;
        std::ostringstream out;
        MSDataFile::write(msd, out, config);
        const std::string bytes = out.str();
        return QByteArray(bytes.data(), qsizetype(bytes.size()));
    } catch (const std::exception &e) {
        Error err(kError, QStringLiteral("Can't write the mzML document: %1").arg(QString::fromLocal8Bit(e.what())));
        return ZEQ_ECATCH(err);
    }
}

void setPoints(pwiz::msdata::Spectrum &s, const QList<QPointF> &points)
{
    std::vector<double> mz;
    std::vector<double> intensity;
    mz.reserve(size_t(points.size()));
    intensity.reserve(size_t(points.size()));
    for (const QPointF &p : points) {
        mz.push_back(p.x());
        intensity.push_back(p.y());
    }
    s.setMZIntensityArrays(mz, intensity, MS_number_of_detector_counts);
}

void setPrecursor(pwiz::msdata::Spectrum &s, const Precursor &precursor)
{
    pwiz::msdata::Precursor written;
    const double halfWidth = (precursor.isolationHigh - precursor.isolationLow) / 2.0;
    written.isolationWindow.set(MS_isolation_window_target_m_z, precursor.isolationLow + halfWidth, MS_m_z);
    written.isolationWindow.set(MS_isolation_window_lower_offset, halfWidth, MS_m_z);
    written.isolationWindow.set(MS_isolation_window_upper_offset, halfWidth, MS_m_z);
    if (precursor.statedMz || precursor.statedCharge) {
        SelectedIon ion;
        if (precursor.statedMz) {
            ion.set(MS_selected_ion_m_z, *precursor.statedMz, MS_m_z);
        }
        if (precursor.statedCharge) {
            ion.set(MS_charge_state, *precursor.statedCharge);
        }
        written.selectedIons.push_back(ion);
    }
    s.precursors.push_back(written);
}

} // namespace

Result<QByteArray> writeSummedMzML(const QList<QPointF> &points, qsizetype sourceCount)
{
    return document([&](MSData &msd, SpectrumListSimple &list) {
        msd.id = "zeq_sum";
        msd.run.id = "sum";
        SpectrumPtr s(new pwiz::msdata::Spectrum);
        s->index = 0;
        s->id = "scan=1";
        s->set(MS_ms_level, 1);
        s->set(MS_MS1_spectrum);
        s->set(MS_centroid_spectrum);
        s->scanList.set(MS_sum_of_spectra);
        s->userParams.emplace_back("summed spectra", std::to_string(sourceCount), "xsd:long");
        setPoints(*s, points);
        list.spectra.push_back(s);
    });
}

Result<QByteArray> writeMzMLRun(const QList<SpectrumToSave> &spectra)
{
    return document([&](MSData &msd, SpectrumListSimple &list) {
        msd.id = "zeq_deisotope";
        msd.run.id = "deisotoped";
        for (const SpectrumToSave &from : spectra) {
            SpectrumPtr s(new pwiz::msdata::Spectrum);
            s->index = list.spectra.size();
            s->id = from.nativeId.toStdString();
            s->set(MS_ms_level, from.msLevel);
            s->set(from.msLevel == 1 ? MS_MS1_spectrum : MS_MSn_spectrum);
            s->set(from.profile ? MS_profile_spectrum : MS_centroid_spectrum);
            Scan scan;
            if (!std::isnan(from.retentionTime)) {
                scan.set(MS_scan_start_time, from.retentionTime, UO_minute);
            }
            s->scanList.set(MS_no_combination);
            s->scanList.scans.push_back(scan);
            if (from.precursor) {
                setPrecursor(*s, *from.precursor);
            }
            setPoints(*s, from.points);
            if (from.charges) {
                BinaryDataArrayPtr charges(new BinaryDataArray);
                charges->set(MS_charge_array);
                charges->data.assign(from.charges->cbegin(), from.charges->cend());
                s->binaryDataArrayPtrs.push_back(charges);
            }
            list.spectra.push_back(s);
        }
    });
}

} // namespace zeq::cli
