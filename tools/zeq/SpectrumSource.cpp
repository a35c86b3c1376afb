// Spectrum files are read through the field's own reader library; only the two-column peak lists,
// which it does not know, go through the program's text reader. The library reports failures by
// throwing, so every call into it stays inside readWithLibrary's try block.
#include "SpectrumSource.h"

#include "CommandLine.h"
#include "PeakListReader.h"
#include "pwiz/data/msdata/DefaultReaderList.hpp"
#include "pwiz/data/msdata/MSDataFile.hpp"
#include "pwiz/data/msdata/SpectrumInfo.hpp"

#include <QFile>
#include <QFileInfo>
#include <QTemporaryFile>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <memory>

namespace zeq::cli
{

namespace
{

using namespace pwiz::msdata;

/// mzML, mzXML and MGF only: the library's other readers would claim text files of their own
/// kinds that a user means as peak lists.
const ReaderList &spectrumReaders()
{
    static const ReaderList readers = [] {
        ReaderList list;
        list.push_back(ReaderPtr(new Reader_mzML));
        list.push_back(ReaderPtr(new Reader_mzXML));
        list.push_back(ReaderPtr(new Reader_MGF));
        return list;
    }();
    return readers;
}

double cvDouble(const ParamContainer &params, pwiz::cv::CVID id)
{
    const CVParam param = params.cvParam(id);
    return param.empty() ? 0.0 : param.valueAs<double>();
}

std::optional<Precursor> precursorOf(const pwiz::msdata::Spectrum &spectrum)
{
    if (spectrum.precursors.empty()) {
        return std::nullopt;
    }
    const pwiz::msdata::Precursor &first = spectrum.precursors.front();
    Precursor precursor;
    if (!first.selectedIons.empty()) {
        precursor.mz = cvDouble(first.selectedIons.front(), pwiz::cv::MS_selected_ion_m_z);
    }
    const IsolationWindow &window = first.isolationWindow;
    const double target = window.hasCVParam(pwiz::cv::MS_isolation_window_target_m_z)
        ? cvDouble(window, pwiz::cv::MS_isolation_window_target_m_z)
        : precursor.mz;
    if (precursor.mz <= 0.0) {
        precursor.mz = target;
    }
    precursor.isolationLow = target - cvDouble(window, pwiz::cv::MS_isolation_window_lower_offset);
    precursor.isolationHigh = target + cvDouble(window, pwiz::cv::MS_isolation_window_upper_offset);
    return precursor;
}

Result<QList<zeq::cli::Spectrum>>
readWithLibrary(const QString &path, const QString &shownName, const SpectrumSelection &selection)
{
    QList<zeq::cli::Spectrum> out;
    try {
        const MSDataFile file(path.toStdString(), &spectrumReaders());
        const SpectrumListPtr list = file.run.spectrumListPtr;
        const std::size_t count = list ? list->size() : 0;
        for (std::size_t i = 0; i < count; ++i) {
            // The header alone decides; the arrays are decoded only for the spectra kept.
            SpectrumInfo info(*list->spectrum(i, false));
            const double rt = info.retentionTime / 60.0;
            const bool precedingMs1 = selection.withPrecedingMs1 && info.msLevel == 1;
            if (!precedingMs1 && !selection.accepts(info.msLevel, info.scanNumber, rt)) {
                continue;
            }
            const SpectrumPtr full = list->spectrum(i, true);
            info.update(*full, true);
            zeq::cli::Spectrum spectrum;
            spectrum.nativeId = QString::fromStdString(info.id);
            spectrum.scanNumber = info.scanNumber > 0 ? info.scanNumber : -1;
            spectrum.msLevel = info.msLevel;
            if (!full->scanList.scans.empty()
                && full->scanList.scans.front().hasCVParam(pwiz::cv::MS_scan_start_time)) {
                spectrum.retentionTime = rt;
            }
            spectrum.precursor = precursorOf(*full);
            spectrum.profile = full->hasCVParam(pwiz::cv::MS_profile_spectrum);
            spectrum.points.reserve(static_cast<qsizetype>(info.data.size()));
            for (const MZIntensityPair &pair : info.data) {
                spectrum.points.append(QPointF(pair.mz, pair.intensity));
            }
            std::stable_sort(spectrum.points.begin(), spectrum.points.end(), [](const QPointF &a, const QPointF &b) {
                return a.x() < b.x();
            });
            out.append(std::move(spectrum));
        }
    } catch (const std::exception &e) {
        // The library's messages start with the throwing function in brackets; the user needs
        // only what went wrong.
        QString what = QString::fromLocal8Bit(e.what()).trimmed();
        if (what.startsWith(u'[') && what.indexOf(u']') > 0) {
            what = what.mid(what.indexOf(u']') + 1).trimmed();
        }
        Error err(kBadParameterError, QStringLiteral("%1: unreadable spectrum file: %2").arg(shownName, elide(what)));
        return ZEQ_ECATCH(err);
    }
    return out;
}

Result<QList<zeq::cli::Spectrum>>
readPeakListFile(const QString &path, const QString &shownName, const SpectrumSelection &selection)
{
    QList<zeq::cli::Spectrum> out;
    Result<QList<QPointF>> points = readPeakList(path);
    if (points.hasError()) {
        Error err(kBadParameterError,
                  QStringLiteral("%1 is neither mzML, mzXML, MGF nor a peak list (%2)")
                      .arg(shownName, points.error().errorString().replace(path, QStringLiteral("peak list"))));
        return ZEQ_ECATCH(err);
    }
    // A peak list is one MS1 spectrum, scan 1, without a time.
    zeq::cli::Spectrum spectrum;
    spectrum.nativeId = QStringLiteral("scan=1");
    spectrum.scanNumber = 1;
    spectrum.points = points.value();
    std::stable_sort(spectrum.points.begin(), spectrum.points.end(), [](const QPointF &a, const QPointF &b) {
        return a.x() < b.x();
    });
    if (selection.accepts(1, 1, spectrum.retentionTime)) {
        out.append(std::move(spectrum));
    }
    return out;
}

} // namespace

bool SpectrumSelection::accepts(int level, int scan, double rt) const
{
    if (msLevel != 0 && level != msLevel) {
        return false;
    }
    if (!scans.isEmpty() && !scans.contains(scan)) {
        return false;
    }
    // A spectrum without a time is kept unless a time range was asked for.
    if (std::isnan(rt)) {
        return std::isinf(rtStart) && std::isinf(rtEnd);
    }
    return rt >= rtStart && rt <= rtEnd;
}

Result<QList<zeq::cli::Spectrum>> readSpectra(const QString &path, const SpectrumSelection &selection)
{
    QString shownName = path;
    QString readPath = path;
    // Standard input is copied to a file first: the reader library wants a file it can seek in.
    QTemporaryFile copy;
    if (path == u"-") {
        shownName = QStringLiteral("standard input");
        QFile in;
        if (!copy.open() || !in.open(stdin, QIODevice::ReadOnly)) {
            Error err(kFileOpenError, QStringLiteral("Can't read standard input: %1").arg(copy.errorString()));
            return ZEQ_ECATCH(err);
        }
        while (!in.atEnd()) {
            const QByteArray chunk = in.read(1 << 20);
            if (chunk.isEmpty() || copy.write(chunk) != chunk.size()) {
                break;
            }
        }
        copy.close();
        readPath = copy.fileName();
    }
    const QFileInfo info(readPath);
    if (!info.exists()) {
        Error err(kFileOpenError, QStringLiteral("Can't read %1: no such file").arg(shownName));
        return ZEQ_ECATCH(err);
    }
    if (info.isDir()) {
        Error err(kFileOpenError, QStringLiteral("Can't read %1: it is a folder").arg(shownName));
        return ZEQ_ECATCH(err);
    }
    QFile probe(readPath);
    if (!probe.open(QIODevice::ReadOnly)) {
        Error err(kFileOpenError, QStringLiteral("Can't read %1: %2").arg(shownName, probe.errorString()));
        return ZEQ_ECATCH(err);
    }
    const QByteArray head = probe.read(4096);
    probe.close();
    bool known = false;
    try {
        known = !spectrumReaders().identify(readPath.toStdString(), head.toStdString()).empty();
    } catch (const std::exception &) {
        known = false;
    }
    Result<QList<zeq::cli::Spectrum>> spectra =
        known ? readWithLibrary(readPath, shownName, selection) : readPeakListFile(readPath, shownName, selection);
    if (spectra.hasError()) {
        Error err = spectra.error();
        return ZEQ_ECATCH(err);
    }
    return spectra;
}

} // namespace zeq::cli
