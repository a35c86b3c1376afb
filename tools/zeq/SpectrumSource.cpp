// Spectrum files are read through the field's own reader library, in the spectrum module; only
// the two-column peak lists, which it does not know, go through the program's text reader.
#include "SpectrumSource.h"

#include "CommandLine.h"
#include "Modules.h"
#include "PeakListReader.h"
#include "SeekableInput.h"
#include "SpectrumSource_p.h"

#include <QFileInfo>

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace zeq::cli
{

namespace
{

Result<QList<zeq::cli::Spectrum>>
readPeakListFile(const QString &path, const QString &shownName, const SpectrumSelection &selection, qsizetype *skipped)
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
    spectrum.profile = selection.listsAreProfile;
    // A spectrum not asked for is not looked at, so it is never warned about.
    if (!selection.accepts(1, 1, spectrum.retentionTime)) {
        return out;
    }
    if (const QString why = badPoint(spectrum.points); !why.isEmpty()) {
        warnSkipped(shownName, spectrum.nativeId, why);
        *skipped += 1;
        return out;
    }
    std::stable_sort(spectrum.points.begin(), spectrum.points.end(), [](const QPointF &a, const QPointF &b) {
        return a.x() < b.x();
    });
    out.append(std::move(spectrum));
    return out;
}

/// The spectra with those that `selection` picks centroided by the spectrum module.
Result<QList<zeq::cli::Spectrum>> centroided(QList<zeq::cli::Spectrum> spectra,
                                             const SpectrumSelection &selection,
                                             SpectrumModule &library,
                                             const QString &shownName)
{
    for (zeq::cli::Spectrum &s : spectra) {
        const bool pick =
            selection.peakPicking == PeakPicking::Always || (selection.peakPicking == PeakPicking::Auto && s.profile);
        if (!pick) {
            continue;
        }
        Result<QList<QPointF>> peaks = library.centroid(s.points);
        if (peaks.hasError()) {
            Error err(
                kBadParameterError,
                QStringLiteral("%1: spectrum %2: %3").arg(shownName, elide(s.nativeId), peaks.error().errorString()));
            return ZEQ_ECATCH(err);
        }
        s.points = std::move(peaks).value();
        s.profile = false;
    }
    return spectra;
}

} // namespace

// The reader library gives whatever the bytes say: a file written with the wrong byte order says
// m/z -1.2e27.
QString badPoint(const QList<QPointF> &points)
{
    for (const QPointF &p : points) {
        if (!std::isfinite(p.x()) || p.x() < 0.0) {
            return QStringLiteral("m/z %1 is not a finite, non-negative number").arg(p.x());
        }
        if (!std::isfinite(p.y())) {
            return QStringLiteral("intensity %1 at m/z %2 is not finite").arg(p.y()).arg(p.x());
        }
    }
    return QString();
}

void warnSkipped(const QString &file, const QString &spectrum, const QString &why)
{
    std::fprintf(stderr,
                 "zeq: warning: %s: spectrum %s skipped: %s\n",
                 elide(file, 200).toUtf8().constData(),
                 elide(spectrum).toUtf8().constData(),
                 why.toUtf8().constData());
}

QString skippedNote(qsizetype skipped)
{
    return skipped > 0 ? QStringLiteral("; %1 skipped (see the warnings)").arg(skipped) : QString();
}

bool SpectrumSelection::accepts(int level, qint64 scan, double rt) const
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

Result<QList<zeq::cli::Spectrum>>
readSpectra(const QString &path, const SpectrumSelection &selection, qsizetype *skipped)
{
    // The reader library wants a file it can seek in, and the kind is told from the first bytes
    // before the file is read whole: a pipe or standard input is copied once.
    SeekableInput input;
    if (Error err = input.open(path); err.hasError()) {
        return ZEQ_ECATCH(err);
    }
    const QString shownName = input.shownName();
    const QString readPath = input.fileName();
    const QFileInfo info(readPath);
    if (!info.exists()) {
        Error err(kFileOpenError, QStringLiteral("Can't read %1: no such file").arg(shownName));
        return ZEQ_ECATCH(err);
    }
    if (info.isDir()) {
        Error err(kFileOpenError, QStringLiteral("Can't read %1: it is a folder").arg(shownName));
        return ZEQ_ECATCH(err);
    }
    qsizetype uncounted = 0;
    qsizetype *const skippedCount = skipped ? skipped : &uncounted;
    const Result<SpectrumModule *> library = spectrumModule();
    if (library.hasError()) {
        Error err = library.error();
        return ZEQ_ECATCH(err);
    }
    std::optional<Result<QList<zeq::cli::Spectrum>>> spectra =
        library.value()->read(readPath, shownName, selection, skippedCount);
    if (!spectra) {
        spectra = readPeakListFile(readPath, shownName, selection, skippedCount);
    }
    if (spectra->hasError()) {
        Error err = spectra->error();
        return ZEQ_ECATCH(err);
    }
    return centroided(std::move(*spectra).value(), selection, *library.value(), shownName);
}

} // namespace zeq::cli
