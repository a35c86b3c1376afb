#include "MzMLWriter.h"

#include "pwiz/data/msdata/MSDataFile.hpp"

#include <sstream>
#include <vector>

namespace zeq::cli
{

Result<QByteArray> mzMLDocument(const QList<QPointF> &points, qsizetype sourceCount)
{
    using namespace pwiz::msdata;
    using namespace pwiz::cv;
    try {
        MSData msd;
        msd.id = "zeq_sum";
        SpectrumListSimplePtr list(new SpectrumListSimple);
        SpectrumPtr s(new pwiz::msdata::Spectrum);
        s->index = 0;
        s->id = "scan=1";
        s->set(MS_ms_level, 1);
        s->set(MS_MS1_spectrum);
        s->set(MS_centroid_spectrum);
        s->scanList.set(MS_sum_of_spectra);
        s->userParams.emplace_back("summed spectra", std::to_string(sourceCount), "xsd:long");
        std::vector<double> mz;
        std::vector<double> intensity;
        mz.reserve(size_t(points.size()));
        intensity.reserve(size_t(points.size()));
        for (const QPointF &p : points) {
            mz.push_back(p.x());
            intensity.push_back(p.y());
        }
        s->setMZIntensityArrays(mz, intensity, MS_number_of_detector_counts);
        list->spectra.push_back(s);
        msd.run.id = "sum";
        msd.run.spectrumListPtr = list;
        MSDataFile::WriteConfig config;
        config.binaryDataEncoderConfig.precision = BinaryDataEncoder::Precision_64;
        // Written to memory, so the caller can replace the output file only once it is complete.
        std::ostringstream out;
        MSDataFile::write(msd, out, config);
        const std::string bytes = out.str();
        return QByteArray(bytes.data(), qsizetype(bytes.size()));
    } catch (const std::exception &e) {
        Error err(kError, QStringLiteral("Can't write the mzML document: %1").arg(QString::fromLocal8Bit(e.what())));
        return ZEQ_ECATCH(err);
    }
}

} // namespace zeq::cli
