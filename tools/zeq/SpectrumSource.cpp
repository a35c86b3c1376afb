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

Error readPeakListFile(const QString &path,
                       const QString &shownName,
                       const SpectrumSelection &selection,
                       qsizetype *skipped,
                       const SpectrumSink &sink)
{
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
        return Error();
    }
    if (const QString why = badPoint(spectrum.points); !why.isEmpty()) {
        warnSkipped(shownName, spectrum.nativeId, why);
        *skipped += 1;
        return Error();
    }
    std::stable_sort(spectrum.points.begin(), spectrum.points.end(), [](const QPointF &a, const QPointF &b) {
        return a.x() < b.x();
    });
    return sink(std::move(spectrum));
}

Error checkFile(const QString &path, const QString &shownName)
{
    const QFileInfo info(path);
    if (!info.exists()) {
        Error err(kFileOpenError, QStringLiteral("Can't read %1: no such file").arg(shownName));
        return ZEQ_ECATCH(err);
    }
    if (info.isDir()) {
        Error err(kFileOpenError, QStringLiteral("Can't read %1: it is a folder").arg(shownName));
        return ZEQ_ECATCH(err);
    }
    return Error();
}

/// The spectrum centroided by the spectrum module when `selection` picks it.
Error centroid(zeq::cli::Spectrum &s,
               const SpectrumSelection &selection,
               SpectrumModule &library,
               const QString &shownName)
{
    const bool pick =
        selection.peakPicking == PeakPicking::Always || (selection.peakPicking == PeakPicking::Auto && s.profile);
    if (!pick) {
        return Error();
    }
    Result<QList<QPointF>> peaks = library.centroid(s.points);
    if (peaks.hasError()) {
        Error err(kBadParameterError,
                  QStringLiteral("%1: spectrum %2: %3").arg(shownName, elide(s.nativeId), peaks.error().errorString()));
        return ZEQ_ECATCH(err);
    }
    s.points = std::move(peaks).value();
    s.profile = false;
    return Error();
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

Error checkSpectrumFile(const QString &path)
{
    // Standard input is whatever comes; it is checked as it is read.
    return path == u"-" ? Error() : checkFile(path, path);
}

Result<QList<zeq::cli::Spectrum>>
readSpectra(const QString &path, const SpectrumSelection &selection, qsizetype *skipped)
{
    QList<zeq::cli::Spectrum> spectra;
    Error err = readSpectra(path, selection, skipped, [&spectra](zeq::cli::Spectrum &&s) {
        spectra.append(std::move(s));
        return Error();
    });
    if (err.hasError()) {
        return ZEQ_ECATCH(err);
    }
    return spectra;
}

Error readSpectra(const QString &path, const SpectrumSelection &selection, qsizetype *skipped, const SpectrumSink &sink)
{
    // The reader library wants a file it can seek in, and the kind is told from the first bytes
    // before the file is read whole: a pipe or standard input is copied once.
    SeekableInput input;
    if (Error err = input.open(path); err.hasError()) {
        return ZEQ_ECATCH(err);
    }
    const QString shownName = input.shownName();
    const QString readPath = input.fileName();
    if (Error err = checkFile(readPath, shownName); err.hasError()) {
        return ZEQ_ECATCH(err);
    }
    qsizetype uncounted = 0;
    qsizetype *const skippedCount = skipped ? skipped : &uncounted;
    const Result<SpectrumModule *> library = spectrumModule();
    if (library.hasError()) {
        Error err = library.error();
        return ZEQ_ECATCH(err);
    }
    SpectrumModule &module = *library.value();
    const SpectrumSink centroided = [&](zeq::cli::Spectrum &&s) {
        if (Error err = centroid(s, selection, module, shownName); err.hasError()) {
            return err;
        }
        return sink(std::move(s));
    };
    std::optional<Error> err = module.read(readPath, shownName, selection, skippedCount, centroided);
    if (!err) {
        err = readPeakListFile(readPath, shownName, selection, skippedCount, centroided);
    }
    if (err->hasError()) {
        return ZEQ_ECATCH(*err);
    }
    return Error();
}

} // namespace zeq::cli
